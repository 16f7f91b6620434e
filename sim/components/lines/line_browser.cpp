#include "sim/components/lines/line_browser.h"

#include <utility>
#include <vector>

#include "automation/text.h"
#include "sim/components/lines/item_line_query.h"

namespace qx::sim {

using automation::Args;
using automation::Error;
using automation::Variant;

namespace {

// The chosen line: its fields by name through the default member.
class ChosenLine final : public automation::Dispatch<ChosenLine> {
 public:
  static constexpr std::string_view kTypeName = "QxEIItemLine.Line";
  static std::span<const automation::Member<ChosenLine>> members() {
    static const automation::Member<ChosenLine> m[] = {
        {"Value", automation::kDispIdValue, nullptr, &ChosenLine::mValue},
        {"Count", 1, nullptr, &ChosenLine::mCount},
    };
    return m;
  }
  explicit ChosenLine(std::vector<std::pair<std::string, Variant>> fields)
      : fields_(std::move(fields)) {}

 private:
  Variant mValue(Args a) {
    automation::requireArgs(a, 1, "Value");
    std::string name = a[0].get().toString();
    for (const auto& [field, value] : fields_) {
      if (automation::equalsIgnoreCase(field, name)) return value;
    }
    throw Error(3265,
                "Item cannot be found in the collection corresponding to the requested name or "
                "ordinal: " +
                    name,
                std::string(kTypeName));
  }
  Variant mCount(Args) { return Variant(static_cast<int32_t>(fields_.size())); }

  std::vector<std::pair<std::string, Variant>> fields_;
};

std::string textOf(const Variant& v) {
  return v.isNull() || v.isEmpty() ? std::string() : v.toString();
}

// A bound of the item range: absent, Empty, Null or 0 leave it open.
std::optional<int32_t> boundOf(const Variant& v) {
  if (v.isNull() || v.isEmpty()) return std::nullopt;
  int32_t n = v.toInt32();
  return n == 0 ? std::nullopt : std::optional<int32_t>(n);
}

}  // namespace

std::span<const automation::Member<LineBrowser>> LineBrowser::members() {
  using B = LineBrowser;
  static const automation::Member<LineBrowser> m[] = {
      {"ShowType", 1, nullptr, &B::mShowType, &B::mPutShowType},
      {"ShowMode", 2, nullptr, &B::mShowMode, &B::mPutShowMode},
      {"Filter", 3, nullptr, &B::mFilter, &B::mPutFilter},
      {"Show", 4, &B::mShow},
      {"Result", 5, nullptr, &B::mResult},
  };
  return m;
}

Variant LineBrowser::mShowType(Args) {
  return Variant(showType_);
}
void LineBrowser::mPutShowType(Args, const Variant& v) {
  showType_ = v.toInt16();
}
Variant LineBrowser::mShowMode(Args) {
  return Variant(showMode_);
}
void LineBrowser::mPutShowMode(Args, const Variant& v) {
  showMode_ = v.toInt16();
}
Variant LineBrowser::mFilter(Args) {
  return Variant(filter_);
}
void LineBrowser::mPutFilter(Args, const Variant& v) {
  if (!v.isNothing() && !v.isObject()) throw Error::objectRequired("Filter", typeName());
  filter_ = v.objectOrNull();
}

Variant LineBrowser::mResult(Args) {
  return Variant(result_);
}

Variant LineBrowser::mShow(Args) {
  result_.reset();
  LineSearch search;
  if (filter_) {
    auto entry = [&](const char* key) { return filter_->call("GetValue", key, Variant()); };
    search.firstItem = boundOf(entry("BItemID"));
    search.lastItem = boundOf(entry("EItemID"));
    search.lineFilter = textOf(entry("LineFilter"));
    search.itemLineFilter = textOf(entry("ItemLineFilter"));
  }
  automation::Ref<automation::Recordset> lines;
  try {
    SqliteDb db = database_->open();
    lines = searchLines(db, search);
  } catch (const Error& e) {
    throw Error(e.number(), "The line browser cannot search with its filter: " + e.description(),
                typeName());
  }

  // What the dialog offers, and the user's pick among it.
  ShownDialog shown{std::string(dialog_kind::kLine), "选择生产线", "", ""};
  shown.content = "ShowType " + std::to_string(showType_) + ", ShowMode " +
                  std::to_string(showMode_) + "; lines:";
  if (lines->recordCount() == 0) shown.content += " none";
  std::optional<std::string> answer = dialogs_->take(dialog_kind::kLine);
  bool cancel = !answer || automation::equalsIgnoreCase(*answer, "cancel");
  std::vector<std::pair<std::string, Variant>> picked;
  for (lines->moveFirst(); !lines->eof(); lines->moveNext()) {
    std::string number = textOf(lines->value(lines->column(Variant("FLineNumber"))));
    std::string name = textOf(lines->value(lines->column(Variant("FLineName"))));
    shown.content += " " + number + " " + name + ";";
    if (cancel || !picked.empty()) continue;
    if (automation::equalsIgnoreCase(number, *answer) || name == *answer) {
      for (size_t c = 0; c < lines->fieldCount(); ++c) {
        picked.emplace_back(lines->fieldDef(c).name, lines->value(c));
      }
    }
  }
  if (!answer) {
    shown.answer = "cancel (no answer queued)";
  } else if (cancel) {
    shown.answer = "cancel";
  } else if (picked.empty()) {
    shown.answer = "cancel (" + *answer + " is not among the lines shown)";
  } else {
    shown.answer = *answer;
    result_ = automation::makeObject<ChosenLine>(std::move(picked));
  }
  dialogs_->record(std::move(shown));
  return Variant();
}

}  // namespace qx::sim
