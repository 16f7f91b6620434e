#include "services/msg.h"

#include "host/platform.h"
#include "services/local_string.h"

namespace qx::services {

int32_t ShowMessage(const std::string& prompt, int32_t style) {
  std::string text = prompt;
  std::string title = LoadLocalString("澜泽提示");
  return host::platform().messageBox(text, style, title);
}

}  // namespace qx::services
