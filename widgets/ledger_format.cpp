#include "widgets/ledger_format.h"

#include <cmath>

#include "automation/conversions.h"
#include "host/toolkit.h"

namespace qx::widgets {

using automation::Variant;
using automation::VarType;

namespace {

// Codes whose cells are numbers, and so are aligned right.
bool isRightAligned(double code) {
  for (double c : {2, 3, 4, 5, 6, 8, 10}) {
    if (code == c) return true;
  }
  return code < 0;
}

std::string dateCell(const Variant& in) {
  Variant v = in.value();
  if (v.isEmpty() || v.isNull()) return {};
  if (const std::string* s = v.stringIf()) {
    if (s->empty()) return {};
    auto d = automation::parseDate(*s);
    // A text that is no date is shown as it is, as the toolkit's date format does.
    return d ? automation::formatDatePattern(*d, "yyyy/mm/dd") : *s;
  }
  return automation::formatDatePattern(v.toDate(), "yyyy/mm/dd");
}

}  // namespace

std::string textOf(const Variant& v) {
  Variant plain = v.value();
  return plain.isNull() ? std::string() : plain.toString();
}

std::string trimmed(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

double typeCode(const Variant& code) {
  return code.toDouble();
}

std::optional<int32_t> alignmentFor(double code) {
  if (code == 0 || code == 1) return host::ledger_grid::column::kAlignLeft;
  if (isRightAligned(code)) return host::ledger_grid::column::kAlignRight;
  return std::nullopt;
}

std::string numberCell(const Variant& in, int decimals) {
  Variant v = in.value();
  if (v.type() == VarType::Double || v.type() == VarType::Long || v.type() == VarType::Integer) {
    // A number's leading number is the number itself (its text reads back exactly), so the
    // round trip through the text is spared; infinities and NaN have none and show nothing.
    double n = v.toDouble();
    if (n == 0 || !std::isfinite(n)) return {};
    return automation::formatNumber(n, decimals);
  }
  std::string text = textOf(v);
  if (automation::leadingNumber(text) == 0) return {};
  // A text that is no number is shown as it is, as the toolkit's number format does.
  if (!automation::isNumeric(v)) return text;
  return automation::formatNumber(v.toDouble(), decimals);
}

std::string cellText(double code, const Variant& v, const Decimals& d) {
  if (code == 0) return dateCell(v);
  if (code == 2) return numberCell(v, d.quantity);
  if (code == 4) return numberCell(v, d.price);
  if (code == 6) return numberCell(v, d.amount);
  if (code == 8) return numberCell(v, 6);
  if (code == 10) return numberCell(v, 0);
  if (code < 0) return numberCell(v, automation::roundToInt32(-code));
  return textOf(v);
}

MergeRule mergeRuleFor(const Variant& mergerType) {
  double m = mergerType.toDouble();
  if (m == 0) return MergeRule::Shown;
  if (m == 1) return MergeRule::Empty;
  if (m == 2) return MergeRule::NewItemOnly;
  return MergeRule::LeftOut;
}

std::optional<int32_t> rowColourFor(const Variant& sumSort) {
  double s = sumSort.toDouble();
  if (s == 0) return host::rgb(255, 255, 255);
  if (s == 100) return host::rgb(222, 239, 199);
  if (s == 101) return host::rgb(255, 255, 232);
  if (s > 101) return host::rgb(247, 244, 239);
  return std::nullopt;
}

}  // namespace qx::widgets
