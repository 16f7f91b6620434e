// The ledger grid control of the substitute host. It holds no data of its own: on a repaint it
// asks its owner for the whole text of every row ("LedgerGridEvents" RequestRowText, rows 1 to
// the row count, in order) and keeps the texts and colours it is given. Rows 1 and 2 are the
// header lines. Its members are reached by dispatch id (the control's [2] grid object, [9]
// column objects, [10] row objects); see host/toolkit.h.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "automation/events.h"
#include "sim/controls/toolkit_control.h"

namespace qx::sim {

class LedgerGrid final : public Control<LedgerGrid> {
 public:
  static constexpr std::string_view kTypeName = "LedgerGrid";
  static std::span<const automation::Member<LedgerGrid>> members();
  [[nodiscard]] static automation::Ref<LedgerGrid> create(std::string name) {
    return automation::makeObject<LedgerGrid>(std::move(name));
  }
  explicit LedgerGrid(std::string name);

  bool supports(std::string_view interfaceName) const override;
  uint32_t advise(std::string_view interfaceName, const automation::ObjectRef& sink) override;
  void unadvise(uint32_t cookie) override;
  size_t sinkCount() const noexcept { return events_.sinkCount(); }

  struct Column {
    std::optional<int32_t> backColor;
    std::optional<int32_t> alignment;
    std::map<int32_t, bool> flags;
    bool hidden() const;
  };

  int32_t rows() const noexcept { return rows_; }
  int32_t cols() const noexcept { return static_cast<int32_t>(columns_.size()); }
  int32_t fixedRows() const noexcept { return fixedRows_; }
  int32_t fixedCols() const noexcept { return fixedCols_; }
  int32_t backColor() const noexcept { return backColor_; }
  std::optional<bool> option(int32_t number) const;
  // Columns from 1.
  const Column& column(int32_t col) const;
  // Row indexes from 0 (row number - 1).
  std::optional<bool> continued(int32_t rowIndex) const;

  void setRows(int32_t n);
  void setCols(int32_t n);
  void setFixedRows(int32_t n);
  void setFixedCols(int32_t n);
  void setBackColor(int32_t colour) noexcept { backColor_ = colour; }
  void setOption(int32_t number, bool on) { options_[number] = on; }
  Column& columnForWrite(int32_t col);
  void setContinued(int32_t rowIndex, bool on);

  // [16]: forgets the texts held; [15]: asks for every row's text again.
  void resetTexts() noexcept;
  void repaint();
  int repaintCount() const noexcept { return repaints_; }
  // The texts and colours of rows 1..rows as last painted.
  const std::vector<std::string>& texts() const noexcept { return texts_; }
  const std::vector<int32_t>& colours() const noexcept { return colours_; }

  // What the control shows, cell by cell (see ledger_grid_text.cpp). Columns from 0, hidden ones
  // included. A heading of header line 1 spans the columns first..last; a one-level heading
  // stands for both header lines, and header line 2 is blank under it.
  struct Heading {
    size_t first = 0, last = 0;
    std::string caption;
    bool oneLevel = false;
  };
  struct ShownRow {
    std::vector<std::string> cells;  // one per column
    int32_t colour = 0;
    bool continued = false;  // a continuation row of the document above
  };
  struct Shown {
    size_t headerRows = 0;            // the fixed rows painted; lines 1 and 2 are shown
    std::vector<Heading> headings;    // header line 1
    std::vector<std::string> second;  // header line 2, one per column
    std::vector<ShownRow> rows;       // the data rows
  };
  Shown shown() const;
  // What the control shows, as a text table.
  std::string renderText() const;

 private:
  friend class Control<LedgerGrid>;
  Variant mGrid(Args a);
  Variant mColumn(Args a);
  Variant mRow(Args a);

  int32_t rows_ = 0, fixedRows_ = 0, fixedCols_ = 0;
  int32_t backColor_;
  std::map<int32_t, bool> options_;
  std::vector<Column> columns_;
  std::vector<std::optional<bool>> continued_;
  std::vector<std::string> texts_;
  std::vector<int32_t> colours_;
  int repaints_ = 0;
  automation::ConnectionPoint events_;
};

// The grid object ([2] of the control).
class LedgerGridGrid final : public automation::Dispatch<LedgerGridGrid> {
 public:
  static constexpr std::string_view kTypeName = "LedgerGrid.Grid";
  static std::span<const automation::Member<LedgerGridGrid>> members();
  explicit LedgerGridGrid(automation::Ref<LedgerGrid> owner) : owner_(std::move(owner)) {}
  std::string typeName() const override { return owner_->controlName() + ".Grid"; }

 private:
  Variant mRows(Args a);
  void mPutRows(Args a, const Variant& v);
  Variant mCols(Args a);
  void mPutCols(Args a, const Variant& v);
  Variant mFixedRows(Args a);
  void mPutFixedRows(Args a, const Variant& v);
  Variant mFixedCols(Args a);
  void mPutFixedCols(Args a, const Variant& v);
  Variant mBackColor(Args a);
  void mPutBackColor(Args a, const Variant& v);
  Variant mOption(Args a);
  void mPutOption(Args a, const Variant& v);
  Variant mRepaint(Args a);
  Variant mResetTexts(Args a);

  automation::Ref<LedgerGrid> owner_;
};

// A column object ([9](col) of the control).
class LedgerGridColumn final : public automation::Dispatch<LedgerGridColumn> {
 public:
  static constexpr std::string_view kTypeName = "LedgerGrid.Column";
  static std::span<const automation::Member<LedgerGridColumn>> members();
  LedgerGridColumn(automation::Ref<LedgerGrid> owner, int32_t col)
      : owner_(std::move(owner)), col_(col) {}
  std::string typeName() const override { return owner_->controlName() + ".Column"; }

 private:
  Variant mBackColor(Args a);
  void mPutBackColor(Args a, const Variant& v);
  Variant mAlignment(Args a);
  void mPutAlignment(Args a, const Variant& v);
  Variant mFlag(Args a);
  void mPutFlag(Args a, const Variant& v);

  automation::Ref<LedgerGrid> owner_;
  int32_t col_;
};

// A row object ([10](row index) of the control).
class LedgerGridRow final : public automation::Dispatch<LedgerGridRow> {
 public:
  static constexpr std::string_view kTypeName = "LedgerGrid.Row";
  static std::span<const automation::Member<LedgerGridRow>> members();
  LedgerGridRow(automation::Ref<LedgerGrid> owner, int32_t rowIndex)
      : owner_(std::move(owner)), rowIndex_(rowIndex) {}
  std::string typeName() const override { return owner_->controlName() + ".Row"; }

 private:
  Variant mContinued(Args a);
  void mPutContinued(Args a, const Variant& v);

  automation::Ref<LedgerGrid> owner_;
  int32_t rowIndex_;
};

}  // namespace qx::sim
