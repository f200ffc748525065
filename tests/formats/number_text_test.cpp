#include <gtest/gtest.h>

#include "formats/number_text.h"

namespace carteloom {
namespace {

TEST(NumberText, PaddedRule) {
  EXPECT_EQ(PaddedNumberText(116.5), " 116.5");
  EXPECT_EQ(PaddedNumberText(0.25), " .25");
  EXPECT_EQ(PaddedNumberText(5), " 5");
  EXPECT_EQ(PaddedNumberText(-0.5), "-.5");
  EXPECT_EQ(PaddedNumberText(0), " 0");
  EXPECT_EQ(PaddedNumberText(-0.0), " 0");
  EXPECT_EQ(PaddedNumberText(39 + 59.123 / 60), " 39.9853833333333");
  EXPECT_EQ(PaddedNumberText(116 + 23.5 / 60), " 116.391666666667");
  EXPECT_EQ(PaddedNumberText(-2.0 / 11), "-.181818181818182");
  EXPECT_EQ(PaddedNumberText(1000000), " 1000000");
  EXPECT_EQ(PaddedNumberText(0.00001), " .00001");
}

TEST(NumberText, PlainRule) {
  EXPECT_EQ(PlainNumberText(116.5), "116.5");
  EXPECT_EQ(PlainNumberText(0.25), "0.25");
  EXPECT_EQ(PlainNumberText(-0.5), "-0.5");
  EXPECT_EQ(PlainNumberText(0), "0");
  EXPECT_EQ(PlainNumberText(-116.391666666667), "-116.391666666667");
  // Rounding carries into the next digit; outside the fixed range the exponent form.
  EXPECT_EQ(PlainNumberText(9.9999999999999999), "10");
  EXPECT_EQ(PlainNumberText(99.99999999999999), "100");
  EXPECT_EQ(PlainNumberText(0.000001), "1E-06");
  EXPECT_EQ(PaddedNumberText(-0.0000015), "-1.5E-06");
  EXPECT_EQ(PaddedNumberText(1e15), " 1E+15");
  EXPECT_EQ(PlainNumberText(123456789012345.0), "123456789012345");
}

TEST(NumberText, IntegerText) {
  EXPECT_EQ(IntegerText(7, 3), "007");
  EXPECT_EQ(IntegerText(1000, 3), "1000");
  EXPECT_EQ(IntegerText(-5), "-5");
  EXPECT_EQ(IntegerText(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(IntegerText(UINT32_MAX, 1), "4294967295");
  EXPECT_EQ(IntegerText(-42, 30), "-" + std::string(28, '0') + "42");  // wider than any 64-bit number
}

}  // namespace
}  // namespace carteloom
