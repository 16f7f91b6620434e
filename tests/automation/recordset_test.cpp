#include "automation/recordset.h"

#include <gtest/gtest.h>

#include <cmath>

#include <random>
#include <string>
#include <vector>

#include "automation/conversions.h"
#include "live_objects_fixture.h"

namespace qx::automation {
namespace {

using testing::errorNumber;

// Calls the recordset the way a caller does: by member name through the object interface.
class RecordsetTest : public testing::LiveObjectsTest {
 protected:
  static ObjectRef fields(const Ref<Recordset>& rs) { return rs->get("Fields").toObject(); }
  static void append(const Ref<Recordset>& rs, const char* name, int32_t type,
                     int32_t attributes = field_attr::kUnspecified) {
    fields(rs)->call("Append", name, type, 0, attributes);
  }
  template <class K>
  static ObjectRef field(const Ref<Recordset>& rs, K&& key) {
    return rs->get("Fields", std::forward<K>(key)).toObject();
  }
  template <class K>
  static Variant value(const Ref<Recordset>& rs, K&& key) {
    return field(rs, std::forward<K>(key))->get("Value");
  }
  template <class K, class V>
  static void setValue(const Ref<Recordset>& rs, K&& key, V&& v) {
    field(rs, std::forward<K>(key))->put("Value", std::forward<V>(v));
  }
  static bool eof(const Ref<Recordset>& rs) { return rs->get("EOF").toBool(); }
  static bool bof(const Ref<Recordset>& rs) { return rs->get("BOF").toBool(); }
  static int32_t count(const Ref<Recordset>& rs) { return rs->get("RecordCount").toInt32(); }
  static void setFilter(const Ref<Recordset>& rs, const Variant& f) { rs->put("Filter", f); }

  // The values of one field from the first row of the view to the end, as texts ("Null").
  static std::vector<std::string> walk(const Ref<Recordset>& rs, const char* name) {
    std::vector<std::string> r;
    rs->call("MoveFirst");
    while (!eof(rs)) {
      Variant v = value(rs, name);
      r.push_back(v.isNull() ? "Null" : v.toString());
      rs->call("MoveNext");
    }
    return r;
  }
  static std::vector<int32_t> ids(const Ref<Recordset>& rs) {
    std::vector<int32_t> r;
    for (const std::string& s : walk(rs, "FID")) r.push_back(std::stoi(s));
    return r;
  }

  // FID, FName, FQty, FDate and [Line Name], six rows with a few Nulls.
  static Ref<Recordset> sample() {
    auto rs = Recordset::create();
    append(rs, "FID", field_type::kInteger);
    append(rs, "FName", field_type::kVarWChar);
    append(rs, "FQty", field_type::kDouble);
    append(rs, "FDate", field_type::kDate);
    append(rs, "Line Name", field_type::kVarWChar);
    rs->call("Open");
    const Variant null = Variant::null();
    const Variant rows[][5] = {
        {Variant(1), Variant("alpha"), Variant(0.5), Variant("2026-03-04"), Variant("L1")},
        {Variant(2), Variant("Beta"), Variant(1.5), Variant("2026-03-05"), Variant("L2")},
        {Variant(3), Variant("O'Brien"), Variant(2.5), Variant("2026-03-05 12:00"), Variant("L1")},
        {Variant(4), Variant("beta"), null, Variant("2026-03-06"), Variant("L3")},
        {Variant(5), Variant("gamma"), Variant(1.5), null, Variant("L2")},
        {Variant(6), null, Variant(3), Variant("2026-03-07"), Variant("L1")},
    };
    const char* names[] = {"FID", "FName", "FQty", "FDate", "Line Name"};
    for (const auto& row : rows) {
      rs->call("AddNew");
      for (int c = 0; c < 5; ++c) setValue(rs, names[c], row[c]);
      rs->call("Update");
    }
    rs->call("MoveFirst");
    return rs;
  }
};

// --- walking -------------------------------------------------------------------------------

TEST_F(RecordsetTest, AddNewMoveFirstMoveNextEndWalkedStepByStep) {
  auto rs = Recordset::create();
  append(rs, "FID", field_type::kInteger);
  append(rs, "FName", field_type::kVarWChar);
  rs->call("Open");
  EXPECT_TRUE(eof(rs));
  EXPECT_TRUE(bof(rs));
  EXPECT_EQ(count(rs), 0);

  rs->call("AddNew");
  EXPECT_FALSE(eof(rs));
  EXPECT_FALSE(bof(rs));
  EXPECT_EQ(count(rs), 1);
  EXPECT_EQ(value(rs, "FID"), Variant::null());  // a new row starts as Null
  setValue(rs, "FID", 1);
  setValue(rs, "FName", "one");
  rs->call("Update");
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{1}));

  rs->call("AddNew");
  EXPECT_EQ(count(rs), 2);
  setValue(rs, "FID", 2);
  setValue(rs, "FName", "two");
  rs->call("Update");
  EXPECT_EQ(value(rs, "FName"), Variant("two"));  // AddNew made the new row current

  rs->call("MoveFirst");
  EXPECT_FALSE(eof(rs));
  EXPECT_FALSE(bof(rs));
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{1}));
  EXPECT_EQ(value(rs, "FName"), Variant("one"));

  rs->call("MoveNext");
  EXPECT_FALSE(eof(rs));
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{2}));
  EXPECT_EQ(value(rs, "FName"), Variant("two"));

  rs->call("MoveNext");
  EXPECT_TRUE(eof(rs));
  EXPECT_FALSE(bof(rs));
  EXPECT_EQ(errorNumber([&] { value(rs, "FID"); }), 3021);
  EXPECT_EQ(errorNumber([&] { rs->call("MoveNext"); }), 3021);
  EXPECT_EQ(errorNumber([&] { rs->call("Update"); }), 3021);
  EXPECT_EQ(count(rs), 2);
}

TEST_F(RecordsetTest, MoveGoesForwardAndBackAndStopsAtTheEnds) {
  auto rs = sample();
  rs->call("Move", 2);
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{3}));
  rs->call("Move", -1);
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{2}));
  rs->call("Move", 0);
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{2}));
  EXPECT_EQ(rs->get("AbsolutePosition"), Variant(int32_t{2}));

  rs->call("Move", 100);  // beyond the last row: at the end
  EXPECT_TRUE(eof(rs));
  EXPECT_EQ(rs->get("AbsolutePosition"), Variant(int32_t{-3}));
  EXPECT_EQ(errorNumber([&] { rs->call("Move", 1); }), 3021);
  rs->call("Move", -1);  // back from the end: the last row
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{6}));

  rs->call("Move", -100);  // before the first row
  EXPECT_TRUE(bof(rs));
  EXPECT_FALSE(eof(rs));
  EXPECT_EQ(rs->get("AbsolutePosition"), Variant(int32_t{-2}));
  EXPECT_EQ(errorNumber([&] { value(rs, "FID"); }), 3021);
  EXPECT_EQ(errorNumber([&] { rs->call("Move", -1); }), 3021);
  EXPECT_EQ(errorNumber([&] { rs->call("MovePrevious"); }), 3021);
  rs->call("MoveNext");
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{1}));

  rs->call("MoveLast");
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{6}));
  rs->call("MovePrevious");
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{5}));
  EXPECT_EQ(errorNumber([&] { rs->call("Move"); }), 449);
}

// --- fields --------------------------------------------------------------------------------

TEST_F(RecordsetTest, FieldsAreFoundByNameInAnyCaseAndByPosition) {
  auto rs = sample();
  rs->call("Move", 2);
  for (const char* name : {"FName", "fname", "FNAME", "fNaMe"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(value(rs, name), Variant("O'Brien"));
  }
  EXPECT_EQ(value(rs, 0), Variant(int32_t{3}));
  EXPECT_EQ(value(rs, 1), Variant("O'Brien"));
  EXPECT_EQ(errorNumber([&] { field(rs, "4"); }), 3265);  // a text key is a name, not a position
  EXPECT_EQ(value(rs, 4.0), Variant("L1"));
  EXPECT_EQ(value(rs, "line name"), Variant("L1"));
  EXPECT_EQ(field(rs, "fname")->get("Name"), Variant("FName"));
  EXPECT_EQ(fields(rs)->get("Count"), Variant(int32_t{5}));
  EXPECT_EQ(fields(rs)->get("Item", "FQty").toObject()->get("Value"), Variant(2.5));
  EXPECT_EQ(rs->get("Item", "FQty").toObject()->get("Value"), Variant(2.5));
}

TEST_F(RecordsetTest, AnUnknownFieldFailsWith3265) {
  auto rs = sample();
  for (const Variant& key : {Variant("FNope"), Variant(""), Variant(5), Variant(-1)}) {
    SCOPED_TRACE(describe(key));
    EXPECT_EQ(errorNumber([&] { field(rs, key); }), 3265);
    EXPECT_EQ(errorNumber([&] { fields(rs)->get("Item", key); }), 3265);
  }
}

TEST_F(RecordsetTest, FieldsDescribeTheirDefinition) {
  auto rs = Recordset::create();
  fields(rs)->call("Append", "FName", field_type::kVarWChar, 80, field_attr::kIsNullable);
  auto f = field(rs, "FName");
  EXPECT_EQ(f->get("Name"), Variant("FName"));
  EXPECT_EQ(f->get("Type"), Variant(field_type::kVarWChar));
  EXPECT_EQ(f->get("DefinedSize"), Variant(int32_t{80}));
  EXPECT_EQ(f->get("Attributes"), Variant(field_attr::kIsNullable));
}

TEST_F(RecordsetTest, TheDefaultMemberWritesAField) {
  auto rs = sample();
  rs->callId(0, CallKind::Put, "FName", "changed");
  EXPECT_EQ(value(rs, "FName"), Variant("changed"));
  EXPECT_EQ(Variant(field(rs, "FName")).value(), Variant("changed"));
}

TEST_F(RecordsetTest, AFieldObjectKeepsItsRecordsetAlive) {
  const int64_t before = Object::liveObjects();
  auto rs = sample();
  ObjectRef f = field(rs, "FName");
  rs.reset();
  EXPECT_EQ(f->get("Value"), Variant("alpha"));
  f.reset();
  EXPECT_EQ(Object::liveObjects(), before);
}

TEST_F(RecordsetTest, AFieldIsTheSameObjectEachTimeAndFollowsTheCurrentRow) {
  auto rs = sample();
  ObjectRef f = field(rs, "FName");
  EXPECT_EQ(field(rs, "fname").get(), f.get());
  EXPECT_EQ(field(rs, 1).get(), f.get());
  EXPECT_EQ(rs->get("Item", "FNAME").toObject().get(), f.get());
  EXPECT_EQ(f->get("Value"), Variant("alpha"));
  rs->call("MoveNext");
  EXPECT_EQ(f->get("Value"), Variant("Beta"));
  f->put("Value", "B");
  EXPECT_EQ(value(rs, "FName"), Variant("B"));
}

TEST_F(RecordsetTest, AFieldAppendedAfterCloseJoinsTheFieldsKeptFromBefore) {
  auto rs = sample();
  ObjectRef id = field(rs, "FID");
  rs->call("Close");
  append(rs, "FExtra", field_type::kInteger);
  rs->call("Open");
  rs->call("AddNew");
  setValue(rs, "FExtra", 5);
  id->put("Value", 9);
  EXPECT_EQ(value(rs, 5), Variant(int32_t{5}));
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{9}));
  EXPECT_EQ(fields(rs)->get("Count"), Variant(int32_t{6}));
}

TEST_F(RecordsetTest, AppendRejectsDuplicatesAndAnOpenRecordset) {
  auto rs = Recordset::create();
  append(rs, "FID", field_type::kInteger);
  EXPECT_EQ(errorNumber([&] { append(rs, "fid", field_type::kDouble); }), 3367);
  EXPECT_EQ(errorNumber([&] { append(rs, "", field_type::kDouble); }), 5);
  EXPECT_EQ(errorNumber([&] { fields(rs)->call("Append", "X"); }), 450);
  rs->call("Open");
  EXPECT_EQ(errorNumber([&] { append(rs, "FOther", field_type::kDouble); }), 3219);
  EXPECT_EQ(fields(rs)->get("Count"), Variant(int32_t{1}));
}

struct ConversionRow {
  const char* what;
  int32_t type;
  Variant written;
  Variant stored;  // when error is 0
  int32_t error;
};

TEST_F(RecordsetTest, WrittenValuesConvertToTheFieldType) {
  using namespace field_type;
  const ConversionRow rows[] = {
      {"text to Long", kInteger, Variant("12"), Variant(int32_t{12}), 0},
      {"Double to Long, half to even", kInteger, Variant(2.5), Variant(int32_t{2}), 0},
      {"Double to Integer", kSmallInt, Variant(3.5), Variant(int16_t{4}), 0},
      {"Long to Double", kDouble, Variant(3), Variant(3.0), 0},
      {"grouped text to Double", kDouble, Variant("1,234.5"), Variant(1234.5), 0},
      {"text to Currency", kCurrency, Variant("2.5"), Variant(2.5), 0},
      {"Long to text", kVarWChar, Variant(12), Variant("12"), 0},
      {"Double to text", kBSTR, Variant(1.5), Variant("1.5"), 0},
      {"Boolean to text", kVarChar, Variant(true), Variant("True"), 0},
      {"text to Boolean", kBoolean, Variant("True"), Variant(true), 0},
      {"zero to Boolean", kBoolean, Variant(0), Variant(false), 0},
      {"text to date", kDate, Variant("2026-03-05"), Variant(makeDate(2026, 3, 5)), 0},
      {"number to date", kDBTimeStamp, Variant(2.5), Variant(Date{2.5}), 0},
      {"anything to Variant", kVariant, Variant(int16_t{3}), Variant(int16_t{3}), 0},
      {"letters to Long", kInteger, Variant("abc"), Variant(), 3421},
      {"too large for Long", kInteger, Variant(3e9), Variant(), 3421},
      {"too large for Integer", kSmallInt, Variant(40000), Variant(), 3421},
      {"letters to date", kDate, Variant("soon"), Variant(), 3421},
      {"letters to Boolean", kBoolean, Variant("maybe"), Variant(), 3421},
  };
  for (const ConversionRow& r : rows) {
    SCOPED_TRACE(r.what);
    auto rs = Recordset::create();
    append(rs, "F", r.type);
    rs->call("Open");
    rs->call("AddNew");
    EXPECT_EQ(errorNumber([&] { setValue(rs, "F", r.written); }), r.error);
    EXPECT_EQ(value(rs, "F"), r.error ? Variant::null() : r.stored);  // a failure changes nothing
  }
}

TEST_F(RecordsetTest, WritingAFieldObjectStoresItsValue) {
  auto rs = sample();
  setValue(rs, "FName", Variant(field(rs, "FQty")));
  EXPECT_EQ(value(rs, "FName"), Variant("0.5"));
  setValue(rs, "FQty", Variant(field(rs, "FID")));
  EXPECT_EQ(value(rs, "FQty"), Variant(1.0));
}

TEST_F(RecordsetTest, ANonNullableFieldRejectsNullAndKeepsItsValue) {
  auto rs = Recordset::create();
  append(rs, "FStrict", field_type::kInteger, 0);
  append(rs, "FNullable", field_type::kInteger, field_attr::kIsNullable);
  append(rs, "FMaybe", field_type::kInteger, field_attr::kMayBeNull);
  append(rs, "FUnspecified", field_type::kInteger);
  rs->call("Open");
  rs->call("AddNew");
  setValue(rs, "FStrict", 7);
  EXPECT_EQ(errorNumber([&] { setValue(rs, "FStrict", Variant::null()); }), 3421);
  EXPECT_EQ(errorNumber([&] { setValue(rs, "FStrict", Variant()); }), 3421);
  EXPECT_EQ(value(rs, "FStrict"), Variant(int32_t{7}));
  for (const char* name : {"FNullable", "FMaybe", "FUnspecified"}) {
    SCOPED_TRACE(name);
    setValue(rs, name, 1);
    setValue(rs, name, Variant::null());
    EXPECT_EQ(value(rs, name), Variant::null());
    setValue(rs, name, 1);
    setValue(rs, name, Variant());  // Empty is stored as Null
    EXPECT_EQ(value(rs, name), Variant::null());
  }
}

// --- open and closed -----------------------------------------------------------------------

TEST_F(RecordsetTest, OpenStateAndClose) {
  auto rs = Recordset::create();
  EXPECT_EQ(rs->get("State"), Variant(0));
  EXPECT_EQ(errorNumber([&] { rs->call("Open"); }), 3001);  // no fields yet
  append(rs, "FID", field_type::kInteger);
  rs->call("Open");
  EXPECT_EQ(rs->get("State"), Variant(1));
  EXPECT_EQ(errorNumber([&] { rs->call("Open"); }), 3705);
  rs->call("AddNew");
  setValue(rs, "FID", 1);
  rs->call("Close");
  EXPECT_EQ(rs->get("State"), Variant(0));
  EXPECT_EQ(errorNumber([&] { rs->call("Close"); }), 3704);
  rs->call("Open");  // open again: the fields stay, the rows are gone
  EXPECT_EQ(count(rs), 0);
  EXPECT_EQ(fields(rs)->get("Count"), Variant(1));
}

TEST_F(RecordsetTest, AClosedRecordsetRefusesRowOperationsWith3704) {
  auto rs = Recordset::create();
  append(rs, "FID", field_type::kInteger);
  const char* members[] = {
      "EOF",      "BOF",          "RecordCount", "MoveFirst", "MoveNext",
      "MoveLast", "MovePrevious", "AddNew",      "Update",    "AbsolutePosition"};
  for (const char* m : members) {
    SCOPED_TRACE(m);
    EXPECT_EQ(errorNumber([&] { rs->call(m); }), 3704);
  }
  EXPECT_EQ(errorNumber([&] { rs->call("Move", 1); }), 3704);
  EXPECT_EQ(errorNumber([&] { value(rs, "FID"); }), 3704);
  EXPECT_EQ(errorNumber([&] { setFilter(rs, Variant("FID = 1")); }), 3704);
}

TEST_F(RecordsetTest, ErrorsCarryTheRecordsetAsSource) {
  auto rs = sample();
  try {
    field(rs, "FNope");
    FAIL() << "no failure";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 3265);
    EXPECT_EQ(e.source(), "Recordset");
    EXPECT_NE(e.description().find("FNope"), std::string::npos) << e.description();
  }
}

TEST_F(RecordsetTest, UnsupportedFormsSaySo) {
  auto rs = sample();
  EXPECT_EQ(errorNumber([&] { rs->call("AddNew", "FID", 1); }), 445);
  EXPECT_EQ(errorNumber([&] { rs->call("Update", "FID", 1); }), 445);
  EXPECT_EQ(errorNumber([&] { setFilter(rs, Variant(1)); }), 445);
  EXPECT_EQ(errorNumber([&] { rs->call("Requery"); }), 438);
  EXPECT_EQ(count(rs), 6);
}

// --- filters -------------------------------------------------------------------------------

class RecordsetFilter : public RecordsetTest, public ::testing::WithParamInterface<bool> {
 protected:
  Ref<Recordset> sampleWithIndexing() {
    auto rs = sample();
    rs->setIndexing(GetParam());
    return rs;
  }
};

INSTANTIATE_TEST_SUITE_P(IndexedAndScanning, RecordsetFilter, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& i) {
                           return i.param ? "Indexed" : "Scanning";
                         });

TEST_P(RecordsetFilter, OnChangedAndCleared) {
  auto rs = sampleWithIndexing();
  rs->call("Move", 3);
  setFilter(rs, Variant("FID > 2"));
  EXPECT_EQ(rs->get("Filter"), Variant("FID > 2"));
  EXPECT_EQ(count(rs), 4);
  EXPECT_FALSE(eof(rs));
  EXPECT_FALSE(bof(rs));
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{3}));  // a new filter starts at its first row
  EXPECT_EQ(ids(rs), (std::vector<int32_t>{3, 4, 5, 6}));

  setFilter(rs, Variant("FName = 'beta'"));
  EXPECT_EQ(count(rs), 2);
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{2}));
  EXPECT_EQ(ids(rs), (std::vector<int32_t>{2, 4}));

  setFilter(rs, Variant(""));
  EXPECT_EQ(rs->get("Filter"), Variant(0));
  EXPECT_EQ(count(rs), 6);
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{1}));
  EXPECT_EQ(ids(rs), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));

  setFilter(rs, Variant("FID = 4"));
  setFilter(rs, Variant(0));  // the number 0 clears too
  EXPECT_EQ(count(rs), 6);
  setFilter(rs, Variant("FID = 4"));
  setFilter(rs, Variant("   "));
  EXPECT_EQ(count(rs), 6);
}

TEST_P(RecordsetFilter, ANotANumberValueMatchesNoCondition) {
  auto rs = Recordset::create();
  rs->setIndexing(GetParam());
  rs->appendField({"FQty", field_type::kDouble, 0, field_attr::kIsNullable});
  rs->open();
  rs->appendRow({Variant(std::nan(""))});
  rs->appendRow({Variant(1.0)});
  for (const char* f : {"FQty = 1", "FQty <> 1", "FQty < 5", "FQty >= 0"}) {
    SCOPED_TRACE(f);
    setFilter(rs, Variant(f));
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
      EXPECT_FALSE(std::isnan(rs->value(0).toDouble()));
    }
  }
}

TEST_P(RecordsetFilter, AFilterWithoutRowsIsAtBothEnds) {
  auto rs = sampleWithIndexing();
  setFilter(rs, Variant("FID = 99"));
  EXPECT_EQ(count(rs), 0);
  EXPECT_TRUE(eof(rs));
  EXPECT_TRUE(bof(rs));
  EXPECT_EQ(errorNumber([&] { value(rs, "FID"); }), 3021);
  rs->call("MoveFirst");
  EXPECT_TRUE(eof(rs));
  EXPECT_EQ(errorNumber([&] { rs->call("MoveNext"); }), 3021);
}

TEST_P(RecordsetFilter, MovesStayInsideTheFilteredRows) {
  auto rs = sampleWithIndexing();
  setFilter(rs, Variant("[Line Name] = 'L1'"));
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{1}));
  rs->call("MoveNext");
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{3}));
  rs->call("MoveLast");
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{6}));
  rs->call("MovePrevious");
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{3}));
  rs->call("Move", 5);
  EXPECT_TRUE(eof(rs));
  EXPECT_EQ(rs->get("AbsolutePosition"), Variant(int32_t{-3}));
}

TEST_P(RecordsetFilter, ConditionsSelectTheMatchingRows) {
  const struct {
    const char* filter;
    std::vector<int32_t> ids;
  } rows[] = {
      {"FID = 2", {2}},
      {"FID=2", {2}},
      {"fid = 2", {2}},
      {"  FID\t=\t2  ", {2}},
      {"FID = '2'", {2}},  // a numeric text compares as a number
      {"FID = 2.0", {2}},
      {"FID = 7", {}},
      {"FID = -2", {}},
      {"FID <> 2", {1, 3, 4, 5, 6}},
      {"FID < 3", {1, 2}},
      {"FID > 4", {5, 6}},
      {"FID <= 3", {1, 2, 3}},
      {"FID >= 5", {5, 6}},
      {"FName = 'beta'", {2, 4}},  // texts ignore letter case
      {"FName = \"BETA\"", {2, 4}},
      {"FName = 'O''Brien'", {3}},
      {"FName = \"O'Brien\"", {3}},
      {"FName = 'bet'", {}},
      {"FName <> 'beta'", {1, 3, 5}},  // Null never matches, not even <>
      {"FName > 'beta'", {3, 5}},
      {"FName < 'b'", {1}},
      {"FName >= 'gamma'", {3, 5}},
      {"FName <= 'alpha'", {1}},
      {"FQty > 1.5", {3, 6}},
      {"FQty >= 1.5", {2, 3, 5, 6}},
      {"FQty < 1.5", {1}},
      {"FQty <= 1.5", {1, 2, 5}},
      {"FQty <> 1.5", {1, 3, 6}},
      {"FQty = 1.5", {2, 5}},
      {"FQty > -1", {1, 2, 3, 5, 6}},
      {"FQty = 'abc'", {}},
      {"FID > 1 AND FID < 4", {2, 3}},
      {"FID >= 2 and FQty < 3 AND FName <> 'beta'", {3, 5}},
      {"FID = 2 AND FID = 3", {}},
      {"FName = 'beta' AND FID = 4", {4}},
      {"FQty = 1.5 AND [Line Name] = 'L2'", {2, 5}},
      {"[FName] = 'gamma'", {5}},
      {"[Line Name] = 'L1'", {1, 3, 6}},
      {"[line name] = 'l1' AND FQty > 1", {3, 6}},
      {"FDate = #2026-03-05#", {2}},  // row 3 has a time
      {"FDate = #2026-03-05 12:00:00#", {3}},
      {"FDate >= #2026/03/05#", {2, 3, 4, 6}},
      {"FDate < #2026-03-05 12:00#", {1, 2}},
      {"FDate <> #2026-03-05#", {1, 3, 4, 6}},
  };
  auto rs = sampleWithIndexing();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.filter);
    setFilter(rs, Variant(r.filter));
    EXPECT_EQ(eof(rs), r.ids.empty());
    EXPECT_EQ(count(rs), static_cast<int32_t>(r.ids.size()));
    EXPECT_EQ(ids(rs), r.ids);
  }
}

TEST_P(RecordsetFilter, AFilterThatDoesNotParseFailsWith3001AndChangesNothing) {
  const char* bad[] = {
      "FID =",
      "FID 2",
      "= 2",
      "FID",
      "FID = 2 OR FID = 3",
      "FID = 2 AND",
      "FID = 2 ANDFID = 3",
      "FID = 2 FID = 3",
      "FID == 2",
      "FID ! 2",
      "FID = abc",
      "FID = 'x",
      "FID = \"x",
      "FDate = #2026-13-01#",
      "FDate = #2026-03-05",
      "FDate = #soon#",
      "[FID = 2",
      "[] = 2",
      "FNope = 1",
      "FID = 2 AND FNope = 1",
  };
  auto rs = sampleWithIndexing();
  setFilter(rs, Variant("FID > 1"));
  rs->call("MoveNext");
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_EQ(errorNumber([&] { setFilter(rs, Variant(text)); }), 3001);
    EXPECT_EQ(rs->get("Filter"), Variant("FID > 1"));
    EXPECT_EQ(count(rs), 5);
    EXPECT_EQ(value(rs, "FID"), Variant(int32_t{3}));  // the position is kept too
  }
}

TEST_P(RecordsetFilter, AWrittenValueIsFoundByTheNextFilter) {
  auto rs = sampleWithIndexing();
  setFilter(rs, Variant("FID = 2"));
  EXPECT_EQ(walk(rs, "FName"), (std::vector<std::string>{"Beta"}));
  setFilter(rs, Variant(""));
  setValue(rs, "FID", 2);  // row "alpha"
  setFilter(rs, Variant("FID = 2"));
  EXPECT_EQ(walk(rs, "FName"), (std::vector<std::string>{"alpha", "Beta"}));

  setFilter(rs, Variant("FName = 'beta'"));
  EXPECT_EQ(count(rs), 2);
  setFilter(rs, Variant(""));
  setValue(rs, "FName", "BETA");
  setFilter(rs, Variant("FName = 'beta'"));
  EXPECT_EQ(walk(rs, "FID"), (std::vector<std::string>{"2", "2", "4"}));
}

TEST_P(RecordsetFilter, AValueWrittenUnderAFilterLeavesTheViewUntilTheNextFilter) {
  auto rs = sampleWithIndexing();
  setFilter(rs, Variant("FID = 2"));
  setValue(rs, "FID", 9);
  EXPECT_EQ(count(rs), 1);
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{9}));
  setFilter(rs, Variant("FID = 9"));
  EXPECT_EQ(walk(rs, "FName"), (std::vector<std::string>{"Beta"}));
  setFilter(rs, Variant("FID = 2"));
  EXPECT_EQ(count(rs), 0);
}

TEST_P(RecordsetFilter, ANewRowIsFoundByTheNextFilter) {
  auto rs = sampleWithIndexing();
  setFilter(rs, Variant("FID = 7"));
  EXPECT_EQ(count(rs), 0);
  setFilter(rs, Variant(""));
  rs->call("AddNew");
  setValue(rs, "FID", 7);
  setValue(rs, "FName", "new");
  rs->call("Update");
  setFilter(rs, Variant("FID = 7"));
  EXPECT_EQ(walk(rs, "FName"), (std::vector<std::string>{"new"}));
  setFilter(rs, Variant("FName = 'NEW'"));
  EXPECT_EQ(walk(rs, "FID"), (std::vector<std::string>{"7"}));
}

TEST_P(RecordsetFilter, ANewRowAddedUnderAFilterJoinsTheView) {
  auto rs = sampleWithIndexing();
  setFilter(rs, Variant("FID = 2"));
  rs->call("AddNew");
  setValue(rs, "FID", 8);
  EXPECT_EQ(count(rs), 2);
  EXPECT_EQ(value(rs, "FID"), Variant(int32_t{8}));
  setFilter(rs, Variant("FID = 2"));  // filtering again drops it
  EXPECT_EQ(count(rs), 1);
}

TEST_P(RecordsetFilter, CloseEndsTheFilter) {
  auto rs = sampleWithIndexing();
  setFilter(rs, Variant("FID = 2"));
  rs->call("Close");
  EXPECT_EQ(rs->get("Filter"), Variant(0));
  rs->call("Open");
  EXPECT_EQ(count(rs), 0);
}

// --- the index against the scan, on random data ----------------------------------------------

class IndexedAgainstScanning : public RecordsetTest {
 protected:
  // Six fields; FRow numbers the rows, the others draw from small pools with Nulls and, in
  // FAny, values of every type.
  static Ref<Recordset> randomRecordset(uint32_t seed, bool indexing) {
    std::mt19937 gen(seed);
    auto rs = Recordset::create();
    rs->appendField({"FRow", field_type::kInteger});
    rs->appendField({"FLine", field_type::kInteger});
    rs->appendField({"FName", field_type::kVarWChar});
    rs->appendField({"FQty", field_type::kDouble});
    rs->appendField({"FDate", field_type::kDate});
    rs->appendField({"FAny", field_type::kVariant});
    rs->open();
    rs->setIndexing(indexing);
    for (int32_t r = 0; r < 3000; ++r) rs->appendRow(randomRow(gen, r));
    return rs;
  }
  static std::vector<Variant> randomRow(std::mt19937& gen, int32_t row) {
    auto pick = [&](int n) { return static_cast<int>(gen() % static_cast<uint32_t>(n)); };
    auto maybeNull = [&](Variant v) { return pick(20) == 0 ? Variant::null() : v; };
    static const char* names[] = {"a", "A", "b", "B", "line 1", "Line 1", "12", "", "x'y"};
    static const double qtys[] = {0, 0.5, 1, 1.5, 2, -1, -0.0};
    const Variant any[] = {Variant(3),       Variant(3.0),         Variant("3"),  Variant("abc"),
                           Variant("ABC"),   Variant::null(),      Variant(),     Variant(true),
                           Variant(Date{3}), Variant(int16_t{-1}), Variant("-1"), Variant(" 3")};
    return {Variant(row),
            maybeNull(Variant(pick(30))),
            maybeNull(Variant(names[pick(9)])),
            maybeNull(Variant(qtys[pick(7)])),
            maybeNull(Variant(Date{46000.0 + pick(10) + (pick(2) ? 0.5 : 0.0)})),
            any[pick(12)]};
  }
  static std::string randomCondition(std::mt19937& gen) {
    auto pick = [&](int n) { return static_cast<int>(gen() % static_cast<uint32_t>(n)); };
    static const char* ops[] = {"=", "=", "=", "<>", "<", ">", "<=", ">="};
    std::string op = ops[pick(8)];
    switch (pick(5)) {
      case 0: {
        std::string n = std::to_string(pick(32));
        return "FLine " + op + (pick(4) == 0 ? " '" + n + "'" : " " + n);
      }
      case 1: {
        static const char* lits[] = {"'a'", "'B'", "'LINE 1'", "'12'",
                                     "12",  "''",  "'x''y'",   "\"b\""};
        return "[FName] " + op + " " + lits[pick(8)];
      }
      case 2: {
        static const char* lits[] = {"0", "0.5", "1", "1.5", "-1", "'2'", "3"};
        return "FQty " + op + " " + lits[pick(7)];
      }
      case 3: {
        int day = 1 + pick(12);
        return "FDate " + op + " #" + formatDatePattern(Date{46000.0 + day - 1}, "yyyy-mm-dd") +
               (pick(2) ? " 12:00#" : "#");
      }
      default: {
        static const char* lits[] = {"3", "'3'", "'abc'", "-1", "'-1'", "#1900-01-01#", "0"};
        return "FAny " + op + " " + lits[pick(7)];
      }
    }
  }
  static std::vector<int32_t> view(Recordset& rs) {
    std::vector<int32_t> rows;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) rows.push_back(rs.value(0).toInt32());
    return rows;
  }
};

TEST_F(IndexedAgainstScanning, GiveTheSameViews) {
  const uint32_t seed = 7031;
  auto indexed = randomRecordset(seed, true);
  auto scanned = randomRecordset(seed, false);
  std::mt19937 gen(seed + 1);
  auto pick = [&](int n) { return static_cast<int>(gen() % static_cast<uint32_t>(n)); };
  size_t nonEmpty = 0;
  for (int i = 0; i < 400; ++i) {
    std::string filter = randomCondition(gen);
    for (int more = pick(3); more > 0; --more) filter += " AND " + randomCondition(gen);
    SCOPED_TRACE(filter);
    indexed->setFilter(filter);
    scanned->setFilter(filter);
    std::vector<int32_t> a = view(*indexed);
    ASSERT_EQ(a, view(*scanned));
    if (!a.empty()) ++nonEmpty;

    // Now and then change the data the same way in both: a value written or a row added.
    if (i % 10 == 9) {
      std::mt19937 change(static_cast<uint32_t>(i));
      for (Recordset* rs : {indexed.get(), scanned.get()}) {
        std::mt19937 g = change;
        rs->setFilter("");
        if (g() % 2) {
          rs->moveFirst();
          rs->move(static_cast<int32_t>(g() % 3000));
          std::vector<Variant> row = randomRow(g, -1);
          size_t column = 1 + g() % 5;
          rs->setValue(column, row[column]);
        } else {
          rs->addNew();
          std::vector<Variant> row = randomRow(g, 10000 + i);
          for (size_t c = 0; c < row.size(); ++c) rs->setValue(c, row[c]);
        }
      }
    }
  }
  EXPECT_GT(nonEmpty, 200u);  // the conditions were selective, not vacuous
}

}  // namespace
}  // namespace qx::automation
