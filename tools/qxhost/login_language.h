// The language the workbench speaks to the user in: the login's.
#pragma once

namespace qx::qxhost {

class Workbench;

// True when the login's language is Chinese (CHS, CHT) or not given; English otherwise.
bool chineseLogin(Workbench& w);

}  // namespace qx::qxhost
