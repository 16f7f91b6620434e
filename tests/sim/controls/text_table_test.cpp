#include "sim/controls/text_table.h"

#include <gtest/gtest.h>

#include "host/toolkit.h"

namespace qx::sim {
namespace {

TEST(TextTable, DisplayWidthCountsWideCharactersTwice) {
  EXPECT_EQ(displayWidth("abc"), 3u);
  EXPECT_EQ(displayWidth("生产线"), 6u);
  EXPECT_EQ(displayWidth("能力/负荷"), 9u);
  EXPECT_EQ(displayWidth(""), 0u);
  EXPECT_EQ(displayWidth("\xE7\x94"), 2u);  // a cut sequence: one column per byte
  EXPECT_EQ(padRight("生产", 6), "生产  ");
  EXPECT_EQ(padLeft("1.50", 6), "  1.50");
  EXPECT_EQ(padLeft("toolong", 3), "toolong");
}

TEST(TextTable, SplitCells) {
  EXPECT_EQ(splitCells("a|b|"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(splitCells("|b||"), (std::vector<std::string>{"", "b", ""}));
  EXPECT_EQ(splitCells("a|b"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(splitCells("").empty());
}

// Figures are right-aligned in the report and the snapshot; dates and item codes are not.
TEST(TextTable, FiguresAndNotFigures) {
  for (const char* figure : {"0", "-3", "1,120.50", "21.88", "-0.5", ".5"}) {
    EXPECT_TRUE(isFigure(figure)) << figure;
  }
  for (const char* text : {"", "-", "2.01.003", "2026-12-01", "1.2,3", "L-01", "12%", "1 000"}) {
    EXPECT_FALSE(isFigure(text)) << text;
  }
}

TEST(TextTable, ColourNames) {
  struct Row {
    int32_t colour;
    const char* name;
  };
  const Row rows[] = {{host::rgb(255, 255, 255), "white"},
                      {host::rgb(222, 239, 199), "light green"},
                      {host::rgb(255, 255, 232), "light yellow"},
                      {host::rgb(247, 244, 239), "linen"},
                      {host::rgb(1, 2, 3), "#010203"},
                      {host::system_color::kButtonFace, "system colour 15"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(colourName(r.colour), r.name);
  }
}

}  // namespace
}  // namespace qx::sim
