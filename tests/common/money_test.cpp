#include "common/money.h"

#include <cmath>
#include <gtest/gtest.h>

#include "common/picture.h"

using namespace korvan;

namespace {

struct RoundCase {
  double value;
  int decimals;
  double expected;
};

class Rounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(Rounding, HalfAwayFromZeroOnTheDecimalValue) {
  const RoundCase& c = GetParam();
  const double r = ROUND(c.value, c.decimals);
  EXPECT_EQ(r, c.expected) << c.value << " to " << c.decimals;
  EXPECT_FALSE(std::signbit(r) && r == 0) << "negative zero from " << c.value;
}

INSTANTIATE_TEST_SUITE_P(Ties, Rounding, ::testing::Values(
    RoundCase{1.005, 2, 1.01}, RoundCase{2 * 10.005, 2, 20.01}, RoundCase{-2.5, 0, -3},
    RoundCase{2.5, 0, 3}, RoundCase{0.5, 0, 1}, RoundCase{-0.5, 0, -1},
    RoundCase{1.015, 2, 1.02}, RoundCase{1.025, 2, 1.03}, RoundCase{2.675, 2, 2.68},
    RoundCase{-2.675, 2, -2.68}, RoundCase{0.285, 2, 0.29}, RoundCase{1.0049999, 2, 1},
    RoundCase{8.345, 2, 8.35}, RoundCase{0.1 + 0.2, 1, 0.3}, RoundCase{1.1 * 1.1, 2, 1.21},
    RoundCase{1234567.125, 2, 1234567.13}, RoundCase{99999999999.995, 2, 100000000000.0},
    RoundCase{0.0005, 3, 0.001}, RoundCase{1.00005, 4, 1.0001},
    RoundCase{3 * 1.115, 2, 3.35}, RoundCase{100 * 1.2 * 0.2, 2, 24},
    RoundCase{1250, -2, 1300}, RoundCase{-1250, -2, -1300}, RoundCase{1249.9, -2, 1200}));

INSTANTIATE_TEST_SUITE_P(Zero, Rounding, ::testing::Values(
    RoundCase{-0.004, 2, 0}, RoundCase{-0.0, 2, 0}, RoundCase{-0.4, 0, 0},
    RoundCase{0.004, 2, 0}, RoundCase{-1e-12, 4, 0}));

TEST(Rounding, LargeAndNonFiniteValuesPassThrough) {
  EXPECT_EQ(ROUND(1e20, 2), 1e20);
  EXPECT_EQ(ROUND(123456789012345.0, 2), 123456789012345.0);
  EXPECT_TRUE(std::isnan(ROUND(NAN, 2)));
  EXPECT_TRUE(std::isinf(ROUND(INFINITY, 2)));
}

TEST(Rounding, NegativeZeroNeverShows) {
  EXPECT_EQ(TRANSFORM(ROUND(-0.004, 2), "@E 999,999.99"), "      0,00");
  EXPECT_EQ(TRANSFORM(-0.004, "@E 999,999.99"), "      0,00");
}

TEST(Division, ZeroDivisorGivesZero) {
  EXPECT_EQ(DIV0(10, 4), 2.5);
  EXPECT_EQ(DIV0(10, 0), 0);
  EXPECT_EQ(DIV0(-10, -0.0), 0);
  EXPECT_EQ(DIV0(0, 5), 0);
}

}  // namespace
