// "QxEIItemLine.Browser": the host's modal line browser. ShowType and ShowMode (16-bit) and
// Filter (a dictionary: "BItemID" and "EItemID", the item range; "LineFilter", a condition on
// the lines; "ItemLineFilter", a condition on the item/line relations; each table aliased t1)
// prepare it; Show searches the database and lets the user pick one of the lines found or
// cancel; Result is then Nothing or the chosen line, whose default member gives a field by name
// ("FLineID", "FLineName", "FLineNumber", "FWorkCenterID", ...).
//
// The user is the dialog script: Show takes the next "line" answer, a line's number or name,
// or "cancel"; with no answer queued the user cancels. Each Show is recorded.
#pragma once

#include <memory>

#include "automation/dispatch.h"
#include "sim/db/database.h"
#include "sim/platform/dialog_script.h"

namespace qx::sim {

class LineBrowser final : public automation::Dispatch<LineBrowser> {
 public:
  static constexpr std::string_view kTypeName = "QxEIItemLine.Browser";
  static std::span<const automation::Member<LineBrowser>> members();
  LineBrowser(std::shared_ptr<Database> database, std::shared_ptr<DialogScript> dialogs)
      : database_(std::move(database)), dialogs_(std::move(dialogs)) {}

 private:
  automation::Variant mShowType(automation::Args a);
  void mPutShowType(automation::Args a, const automation::Variant& v);
  automation::Variant mShowMode(automation::Args a);
  void mPutShowMode(automation::Args a, const automation::Variant& v);
  automation::Variant mFilter(automation::Args a);
  void mPutFilter(automation::Args a, const automation::Variant& v);
  automation::Variant mShow(automation::Args a);
  automation::Variant mResult(automation::Args a);

  std::shared_ptr<Database> database_;
  std::shared_ptr<DialogScript> dialogs_;
  int16_t showType_ = 0, showMode_ = 0;
  automation::ObjectRef filter_;
  automation::ObjectRef result_;
};

}  // namespace qx::sim
