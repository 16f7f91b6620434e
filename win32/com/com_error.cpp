#include "win32/com/com_error.h"

#include <windows.h>

#include <cstdio>

#include "win32/com/bstr.h"
#include "win32/com/com_ptr.h"

namespace qx::win32 {

namespace {

struct KnownStatus {
  HRESULT hr;
  int32_t number;
};

// The run-time numbers an automation client shows for the standard dispatch failures.
constexpr KnownStatus kKnown[] = {
    {DISP_E_UNKNOWNNAME, 438},   {DISP_E_MEMBERNOTFOUND, 438},   {DISP_E_TYPEMISMATCH, 13},
    {DISP_E_BADPARAMCOUNT, 450}, {DISP_E_PARAMNOTOPTIONAL, 449}, {DISP_E_OVERFLOW, 6},
    {DISP_E_BADINDEX, 9},        {DISP_E_DIVBYZERO, 11},         {DISP_E_PARAMNOTFOUND, 448},
    {DISP_E_NONAMEDARGS, 446},   {DISP_E_BADVARTYPE, 458},       {E_OUTOFMEMORY, 7},
    {E_INVALIDARG, 5},           {E_NOINTERFACE, 430},           {E_NOTIMPL, 445},
    {REGDB_E_CLASSNOTREG, 429},  {CO_E_CLASSSTRING, 429},        {CLASS_E_CLASSNOTAVAILABLE, 429},
};

std::string systemText(HRESULT hr) {
  wchar_t* buf = nullptr;
  DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
  std::string text;
  if (n && buf) {
    while (n && (buf[n - 1] == L'\r' || buf[n - 1] == L'\n' || buf[n - 1] == L' ')) --n;
    text = toUtf8(std::wstring_view(buf, n));
  }
  if (buf) LocalFree(buf);
  return text;
}

std::string hex(HRESULT hr) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(hr));
  return buf;
}

}  // namespace

HRESULT statusOf(const Error& e) noexcept {
  int32_t n = e.number();
  if (n < 0) return static_cast<HRESULT>(n);  // already a status code
  if (n == 0 || n > 0xFFFF) return E_FAIL;
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, n);
}

int32_t errorNumberOf(HRESULT hr) noexcept {
  if (HRESULT_SEVERITY(hr) == SEVERITY_ERROR && HRESULT_FACILITY(hr) == FACILITY_CONTROL) {
    return HRESULT_CODE(hr);
  }
  for (const KnownStatus& k : kKnown) {
    if (k.hr == hr) return k.number;
  }
  return static_cast<int32_t>(hr);
}

Error errorFromStatus(HRESULT hr, std::string_view what, std::string source) {
  std::string text = systemText(hr);
  if (text.empty()) text = "Automation error " + hex(hr);
  if (!what.empty()) text += " (" + std::string(what) + ")";
  return Error(errorNumberOf(hr), std::move(text), std::move(source));
}

Error errorFromExcepInfo(EXCEPINFO& info, std::string_view what) {
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  Bstr description = Bstr::adopt(info.bstrDescription);
  Bstr source = Bstr::adopt(info.bstrSource);
  Bstr help = Bstr::adopt(info.bstrHelpFile);
  info.bstrDescription = info.bstrSource = info.bstrHelpFile = nullptr;
  HRESULT scode = info.scode ? info.scode : E_FAIL;
  int32_t number = info.wCode ? info.wCode : errorNumberOf(scode);
  std::string text = description.utf8();
  if (text.empty()) text = errorFromStatus(scode, what).description();
  return Error(number, std::move(text), source.utf8());
}

HRESULT reportDispatchError(const Error& e, EXCEPINFO* info,
                            std::string_view defaultSource) noexcept {
  HRESULT hr = statusOf(e);
  if (!info) return hr;
  *info = EXCEPINFO{};
  info->scode = hr;
  try {
    info->bstrDescription = Bstr(e.description()).detach();
    info->bstrSource = Bstr(e.source().empty() ? defaultSource : e.source()).detach();
  } catch (...) {
    // No memory for the texts: the status code alone still tells the failure.
  }
  return DISP_E_EXCEPTION;
}

HRESULT reportCallError(const Error& e, REFIID iid) noexcept {
  HRESULT hr = statusOf(e);
  try {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put()))) {
      create->SetGUID(iid);
      Bstr description(e.description());
      Bstr source(e.source());
      create->SetDescription(description.get());
      create->SetSource(source.get());
      ComPtr<IErrorInfo> info = create.as<IErrorInfo>(IID_IErrorInfo);
      SetErrorInfo(0, info.get());
    }
  } catch (...) {
    // The status code alone still tells the failure.
  }
  return hr;
}

}  // namespace qx::win32
