#include "widgets/ledger_data.h"

#include "automation/conversions.h"
#include "automation/text.h"
#include "host/platform.h"
#include "host/toolkit.h"
#include "services/sys_objects.h"
#include "widgets/ledger_parts.h"

namespace qx::widgets {

using automation::CallKind;
using automation::Error;
using automation::Variant;
namespace grid = host::ledger_grid::grid;

namespace {

constexpr int32_t kHeaderRows = 2;
constexpr int32_t kOpen = 1;
constexpr int32_t kWhite = host::rgb(255, 255, 255);
// Grid option 32 is switched off at set-up.
constexpr int32_t kSetUpOption = 32;

}  // namespace

const SourceField<LedgerData>::Route LedgerData::kControlRoutes[] = {
    {host::ledger_grid_event::kRequestRowText,
     [](LedgerData& l, Args a) { l.m_ldg_RequestRowText(a); }},
};

std::span<const automation::Member<LedgerData>> LedgerData::members() {
  using L = LedgerData;
  static const automation::Member<LedgerData> m[] = {
      {"Header", 1, nullptr, nullptr, &L::mPutHeader},
      {"rs", 2, nullptr, nullptr, &L::mPutRs},
      {"ldg", 3, nullptr, nullptr, &L::mPutLdg},
      {"MegerCol", 4, nullptr, nullptr, &L::mPutMegerCol},
      {"MegerType", 5, nullptr, nullptr, &L::mPutMegerType},
      {"Refresh", 6, &L::mRefresh},
      {"FreeMem", 7, &L::mFreeMem},
      {"m_MutilPageState", 8, nullptr, &L::mMutilPageState, &L::mPutMutilPageState},
      {"m_QtyDecimal", 9, nullptr, &L::mQtyDecimal, &L::mPutQtyDecimal},
      {"m_PriceDecimal", 10, nullptr, &L::mPriceDecimal, &L::mPutPriceDecimal},
  };
  return m;
}

LedgerData::LedgerData() : m_ldg(*this, host::kLedgerGridEvents, kControlRoutes) {
  // Without a general-ledger object or a currency, amounts fall back to two decimals (the
  // currency decimals then stay 0).
  try {
    ObjectRef glData = services::NewGLData();
    ObjectRef currency = glData->call("getCurrency", services::kLocalCurrency).toObject();
    m_CurrencyDecimal = currency->get("ScaleX").toInt16();
  } catch (...) {
    m_AmountDecimal = 2;
  }
}

LedgerData::~LedgerData() {
  try {
    FreeMem();
  } catch (...) {
    // Destruction reports nothing.
  }
}

bool LedgerData::supports(std::string_view interfaceName) const {
  return automation::equalsIgnoreCase(interfaceName, kTypeName);
}

automation::Object& LedgerData::control() const {
  if (!m_ldg) throw Error::objectNotSet(typeName());
  return *m_ldg.get();
}

ObjectRef LedgerData::gridObject() const {
  return control().callId(host::ledger_grid::kGrid, CallKind::Get).toObject();
}

// Set-up, Refresh and FreeMem pass their failures to the caller.

void LedgerData::setLdg(const ObjectRef& ldg) {
  m_ldg.assign(ldg);
  ObjectRef g = gridObject();
  g->callId(grid::kBackColor, CallKind::Put, kWhite);
  g->callId(grid::kFixedRows, CallKind::Put, kHeaderRows);
  g->callId(grid::kFixedCols, CallKind::Put, 0);
  g->callId(grid::kRows, CallKind::Put, g->callId(grid::kFixedRows, CallKind::Get));
  g->callId(grid::kCols, CallKind::Put, 0);
  g->callId(grid::kOption, CallKind::Put, kSetUpOption, false);
}

void LedgerData::Refresh() {
  ObjectRef g = gridObject();
  g->callId(grid::kCols, CallKind::Put, requireHeader(m_Header).get("Count"));
  Variant rows;
  if (!m_rs) {
    rows = g->callId(grid::kFixedRows, CallKind::Get);
  } else if (m_rs->get("State").toInt32() == kOpen) {
    rows = Variant(m_rs->get("RecordCount").toInt32() + kHeaderRows);
  } else {
    rows = g->callId(grid::kFixedRows, CallKind::Get);
  }
  g->callId(grid::kRows, CallKind::Put, rows);
  // Only counts are set here; the control then asks for each row it shows.
  g->callId(grid::kResetTexts, CallKind::Method);
  g->callId(grid::kRepaint, CallKind::Method);
}

void LedgerData::FreeMem() {
  m_ldg.reset();
  m_rs.reset();
  m_Header.reset();
}

void LedgerData::m_ldg_RequestRowText(Args a) {
  // Catch-all: on any failure the text parameter keeps the value it had and nothing is shown.
  try {
    if (a.size() < 3) throw Error::argumentNotOptional("RequestRowText", typeName());
    int32_t lRow = a[0].get().toInt32();
    std::string text;
    if (lRow == 1) {
      text = GetHeaderText(1);
      ObjectRef service = host::platform().headerLineService();
      text =
          service->call(host::kHeaderLineMember, Variant(m_ldg.get()), int16_t{1}, text).toString();
    } else if (lRow == 2) {
      text = GetHeaderText(2);
    } else {
      text = GetRowText(lRow, a[2].ref());
    }
    a[1].set(Variant(std::move(text)));
  } catch (...) {
  }
}

// Members by name.

void LedgerData::mPutHeader(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "Header");
  setHeader(objectForField(v));
}

void LedgerData::mPutRs(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "rs");
  setRs(objectForField(v));
}

void LedgerData::mPutLdg(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "ldg");
  setLdg(objectForField(v));
}

void LedgerData::mPutMegerCol(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "MegerCol");
  m_MegerCol = v.toInt32();
}

void LedgerData::mPutMegerType(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "MegerType");
  // Given as a 32-bit value, kept as 16-bit: out of range is an overflow.
  m_MegerType = automation::roundToInt16(v.toInt32());
}

Variant LedgerData::mRefresh(Args a) {
  automation::requireArgs(a, 0, "Refresh");
  Refresh();
  return Variant();
}

Variant LedgerData::mFreeMem(Args a) {
  automation::requireArgs(a, 0, "FreeMem");
  FreeMem();
  return Variant();
}

Variant LedgerData::mMutilPageState(Args a) {
  automation::requireArgs(a, 0, "m_MutilPageState");
  return Variant(m_MutilPageState);
}
void LedgerData::mPutMutilPageState(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "m_MutilPageState");
  m_MutilPageState = v.toInt16();
}

Variant LedgerData::mQtyDecimal(Args a) {
  automation::requireArgs(a, 0, "m_QtyDecimal");
  return Variant(m_QtyDecimal);
}
void LedgerData::mPutQtyDecimal(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "m_QtyDecimal");
  m_QtyDecimal = v.toInt16();
}

Variant LedgerData::mPriceDecimal(Args a) {
  automation::requireArgs(a, 0, "m_PriceDecimal");
  return Variant(m_PriceDecimal);
}
void LedgerData::mPutPriceDecimal(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "m_PriceDecimal");
  m_PriceDecimal = v.toInt16();
}

}  // namespace qx::widgets
