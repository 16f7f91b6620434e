#include "sim/controls/ledger/ledger_grid.h"

#include "automation/text.h"
#include "host/toolkit.h"

namespace qx::sim {

using automation::Error;
namespace ids = host::ledger_grid;

namespace {

Error invalidValue(const std::string& what, const std::string& source) {
  return Error(380, "Invalid property value: " + what, source);
}

}  // namespace

std::span<const automation::Member<LedgerGrid>> LedgerGrid::members() {
  using L = LedgerGrid;
  static const std::vector<M> m = withCommonMembers({
      {"Grid", ids::kGrid, nullptr, &L::mGrid},
      {"Column", ids::kColumn, nullptr, &L::mColumn},
      {"Row", ids::kRow, nullptr, &L::mRow},
  });
  return m;
}

LedgerGrid::LedgerGrid(std::string name)
    : Control(std::move(name)),
      backColor_(host::rgb(255, 255, 255)),
      events_(std::string(host::kLedgerGridEvents)) {}

bool LedgerGrid::supports(std::string_view interfaceName) const {
  return automation::equalsIgnoreCase(interfaceName, kTypeName) ||
         automation::equalsIgnoreCase(interfaceName, host::kLedgerGridEvents);
}

uint32_t LedgerGrid::advise(std::string_view interfaceName, const automation::ObjectRef& sink) {
  if (!automation::equalsIgnoreCase(interfaceName, host::kLedgerGridEvents)) {
    throw Error::notImplemented("events of " + std::string(interfaceName), typeName());
  }
  return events_.advise(sink);
}

void LedgerGrid::unadvise(uint32_t cookie) {
  events_.unadvise(cookie);
}

bool LedgerGrid::Column::hidden() const {
  auto it = flags.find(ids::column::kHiddenFlag);
  return it != flags.end() && it->second;
}

std::optional<bool> LedgerGrid::option(int32_t number) const {
  auto it = options_.find(number);
  if (it == options_.end()) return std::nullopt;
  return it->second;
}

const LedgerGrid::Column& LedgerGrid::column(int32_t col) const {
  if (col < 1 || col > cols()) {
    throw Error::subscriptOutOfRange("column " + std::to_string(col), typeName());
  }
  return columns_[static_cast<size_t>(col - 1)];
}

LedgerGrid::Column& LedgerGrid::columnForWrite(int32_t col) {
  return const_cast<Column&>(column(col));
}

std::optional<bool> LedgerGrid::continued(int32_t rowIndex) const {
  if (rowIndex < 0 || rowIndex >= rows_) {
    throw Error::subscriptOutOfRange("row " + std::to_string(rowIndex), typeName());
  }
  return continued_[static_cast<size_t>(rowIndex)];
}

void LedgerGrid::setContinued(int32_t rowIndex, bool on) {
  continued(rowIndex);  // range check
  continued_[static_cast<size_t>(rowIndex)] = on;
}

void LedgerGrid::setRows(int32_t n) {
  if (n < 0) throw invalidValue("Rows " + std::to_string(n), typeName());
  rows_ = n;
  continued_.resize(static_cast<size_t>(n));
}

void LedgerGrid::setCols(int32_t n) {
  if (n < 0) throw invalidValue("Cols " + std::to_string(n), typeName());
  columns_.resize(static_cast<size_t>(n));
}

void LedgerGrid::setFixedRows(int32_t n) {
  if (n < 0) throw invalidValue("FixedRows " + std::to_string(n), typeName());
  fixedRows_ = n;
}

void LedgerGrid::setFixedCols(int32_t n) {
  if (n < 0) throw invalidValue("FixedCols " + std::to_string(n), typeName());
  fixedCols_ = n;
}

void LedgerGrid::resetTexts() noexcept {
  texts_.clear();
  colours_.clear();
}

void LedgerGrid::repaint() {
  ++repaints_;
  texts_.assign(static_cast<size_t>(rows_), std::string());
  colours_.assign(static_cast<size_t>(rows_), backColor_);
  for (int32_t r = 1; r <= rows_; ++r) {
    Variant text(""), colour(backColor_);
    events_.fire(host::ledger_grid_event::kRequestRowText, r, automation::byRef(text),
                 automation::byRef(colour), Variant());
    // The owner may change the row count while it answers.
    size_t i = static_cast<size_t>(r - 1);
    if (i >= texts_.size()) break;
    texts_[i] = text.isNull() ? std::string() : text.toString();
    if (colour.isNumber()) colours_[i] = colour.toInt32();
  }
}

Variant LedgerGrid::mGrid(Args a) {
  automation::requireArgs(a, 0, "Grid");
  return Variant(automation::makeObject<LedgerGridGrid>(automation::Ref<LedgerGrid>(this)));
}

Variant LedgerGrid::mColumn(Args a) {
  automation::requireArgs(a, 1, "Column");
  int32_t col = a[0].get().toInt32();
  column(col);  // range check
  return Variant(automation::makeObject<LedgerGridColumn>(automation::Ref<LedgerGrid>(this), col));
}

Variant LedgerGrid::mRow(Args a) {
  automation::requireArgs(a, 1, "Row");
  int32_t index = a[0].get().toInt32();
  continued(index);  // range check
  return Variant(automation::makeObject<LedgerGridRow>(automation::Ref<LedgerGrid>(this), index));
}

}  // namespace qx::sim
