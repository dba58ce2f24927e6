// The property kinds: text conversions, 4-decimal rounding, limits and
// sequences.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "framework/property.h"
#include "framework/value_text.h"

namespace {

std::string TextOf(const MM::PropertyBase& property) {
  std::string text;
  property.Get(text);
  return text;
}

struct TextCase {
  MM::PropertyKind kind;
  const char* input;
  const char* stored;
};

std::unique_ptr<MM::Property> Make(MM::PropertyKind kind) {
  switch (kind) {
    case MM::PropertyKind::String: return std::make_unique<MM::StringProperty>("P");
    case MM::PropertyKind::Float: return std::make_unique<MM::FloatProperty>("P");
    case MM::PropertyKind::Integer: return std::make_unique<MM::IntegerProperty>("P");
  }
  return nullptr;
}

TEST(PropertyTest, TextSetterAndGetterFollowTheKindsRules) {
  using K = MM::PropertyKind;
  const TextCase cases[] = {
      {K::Integer, "12abc", "12"},      {K::Integer, "abc", "0"},
      {K::Integer, "  -7", "-7"},       {K::Integer, "99999999999999999999", "9223372036854775807"},
      {K::Integer, "-5", "-5"},         {K::Float, "0.12345", "0.1235"},
      {K::Float, "1.23456", "1.2346"},  {K::Float, "-1.23456", "-1.2346"},
      {K::Float, "0.00004", "0.0000"},  {K::Float, "2.5", "2.5000"},
      {K::Float, "-0.00005", "-0.0001"}, {K::Float, "junk", "0.0000"},
      {K::String, "any text", "any text"},
  };
  for (const TextCase& c : cases) {
    auto property = Make(c.kind);
    EXPECT_TRUE(property->Set(c.input));
    EXPECT_EQ(TextOf(*property), c.stored) << c.input;
  }
}

TEST(PropertyTest, NumericSettersConvertPerKind) {
  MM::IntegerProperty integer("I");
  integer.Set(-2.9);
  long l = 0;
  integer.Get(l);
  EXPECT_EQ(l, -2);
  integer.Set(1e300);  // saturates instead of an undefined conversion
  integer.Get(l);
  EXPECT_EQ(l, LONG_MAX);

  MM::FloatProperty real("F");
  real.Set(-3.99);
  real.Get(l);
  EXPECT_EQ(l, -3);
  real.Set(7L);
  EXPECT_EQ(TextOf(real), "7.0000");

  MM::StringProperty text("S");
  const std::pair<double, const char*> doubles[] = {{0.5, "0.5"}, {3.14159, "3.1"}, {123.0, "1.2e+02"}};
  for (const auto& [value, expected] : doubles) {
    text.Set(value);
    EXPECT_EQ(TextOf(text), expected);
  }
  text.Set(-5L);
  EXPECT_EQ(TextOf(text), "-5");
  text.Set("12.5xyz");
  double d = 0;
  text.Get(d);
  EXPECT_DOUBLE_EQ(d, 12.5);
  text.Get(l);
  EXPECT_EQ(l, 12);
}

TEST(PropertyTest, FloatTextIsCutAt59Characters) {
  MM::FloatProperty real("F");
  real.Set(1e300);
  EXPECT_EQ(TextOf(real).size(), 59u);
}

TEST(PropertyTest, RoundingLeavesHugeValuesAlone) {
  namespace vt = MM::value_text;
  const double huge = 1e12 + 0.5;  // x * scale is above 2^52: no +0.5, no floor
  EXPECT_EQ(vt::RoundToGrid(huge, 10000.0), huge * 10000.0 / 10000.0);
  EXPECT_EQ(vt::SnapLowerBound(-huge, 10000.0), -huge);
  EXPECT_DOUBLE_EQ(vt::RoundToGrid(0.12345, 10000.0), 0.1235);
  EXPECT_DOUBLE_EQ(vt::RoundToGrid(-0.12345, 10000.0), -0.1235);
  EXPECT_EQ(vt::FormatDefaultStream(123.456789), "123.457");
  EXPECT_EQ(vt::FormatDefaultStream(0.000001), "1e-06");
}

TEST(PropertyTest, IntegerLimitsAreInclusiveAndRefusalsKeepTheValue) {
  MM::IntegerProperty integer("I");
  ASSERT_TRUE(integer.SetLimits(0, 10));
  EXPECT_TRUE(integer.Set(0L));
  EXPECT_TRUE(integer.Set(10L));
  EXPECT_FALSE(integer.Set(11L));
  EXPECT_FALSE(integer.Set(-1L));
  EXPECT_TRUE(integer.Set("abc"));  // "abc" is 0, inside the range
  EXPECT_EQ(TextOf(integer), "0");
  integer.Set(7L);
  EXPECT_FALSE(integer.Set("11"));
  EXPECT_EQ(TextOf(integer), "7");
  // Limits never move the current value.
  ASSERT_TRUE(integer.SetLimits(0, 5));
  EXPECT_EQ(TextOf(integer), "7");
}

TEST(PropertyTest, FloatLimitsSnapInwardOntoTheGrid) {
  MM::FloatProperty real("F");
  ASSERT_TRUE(real.SetLimits(0.00001, 1.99999));
  EXPECT_DOUBLE_EQ(real.GetLowerLimit(), 0.0001);
  EXPECT_DOUBLE_EQ(real.GetUpperLimit(), 1.9999);
  EXPECT_FALSE(real.Set(1.99996));  // rounds to 2.0
  EXPECT_TRUE(real.Set(1.99994));
  EXPECT_EQ(TextOf(real), "1.9999");
}

TEST(PropertyTest, CommonLimitRule) {
  MM::IntegerProperty empty("I");
  EXPECT_FALSE(empty.SetLimits(5, 5));
  EXPECT_FALSE(empty.HasLimits());
  EXPECT_EQ(empty.GetLowerLimit(), 0.0);
  EXPECT_EQ(empty.GetUpperLimit(), 0.0);

  MM::IntegerProperty listed("L");
  listed.ReplaceAllowedValues({"1", "0", "1"});
  EXPECT_EQ(listed.GetAllowedValues(), (std::vector<std::string>{"0", "1"}));
  EXPECT_FALSE(listed.SetLimits(0, 10));
  EXPECT_FALSE(listed.HasLimits());
  EXPECT_EQ(listed.GetUpperLimit(), 0.0);

  MM::IntegerProperty limited("M");
  ASSERT_TRUE(limited.SetLimits(0, 10));
  limited.ReplaceAllowedValues({});  // an empty list keeps the limits
  EXPECT_TRUE(limited.HasLimits());
  limited.ReplaceAllowedValues({"3"});
  EXPECT_FALSE(limited.HasLimits());

  MM::StringProperty text("S");
  EXPECT_FALSE(text.SetLimits(0, 10));
  EXPECT_FALSE(text.HasLimits());
}

TEST(PropertyTest, AllowedValuesSortByteWise) {
  MM::StringProperty text("S");
  text.ReplaceAllowedValues({"b", "B", "ab", "a"});
  EXPECT_EQ(text.GetAllowedValues(), (std::vector<std::string>{"B", "a", "ab", "b"}));
  EXPECT_TRUE(text.IsAllowedValue("ab"));
  EXPECT_FALSE(text.IsAllowedValue("A"));
  EXPECT_FALSE(text.IsAllowedValue(nullptr));
}

TEST(PropertyTest, SequencesKeepOverlongEntriesButAnswer39) {
  MM::FloatProperty real("F");
  real.EnableSequencing(2);
  EXPECT_TRUE(real.SequenceableFlag());
  EXPECT_EQ(real.AppendToSequence("1"), 0);
  EXPECT_EQ(real.AppendToSequence("2"), 0);
  EXPECT_EQ(real.AppendToSequence("3"), 39);
  EXPECT_EQ(real.SequenceValues(), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(real.AppendToSequence(nullptr), 1);
  EXPECT_EQ(real.ResetSequence(), 0);
  EXPECT_TRUE(real.SequenceValues().empty());
  real.EnableSequencing(0);
  EXPECT_FALSE(real.SequenceableFlag());
  EXPECT_EQ(real.CommitSequence(), 0);  // no action
}

}  // namespace
