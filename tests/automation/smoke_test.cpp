#include <gtest/gtest.h>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/recordset.h"

using namespace qx::automation;

TEST(Smoke, VectorAndDictionary) {
  auto v = HostVector::create();
  auto d = HostDictionary::create();
  d->put("Value", "FName", "x");
  v->call("Add", Variant(ObjectRef(d)));
  EXPECT_EQ(v->get("Count").toInt32(), 1);
  EXPECT_EQ(v->get("Item", 1).toObject()->get("Value", "FName").toString(), "x");
}
