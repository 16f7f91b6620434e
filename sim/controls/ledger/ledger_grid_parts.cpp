// The ledger grid control's grid, column and row objects: views on the control's state.
#include "host/toolkit.h"
#include "sim/controls/ledger/ledger_grid.h"

namespace qx::sim {

using automation::requireArgs;
namespace ids = host::ledger_grid;

std::span<const automation::Member<LedgerGridGrid>> LedgerGridGrid::members() {
  using G = LedgerGridGrid;
  static const automation::Member<LedgerGridGrid> m[] = {
      {"Rows", ids::grid::kRows, nullptr, &G::mRows, &G::mPutRows},
      {"Cols", ids::grid::kCols, nullptr, &G::mCols, &G::mPutCols},
      {"FixedRows", ids::grid::kFixedRows, nullptr, &G::mFixedRows, &G::mPutFixedRows},
      {"FixedCols", ids::grid::kFixedCols, nullptr, &G::mFixedCols, &G::mPutFixedCols},
      {"BackColor", ids::grid::kBackColor, nullptr, &G::mBackColor, &G::mPutBackColor},
      {"Option", ids::grid::kOption, nullptr, &G::mOption, &G::mPutOption},
      {"Repaint", ids::grid::kRepaint, &G::mRepaint},
      {"ResetTexts", ids::grid::kResetTexts, &G::mResetTexts},
  };
  return m;
}

Variant LedgerGridGrid::mRows(Args a) {
  requireArgs(a, 0, "Rows");
  return Variant(owner_->rows());
}
void LedgerGridGrid::mPutRows(Args a, const Variant& v) {
  requireArgs(a, 0, "Rows");
  owner_->setRows(v.toInt32());
}
Variant LedgerGridGrid::mCols(Args a) {
  requireArgs(a, 0, "Cols");
  return Variant(owner_->cols());
}
void LedgerGridGrid::mPutCols(Args a, const Variant& v) {
  requireArgs(a, 0, "Cols");
  owner_->setCols(v.toInt32());
}
Variant LedgerGridGrid::mFixedRows(Args a) {
  requireArgs(a, 0, "FixedRows");
  return Variant(owner_->fixedRows());
}
void LedgerGridGrid::mPutFixedRows(Args a, const Variant& v) {
  requireArgs(a, 0, "FixedRows");
  owner_->setFixedRows(v.toInt32());
}
Variant LedgerGridGrid::mFixedCols(Args a) {
  requireArgs(a, 0, "FixedCols");
  return Variant(owner_->fixedCols());
}
void LedgerGridGrid::mPutFixedCols(Args a, const Variant& v) {
  requireArgs(a, 0, "FixedCols");
  owner_->setFixedCols(v.toInt32());
}
Variant LedgerGridGrid::mBackColor(Args a) {
  requireArgs(a, 0, "BackColor");
  return Variant(owner_->backColor());
}
void LedgerGridGrid::mPutBackColor(Args a, const Variant& v) {
  requireArgs(a, 0, "BackColor");
  owner_->setBackColor(v.toInt32());
}
Variant LedgerGridGrid::mOption(Args a) {
  requireArgs(a, 1, "Option");
  auto on = owner_->option(a[0].get().toInt32());
  return on ? Variant(*on) : Variant();
}
void LedgerGridGrid::mPutOption(Args a, const Variant& v) {
  requireArgs(a, 1, "Option");
  owner_->setOption(a[0].get().toInt32(), v.toBool());
}
Variant LedgerGridGrid::mRepaint(Args a) {
  requireArgs(a, 0, "Repaint");
  owner_->repaint();
  return Variant();
}
Variant LedgerGridGrid::mResetTexts(Args a) {
  requireArgs(a, 0, "ResetTexts");
  owner_->resetTexts();
  return Variant();
}

std::span<const automation::Member<LedgerGridColumn>> LedgerGridColumn::members() {
  using C = LedgerGridColumn;
  static const automation::Member<LedgerGridColumn> m[] = {
      {"BackColor", ids::column::kBackColor, nullptr, &C::mBackColor, &C::mPutBackColor},
      {"Alignment", ids::column::kAlignment, nullptr, &C::mAlignment, &C::mPutAlignment},
      {"Flag", ids::column::kFlag, nullptr, &C::mFlag, &C::mPutFlag},
  };
  return m;
}

Variant LedgerGridColumn::mBackColor(Args a) {
  requireArgs(a, 0, "BackColor");
  auto c = owner_->column(col_).backColor;
  return Variant(c.value_or(owner_->backColor()));
}
void LedgerGridColumn::mPutBackColor(Args a, const Variant& v) {
  requireArgs(a, 0, "BackColor");
  owner_->columnForWrite(col_).backColor = v.toInt32();
}
Variant LedgerGridColumn::mAlignment(Args a) {
  requireArgs(a, 0, "Alignment");
  return Variant(owner_->column(col_).alignment.value_or(ids::column::kAlignLeft));
}
void LedgerGridColumn::mPutAlignment(Args a, const Variant& v) {
  requireArgs(a, 0, "Alignment");
  owner_->columnForWrite(col_).alignment = v.toInt32();
}
Variant LedgerGridColumn::mFlag(Args a) {
  requireArgs(a, 1, "Flag");
  const auto& flags = owner_->column(col_).flags;
  auto it = flags.find(a[0].get().toInt32());
  return Variant(it != flags.end() && it->second);
}
void LedgerGridColumn::mPutFlag(Args a, const Variant& v) {
  requireArgs(a, 1, "Flag");
  owner_->columnForWrite(col_).flags[a[0].get().toInt32()] = v.toBool();
}

std::span<const automation::Member<LedgerGridRow>> LedgerGridRow::members() {
  static const automation::Member<LedgerGridRow> m[] = {
      {"Continued", ids::row::kContinued, nullptr, &LedgerGridRow::mContinued,
       &LedgerGridRow::mPutContinued},
  };
  return m;
}

Variant LedgerGridRow::mContinued(Args a) {
  requireArgs(a, 0, "Continued");
  return Variant(owner_->continued(rowIndex_).value_or(false));
}
void LedgerGridRow::mPutContinued(Args a, const Variant& v) {
  requireArgs(a, 0, "Continued");
  owner_->setContinued(rowIndex_, v.toBool());
}

}  // namespace qx::sim
