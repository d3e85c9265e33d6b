#include "common/numbers.h"

#include <QDate>
#include <cmath>
#include <gtest/gtest.h>

using namespace korvan;

namespace {

struct ReadCase {
  const char* text;
  double expected;
};

class InteliVal : public ::testing::TestWithParam<ReadCase> {};

TEST_P(InteliVal, GuessesTheDecimalMark) {
  const ReadCase& c = GetParam();
  EXPECT_DOUBLE_EQ(INTELI_VAL(QString::fromUtf8(c.text)), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, InteliVal, ::testing::Values(
    ReadCase{"", 0}, ReadCase{"   ", 0}, ReadCase{"abc", 0}, ReadCase{"*****", 0},
    ReadCase{"***,**", 0}, ReadCase{"42", 42}, ReadCase{"  42  ", 42},
    ReadCase{"12,5", 12.5}, ReadCase{"-3,5", -3.5}, ReadCase{"+7,25", 7.25},
    ReadCase{"1.234,56", 1234.56}, ReadCase{"1,234.56", 1234.56},
    ReadCase{"1.234.567,89", 1234567.89}, ReadCase{"1,234,567.89", 1234567.89},
    ReadCase{"1.234.567", 1.234}, ReadCase{"1,234,567", 1.234},
    ReadCase{"1 234,5", 1}, ReadCase{"12.50", 12.5}, ReadCase{",5", 0.5},
    ReadCase{"5,", 5}, ReadCase{"-", 0}, ReadCase{"-0,00", 0}, ReadCase{"12abc", 12},
    ReadCase{"1e5", 1}, ReadCase{"\t3,75\n", 3.75},
    ReadCase{"-1.000.000,01", -1000000.01},
    ReadCase{"0,1", 0.1}, ReadCase{"123456789012,34", 123456789012.34}));

TEST(InteliValOptions, PointsSeparateThousandsWhenAsked) {
  EXPECT_DOUBLE_EQ(INTELI_VAL("1.234.567", true), 1234567);
  EXPECT_DOUBLE_EQ(INTELI_VAL("12.5", true), 125);
  // A comma still decides where both marks occur.
  EXPECT_DOUBLE_EQ(INTELI_VAL("1,234.5", true), 1234.5);
}

TEST(InteliValOptions, NegativeZeroReadsAsPlainZero) {
  EXPECT_FALSE(std::signbit(INTELI_VAL("-0,00")));
  EXPECT_FALSE(std::signbit(VAL("-0")));
}

TEST(LeadingNumber, ReadersReplaceMarksBeforeReading) {
  EXPECT_DOUBLE_EQ(VAL("  -12.5.6"), -12.5);
  EXPECT_DOUBLE_EQ(VAL("12,5"), 12);
  EXPECT_DOUBLE_EQ(VAL(".5"), 0.5);
  EXPECT_DOUBLE_EQ(VAL("- 5"), 0);
  EXPECT_DOUBLE_EQ(VAL("         7"), 7);  // as an INI number is written
  EXPECT_DOUBLE_EQ(E2VAL("1.234.567,5"), 1234567.5);
  EXPECT_DOUBLE_EQ(XVAL("1,234,567.5"), 1234567.5);
  // A very long run of digits is still read whole.
  EXPECT_DOUBLE_EQ(VAL(QString(80, '1') + ".5"), 1.1111111111111111e79);
}

TEST(LeadingNumber, TooManyDigitsIsNeverReadAsZero) {
  const QString huge = QString(401, QChar('7'));
  for (double v : {VAL(huge), E2VAL(huge), XVAL(huge), INTELI_VAL(huge), VAL(huge + ".5"), INTELI_VAL(huge + ",25")})
    EXPECT_TRUE(std::isinf(v) && v > 0) << v;
  EXPECT_TRUE(std::isinf(VAL("-" + huge)) && VAL("-" + huge) < 0);
  // Tiny values stay 0; long but representable texts read as themselves.
  EXPECT_EQ(VAL("0." + QString(400, QChar('0')) + "1"), 0.0);
  EXPECT_EQ(VAL(QString(300, QChar('0')) + "12.5"), 12.5);
  EXPECT_DOUBLE_EQ(VAL("1" + QString(300, QChar('0'))), 1e300);
  // What such a value becomes on screen.
  EXPECT_EQ(STR(VAL(huge)), "**********");
  EXPECT_EQ(STR(VAL(huge), 4), "****");
}

TEST(Compare, EqAndBetween) {
  EXPECT_TRUE(EQ(0.30000001, 0.3));
  EXPECT_TRUE(EQ(0.1 + 0.2, 0.3));
  EXPECT_FALSE(EQ(0.0001, 0));
  EXPECT_FALSE(EQ(-0.0002, 0));
  EXPECT_TRUE(BETWEEN(5, 1, 5));
  EXPECT_TRUE(BETWEEN(1.0, 1.0, 5.0));
  EXPECT_FALSE(BETWEEN(5.01, 1, 5));
  EXPECT_TRUE(BETWEEN(QDate(2023, 3, 5), QDate(2023, 1, 1), QDate(2023, 12, 31)));
  EXPECT_FALSE(BETWEEN(QString("b"), QString("c"), QString("d")));
}

TEST(Units, MillimetresToPoints) {
  EXPECT_DOUBLE_EQ(MM2PT(10), 28.346);
  EXPECT_DOUBLE_EQ(MM2PTX(3), 3 * 2.8346 / 0.75);
  EXPECT_DOUBLE_EQ(MM2PT(0), 0);
}

}  // namespace
