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

// A user at a terminal is asked only when no answer is queued, and sees what the dialog shows;
// a message box without an answer takes its default button.
TEST(DialogScriptTest, TheAskerAnswersWhatTheQueueDoesNot) {
  FaultInjector faults;
  RegistryFile registry{std::filesystem::path()};
  ComponentRegistry components(registry, faults);
  SimPlatform platform(components, registry);
  DialogScript& dialogs = platform.dialogs();
  struct Row {
    int32_t style;
    const char* queued;  // null: none
    const char* typed;   // the user's answer; null: the user is not asked (or gives none)
    int32_t answer;
    const char* buttons;  // what the user was offered; empty: not asked
  } rows[] = {
      {4, nullptr, nullptr, 6, ""},        // Yes/No without an asker: Yes, the first button
      {3 | 256, nullptr, nullptr, 7, ""},  // Yes/No/Cancel, the second button the default
      {64, nullptr, nullptr, 1, ""},
      {4, "6", "7", 6, ""},  // the queue first
      {4, nullptr, "7", 7, "6 Yes;7 No;"},
      {3, nullptr, "2", 2, "6 Yes;7 No;2 Cancel;"},
      {1, nullptr, nullptr, 1, "1 OK;2 Cancel;"},  // the user gives none: the default
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.style) + (r.queued ? " queued" : "") + (r.typed ? r.typed : ""));
    std::string offered;
    bool useAsker = r.typed || *r.buttons;
    dialogs.setAsker(useAsker ? DialogScript::Asker([&](const DialogQuestion& q) {
      EXPECT_EQ(q.kind, dialog_kind::kMessage);
      EXPECT_EQ(q.title, "t");
      EXPECT_EQ(q.content, "save?");
      for (const auto& b : q.choices) offered += b[0] + " " + b[1] + ";";
      return r.typed ? std::optional<std::string>(r.typed) : std::nullopt;
    })
                              : nullptr);
    if (r.queued) dialogs.queue(dialog_kind::kMessage, r.queued);
    EXPECT_EQ(platform.messageBox("save?", r.style, "t"), r.answer);
    EXPECT_EQ(offered, r.buttons);
  }
  // Dialogs of the host's components pass their question the same way.
  dialogs.setAsker([](const DialogQuestion& q) { return std::optional<std::string>(q.kind); });
  dialogs.queue("line", "L-02");
  EXPECT_EQ(dialogs.take(DialogQuestion{"line", "", "", {}, {}, nullptr}), "L-02");
  EXPECT_EQ(dialogs.take(DialogQuestion{"line", "", "", {}, {}, nullptr}), "line");
  EXPECT_FALSE(dialogs.take("line"));  // asked by kind alone: the queue only
}

}  // namespace
}  // namespace qx::sim
