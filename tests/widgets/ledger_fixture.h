// What the ledger binding tests share: a platform whose general-ledger object reports a currency
// with three decimals, a strict fake ledger grid control, and builders for column definition
// records and in-memory recordsets.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/recordset.h"
#include "fake_ledger_grid.h"
#include "fake_platform.h"
#include "support/live_objects.h"
#include "widgets/ledger_data.h"

namespace qx::widgets::testing {

using automation::HostDictionary;
using automation::HostVector;
using automation::ObjectRef;
using automation::Recordset;
using automation::Ref;

// A column definition record as the schedule plug-in writes them (keys given as Empty are
// left out of the record).
inline Ref<HostDictionary> columnDef(Variant caption, Variant second, Variant type, Variant name,
                                     Variant visible = Variant(int16_t{1}),
                                     Variant merge = Variant(int32_t{0})) {
  auto d = HostDictionary::create();
  const std::pair<const char*, Variant*> keys[] = {
      {"FColCaption", &caption}, {"FHeadSecond", &second}, {"FColType", &type},
      {"FColName", &name},       {"FVisible", &visible},   {"FMergerType", &merge}};
  for (const auto& [key, value] : keys) {
    if (!value->isEmpty()) d->set(key, *value);
  }
  return d;
}

inline Ref<HostVector> headerOf(std::initializer_list<Ref<HostDictionary>> records) {
  auto v = HostVector::create();
  for (const auto& r : records) v->call("Add", ObjectRef(r));
  return v;
}

// An open recordset with untyped fields and the given rows.
inline Ref<Recordset> table(const std::vector<std::string>& fields,
                            const std::vector<std::vector<Variant>>& rows) {
  auto rs = Recordset::create();
  for (const std::string& f : fields) rs->appendField({f});
  rs->open();
  for (const auto& row : rows) rs->appendRow(row);
  return rs;
}

class LedgerTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    currency = StrictFake::create("Currency", log);
    currency->allow("ScaleX", {CallKind::Get}, Variant(int16_t{3}));
    platform.factories["qrwglview.gldata"] = [this] {
      auto gl = StrictFake::create("GLData", log);
      gl->allow("getCurrency", {CallKind::Method}, Variant(currency));
      lastGLData = gl;
      return ObjectRef(gl);
    };
    control = FakeLedgerGrid::create(log);
  }
  void TearDown() override {
    ledger.reset();
    control.reset();
    currency.reset();
    lastGLData.reset();
    platform.factories.clear();
    LiveObjectsTest::TearDown();
  }

  // A binding attached to the fake control, with the log cleared.
  LedgerData& attached() {
    ledger = LedgerData::create();
    ledger->setLdg(ObjectRef(control));
    log.clear();
    return *ledger;
  }

  CallLog log;
  FakePlatform platform{log};
  Ref<StrictFake> currency;
  Ref<StrictFake> lastGLData;  // the general-ledger object of the last creation
  Ref<FakeLedgerGrid> control;
  Ref<LedgerData> ledger;
};

}  // namespace qx::widgets::testing
