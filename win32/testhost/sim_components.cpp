#include "win32/testhost/sim_components.h"

#include <ole2.h>

#include <set>
#include <string_view>

#include "win32/com/bstr.h"
#include "win32/testhost/object_factory.h"

namespace qx::testhost {

namespace {

sim::SimHost* g_answeringHost = nullptr;
HHOOK g_hook = nullptr;
std::set<HWND> g_answered;

std::wstring windowText(HWND h) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
  return text;
}

// A message box is a dialog whose prompt is the static control 0xFFFF.
LRESULT CALLBACK answerMessageBoxes(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_ACTIVATE && g_answeringHost) {
    HWND box = reinterpret_cast<HWND>(w);
    wchar_t cls[16] = L"";
    GetClassNameW(box, cls, 16);
    HWND prompt = GetDlgItem(box, 0xFFFF);
    if (std::wstring_view(cls) == L"#32770" && prompt && g_answered.insert(box).second) {
      int32_t answer = g_answeringHost->platform().messageBox(win32::toUtf8(windowText(prompt)), 0,
                                                              win32::toUtf8(windowText(box)));
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    }
  }
  return CallNextHookEx(g_hook, code, w, l);
}

}  // namespace

SimComponentRegistration::SimComponentRegistration(sim::SimHost& host) {
  for (const std::string& id : host.components().componentIds()) {
    GUID clsid{};
    wchar_t text[40] = L"";
    bool made = SUCCEEDED(CoCreateGuid(&clsid)) && StringFromGUID2(clsid, text, 40) != 0;
    ok_ = made && classes_.add(win32::toUtf16(id), text, [&host, id] {
      return host.components().create(id);
    }) && ok_;
  }
}

MessageBoxAnswers::MessageBoxAnswers(sim::SimHost& host) {
  g_answeringHost = &host;
  g_answered.clear();
  hook_ = g_hook = SetWindowsHookExW(WH_CBT, answerMessageBoxes, nullptr, GetCurrentThreadId());
}

MessageBoxAnswers::~MessageBoxAnswers() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_hook = nullptr;
  g_answeringHost = nullptr;
  g_answered.clear();
}

}  // namespace qx::testhost
