#include "services/wait_cursor.h"

#include <gtest/gtest.h>

#include <optional>

#include "fakes.h"

namespace qx::services {
namespace {

using automation::Args;
using automation::Error;
using automation::Member;
using automation::ObjectRef;
using automation::Variant;
using testing::FakePlatform;

class WaitCursorTest : public ::testing::Test {
 protected:
  FakePlatform platform_;
  host::ScopedPlatform installed_{platform_};
};

TEST_F(WaitCursorTest, OneGuardShowsTheHourglassThenTheDefaultPointer) {
  {
    WaitCursor wait;
    EXPECT_EQ(platform_.pointer, kPointerHourglass);
    EXPECT_EQ(wait.waitCount(), 1);
  }
  EXPECT_EQ(platform_.pointers, (std::vector<int32_t>{11, 0}));
}

TEST_F(WaitCursorTest, SequencesOnOneGuard) {
  struct Row {
    const char* name;
    std::vector<char> calls;        // '+' StartWait, '-' StopWait, after the creation's StartWait
    std::vector<int32_t> pointers;  // including the destruction's StopWait
  };
  const Row rows[] = {
      {"start twice, stop once: still busy", {'+', '-'}, {11, 0}},
      {"start, stop: default before destruction", {'-'}, {11, 0}},
      {"stop twice: no second default", {'-', '-'}, {11, 0}},
      {"stop, start again: busy again", {'-', '+'}, {11, 0, 11, 0}},
      {"start three times", {'+', '+'}, {11}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    platform_.pointers.clear();
    {
      WaitCursor wait;
      for (char c : r.calls) c == '+' ? wait.StartWait() : wait.StopWait();
    }
    EXPECT_EQ(platform_.pointers, r.pointers);
  }
}

TEST_F(WaitCursorTest, TwoGuardsEachShowTheHourglassAndTheFirstGoneRestoresTheDefault) {
  std::optional<WaitCursor> first(std::in_place);
  {
    WaitCursor second;
    EXPECT_EQ(platform_.pointers, (std::vector<int32_t>{11, 11}));
  }
  EXPECT_EQ(platform_.pointer, kPointerDefault);
  first.reset();
  EXPECT_EQ(platform_.pointers, (std::vector<int32_t>{11, 11, 0, 0}));
}

TEST_F(WaitCursorTest, DestructionPassesNoFailureOn) {
  EXPECT_NO_THROW({
    WaitCursor wait;
    platform_.failPointer = true;
  });
  EXPECT_EQ(platform_.pointers, std::vector<int32_t>{11});
}

TEST_F(WaitCursorTest, ACreationThatCannotSetThePointerFails) {
  platform_.failPointer = true;
  EXPECT_THROW(WaitCursor wait, automation::Error);
}

}  // namespace
}  // namespace qx::services
