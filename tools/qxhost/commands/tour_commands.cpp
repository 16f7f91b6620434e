// The guided tour's narration: each step says in one line, in the login's language, what the
// user does next.
#include <ostream>

#include "automation/text.h"
#include "sim/sim_host.h"
#include "tools/qxhost/login_language.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

bool chineseLogin(Workbench& w) {
  std::string language = automation::asciiUpper(w.host().login().entry("Language"));
  return language.empty() || language.rfind("CH", 0) == 0;
}

namespace {

void cmdStep(Workbench& w, const Line& l) {
  if (l.size() != 3 || !l.quoted[1] || !l.quoted[2]) {
    throw UsageError{
        "two quoted texts, Chinese then English, as in step \"打开单据\" \"Open the bill\""};
  }
  w.out() << "\n" << ++w.steps << ". " << (chineseLogin(w) ? l.words[1] : l.words[2]) << "\n";
}

}  // namespace

void addTourCommands(Workbench& w) {
  w.addCommand({"step", "\"Chinese text\" \"English text\"",
                "narrates a step of a tour in the login's language", cmdStep,
                "step \"打开单据\" \"Open the bill\""});
}

}  // namespace qx::qxhost
