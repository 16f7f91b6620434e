#include "automation/variant.h"

#include <gtest/gtest.h>

#include "automation/conversions.h"
#include "live_objects_fixture.h"
#include "value_box.h"

namespace qx::automation {
namespace {

using testing::errorNumber;
using testing::NoDefault;
using testing::ValueBox;

class VariantTest : public testing::LiveObjectsTest {};

TEST_F(VariantTest, EachConstructorGivesItsType) {
  const struct {
    Variant v;
    VarType type;
    const char* name;
  } rows[] = {
      {Variant(), VarType::Empty, "Empty"},
      {Variant::null(), VarType::Null, "Null"},
      {Variant(true), VarType::Boolean, "Boolean"},
      {Variant(int16_t{1}), VarType::Integer, "Integer"},
      {Variant(int32_t{1}), VarType::Long, "Long"},
      {Variant(1.0), VarType::Double, "Double"},
      {Variant(Date{1}), VarType::Date, "Date"},
      {Variant("x"), VarType::String, "String"},
      {Variant(std::string_view("x")), VarType::String, "String"},
      {Variant(std::string("x")), VarType::String, "String"},
      {Variant::nothing(), VarType::Object, "Object"},
      {Variant(ValueBox::create(Variant())), VarType::Object, "Object"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(describe(r.v));
    EXPECT_EQ(r.v.type(), r.type);
    EXPECT_STREQ(varTypeName(r.v.type()), r.name);
  }
}

TEST_F(VariantTest, NumbersAreIntegerLongOrDouble) {
  EXPECT_TRUE(Variant(int16_t{1}).isNumber());
  EXPECT_TRUE(Variant(int32_t{1}).isNumber());
  EXPECT_TRUE(Variant(1.5).isNumber());
  EXPECT_FALSE(Variant(true).isNumber());
  EXPECT_FALSE(Variant(Date{1}).isNumber());
  EXPECT_FALSE(Variant("1").isNumber());
  EXPECT_FALSE(Variant().isNumber());
}

TEST_F(VariantTest, NullFailsEveryConversionWith94) {
  const Variant null = Variant::null();
  EXPECT_EQ(errorNumber([&] { (void)null.toBool(); }), 94);
  EXPECT_EQ(errorNumber([&] { (void)null.toInt16(); }), 94);
  EXPECT_EQ(errorNumber([&] { (void)null.toInt32(); }), 94);
  EXPECT_EQ(errorNumber([&] { (void)null.toDouble(); }), 94);
  EXPECT_EQ(errorNumber([&] { (void)null.toDate(); }), 94);
  EXPECT_EQ(errorNumber([&] { (void)null.toString(); }), 94);
  // An object whose default value is Null fails the same way.
  const Variant boxed(ValueBox::create(Variant::null()));
  EXPECT_EQ(errorNumber([&] { (void)boxed.toString(); }), 94);
  EXPECT_EQ(errorNumber([&] { (void)boxed.toInt32(); }), 94);
}

TEST_F(VariantTest, EmptyReadsAsZeroFalseAndEmptyText) {
  const Variant empty;
  EXPECT_FALSE(empty.toBool());
  EXPECT_EQ(empty.toInt16(), 0);
  EXPECT_EQ(empty.toInt32(), 0);
  EXPECT_EQ(empty.toDouble(), 0);
  EXPECT_EQ(empty.toDate(), Date{0});
  EXPECT_EQ(empty.toString(), "");
}

TEST_F(VariantTest, ToBoolReadsNumbersAndTheWordsTrueAndFalse) {
  const struct {
    Variant in;
    bool out;
    int32_t error;
  } rows[] = {
      {Variant("True"), true, 0},     {Variant("FALSE"), false, 0}, {Variant("true"), true, 0},
      {Variant("0"), false, 0},       {Variant("-1"), true, 0},     {Variant("0.5"), true, 0},
      {Variant(int16_t{2}), true, 0}, {Variant(0.0), false, 0},     {Variant(Date{0}), false, 0},
      {Variant("yes"), false, 13},    {Variant(""), false, 13},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(describe(r.in));
    EXPECT_EQ(errorNumber([&] { (void)r.in.toBool(); }), r.error);
    if (r.error == 0) {
      EXPECT_EQ(r.in.toBool(), r.out);
    }
  }
}

TEST_F(VariantTest, AnObjectConvertsThroughItsDefaultValue) {
  auto box = ValueBox::create(Variant(int32_t{42}));
  const Variant v(box);
  EXPECT_EQ(v.value(), Variant(int32_t{42}));
  EXPECT_EQ(v.toInt32(), 42);
  EXPECT_EQ(v.toDouble(), 42.0);
  EXPECT_EQ(v.toString(), "42");
  EXPECT_TRUE(v.toBool());
  box->put("Value", "2026-03-05");
  EXPECT_EQ(v.toDate(), makeDate(2026, 3, 5));
}

TEST_F(VariantTest, DefaultValuesChainThroughObjects) {
  auto inner = ValueBox::create(Variant("deep"));
  const Variant outer(ValueBox::create(Variant(inner)));
  EXPECT_EQ(outer.value(), Variant("deep"));
  EXPECT_EQ(outer.toString(), "deep");
}

TEST_F(VariantTest, AnObjectWithoutADefaultValueCannotConvert) {
  const Variant v(makeObject<NoDefault>());
  EXPECT_EQ(errorNumber([&] { (void)v.value(); }), 438);
  EXPECT_EQ(errorNumber([&] { (void)v.toString(); }), 438);
  // A default value that is itself a self-referencing object chain ends with a type mismatch.
  auto loop = ValueBox::create(Variant());
  loop->put("Value", Variant(loop));
  EXPECT_EQ(errorNumber([&] { (void)Variant(loop).value(); }), 13);
  loop->put("Value", Variant());  // break the cycle so the object can go
}

TEST_F(VariantTest, NonObjectsAreTheirOwnValue) {
  EXPECT_EQ(Variant("x").value(), Variant("x"));
  EXPECT_EQ(Variant::null().value(), Variant::null());
}

TEST_F(VariantTest, NothingIsAnObjectVariableWithoutObject) {
  const Variant nothing = Variant::nothing();
  EXPECT_TRUE(nothing.isObject());
  EXPECT_TRUE(nothing.isNothing());
  EXPECT_TRUE(Variant().isNothing());
  EXPECT_FALSE(Variant(int32_t{0}).isNothing());
  EXPECT_FALSE(Variant(ValueBox::create(Variant())).isNothing());
  EXPECT_FALSE(nothing.objectOrNull());
  EXPECT_EQ(errorNumber([&] { (void)nothing.toObject(); }), 91);
  EXPECT_EQ(errorNumber([&] { (void)nothing.value(); }), 91);
  EXPECT_EQ(errorNumber([&] { (void)nothing.toString(); }), 91);
}

TEST_F(VariantTest, ToObjectRequiresAnObject) {
  EXPECT_EQ(errorNumber([] { (void)Variant(int32_t{1}).toObject(); }), 424);
  EXPECT_EQ(errorNumber([] { (void)Variant().toObject(); }), 424);
  EXPECT_FALSE(Variant("x").objectOrNull());
  auto box = ValueBox::create(Variant());
  EXPECT_EQ(Variant(box).toObject().get(), box.get());
}

TEST_F(VariantTest, HoldsAReferenceToItsObject) {
  auto box = ValueBox::create(Variant());
  EXPECT_EQ(box->refCount(), 1u);
  {
    Variant a(box);
    Variant b = a;
    EXPECT_EQ(box->refCount(), 3u);
    b = Variant(int32_t{1});
    EXPECT_EQ(box->refCount(), 2u);
  }
  EXPECT_EQ(box->refCount(), 1u);
  const int64_t before = Object::liveObjects();
  Variant last(ValueBox::create(Variant()));
  EXPECT_EQ(Object::liveObjects(), before + 1);
  last = Variant();
  EXPECT_EQ(Object::liveObjects(), before);
}

TEST_F(VariantTest, EqualityNeedsTheSameTypeAndValue) {
  EXPECT_EQ(Variant(int32_t{1}), Variant(int32_t{1}));
  EXPECT_NE(Variant(int32_t{1}), Variant(int16_t{1}));
  EXPECT_NE(Variant(int32_t{1}), Variant(1.0));
  EXPECT_NE(Variant("1"), Variant(int32_t{1}));
  EXPECT_EQ(Variant::null(), Variant::null());
  EXPECT_NE(Variant::null(), Variant());
  EXPECT_EQ(Variant::nothing(), Variant::nothing());
  auto a = ValueBox::create(Variant(int32_t{1}));
  auto b = ValueBox::create(Variant(int32_t{1}));
  EXPECT_EQ(Variant(a), Variant(a));
  EXPECT_NE(Variant(a), Variant(b));  // objects compare by identity, not by value
}

TEST_F(VariantTest, DescribeNamesTypeAndValue) {
  EXPECT_EQ(describe(Variant()), "Empty");
  EXPECT_EQ(describe(Variant::null()), "Null");
  EXPECT_EQ(describe(Variant(int32_t{5})), "Long 5");
  EXPECT_EQ(describe(Variant("x")), "String x");
  EXPECT_EQ(describe(Variant::nothing()), "Object Nothing");
  EXPECT_EQ(describe(Variant(ValueBox::create(Variant()))), "Object ValueBox");
}

}  // namespace
}  // namespace qx::automation
