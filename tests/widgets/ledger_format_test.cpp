#include "widgets/ledger_format.h"

#include <gtest/gtest.h>

#include "automation/conversions.h"
#include "host/toolkit.h"

namespace qx::widgets {
namespace {

using automation::Variant;

TEST(LedgerFormat, TypeCodesAreNumbersOrNumericText) {
  EXPECT_EQ(typeCode(Variant("2")), 2);
  EXPECT_EQ(typeCode(Variant(" -3 ")), -3);
  EXPECT_EQ(typeCode(Variant()), 0);
  EXPECT_THROW(typeCode(Variant("two")), automation::Error);
  EXPECT_THROW(typeCode(Variant::null()), automation::Error);
}

TEST(LedgerFormat, NumberCells) {
  struct Row {
    Variant value;
    int decimals;
    const char* text;
  };
  const Row rows[] = {
      {Variant(1234.5), 2, "1,234.50"},
      {Variant(0.005), 2, "0.01"},
      {Variant(-0.005), 2, "-0.01"},
      {Variant(999999.995), 2, "1,000,000.00"},
      {Variant(12), 0, "12"},
      {Variant(12), -2, "12"},  // no negative places
      {Variant(" 0.00 "), 2, ""},
      {Variant("12abc"), 2, "12abc"},      // no number: as is
      {Variant("1,234.5"), 1, "1,234.5"},  // grouped text converts whole
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(automation::describe(r.value));
    EXPECT_EQ(numberCell(r.value, r.decimals), r.text);
  }
}

TEST(LedgerFormat, MergeRules) {
  EXPECT_EQ(mergeRuleFor(Variant(int32_t{0})), MergeRule::Shown);
  EXPECT_EQ(mergeRuleFor(Variant()), MergeRule::Shown);
  EXPECT_EQ(mergeRuleFor(Variant(int16_t{1})), MergeRule::Empty);
  EXPECT_EQ(mergeRuleFor(Variant("2")), MergeRule::NewItemOnly);
  EXPECT_EQ(mergeRuleFor(Variant(2.5)), MergeRule::LeftOut);
  EXPECT_EQ(mergeRuleFor(Variant(int32_t{99})), MergeRule::LeftOut);
}

TEST(LedgerFormat, TextOfNullIsEmptyAndTrimRemovesBlanksOnly) {
  EXPECT_EQ(textOf(Variant::null()), "");
  EXPECT_EQ(textOf(Variant(1.25)), "1.25");
  EXPECT_EQ(trimmed("  a b  "), "a b");
  EXPECT_EQ(trimmed("\ta\t"), "\ta\t");
  EXPECT_EQ(trimmed("   "), "");
}

}  // namespace
}  // namespace qx::widgets
