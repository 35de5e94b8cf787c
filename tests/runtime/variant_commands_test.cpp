#include "runtime/variant_commands.h"

#include <gtest/gtest.h>

namespace kelmor {
namespace {

using namespace platform;

TEST(VariantCommands, ValuesBecomeTheirVariantTypes) {
  VARIANT v;
  ASSERT_TRUE(VariantSetValue(v, Value::Bool(true)));
  EXPECT_EQ(v.vt, VT_BOOL);
  EXPECT_EQ(v.intVal, -1);
  ASSERT_TRUE(VariantSetValue(v, Value::Long(0x100000005LL)));
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.intVal, 5);
  ASSERT_TRUE(VariantSetValue(v, Value::FromText("中药")));
  EXPECT_EQ(v.vt, VT_BSTR);
  EXPECT_EQ(v.bstrVal, u"中药");
  ASSERT_TRUE(VariantSetValue(v, Value::FromBytes({1, 2, 3})));
  EXPECT_EQ(v.vt, VT_ARRAY | VT_UI1);
  ASSERT_EQ(v.parray->elements.size(), 3u);
  EXPECT_EQ(v.parray->elements[2].intVal, 3);

  VARIANT copy;
  VariantAssign(copy, v);
  VariantEmpty(v);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(copy.parray->elements.size(), 3u);  // the copy owns its own array
}

TEST(VariantCommands, TypeCodes) {
  VARIANT v;
  EXPECT_TRUE(VariantSetType(v, 0));
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_TRUE(VariantSetType(v, 1));
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_TRUE(VariantSetType(v, 7));
  EXPECT_EQ(v.vt, VT_ARRAY | VT_I4);
  EXPECT_TRUE(VariantSetType(v, 13));
  EXPECT_EQ(v.vt, VT_ARRAY | VT_VARIANT);
  EXPECT_FALSE(VariantSetType(v, 14));
}

TEST(VariantCommands, ElementIndexCountsOverAllDimensions) {
  VARIANT v;
  SAFEARRAYBOUND bounds[2] = {{2, 1}, {3, 0}};
  v.parray = SafeArrayCreate(VT_I4, 2, bounds);
  v.vt = VT_ARRAY | VT_I4;
  EXPECT_TRUE(VariantSetValue(v, Value::Int(42), 4));  // second row of the second column
  LONG at[2] = {2, 1};
  VARIANT out;
  ASSERT_EQ(SafeArrayGetElement(v.parray.get(), at, &out), S_OK);
  EXPECT_EQ(out.intVal, 42);
  EXPECT_FALSE(VariantSetValue(v, Value::Int(1), 0));
  EXPECT_FALSE(VariantSetValue(v, Value::Int(1), 7));
  VARIANT scalar;
  EXPECT_FALSE(VariantSetValue(scalar, Value::Int(1), 1));
}

// A value the element type cannot hold is refused and the element keeps its value.
TEST(VariantCommands, ElementsOutsideTheirTypesRangeAreRefused) {
  struct Case {
    VARTYPE type;
    Value fits, too_big;
  };
  const Case cases[] = {
      {VT_UI1, Value::Int(255), Value::Int(70000)},
      {VT_UI1, Value::Int(0), Value::Int(-1)},
      {VT_I2, Value::Int(-32768), Value::Int(40000)},
      {VT_I4, Value::Long(-2147483648LL), Value::Long(4294967297LL)},
      {VT_I4, Value::Double(2e9), Value::Double(1e300)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    SAFEARRAYBOUND bound{1, 0};
    VARIANT v;
    v.parray = SafeArrayCreate(c.type, 1, &bound);
    v.vt = VT_ARRAY | c.type;
    ASSERT_TRUE(VariantSetValue(v, c.fits, 1));
    const std::int64_t held = v.parray->elements[0].intVal;
    EXPECT_FALSE(VariantSetValue(v, c.too_big, 1));
    EXPECT_EQ(v.parray->elements[0].intVal, held);
  }
}

TEST(VariantCommands, IntegerArrays) {
  Array<std::int32_t> positions;
  positions.push_back(1);
  positions.push_back(3);
  VARIANT v;
  ASSERT_TRUE(VariantSetValue(v, positions));
  EXPECT_EQ(v.vt, VT_ARRAY | VT_I4);
  LONG upper = 0;
  ASSERT_EQ(SafeArrayGetUBound(v.parray.get(), 1, &upper), S_OK);
  EXPECT_EQ(upper, 1);
}

}  // namespace
}  // namespace kelmor
