#include "win32/com/host_operations.h"

#include <initializer_list>

#include "host/event_interfaces.h"

namespace qx::win32 {

namespace {

struct Operation {
  int position;
  std::initializer_list<VARTYPE> params;  // in call order, each VT_BYREF | the declared type
};

// As sim/idl/hostevents.idl declares _BillEvents: GetForm([in, out] IDispatch**), GetColumns
// ([in, out] IDispatch**), ShowDetail([in, out] IDispatch**, [in, out] long*), the rest none.
const Operation kBillOperations[] = {
    {host::bill_op::kGetForm, {VT_BYREF | VT_DISPATCH}},
    {host::bill_op::kGetColumns, {VT_BYREF | VT_DISPATCH}},
    {host::bill_op::kGetInterID, {}},
    {host::bill_op::kGetBillStatus, {}},
    {host::bill_op::kRefreshBill, {}},
    {host::bill_op::kRenumberRows, {}},
    {host::bill_op::kSetBillChanged, {}},
    {host::bill_op::kRefreshTotals, {}},
    {host::bill_op::kGetMenuBar, {}},
    {host::bill_op::kShowDetail, {VT_BYREF | VT_DISPATCH, VT_BYREF | VT_I4}},
};

}  // namespace

HRESULT checkHostOperation(const automation::Object& object, DISPID id, const DISPPARAMS& params,
                           UINT* argErr) noexcept {
  const Operation* op = nullptr;
  for (const Operation& o : kBillOperations) {
    if (host::bill_op::idOf(o.position) == id) op = &o;
  }
  if (!op) return S_OK;
  try {
    if (!object.supports(host::kBillEvents)) return S_OK;
  } catch (...) {
    return S_OK;
  }
  if (params.cNamedArgs != 0 || params.cArgs != op->params.size()) return DISP_E_BADPARAMCOUNT;
  UINT i = 0;
  for (VARTYPE declared : op->params) {
    UINT index = params.cArgs - 1 - i++;  // rgvarg holds the arguments in reverse order
    if (V_VT(&params.rgvarg[index]) != declared || !V_BYREF(&params.rgvarg[index])) {
      if (argErr) *argErr = index;
      return DISP_E_TYPEMISMATCH;
    }
  }
  return S_OK;
}

}  // namespace qx::win32
