#include "sim/controls/grid_control.h"

#include "automation/conversions.h"

namespace qx::sim {

using automation::Error;
using automation::makeObject;
using automation::Member;
using automation::Ref;
using automation::requireArgs;

// Row: Rows (read/write), SelRow, FixRows, Delete(row).
class GridRowsObject final : public automation::Dispatch<GridRowsObject> {
 public:
  static constexpr std::string_view kTypeName = "GridRows";
  static std::span<const Member<GridRowsObject>> members() {
    static const Member<GridRowsObject> m[] = {
        {"Rows", 1, nullptr, &GridRowsObject::mRows, &GridRowsObject::mPutRows},
        {"SelRow", 2, nullptr, &GridRowsObject::mSelRow},
        {"FixRows", 3, nullptr, &GridRowsObject::mFixRows},
        {"Delete", 4, &GridRowsObject::mDelete},
    };
    return m;
  }
  explicit GridRowsObject(Ref<GridControl> g) : g_(std::move(g)) {}

 private:
  Variant mRows(Args) { return Variant(g_->rows()); }
  void mPutRows(Args, const Variant& v) { g_->setRows(v.toInt32()); }
  Variant mSelRow(Args) { return Variant(g_->selRow()); }
  Variant mFixRows(Args) { return Variant(1); }
  Variant mDelete(Args a) {
    requireArgs(a, 1, "Delete");
    g_->deleteRow(a[0].get().toInt32());
    return Variant();
  }
  Ref<GridControl> g_;
};

// Col: Cols, SelCol.
class GridColsObject final : public automation::Dispatch<GridColsObject> {
 public:
  static constexpr std::string_view kTypeName = "GridCols";
  static std::span<const Member<GridColsObject>> members() {
    static const Member<GridColsObject> m[] = {
        {"Cols", 1, nullptr, &GridColsObject::mCols},
        {"SelCol", 2, nullptr, &GridColsObject::mSelCol},
    };
    return m;
  }
  explicit GridColsObject(Ref<GridControl> g) : g_(std::move(g)) {}

 private:
  Variant mCols(Args) { return Variant(g_->cols()); }
  Variant mSelCol(Args) { return Variant(g_->selCol()); }
  Ref<GridControl> g_;
};

// Cell(row, col).Float: Format.
class GridFloatObject final : public automation::Dispatch<GridFloatObject> {
 public:
  static constexpr std::string_view kTypeName = "GridCellFloat";
  static std::span<const Member<GridFloatObject>> members() {
    static const Member<GridFloatObject> m[] = {
        {"Format", 1, nullptr, &GridFloatObject::mFormat, &GridFloatObject::mPutFormat},
    };
    return m;
  }
  GridFloatObject(Ref<GridControl> g, int32_t r, int32_t c) : g_(std::move(g)), r_(r), c_(c) {}

 private:
  Variant mFormat(Args) { return Variant(g_->cell(r_, c_).format); }
  void mPutFormat(Args, const Variant& v) { g_->cell(r_, c_).format = v.toString(); }
  Ref<GridControl> g_;
  int32_t r_, c_;
};

// Cell(row, col): Value (default), Text, Locked, Float.
class GridCellObject final : public automation::Dispatch<GridCellObject> {
 public:
  static constexpr std::string_view kTypeName = "GridCell";
  static std::span<const Member<GridCellObject>> members() {
    static const Member<GridCellObject> m[] = {
        {"Value", 0, nullptr, &GridCellObject::mValue, &GridCellObject::mPutValue},
        {"Text", 1, nullptr, &GridCellObject::mText, &GridCellObject::mPutValue},
        {"Locked", 2, nullptr, &GridCellObject::mLocked, &GridCellObject::mPutLocked},
        {"Float", 3, nullptr, &GridCellObject::mFloat},
    };
    return m;
  }
  GridCellObject(Ref<GridControl> g, int32_t r, int32_t c) : g_(std::move(g)), r_(r), c_(c) {}

 private:
  Variant mValue(Args) { return g_->cell(r_, c_).value; }
  void mPutValue(Args, const Variant& v) { g_->cell(r_, c_).value = v.value(); }
  Variant mText(Args) { return Variant(g_->cellText(r_, c_)); }
  Variant mLocked(Args) { return Variant(g_->cell(r_, c_).locked); }
  void mPutLocked(Args, const Variant& v) { g_->cell(r_, c_).locked = v.toBool(); }
  Variant mFloat(Args) { return Variant(makeObject<GridFloatObject>(g_, r_, c_)); }
  Ref<GridControl> g_;
  int32_t r_, c_;
};

std::span<const Member<GridControl>> GridControl::members() {
  using G = GridControl;
  static const Member<GridControl> m[] = {
      {"Left", 1, nullptr, &G::mLeft, &G::mPutLeft},
      {"Top", 2, nullptr, &G::mTop, &G::mPutTop},
      {"Width", 3, nullptr, &G::mWidth, &G::mPutWidth},
      {"Height", 4, nullptr, &G::mHeight, &G::mPutHeight},
      {"Visible", 5, nullptr, &G::mVisible, &G::mPutVisible},
      {"Move", 6, &G::mMove},
      {"Row", 7, nullptr, &G::mRow},
      {"Col", 8, nullptr, &G::mCol},
      {"Cell", 9, nullptr, &G::mCell},
      {"SetSelect", 10, &G::mSetSelect},
  };
  return m;
}

GridControl::GridControl(std::string name, std::vector<std::string> captions)
    : name_(std::move(name)), captions_(std::move(captions)) {
  setRows(1);
  for (int32_t c = 1; c <= cols(); ++c) cell(1, c).value = Variant(captions_[c - 1]);
}

void GridControl::setRows(int32_t n) {
  if (n < 1) throw Error::invalidProcedureCall("a grid keeps its caption row", name_);
  if (n > 100000) throw Error::invalidProcedureCall("too many rows", name_);
  cells_.resize(static_cast<size_t>(n), std::vector<Cell>(captions_.size()));
  if (selRow_ > n) selRow_ = -1, selCol_ = -1;
}

void GridControl::deleteRow(int32_t row) {
  if (row < 2 || row > rows()) {
    throw Error::subscriptOutOfRange("row " + std::to_string(row), name_);
  }
  cells_.erase(cells_.begin() + (row - 1));
  if (selRow_ > rows()) selRow_ = -1, selCol_ = -1;
}

void GridControl::checkCell(int32_t row, int32_t col) const {
  if (row < 1 || row > rows() || col < 1 || col > cols()) {
    throw Error::subscriptOutOfRange(
        "cell (" + std::to_string(row) + ", " + std::to_string(col) + ")", name_);
  }
}

GridControl::Cell& GridControl::cell(int32_t row, int32_t col) {
  checkCell(row, col);
  return cells_[row - 1][col - 1];
}

const GridControl::Cell& GridControl::cell(int32_t row, int32_t col) const {
  checkCell(row, col);
  return cells_[row - 1][col - 1];
}

std::string GridControl::cellText(int32_t row, int32_t col) const {
  const Cell& c = cell(row, col);
  if (c.value.isNull() || c.value.isEmpty()) return {};
  if (!c.format.empty() && c.format[0] == '0' && c.value.isNumber()) {
    size_t point = c.format.find('.');
    int decimals = point == std::string::npos ? 0 : static_cast<int>(c.format.size() - point - 1);
    return automation::formatNumber(c.value.toDouble(), decimals, false);
  }
  return c.value.toString();
}

bool GridControl::select(int32_t row, int32_t col) {
  checkCell(row, col);
  // The selection moves first and the owner is told (as the host's grid does); a refused move
  // is undone.
  int32_t preRow = selRow_, preCol = selCol_;
  selRow_ = row;
  selCol_ = col;
  if (guard_ && guard_(row, col, preRow, preCol)) {
    selRow_ = preRow;
    selCol_ = preCol;
    return false;
  }
  return true;
}

Variant GridControl::mLeft(Args) {
  return Variant(left);
}
void GridControl::mPutLeft(Args, const Variant& v) {
  left = v.toDouble();
}
Variant GridControl::mTop(Args) {
  return Variant(top);
}
void GridControl::mPutTop(Args, const Variant& v) {
  top = v.toDouble();
}
Variant GridControl::mWidth(Args) {
  return Variant(width);
}
void GridControl::mPutWidth(Args, const Variant& v) {
  width = v.toDouble();
}
Variant GridControl::mHeight(Args) {
  return Variant(height);
}
void GridControl::mPutHeight(Args, const Variant& v) {
  double h = v.toDouble();
  if (h < 0) throw Error::invalidProcedureCall("negative height", name_);
  height = h;
}
Variant GridControl::mVisible(Args) {
  return Variant(visible);
}
void GridControl::mPutVisible(Args, const Variant& v) {
  visible = v.toBool();
}

Variant GridControl::mMove(Args a) {
  if (a.empty() || a.size() > 4) throw Error::wrongArgumentCount("Move", name_);
  // Missing or Empty arguments keep their value; places stay in floating point.
  double next[4] = {left, top, width, height};
  for (size_t i = 0; i < a.size(); ++i) {
    if (!a[i].get().isEmpty()) next[i] = a[i].get().toDouble();
  }
  if (next[2] < 0 || next[3] < 0) throw Error::invalidProcedureCall("negative size", name_);
  left = next[0], top = next[1], width = next[2], height = next[3];
  return Variant();
}

Variant GridControl::mRow(Args) {
  return Variant(makeObject<GridRowsObject>(Ref<GridControl>(this)));
}
Variant GridControl::mCol(Args) {
  return Variant(makeObject<GridColsObject>(Ref<GridControl>(this)));
}

Variant GridControl::mCell(Args a) {
  requireArgs(a, 2, "Cell");
  int32_t r = a[0].get().toInt32(), c = a[1].get().toInt32();
  checkCell(r, c);
  return Variant(makeObject<GridCellObject>(Ref<GridControl>(this), r, c));
}

Variant GridControl::mSetSelect(Args a) {
  requireArgs(a, 4, "SetSelect");
  select(a[0].get().toInt32(), a[1].get().toInt32());
  return Variant();
}

}  // namespace qx::sim
