// Calls as a host makes them: raw IDispatch::Invoke with VARIANT arguments (given in call
// order; by-reference ones point at the caller's variables), and what came back.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <string>
#include <vector>

#include "win32/com/bstr.h"
#include "win32/com/com_ptr.h"
#include "win32/com/com_variant.h"

namespace qx::testhost {

using win32::Bstr;
using win32::ComPtr;
using win32::VariantOwner;

struct CallOutcome {
  HRESULT hr = S_OK;
  VariantOwner result;
  HRESULT scode = S_OK;  // from the EXCEPINFO when hr is DISP_E_EXCEPTION
  std::string description;
  std::string source;
  UINT argErr = 0;
  // The run-time error number the caller sees (0 on success).
  int32_t number() const noexcept;
};

// A DISPID_UNKNOWN when the object does not know the name.
DISPID dispIdOf(IDispatch* d, const wchar_t* name);
CallOutcome invoke(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args);
CallOutcome callMethod(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args = {});
CallOutcome getProperty(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args = {});

// Argument views: the VARIANT does not own what it points at.
VARIANT argDispatch(IDispatch* d);
VARIANT argLong(int32_t n);
VARIANT argBstr(const Bstr& s);
VARIANT argDouble(double d);
VARIANT refBstr(Bstr& s);
VARIANT refBool(VARIANT_BOOL& b);
VARIANT refDispatch(ComPtr<IDispatch>& d);
VARIANT refVariant(VARIANT& v);

std::string textOf(const VARIANT& v);
// The IDispatch held by a VT_DISPATCH result (null otherwise).
ComPtr<IDispatch> dispatchOf(const VARIANT& v);

}  // namespace qx::testhost
