#include "common/picture.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {

struct PictureCase {
  double value;
  const char* picture;
  const char* shown;
};

class Pictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(Pictures, FormatAsWritten) {
  const PictureCase& c = GetParam();
  EXPECT_EQ(TRANSFORM(c.value, c.picture), QString::fromUtf8(c.shown))
      << c.value << " with " << c.picture;
}

INSTANTIATE_TEST_SUITE_P(Plain, Pictures, ::testing::Values(
    PictureCase{12.5, "999.99", " 12.50"}, PictureCase{0, "999.99", "  0.00"},
    PictureCase{0.5, "999.99", "  0.50"}, PictureCase{-5, "999", " -5"},
    PictureCase{-12.345, "999.99", "-12.35"}, PictureCase{7, "99999", "    7"},
    PictureCase{0, "999", "  0"}, PictureCase{1.005, "9.99", "1.01"},
    PictureCase{12.3456, "99999.999", "   12.346"}, PictureCase{0.25, ".99", ".25"},
    PictureCase{1234567.891, "9999999999.999", "   1234567.891"}));

INSTANTIATE_TEST_SUITE_P(Thousands, Pictures, ::testing::Values(
    PictureCase{1234.5, "999,999.99", "  1,234.50"},
    PictureCase{123, "999,999.99", "    123.00"},
    PictureCase{-123, "999,999", "   -123"},
    PictureCase{-12345, "999,999", "-12,345"},
    PictureCase{1234567.8, "@E 999,999,999,999.99", "      1.234.567,80"},
    PictureCase{-1234567.8, "@E 999,999,999,999.99", "     -1.234.567,80"},
    PictureCase{999999999999.99, "@E 999,999,999,999.99", "999.999.999.999,99"}));

INSTANTIATE_TEST_SUITE_P(Overflow, Pictures, ::testing::Values(
    PictureCase{1000, "999.99", "***.**"}, PictureCase{-123, "999", "***"},
    PictureCase{999.995, "999.99", "***.**"}, PictureCase{-0.5, ".99", ".**"},
    PictureCase{1234567, "@E 999,999.99", "***.***,**"},
    PictureCase{1e300, "@E 999,999.99", "***.***,**"}));

INSTANTIATE_TEST_SUITE_P(Functions, Pictures, ::testing::Values(
    PictureCase{0, "@Z 999.99", "      "}, PictureCase{0.004, "@Z 999.99", "      "},
    PictureCase{-0.004, "@EZ 999.99", "      "}, PictureCase{0.005, "@Z 999.99", "  0.01"},
    PictureCase{20, "@E 999.99", " 20,00"}, PictureCase{0, "@EZ 9,999,999.99", "            "},
    PictureCase{1234.5, "@EZ 9,999,999.99", "    1.234,50"}, PictureCase{10, "@R 99", "10"}));

// Fractions wider than exact integers hold, or than the digit buffers, are
// shown or refused without reading outside the number.
INSTANTIATE_TEST_SUITE_P(WideFractions, Pictures, ::testing::Values(
    PictureCase{1.5, "9.99999999999999999999", "1.50000000000000000000"},
    PictureCase{1.5, "9.9999999999999999999999", "1.5000000000000000000000"},
    PictureCase{1.5, "9.9999999999999999999999999999999", "*.*******************************"}));

TEST(Pictures, OverflowIsRecognised) {
  EXPECT_TRUE(PICTURE_OVERFLOW(TRANSFORM(1000, "@E 999.99")));
  EXPECT_FALSE(PICTURE_OVERFLOW(TRANSFORM(999, "@E 999.99")));
  EXPECT_FALSE(PICTURE_OVERFLOW("      "));
  for (const char* e : {"#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#N/A", "#NULL!", "#NUM!", " Err:502 "})
    EXPECT_TRUE(FORMULA_ERROR(e)) << e;
  for (const char* t : {"", "0", "12,50", "#", "# 5", "#12", "#12!", "#A1", "#VALUE", "Err:", "Err:50", "broj #1!", "1#DIV/0!"})
    EXPECT_FALSE(FORMULA_ERROR(t)) << t;
}

TEST(Pictures, EmptyTemplateWritesTheNumber) {
  EXPECT_EQ(TRANSFORM(12.5, ""), "      12.5");
  EXPECT_EQ(TRANSFORM(12.5, "@E"), "      12,5");
  EXPECT_EQ(STR(-0.0), "         0");
  EXPECT_EQ(STR(123), "       123");
  EXPECT_EQ(STR(1e20, 1), "100000000000000000000");
  EXPECT_EQ(STR(0.1 + 0.2, 1), "0.3");
}

struct PictCase {
  int length, decimals;
  bool european, thousands;
  const char* picture;
};

TEST(Pictures, FormirajPict) {
  const PictCase cases[] = {
      {10, 2, true, true, "@EZ 9,999,999.99"}, {14, 4, true, false, "@EZ 999999999.9999"},
      {5, 0, false, false, "@Z 99999"},         {6, 2, true, false, "@EZ 999.99"},
      {7, 0, false, true, "@Z 9,999,999"},      {3, 0, true, true, "@EZ 999"},
      {4, 0, true, true, "@EZ 9,999"},          {2, 2, false, false, "@Z .99"},
      {12, 3, false, true, "@Z 99,999,999.999"},
  };
  for (const PictCase& c : cases)
    EXPECT_EQ(FORMIRAJ_PICT(c.length, c.decimals, c.european, c.thousands), c.picture)
        << c.length << "," << c.decimals;
}

TEST(Pictures, BezDecim) {
  EXPECT_EQ(BEZ_DECIM(12.50, "@E 999.99"), "  12,5");
  EXPECT_EQ(BEZ_DECIM(12, "999.99"), "    12");
  EXPECT_EQ(BEZ_DECIM(0, "999.99"), "     0");
  EXPECT_EQ(BEZ_DECIM(1000, "@E 999,999.99"), "     1.000");
  EXPECT_EQ(BEZ_DECIM(1.25, "99999.999"), "     1.25");
  EXPECT_EQ(BEZ_DECIM(10.105, "999.99"), " 10.11");
  EXPECT_EQ(BEZ_DECIM(-2.5, "@E 999.99"), "  -2,5");
  EXPECT_EQ(BEZ_DECIM(20, "@E 999.99"), "    20");  // the integer's own zero stays
  EXPECT_EQ(BEZ_DECIM(5000, "999.99"), "***.**");   // an overflow is never blanked
  EXPECT_EQ(BEZ_DECIM(0, "@Z 999.99"), "      ");
}

}  // namespace
