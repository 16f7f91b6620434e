#include "widgets/ledger_data.h"

#include <gtest/gtest.h>

#include "ledger_fixture.h"

namespace qx::widgets {
namespace {

using automation::CallKind;
using automation::HostDictionary;
using automation::HostVector;
using automation::Ref;
using automation::Variant;
using testing::CallLog;
using testing::columnDef;
using testing::errorOf;
using testing::headerOf;
using testing::StrictFake;
using testing::table;

class LedgerDataTest : public testing::LedgerTest {};

TEST_F(LedgerDataTest, CreationReadsTheCurrencyDecimalsAndReleasesTheLedgerObjects) {
  auto l = LedgerData::create();
  EXPECT_EQ(l->currencyDecimal(), 3);
  EXPECT_EQ(l->amountDecimal(), 0);
  EXPECT_EQ(l->m_QtyDecimal, -1);
  EXPECT_EQ(l->m_PriceDecimal, -1);
  EXPECT_EQ(l->m_MutilPageState, 0);
  EXPECT_EQ(log, CallLog{"GLData.getCurrency(1)"});
  ASSERT_EQ(lastGLData->lastArgs("getCurrency").size(), 1u);
  EXPECT_EQ(lastGLData->lastArgs("getCurrency")[0], Variant(int16_t{1}));  // a 16-bit 1
  EXPECT_EQ(lastGLData->refCount(), 1u);  // only the test holds it now
  lastGLData.reset();
  EXPECT_EQ(currency->refCount(), 1u);
}

TEST_F(LedgerDataTest, WithoutALedgerObjectOrCurrencyAmountsFallBackToTwoDecimals) {
  auto expectFallback = [] {
    auto l = LedgerData::create();
    EXPECT_EQ(l->amountDecimal(), 2);
    EXPECT_EQ(l->currencyDecimal(), 0);
  };
  {
    SCOPED_TRACE("no currency decimals");
    currency->fail("ScaleX");
    expectFallback();
  }
  {
    SCOPED_TRACE("no currency");
    platform.factories["qrwglview.gldata"] = [this] {
      auto gl = StrictFake::create("GLData", log);
      gl->allow("getCurrency", {CallKind::Method}).fail("getCurrency");
      return ObjectRef(gl);
    };
    expectFallback();
  }
  {
    SCOPED_TRACE("no general-ledger object");
    platform.factories.clear();
    expectFallback();
  }
}

TEST_F(LedgerDataTest, ControlSetUpSubscribesAndWritesTheGridInOrder) {
  control->fixedRows = 7;
  auto l = LedgerData::create();
  log.clear();
  l->put("ldg", control);
  EXPECT_EQ(control->sinkCount(), 1u);
  EXPECT_EQ(log, (CallLog{"ctl[2]?", "grid[8] = 16777215", "grid[3] = 2", "grid[4] = 0", "grid[3]?",
                          "grid[1] = 2", "grid[2] = 0", "grid[19](32) = False"}));
  EXPECT_EQ(control->rows, 2);
  EXPECT_EQ(l->ldg(), ObjectRef(control));
}

TEST_F(LedgerDataTest, ControlSetUpFailuresGoToTheCaller) {
  control->failing = {"grid[4]"};
  auto l = LedgerData::create();
  EXPECT_EQ(errorOf([&] { l->put("ldg", control); }), 5);
  EXPECT_EQ(errorOf([&] { l->put("ldg", Variant::nothing()); }), 91);  // no control: no grid
  EXPECT_EQ(errorOf([&] { l->put("ldg", 12); }), 424);
}

TEST_F(LedgerDataTest, RefreshSizesTheGridAndRepaints) {
  auto rs = table({"FInterID"}, {{Variant(1)}, {Variant(2)}, {Variant(3)}});
  auto closed = automation::Recordset::create();
  closed->appendField({"FInterID"});
  struct Row {
    const char* what;
    ObjectRef rs;
    int32_t rows;
  };
  const Row rows[] = {{"no recordset", nullptr, 2},
                      {"a closed recordset", ObjectRef(closed), 2},
                      {"three records", ObjectRef(rs), 5}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    LedgerData& l = attached();
    l.put("Header", headerOf({columnDef(Variant("A"), Variant(), Variant("1"), Variant("F")),
                              columnDef(Variant("B"), Variant(), Variant("1"), Variant("G"))}));
    if (r.rs) l.put("rs", r.rs);
    l.call("Refresh");
    EXPECT_EQ(control->cols, 2);
    EXPECT_EQ(control->rows, r.rows);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "grid[16]()");
    EXPECT_EQ(log.back(), "grid[15]()");
  }
}

TEST_F(LedgerDataTest, RefreshWithoutAHeaderListFailsToTheCaller) {
  LedgerData& l = attached();
  EXPECT_EQ(errorOf([&] { l.call("Refresh"); }), 91);
  auto detached = LedgerData::create();
  EXPECT_EQ(errorOf([&] { detached->call("Refresh"); }), 91);
}

TEST_F(LedgerDataTest, PropertiesByName) {
  LedgerData& l = attached();
  l.put("MegerCol", 70000);
  l.put("MegerType", 3);
  l.put("m_MutilPageState", 2);
  l.put("m_QtyDecimal", 1);
  l.put("m_PriceDecimal", 5);
  EXPECT_EQ(l.megerCol(), 70000);
  EXPECT_EQ(l.megerType(), 3);
  EXPECT_EQ(l.get("m_MutilPageState"), Variant(int16_t{2}));
  EXPECT_EQ(l.get("m_QtyDecimal"), Variant(int16_t{1}));
  EXPECT_EQ(l.get("m_PriceDecimal"), Variant(int16_t{5}));
  EXPECT_EQ(errorOf([&] { l.put("MegerType", 40000); }), 6);  // kept as 16-bit
  EXPECT_EQ(errorOf([&] { l.put("m_QtyDecimal", 40000); }), 6);
  EXPECT_EQ(errorOf([&] { l.put("Header", "text"); }), 424);
  EXPECT_EQ(errorOf([&] { l.get("Header"); }), 438);  // write-only
  auto header = headerOf({});
  l.put("Header", header);
  EXPECT_EQ(l.header(), ObjectRef(header));
  l.put("Header", Variant::nothing());
  EXPECT_FALSE(l.header());
  EXPECT_TRUE(log.empty());  // none of these reaches the control
}

TEST_F(LedgerDataTest, RowRequestsAnswerHeaderLinesThroughTheServiceAndRowsWithColours) {
  platform.headerLines = [&] {
    auto service = StrictFake::create("HeaderLines", log);
    service->allow("HeaderLine", {CallKind::Method}, Variant("shown line"));
    return ObjectRef(service);
  };
  LedgerData& l = attached();
  l.put("Header", headerOf({columnDef(Variant("Qty"), Variant(), Variant("2"), Variant("FQty"))}));
  l.put("rs", table({"FQty", "FInterID", "FSumSort", "FQtyDecimal"},
                    {{Variant(1.5), Variant(1), Variant(100), Variant(2)}}));
  control->rows = 3;
  log.clear();

  auto line1 = control->request(1);
  EXPECT_EQ(line1.text, Variant("shown line"));
  EXPECT_EQ(line1.colour, Variant(int32_t{-1}));
  EXPECT_EQ(log.back(), "HeaderLines.HeaderLine(<object>, 1, Qty$|)");

  auto line2 = control->request(2);
  EXPECT_EQ(line2.text, Variant("|"));

  auto row = control->request(3);
  EXPECT_EQ(row.text, Variant("1.50|"));
  EXPECT_EQ(row.colour, Variant(host::rgb(222, 239, 199)));
}

TEST_F(LedgerDataTest, TheHeaderLineServiceReceivesTheControlAndAnInteger) {
  Ref<StrictFake> service = StrictFake::create("HeaderLines", log);
  service->allow("HeaderLine", {CallKind::Method}, Variant("x"));
  platform.headerLines = [&] { return ObjectRef(service); };
  LedgerData& l = attached();
  l.put("Header", headerOf({}));
  control->request(1);
  const auto& args = service->lastArgs("HeaderLine");
  ASSERT_EQ(args.size(), 3u);
  EXPECT_EQ(args[0], Variant(ObjectRef(control)));
  EXPECT_EQ(args[1], Variant(int16_t{1}));
  EXPECT_EQ(args[2], Variant(""));
  service.reset();
  platform.headerLines = nullptr;
}

TEST_F(LedgerDataTest, AFailingRequestLeavesTheTextAsItWas) {
  LedgerData& l = attached();
  l.put("Header", headerOf({columnDef(Variant("Qty"), Variant(), Variant("2"), Variant("FQty"))}));
  // No header-line service: line 1 keeps its text.
  EXPECT_EQ(control->request(1).text, Variant("untouched"));
  // A row number that is no number.
  EXPECT_EQ(control->request(Variant("three")).text, Variant("untouched"));
  // Too few arguments.
  Variant text("before");
  EXPECT_NO_THROW(control->raise(Variant(2), automation::byRef(text)));
  EXPECT_EQ(text, Variant("before"));
  // The other rows still answer.
  EXPECT_EQ(control->request(2).text, Variant("|"));
}

TEST_F(LedgerDataTest, FreeMemReleasesControlRecordsetAndHeaderInThatOrder) {
  struct Tracked final : automation::Object {
    Tracked(std::string n, CallLog& l) : name(std::move(n)), log(l) {}
    ~Tracked() override { log.push_back(name + " released"); }
    automation::DispId idOf(std::string_view) const override { return 0; }
    Variant dispatch(automation::DispId, CallKind, Args) override { return Variant(); }
    std::string name;
    CallLog& log;
  };
  for (bool byDestruction : {false, true}) {
    SCOPED_TRACE(byDestruction ? "destruction" : "FreeMem");
    LedgerData& l = attached();
    l.setRs(ObjectRef(automation::makeObject<Tracked>("recordset", log)));
    l.setHeader(ObjectRef(automation::makeObject<Tracked>("header", log)));
    control.reset();  // the binding holds the last reference now
    log.clear();
    if (byDestruction) {
      ledger.reset();
    } else {
      EXPECT_EQ(l.call("FreeMem"), Variant());
    }
    EXPECT_EQ(log, (CallLog{"control released", "recordset released", "header released"}));
    if (!byDestruction) {
      EXPECT_FALSE(l.ldg());
      EXPECT_FALSE(l.rs());
      EXPECT_FALSE(l.header());
    }
    control = testing::FakeLedgerGrid::create(log);
  }
}

TEST_F(LedgerDataTest, AfterFreeMemNoRequestArrives) {
  LedgerData& l = attached();
  l.put("Header", headerOf({}));
  l.FreeMem();
  EXPECT_EQ(control->sinkCount(), 0u);
  EXPECT_EQ(control->request(2).text, Variant("untouched"));
}

TEST_F(LedgerDataTest, SettingTheUnreadFieldsChangesNothingDisplayed) {
  LedgerData& l = attached();
  l.put("Header", headerOf({columnDef(Variant("Qty"), Variant(), Variant("2"), Variant("FQty"))}));
  l.put("rs", table({"FQty", "FInterID"}, {{Variant(1.5), Variant(0)}}));
  control->rows = 10;
  Variant colour;
  std::string before1 = l.GetHeaderText(1), before2 = l.GetHeaderText(2);
  std::string row = l.GetRowText(3, colour);
  l.put("MegerCol", 2);
  l.put("MegerType", 1);
  l.put("m_MutilPageState", 1);
  EXPECT_EQ(l.GetHeaderText(1), before1);
  EXPECT_EQ(l.GetHeaderText(2), before2);
  EXPECT_EQ(l.GetRowText(3, colour), row);
}

}  // namespace
}  // namespace qx::widgets
