// The substitute host's components served as COM objects in this process: every component of
// a SimHost gets a class object and its programmatic identifier in the registry for the life
// of the registration, so the COM server's CreateObject finds it as it finds the host's own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "sim/sim_host.h"
#include "win32/testhost/object_factory.h"

namespace qx::testhost {

class SimComponentRegistration {
 public:
  explicit SimComponentRegistration(sim::SimHost& host);

  bool ok() const noexcept { return ok_; }
  size_t count() const noexcept { return classes_.count(); }

 private:
  ClassRegistrations classes_;
  bool ok_ = true;
};

// While it lives, the message boxes of this thread are answered as the substitute host's
// platform answers them (its queue of scripted answers) and recorded there.
class MessageBoxAnswers {
 public:
  explicit MessageBoxAnswers(sim::SimHost& host);
  MessageBoxAnswers(const MessageBoxAnswers&) = delete;
  MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;
  ~MessageBoxAnswers();
  bool ok() const noexcept { return hook_ != nullptr; }

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace qx::testhost
