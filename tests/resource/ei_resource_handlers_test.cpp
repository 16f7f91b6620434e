#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/recordset.h"
#include "resource/ei_resource.h"
#include "services/fakes.h"
#include "sim/platform/fault_injector.h"
#include "support/live_objects.h"

namespace qx::resource {
namespace {

using automation::Error;
using automation::HostDictionary;
using automation::HostVector;
using automation::makeObject;
using automation::Member;
using automation::ObjectRef;
using automation::Recordset;
using automation::Variant;
using services::testing::FakeConnection;
using services::testing::FakeLoader;
using services::testing::FakePlatform;
using services::testing::FakeShareProps;
using services::testing::onFreshThread;
using services::testing::StrictFake;

Variant countOf(const Variant& n) {
  auto rs = Recordset::create();
  rs->appendField({"Expr1", automation::field_type::kVariant});
  rs->open();
  rs->appendRow({n});
  rs->moveFirst();
  return Variant(rs);
}

// The plug-in with a login in English and a loader that writes "[EN]" before each key.
class EIResourceHandlersTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    answers_.values["PropsString"] = Variant("Language=EN");
    platform_.add("ShareVault.ShareProps",
                  [this] { return ObjectRef(makeObject<FakeShareProps>(answers_)); });
    platform_.add("QxResLoader.Loader", [] { return ObjectRef(makeObject<FakeLoader>()); });
    platform_.add("QxConnection.AppConnection",
                  [this] { return ObjectRef(makeObject<FakeConnection>(db_)); });
  }
  void TearDown() override {
    db_.answer = Variant();
    LiveObjectsTest::TearDown();
  }
  // Each scenario on its own thread: the translation state starts empty and ends with it.
  void run(const std::function<void(EIResource&)>& body) {
    host::ScopedPlatform installed(platform_);
    onFreshThread([&] {
      auto plugin = EIResource::create();
      body(*plugin);
    });
  }
  static Variant entries(std::vector<std::pair<const char*, Variant>> fields) {
    auto v = HostVector::create();
    for (auto& [name, value] : fields) {
      auto d = HostDictionary::create();
      if (name) d->set("FName", Variant(name));
      if (!value.isEmpty()) d->set("TrueValue", value);
      v->add(Variant(d));
    }
    return Variant(v);
  }

  FakePlatform platform_;
  FakeShareProps::Answers answers_;
  FakeConnection::Script db_;
};

TEST_F(EIResourceHandlersTest, TitleInfoAddsTheProductivityColumnWhenNoVectorIsGiven) {
  run([](EIResource& r) {
    for (Variant vecData : {Variant(), Variant::nothing()}) {
      Variant bCancel(int16_t{5});
      r.m_oEvent_OnGetTitleInfo(vecData, bCancel);
      EXPECT_EQ(bCancel, Variant(int16_t{5})) << "bCancel is never written";
      auto* v = dynamic_cast<HostVector*>(vecData.objectOrNull().get());
      ASSERT_NE(v, nullptr);
      ASSERT_EQ(v->count(), 1);
      auto* d = dynamic_cast<HostDictionary*>(v->items()[0].objectOrNull().get());
      ASSERT_NE(d, nullptr);
      const std::vector<std::pair<std::string, Variant>> expected = {
          {"FName", Variant("FEIProductivity")},   {"FCName", Variant("[EN]生产率")},
          {"FFieldType", Variant(int16_t{2})},     {"FTrueName", Variant("FEIProductivity")},
          {"FTrueFieldType", Variant(int16_t{2})}, {"FVisible", Variant(true)},
          {"FDefaultValue", Variant("0.00000")},   {"FAlignType", Variant(int16_t{1})},
          {"FDecCtl", Variant(int16_t{1})},        {"FQtyDecimal", Variant(int16_t{6})},
          {"FColPrecision", Variant(int16_t{1})},
      };
      EXPECT_EQ(d->entries(), expected);  // keys in order, values with their types
    }
  });
}

TEST_F(EIResourceHandlersTest, TitleInfoLeavesAnExistingVectorAlone) {
  run([](EIResource& r) {
    auto empty = HostVector::create();
    auto full = HostVector::create();
    full->add(Variant("theirs"));
    for (const auto& given : {empty, full}) {
      Variant vecData(given), bCancel(false);
      r.m_oEvent_OnGetTitleInfo(vecData, bCancel);
      EXPECT_EQ(vecData.objectOrNull(), ObjectRef(given));
      EXPECT_EQ(bCancel, Variant(false));
    }
    EXPECT_EQ(empty->count(), 0);
    EXPECT_EQ(full->count(), 1);
  });
}

TEST_F(EIResourceHandlersTest, TitleInfoFailureLeavesTheNewEmptyVector) {
  sim::FaultInjector faults;
  faults.add("HostDictionary", "Value");
  run([](EIResource& r) {
    Variant vecData, bCancel(false);
    EXPECT_THROW(r.m_oEvent_OnGetTitleInfo(vecData, bCancel), Error);
    auto* v = dynamic_cast<HostVector*>(vecData.objectOrNull().get());
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->count(), 0);
  });
}

TEST_F(EIResourceHandlersTest, ServerComponentsAreReplacedOnExactIdentifiersOnly) {
  struct Row {
    Variant in, out, cancel;
  };
  const Row rows[] = {
      {Variant("QxMResource.ResourceList"), Variant("QxMEIResource.ResourceInfo"), Variant(false)},
      {Variant("QxMResource.ResourceAction"), Variant("QxMEIResource.ResourceUpdate"),
       Variant(false)},
      {Variant("qxmresource.resourcelist"), Variant("qxmresource.resourcelist"), Variant(true)},
      {Variant("QxMResource.ResourceList "), Variant("QxMResource.ResourceList "), Variant(true)},
      {Variant("QxMResource.Other"), Variant("QxMResource.Other"), Variant(true)},
      {Variant(""), Variant(""), Variant(true)},
      {Variant(), Variant(), Variant(true)},
  };
  run([&](EIResource& r) {
    for (const Row& row : rows) {
      SCOPED_TRACE(automation::describe(row.in));
      Variant sProgID = row.in, bCancel(true);
      r.m_oEvent_OnGetMTSComponent(sProgID, bCancel);
      EXPECT_EQ(sProgID, row.out);
      EXPECT_EQ(bCancel, row.cancel);
    }
  });
}

TEST_F(EIResourceHandlersTest, CaptionIsTheListKeyWhateverWasPassed) {
  run([](EIResource& r) {
    Variant sCaption("Resources"), bCancel(false);
    r.m_oEvent_OnGetECaption(sCaption, bCancel);
    EXPECT_EQ(sCaption, Variant("EIResourceList"));
    EXPECT_EQ(bCancel, Variant(true));
  });
}

TEST_F(EIResourceHandlersTest, ProductivityCheckWalksTheEntriesInOrder) {
  const std::string refused = "[EN]非生产线资源不能定义生产率.";
  struct Row {
    const char* name;
    Variant vecData;
    bool accepted;
  };
  const Row rows[] = {
      {"line, positive",
       entries({{"FTypeName", Variant(11063)}, {"FEIProductivity", Variant(12.5)}}), true},
      {"line, negative",
       entries({{"FTypeName", Variant(11063)}, {"FEIProductivity", Variant(-3.0)}}), true},
      {"no type, exactly the threshold", entries({{"FEIProductivity", Variant(0.0000001)}}), true},
      {"no type, below the negative threshold", entries({{"FEIProductivity", Variant(-0.00001)}}),
       false},
      {"equipment, productivity",
       entries({{"FTypeName", Variant(11062)}, {"FEIProductivity", Variant(1)}}), false},
      {"productivity before the line type",
       entries({{"FEIProductivity", Variant(5)}, {"FTypeName", Variant(11063)}}), false},
      {"the last type before it counts",
       entries({{"FTypeName", Variant(11063)},
                {"FTypeName", Variant(11062)},
                {"FEIProductivity", Variant(5)}}),
       false},
      {"a later type does not count",
       entries({{"FTypeName", Variant(11062)},
                {"FTypeName", Variant(11063)},
                {"FEIProductivity", Variant(5)},
                {"FTypeName", Variant(11062)}}),
       true},
      {"type as text",
       entries({{"FTypeName", Variant("11063")}, {"FEIProductivity", Variant("7")}}), true},
      {"fractions round to the nearest",
       entries({{"FTypeName", Variant(11063.4)}, {"FEIProductivity", Variant(7)}}), true},
      {"halves round to even: 11063.5 is 11064",
       entries({{"FTypeName", Variant(11063.5)}, {"FEIProductivity", Variant(7)}}), false},
      {"halves round to even: 11062.5 is 11062",
       entries({{"FTypeName", Variant(11062.5)}, {"FEIProductivity", Variant(7)}}), false},
      {"entries without a name are skipped",
       entries({{nullptr, Variant(11063)}, {"FEIProductivity", Variant(7)}}), false},
      {"a missing value is productivity 0",
       entries({{"FTypeName", Variant(11062)}, {"FEIProductivity", Variant()}}), true},
      {"names compare exactly", entries({{"feiproductivity", Variant(7)}}), true},
      {"other fields are skipped", entries({{"FName", Variant("x")}, {"FNote", Variant("abc")}}),
       true},
      {"no entries", entries({}), true},
  };
  run([&](EIResource& r) {
    for (const Row& row : rows) {
      SCOPED_TRACE(row.name);
      Variant sMsg("host text"), bCancel(false);
      r.m_oEvent_OnCheckData(row.vecData, sMsg, bCancel);
      if (row.accepted) {
        EXPECT_EQ(sMsg, Variant("host text"));
        EXPECT_EQ(bCancel, Variant(false));
      } else {
        EXPECT_EQ(sMsg, Variant(refused));
        EXPECT_EQ(bCancel, Variant(true));
      }
    }
  });
}

TEST_F(EIResourceHandlersTest, AnAcceptedRecordLeavesTheHostsValues) {
  run([&](EIResource& r) {
    Variant sMsg(int16_t{3}), bCancel(true);
    r.m_oEvent_OnCheckData(entries({{"FTypeName", Variant(11063)}}), sMsg, bCancel);
    EXPECT_EQ(sMsg, Variant(int16_t{3}));
    EXPECT_EQ(bCancel, Variant(true));
  });
}

TEST_F(EIResourceHandlersTest, ProductivityCheckFailuresBecomeTheTranslatedReason) {
  auto notADictionary = HostVector::create();
  notADictionary->add(Variant(HostVector::create()));
  auto text = HostVector::create();
  text->add(Variant("FTypeName"));
  struct Row {
    const char* name;
    Variant vecData;
    std::string reason;
  };
  const Row rows[] = {
      {"no vector", Variant(), "Object required: Empty"},
      {"Nothing", Variant::nothing(), "Object variable or With block variable not set"},
      {"an item that is not a dictionary", Variant(notADictionary),
       "Object doesn't support this property or method: GetValue"},
      {"an item that is not an object", Variant(text), "Object required: String"},
      {"a type that does not convert", entries({{"FTypeName", Variant("abc")}}),
       "Type mismatch: \"abc\" is not a number"},
      {"a productivity that does not convert", entries({{"FEIProductivity", Variant("1,2,x")}}),
       "Type mismatch: \"1,2,x\" is not a number"},
      {"a type beyond 32 bits", entries({{"FTypeName", Variant(1e20)}}), "Overflow"},
      {"a productivity beyond the range of a double",
       entries({{"FTypeName", Variant(11063)}, {"FEIProductivity", Variant("1e400")}}), "Overflow"},
      {"a Null type", entries({{"FTypeName", Variant::null()}}), "Invalid use of Null"},
  };
  run([&](EIResource& r) {
    for (const Row& row : rows) {
      SCOPED_TRACE(row.name);
      Variant sMsg(""), bCancel(false);
      EXPECT_NO_THROW(r.m_oEvent_OnCheckData(row.vecData, sMsg, bCancel));
      EXPECT_EQ(sMsg, Variant("[EN]数据检查出错,原因：[EN]" + row.reason));
      EXPECT_EQ(bCancel, Variant(true));
    }
  });
}

TEST_F(EIResourceHandlersTest, DeleteCheckCountsRelationsOfTheResource) {
  run([&](EIResource& r) {
    struct Row {
      int32_t id;
      Variant count;
      bool refused;
    };
    const Row rows[] = {
        {1008, Variant(0), false}, {1001, Variant(1), true}, {1002, Variant(3), true},
        {-1, Variant(0), false},   {7, Variant(0.5), true},  {8, Variant::null(), false},
        {9, Variant("2"), true},
    };
    for (const Row& row : rows) {
      SCOPED_TRACE(row.id);
      db_.answer = countOf(row.count);
      Variant sMsg("host"), bCancel(false);
      r.m_oEvent_OnCheckCanDel(Variant(row.id), sMsg, bCancel);
      EXPECT_EQ(db_.sql.back(),
                "SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = " + std::to_string(row.id));
      EXPECT_EQ(db_.alive, 0) << "the connection is released after Execute";
      if (row.refused) {
        EXPECT_EQ(
            sMsg,
            Variant("[EN]有生产线和物料对应关系引用该资源，不能删除.\r\n[EN]但你可以禁用该资源。"));
        EXPECT_EQ(bCancel, Variant(true));
      } else {
        EXPECT_EQ(sMsg, Variant("host"));
        EXPECT_EQ(bCancel, Variant(false));
      }
    }
    EXPECT_EQ(db_.sql[3], "SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = -1");
  });
}

TEST_F(EIResourceHandlersTest, DeleteCheckWithoutARecordsetRefusesTheDeletion) {
  run([&](EIResource& r) {
    for (Variant none : {Variant::nothing(), Variant()}) {
      db_.answer = none;
      Variant sMsg(""), bCancel(false);
      r.m_oEvent_OnCheckCanDel(Variant(1008), sMsg, bCancel);
      EXPECT_EQ(sMsg, Variant("[EN]无法检查该资源的引用关系,不能删除."));
      EXPECT_EQ(bCancel, Variant(true));
    }
  });
}

TEST_F(EIResourceHandlersTest, DeleteCheckFailuresAreTheEventsError) {
  run([&](EIResource& r) {
    Variant sMsg("host"), bCancel(false);
    db_.fail = true;
    EXPECT_THROW(r.m_oEvent_OnCheckCanDel(Variant(1), sMsg, bCancel), Error);
    EXPECT_EQ(db_.alive, 0);
    db_.fail = false;
    auto empty = Recordset::create();
    empty->appendField({"n", automation::field_type::kInteger});
    empty->open();
    db_.answer = Variant(empty);
    empty.reset();
    try {
      r.m_oEvent_OnCheckCanDel(Variant(1), sMsg, bCancel);
      ADD_FAILURE() << "an empty result is a failure";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), 3021);
    }
    EXPECT_EQ(sMsg, Variant("host"));
    EXPECT_EQ(bCancel, Variant(false));
  });
  platform_.refuse("QxConnection.AppConnection");
  run([&](EIResource& r) {
    Variant sMsg("host"), bCancel(false);
    EXPECT_THROW(r.m_oEvent_OnCheckCanDel(Variant(1), sMsg, bCancel), Error);
    EXPECT_EQ(bCancel, Variant(false));
  });
}

}  // namespace
}  // namespace qx::resource
