// The schedule form's detail grid: rows numbered from 1 (row 1 holds the column captions),
// columns from 1, cells with a value, a lock and a number format. Selecting a cell asks the
// owner first (the bill engine raises its selection event there) and can be refused.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "automation/dispatch.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

class GridControl final : public automation::Dispatch<GridControl> {
 public:
  static constexpr std::string_view kTypeName = "grdDetail";
  static std::span<const automation::Member<GridControl>> members();

  // Asked when the selection has moved: (row, col, previous row, previous col) → true to refuse,
  // and the selection goes back.
  using SelectionGuard = std::function<bool(int32_t, int32_t, int32_t, int32_t)>;

  struct Cell {
    Variant value;
    bool locked = false;
    std::string format;  // number format of Float.Format ("0.000"), empty: as stored
  };

  GridControl(std::string name, std::vector<std::string> captions);
  static automation::Ref<GridControl> create(std::string name, std::vector<std::string> captions) {
    return automation::makeObject<GridControl>(std::move(name), std::move(captions));
  }
  std::string typeName() const override { return name_; }

  int32_t rows() const noexcept { return static_cast<int32_t>(cells_.size()); }
  int32_t cols() const noexcept { return static_cast<int32_t>(captions_.size()); }
  // Row count including the caption row; new rows are empty, removed rows are lost.
  void setRows(int32_t n);
  void deleteRow(int32_t row);
  Cell& cell(int32_t row, int32_t col);
  const Cell& cell(int32_t row, int32_t col) const;
  // The text a cell shows (numbers in their format).
  std::string cellText(int32_t row, int32_t col) const;
  const std::vector<std::string>& captions() const noexcept { return captions_; }

  int32_t selRow() const noexcept { return selRow_; }
  int32_t selCol() const noexcept { return selCol_; }
  // Moves the selection unless the guard refuses; true when it moved.
  bool select(int32_t row, int32_t col);
  void setSelectionGuard(SelectionGuard g) { guard_ = std::move(g); }

  double left = 120, top = 1560, width = 18960, height = 6600;
  bool visible = true;

 private:
  friend class GridRowsObject;
  friend class GridColsObject;
  friend class GridCellObject;
  friend class GridFloatObject;

  void checkCell(int32_t row, int32_t col) const;
  Variant mLeft(Args a);
  void mPutLeft(Args a, const Variant& v);
  Variant mTop(Args a);
  void mPutTop(Args a, const Variant& v);
  Variant mWidth(Args a);
  void mPutWidth(Args a, const Variant& v);
  Variant mHeight(Args a);
  void mPutHeight(Args a, const Variant& v);
  Variant mVisible(Args a);
  void mPutVisible(Args a, const Variant& v);
  Variant mMove(Args a);
  Variant mRow(Args a);
  Variant mCol(Args a);
  Variant mCell(Args a);
  Variant mSetSelect(Args a);

  std::string name_;
  std::vector<std::string> captions_;
  std::vector<std::vector<Cell>> cells_;  // cells_[row - 1][col - 1]
  int32_t selRow_ = -1, selCol_ = -1;
  SelectionGuard guard_;
};

}  // namespace qx::sim
