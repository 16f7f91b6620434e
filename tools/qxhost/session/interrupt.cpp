#include "tools/qxhost/session/interrupt.h"

#include <signal.h>

#include <csignal>

#include "sim/db/sqlite_db.h"

namespace qx::qxhost {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) {
  interrupted = 1;
}

}  // namespace

void catchInterrupts() {
  sim::setStopFlag(&interrupted);
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // reads and writes go on; the flag is looked at
  sigaction(SIGINT, &action, nullptr);
}

bool interruptRequested() noexcept {
  return interrupted != 0;
}

void clearInterrupt() noexcept {
  interrupted = 0;
}

}  // namespace qx::qxhost
