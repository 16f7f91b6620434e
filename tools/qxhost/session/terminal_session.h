// A session with a user at a terminal: what it adds to a script's run. Dialogs without a
// queued answer ask the user, long output stops after a screenful, Ctrl-C stops a command, the
// ledger fits the terminal's width, and a fresh home gets the component registered.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

// Reads the user's answer after a prompt; false at the end of the input or on Ctrl-C.
using AnswerReader = std::function<bool(const std::string& prompt, std::string& answer)>;

// Prepares the workbench for the session; `ask` reads the user's answers to dialogs and to the
// pager.
void startTerminalSession(Workbench& w, AnswerReader ask);

// Takes back what startTerminalSession installed (before the editor goes).
void stopTerminalSession(Workbench& w);

// The terminal's size in columns and lines (80 x 24 when it does not say).
std::pair<int, int> terminalSize();

// The lines a screen of `height` lines shows at once before the pager asks.
size_t screenful(int height);

}  // namespace qx::qxhost
