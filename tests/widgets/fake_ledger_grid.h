// A strict fake ledger grid control: it answers exactly the members the binding may use, by
// dispatch id, records every call ("ctl[2]?", "grid[3] = 2", "col1[8](16) = True",
// "row3[1] = False", "grid[15]()"), keeps what was written, and fails the test on any other
// member or kind of call. It raises the row-text request like the real control.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "automation/events.h"
#include "automation/text.h"
#include "host/toolkit.h"
#include "strict_fake.h"

namespace qx::widgets::testing {

class FakeLedgerGrid final : public automation::Object {
 public:
  explicit FakeLedgerGrid(CallLog& log)
      : log_(log), events_(std::string(host::kLedgerGridEvents)) {}
  ~FakeLedgerGrid() override { log_.push_back("control released"); }
  static automation::Ref<FakeLedgerGrid> create(CallLog& log) {
    return automation::makeObject<FakeLedgerGrid>(log);
  }

  // Grid state as written (and read back).
  int32_t rows = 0, cols = 0, fixedRows = 0;
  std::map<int32_t, std::map<std::string, Variant>> columns;  // by column: "[3]", "[5]", "[8](16)"
  std::map<int32_t, bool> rowFlags;                           // by row index
  // Members that fail (error 5) when called: "ctl[2]", "ctl[9]", "grid[1]", ...
  std::vector<std::string> failing;

  struct Answer {
    Variant text, colour;
  };
  // Raises the row-text request as the control does; text and colour start as given.
  Answer request(Variant row, Variant text = Variant("untouched"),
                 Variant colour = Variant(int32_t{-1})) {
    events_.fire(host::ledger_grid_event::kRequestRowText, row, automation::byRef(text),
                 automation::byRef(colour), Variant());
    return {text, colour};
  }
  Answer request(int32_t row) { return request(Variant(row)); }
  // Raises the request with any arguments.
  template <class... A>
  void raise(A&&... args) {
    events_.fire(host::ledger_grid_event::kRequestRowText, std::forward<A>(args)...);
  }
  size_t sinkCount() const noexcept { return events_.sinkCount(); }

  DispId idOf(std::string_view name) const override {
    ADD_FAILURE() << "the ledger grid control is reached by dispatch id, not by name: " << name;
    throw Error::memberNotFound(name, "ledger grid");
  }
  std::string typeName() const override { return "FakeLedgerGrid"; }
  uint32_t advise(std::string_view iface, const automation::ObjectRef& sink) override {
    if (!automation::equalsIgnoreCase(iface, host::kLedgerGridEvents)) {
      ADD_FAILURE() << "unexpected event interface " << iface;
      throw Error::notImplemented(std::string(iface));
    }
    return events_.advise(sink);
  }
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }

  // Called by the parts below.
  Variant call(const std::string& part, DispId id, CallKind kind, Args a);

 protected:
  Variant dispatch(DispId id, CallKind kind, Args a) override { return call("ctl", id, kind, a); }

 private:
  CallLog& log_;
  automation::ConnectionPoint events_;
};

// The grid, column and row objects: each forwards to the control with its name.
class FakeLedgerPart final : public automation::Object {
 public:
  FakeLedgerPart(automation::Ref<FakeLedgerGrid> owner, std::string part)
      : owner_(std::move(owner)), part_(std::move(part)) {}
  DispId idOf(std::string_view name) const override {
    ADD_FAILURE() << part_ << " is reached by dispatch id, not by name: " << name;
    throw Error::memberNotFound(name, part_);
  }

 protected:
  Variant dispatch(DispId id, CallKind kind, Args a) override {
    return owner_->call(part_, id, kind, a);
  }

 private:
  automation::Ref<FakeLedgerGrid> owner_;
  std::string part_;
};

inline Variant FakeLedgerGrid::call(const std::string& part, DispId id, CallKind kind, Args a) {
  namespace ids = host::ledger_grid;
  std::string entry = part + "[" + std::to_string(id) + "]";
  bool put = kind == CallKind::Put || kind == CallKind::PutRef;
  size_t indexes = put ? a.size() - 1 : a.size();
  for (size_t i = 0; i < indexes; ++i) entry += "(" + logText(a[i].get()) + ")";
  if (put) entry += " = " + logText(a.back().get());
  if (kind == CallKind::Get) entry += "?";
  if (kind == CallKind::Method) entry += "()";
  auto unexpected = [&]() -> Variant {
    ADD_FAILURE() << "unexpected call " << entry;
    throw Error::memberNotFound(entry, "ledger grid");
  };
  std::string key =
      part.substr(0, part.find_first_of("0123456789")) + "[" + std::to_string(id) + "]";
  for (const std::string& f : failing) {
    if (f == key) throw Error(5, "injected failure of " + key, "ledger grid");
  }
  log_.push_back(entry);
  automation::Ref<FakeLedgerGrid> self(this);
  if (part == "ctl") {
    if (kind != CallKind::Get) return unexpected();
    if (id == ids::kGrid && a.empty()) {
      return Variant(automation::makeObject<FakeLedgerPart>(self, "grid"));
    }
    if (id == ids::kColumn && a.size() == 1) {
      if (!a[0].isByRef()) ADD_FAILURE() << "the column number is passed by reference";
      return Variant(automation::makeObject<FakeLedgerPart>(
          self, "col" + std::to_string(a[0].get().toInt32())));
    }
    if (id == ids::kRow && a.size() == 1) {
      return Variant(automation::makeObject<FakeLedgerPart>(
          self, "row" + std::to_string(a[0].get().toInt32())));
    }
    return unexpected();
  }
  if (part == "grid") {
    namespace g = ids::grid;
    if (kind == CallKind::Method && a.empty() && (id == g::kRepaint || id == g::kResetTexts)) {
      return Variant();
    }
    if (kind == CallKind::Get && a.empty() && id == g::kRows) return Variant(rows);
    if (kind == CallKind::Get && a.empty() && id == g::kFixedRows) return Variant(fixedRows);
    if (put && a.size() == 1) {
      const Variant& v = a.back().get();
      if (id == g::kRows) return rows = v.toInt32(), Variant();
      if (id == g::kCols) return cols = v.toInt32(), Variant();
      if (id == g::kFixedRows) return fixedRows = v.toInt32(), Variant();
      if (id == g::kFixedCols || id == g::kBackColor) return Variant();
    }
    if (put && a.size() == 2 && id == g::kOption) return Variant();
    return unexpected();
  }
  if (part.rfind("col", 0) == 0 && put) {
    int32_t col = std::stoi(part.substr(3));
    namespace c = ids::column;
    if (a.size() == 1 && (id == c::kBackColor || id == c::kAlignment)) {
      columns[col]["[" + std::to_string(id) + "]"] = a.back().get();
      return Variant();
    }
    if (a.size() == 2 && id == c::kFlag) {
      columns[col]["[8](" + logText(a[0].get()) + ")"] = a.back().get();
      return Variant();
    }
  }
  if (part.rfind("row", 0) == 0 && put && a.size() == 1 && id == ids::row::kContinued) {
    rowFlags[std::stoi(part.substr(3))] = a.back().get().toBool();
    return Variant();
  }
  return unexpected();
}

}  // namespace qx::widgets::testing
