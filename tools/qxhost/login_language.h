// The language the workbench speaks to the user in: the login's.
#pragma once

namespace qx::qxhost {

class Workbench;

// True when the login's language is Chinese (CHS, CHT) or not given; English otherwise.
bool chineseLogin(Workbench& w);

// The workbench's narration in the login's language.
inline const char* say(Workbench& w, const char* english, const char* chinese) {
  return chineseLogin(w) ? chinese : english;
}

}  // namespace qx::qxhost
