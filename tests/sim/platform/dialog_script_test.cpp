#include "sim/platform/dialog_script.h"

#include <gtest/gtest.h>

#include "sim/platform/sim_platform.h"

namespace qx::sim {
namespace {

TEST(DialogScriptTest, EachKindTakesItsOwnAnswersAndMessageBoxesDefaultToOK) {
  FaultInjector faults;
  RegistryFile registry{std::filesystem::path()};
  ComponentRegistry components(registry, faults);
  SimPlatform platform(components, registry);
  DialogScript& dialogs = platform.dialogs();
  platform.queueAnswer(7);
  dialogs.queue("LINE", "L-02");
  dialogs.queue(dialog_kind::kMessage, "not a button");
  EXPECT_EQ(platform.messageBox("first?", 36, "t"), 7);
  EXPECT_EQ(platform.messageBox("second?", 64, "t"), 1);  // an answer that is no button code
  EXPECT_EQ(platform.messageBox("third?", 64, "t"), 1);   // none left
  EXPECT_EQ(dialogs.take("line"), "L-02");
  EXPECT_FALSE(dialogs.take(dialog_kind::kLine));
  ASSERT_EQ(dialogs.shown().size(), 3u);
  EXPECT_EQ(dialogs.shown()[0].content, "first?");
  EXPECT_EQ(dialogs.shown()[0].answer, "7");
  EXPECT_EQ(platform.shownMessages()[2].answer, 1);
}

}  // namespace
}  // namespace qx::sim
