// Ctrl-C in a session on a terminal. At the prompt the line editor takes it (the line is
// dropped); while a command runs it is a signal: it stops the statement running in the
// database, and the workbench says the command was stopped. Scripts keep the default (Ctrl-C
// ends them).
#pragma once

namespace qx::qxhost {

// Catches Ctrl-C from now on (the signal only sets a flag).
void catchInterrupts();
// Whether Ctrl-C came since the last clearInterrupt.
bool interruptRequested() noexcept;
void clearInterrupt() noexcept;

}  // namespace qx::qxhost
