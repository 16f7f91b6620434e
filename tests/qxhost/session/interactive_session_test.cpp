// A session on a terminal: qxhost in a pseudo-terminal, typed at as a user does.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <string>

#include "support/temp_home.h"

namespace {

class Terminal {
 public:
  // Starts qxhost with a home folder that cannot be created (below a plain file), so neither
  // the registry nor the history can be written.
  explicit Terminal(const std::filesystem::path& home) {
    pid_ = forkpty(&fd_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      setenv("TERM", "vt100", 1);
      execl(QX_QXHOST_PROGRAM, "qxhost", "--home", home.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Terminal() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (fd_ >= 0) close(fd_);
  }
  bool started() const { return pid_ > 0; }

  void type(const std::string& keys) {
    ASSERT_EQ(write(fd_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }

  // Reads until `text` appears after what was already read (true) or 20 seconds pass (false).
  bool waitFor(const std::string& text) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    size_t from = seen_;
    while (std::chrono::steady_clock::now() < deadline) {
      size_t at = output_.find(text, from);
      if (at != std::string::npos) {
        seen_ = at + text.size();
        return true;
      }
      if (!readSome(100)) return output_.find(text, from) != std::string::npos;
    }
    return false;
  }

  // Reads to the prompt and waits until the line editor has the terminal: it writes the prompt
  // before leaving the terminal's line mode, and a key typed in between is taken by the line
  // discipline (a Ctrl-D there reaches the editor as a quoted ^D on the line).
  bool waitForPrompt() {
    if (!waitFor("qxhost> ")) return false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    termios mode{};
    while (tcgetattr(fd_, &mode) == 0 && (mode.c_lflag & ICANON) != 0) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      readSome(5);
    }
    return true;
  }

  // Types `keys` until the program ends (a key typed while the terminal changes modes can be
  // lost, so it is typed again after a second without an end) and returns its exit status;
  // -1 when it did not end in 20 seconds.
  int endWith(const std::string& keys) {
    for (int attempt = 0; attempt < 20; ++attempt) {
      type(keys);
      auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
      while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
          exited_ = true;
          return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        readSome(50);
      }
    }
    return -1;
  }

  // What was shown since `mark`.
  std::string since(size_t mark) const { return output_.substr(mark); }
  size_t mark() const { return output_.size(); }

 private:
  // False at the end of the output.
  bool readSome(int milliseconds) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, milliseconds) <= 0) return true;
    char buffer[4096];
    ssize_t n = read(fd_, buffer, sizeof buffer);
    if (n <= 0) return false;
    output_.append(buffer, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int fd_ = -1;
  bool exited_ = false;
  std::string output_;
  size_t seen_ = 0;
};

TEST(InteractiveSession, CompletesHelpsAnswersMistakesAndEndsOnCtrlD) {
  std::filesystem::path file = qx::testing::uniqueTempPath("not_a_folder");
  std::ofstream(file) << "a file where the home's parent folder should be\n";
  {
    Terminal t(file / "home");
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.waitForPrompt());
    // A command name and a sub-command completed with TAB: the line the workbench reads is
    // the completed one (the terminal shows only the completed rest after moving the cursor).
    t.type("sched\t");
    t.type("showa\t");
    t.type("maybe\r");
    // Each answer is read to the prompt after it, so the next keys reach the line editor.
    EXPECT_TRUE(t.waitFor("usage error: schedule: on or off expected, not maybe"));
    ASSERT_TRUE(t.waitForPrompt());
    // help shows a command's example.
    t.type("help export\r");
    EXPECT_TRUE(t.waitFor("export --csv capacity.csv ability 5001"));
    ASSERT_TRUE(t.waitForPrompt());
    // A mistyped command: one error line, and the prompt comes back; the history brings the
    // line back with the up arrow.
    for (const char* keys : {"shedule grid\r", "\x1b[A\r"}) {
      SCOPED_TRACE(keys);
      size_t mark = t.mark();
      t.type(keys);
      ASSERT_TRUE(t.waitFor("usage error: unknown command \"shedule\" (did you mean schedule?"));
      ASSERT_TRUE(t.waitForPrompt());
      std::string shown = t.since(mark);
      size_t first = shown.find("usage error");
      EXPECT_EQ(shown.find("usage error", first + 1), std::string::npos) << shown;
    }
    size_t end = t.mark();
    EXPECT_EQ(t.endWith("\x04"), 0) << t.since(end);
  }
  std::filesystem::remove(file);
}

}  // namespace
