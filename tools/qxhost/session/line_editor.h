// Reading a session's lines on a terminal: a prompt, line editing and the session's history
// (the editline library), and completion by a function of the line up to the cursor.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qx::qxhost {

class LineEditor {
 public:
  using Completer = std::function<std::vector<std::string>(std::string_view before)>;
  // `historyFile`: the history of earlier sessions is read from it and the session's is
  // written back at the end; a file that cannot be read or written leaves the history to the
  // session alone.
  LineEditor(const char* program, std::string prompt, std::filesystem::path historyFile,
             Completer complete);
  ~LineEditor();
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  // The next line without its line feed; false at the end of the input (Ctrl-D).
  bool read(std::string& line);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace qx::qxhost
