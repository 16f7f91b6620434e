#include "tools/qxhost/session/line_editor.h"

#include <histedit.h>

#include <cstdio>
#include <system_error>

#include "tools/qxhost/session/completion.h"

namespace qx::qxhost {

namespace {

// What the editor's callbacks reach through its client data.
struct ClientData {
  std::string prompt;
  LineEditor::Completer complete;
};

const char* promptOf(EditLine* e) {
  void* data = nullptr;
  el_get(e, EL_CLIENTDATA, &data);
  return static_cast<ClientData*>(data)->prompt.c_str();
}

// TAB: completes the word at the cursor as far as the candidates agree; when they go apart,
// lists them under the line.
unsigned char completeWord(EditLine* e, int) {
  void* data = nullptr;
  el_get(e, EL_CLIENTDATA, &data);
  const LineInfo* line = el_line(e);
  std::string before(line->buffer, static_cast<size_t>(line->cursor - line->buffer));
  std::vector<std::string> found = static_cast<ClientData*>(data)->complete(before);
  if (found.empty()) return CC_ERROR;
  size_t start = before.find_last_of(' ');
  size_t typed = before.size() - (start == std::string::npos ? 0 : start + 1);
  std::string common = commonPrefix(found);
  if (common.size() > typed) {
    std::string rest = common.substr(typed) + (found.size() == 1 ? " " : "");
    el_insertstr(e, rest.c_str());
    return CC_REFRESH;
  }
  if (found.size() == 1) {
    el_insertstr(e, " ");
    return CC_REFRESH;
  }
  std::fputs("\n", stdout);
  for (const std::string& word : found) std::printf("%s  ", word.c_str());
  std::fputs("\n", stdout);
  std::fflush(stdout);
  return CC_REDISPLAY;
}

}  // namespace

struct LineEditor::State {
  EditLine* editor = nullptr;
  History* history = nullptr;
  std::filesystem::path historyFile;
  ClientData data;
};

LineEditor::LineEditor(const char* program, std::string prompt, std::filesystem::path historyFile,
                       Completer complete)
    : state_(std::make_unique<State>()) {
  state_->data = {std::move(prompt), std::move(complete)};
  state_->historyFile = std::move(historyFile);
  HistEvent event;
  state_->history = history_init();
  history(state_->history, &event, H_SETSIZE, 1000);
  history(state_->history, &event, H_SETUNIQUE, 1);
  std::error_code ec;
  if (!state_->historyFile.empty() && std::filesystem::is_regular_file(state_->historyFile, ec)) {
    history(state_->history, &event, H_LOAD, state_->historyFile.c_str());  // unreadable: none
  }
  state_->editor = el_init(program, stdin, stdout, stderr);
  el_set(state_->editor, EL_CLIENTDATA, &state_->data);
  el_set(state_->editor, EL_PROMPT, promptOf);
  el_set(state_->editor, EL_EDITOR, "emacs");
  el_set(state_->editor, EL_SIGNAL, 1);
  el_set(state_->editor, EL_HIST, history, state_->history);
  // The wide forms keep these texts as they are; the narrow EL_ADDFN copies them and never
  // frees the copies.
  el_wset(state_->editor, EL_ADDFN, L"qx-complete", L"completes the word at the cursor",
          completeWord);
  el_wset(state_->editor, EL_BIND, L"^I", L"qx-complete", nullptr);
}

LineEditor::~LineEditor() {
  // A home that cannot be written keeps the history to this session.
  if (!state_->historyFile.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(state_->historyFile.parent_path(), ec);
    HistEvent event;
    if (!ec) history(state_->history, &event, H_SAVE, state_->historyFile.c_str());
  }
  el_end(state_->editor);
  history_end(state_->history);
}

bool LineEditor::read(std::string& line) {
  int count = 0;
  const char* text = el_gets(state_->editor, &count);
  if (!text || count <= 0) return false;
  line.assign(text, static_cast<size_t>(count));
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (line.find_first_not_of(" \t") != std::string::npos) {
    HistEvent event;
    history(state_->history, &event, H_ENTER, line.c_str());
  }
  return true;
}

}  // namespace qx::qxhost
