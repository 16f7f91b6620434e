// VARIANT <-> Variant, and writes through by-reference VARIANTs.
#include "win32/com/com_variant.h"
#include "automation/host_vector.h"
#include "win32/com/bstr.h"
#include "win32/com/object_bridge.h"
#include "win32/testhost/check.h"
#include "win32/tests/tests.h"

namespace qx::win32::tests {

using automation::Date;
using automation::Variant;
using automation::VarType;
using testhost::check;
using testhost::checkEqual;

namespace {

void readsEveryScalar() {
  struct Row {
    const char* what;
    VARIANT v;
    Variant expected;
  };
  auto make = [](VARTYPE vt, auto set) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = vt;
    set(v);
    return v;
  };
  Row rows[] = {
      {"VT_EMPTY", make(VT_EMPTY, [](VARIANT&) {}), Variant()},
      {"VT_NULL", make(VT_NULL, [](VARIANT&) {}), Variant::null()},
      {"VT_BOOL -1", make(VT_BOOL, [](VARIANT& v) { V_BOOL(&v) = VARIANT_TRUE; }), Variant(true)},
      {"VT_BOOL 0", make(VT_BOOL, [](VARIANT& v) { V_BOOL(&v) = VARIANT_FALSE; }), Variant(false)},
      {"VT_I2", make(VT_I2, [](VARIANT& v) { V_I2(&v) = -7; }), Variant(int16_t{-7})},
      {"VT_I4", make(VT_I4, [](VARIANT& v) { V_I4(&v) = 11063; }), Variant(int32_t{11063})},
      {"VT_R8", make(VT_R8, [](VARIANT& v) { V_R8(&v) = 1e-7; }), Variant(1e-7)},
      {"VT_DATE", make(VT_DATE, [](VARIANT& v) { V_DATE(&v) = 45000.5; }), Variant(Date{45000.5})},
      {"VT_UI1", make(VT_UI1, [](VARIANT& v) { V_UI1(&v) = 200; }), Variant(int16_t{200})},
      {"VT_UI4 small", make(VT_UI4, [](VARIANT& v) { V_UI4(&v) = 5; }), Variant(int32_t{5})},
      {"VT_UI4 large", make(VT_UI4, [](VARIANT& v) { V_UI4(&v) = 4000000000u; }),
       Variant(4000000000.0)},
      {"VT_I8", make(VT_I8, [](VARIANT& v) { V_I8(&v) = -3; }), Variant(int32_t{-3})},
      {"VT_R4", make(VT_R4, [](VARIANT& v) { V_R4(&v) = 0.5f; }), Variant(0.5)},
      {"missing argument", make(VT_ERROR, [](VARIANT& v) { V_ERROR(&v) = DISP_E_PARAMNOTFOUND; }),
       Variant()},
  };
  for (Row& r : rows) check(fromVariant(r.v) == r.expected, std::string("reads ") + r.what);

  VARIANT cy;
  V_VT(&cy) = VT_CY;
  V_CY(&cy).int64 = 12345;  // 1.2345
  checkEqual(std::to_string(fromVariant(cy).toDouble()).substr(0, 6), "1.2345", "reads VT_CY");
}

void rejectsWhatItCannotHold() {
  SAFEARRAYBOUND bound{1, 0};
  VariantOwner array;
  V_VT(array.get()) = VT_ARRAY | VT_I4;
  V_ARRAY(array.get()) = SafeArrayCreate(VT_I4, 1, &bound);
  VARIANT error;
  V_VT(&error) = VT_ERROR;
  V_ERROR(&error) = E_FAIL;
  VARIANT nullRef;
  V_VT(&nullRef) = VT_BYREF | VT_I4;
  V_BYREF(&nullRef) = nullptr;
  const VARIANT* bad[] = {array.get(), &error, &nullRef};
  for (const VARIANT* v : bad) {
    bool threw = false;
    try {
      fromVariant(*v);
    } catch (const automation::Error& e) {
      threw = e.isTypeMismatch();
    }
    check(threw, "VARIANT type " + std::to_string(V_VT(v)) + " is a type mismatch");
  }
}

void writesEveryType() {
  const Variant values[] = {Variant(),         Variant::null(),     Variant(true),
                            Variant(false),    Variant(int16_t{2}), Variant(int32_t{-1}),
                            Variant(0.25),     Variant(Date{1.5}),  Variant("生产率"),
                            Variant::nothing()};
  for (const Variant& v : values) {
    VariantOwner out;
    toVariant(v, out.get());
    check(fromVariant(*out.get()) == v, "round trip of " + automation::describe(v));
  }
  VariantOwner flag;
  toVariant(Variant(true), flag.get());
  checkEqual(V_BOOL(flag.get()), -1, "true is -1 at the boundary");

  auto vec = automation::HostVector::create();
  VariantOwner obj;
  toVariant(Variant(vec), obj.get());
  check(V_VT(obj.get()) == VT_DISPATCH && V_DISPATCH(obj.get()), "an object becomes VT_DISPATCH");
  check(fromVariant(*obj.get()) == Variant(vec), "and comes back as the same object");
}

void storesThroughReferences() {
  Bstr text("old");
  VARIANT ref;
  V_VT(&ref) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&ref) = text.ref();
  storeByRef(ref, Variant("new"));
  checkEqual(text.utf8(), "new", "a string through VT_BSTR|VT_BYREF");

  VARIANT_BOOL flag = VARIANT_FALSE;
  V_VT(&ref) = VT_BYREF | VT_BOOL;
  V_BOOLREF(&ref) = &flag;
  storeByRef(ref, Variant(true));
  checkEqual(flag, VARIANT_TRUE, "a flag through VT_BOOL|VT_BYREF is -1");
  storeByRef(ref, Variant(int32_t{0}));
  checkEqual(flag, VARIANT_FALSE, "a number converts to the flag");

  int16_t shortValue = 0;
  V_VT(&ref) = VT_BYREF | VT_I2;
  V_I2REF(&ref) = &shortValue;
  storeByRef(ref, Variant(2.5));
  checkEqual(shortValue, 2, "2.5 into an integer rounds half to even");
  bool overflow = false;
  try {
    storeByRef(ref, Variant(int32_t{70000}));
  } catch (const automation::Error& e) {
    overflow = e.isOverflow();
  }
  check(overflow && shortValue == 2, "an integer out of range is an overflow, nothing written");
  bool mismatch = false;
  try {
    storeByRef(ref, Variant("abc"));
  } catch (const automation::Error& e) {
    mismatch = e.isTypeMismatch();
  }
  check(mismatch, "a text that is no number is a type mismatch");

  VariantOwner target;
  V_VT(&ref) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&ref) = target.get();
  storeByRef(ref, Variant("any"));
  check(V_VT(target.get()) == VT_BSTR, "a VARIANT reference takes any type");

  float single = 0;
  V_VT(&ref) = VT_BYREF | VT_R4;
  V_R4REF(&ref) = &single;
  storeByRef(ref, Variant(int32_t{3}));
  check(single == 3.0f, "other numeric references convert through the system");
}

}  // namespace

void comVariantTests() {
  testhost::section("com_variant");
  readsEveryScalar();
  rejectsWhatItCannotHold();
  writesEveryType();
  storesThroughReferences();
}

}  // namespace qx::win32::tests
