#include "common/dates.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {

// Pins today's date (and so the epoch) for one test.
class FixedToday : public ::testing::Test {
 protected:
  void setToday(const QDate& d) {
    SET_TODAY_CLOCK([d] { return d; });
  }
  void SetUp() override { setToday(QDate(2022, 12, 14)); }
  void TearDown() override {
    SET_TODAY_CLOCK({});
    SET_EPOCH(0);
  }
};

TEST_F(FixedToday, EpochIsTheCurrentYearMinusNinety) {
  EXPECT_EQ(EPOCH(), 1932);
  setToday(QDate(2031, 1, 1));
  EXPECT_EQ(EPOCH(), 1941);
  SET_EPOCH(1950);
  EXPECT_EQ(EPOCH(), 1950);
  SET_EPOCH(0);
  EXPECT_EQ(EPOCH(), 1941);
  SET_TODAY_CLOCK({});
  EXPECT_EQ(EPOCH(), QDate::currentDate().year() - 90);
}

TEST_F(FixedToday, TwoDigitYearsFallAroundTheEpoch) {
  struct Case { const char* text; QDate date; } cases[] = {
      {"14.12.22", QDate(2022, 12, 14)}, {"01.01.35", QDate(1935, 1, 1)},
      {"01.01.31", QDate(2031, 1, 1)},   {"31.12.32", QDate(1932, 12, 31)},
      {"01.01.00", QDate(2000, 1, 1)},   {"5.3.99", QDate(1999, 3, 5)},
  };
  for (const Case& c : cases) EXPECT_EQ(CTOD(c.text), c.date) << c.text;
  setToday(QDate(2075, 6, 1));  // epoch 1985: the window is 1985..2084
  EXPECT_EQ(CTOD("01.01.84"), QDate(2084, 1, 1));
  EXPECT_EQ(CTOD("01.01.85"), QDate(1985, 1, 1));
}

TEST_F(FixedToday, DateTextReadAndWritten) {
  EXPECT_EQ(DTOC(QDate(2023, 3, 5)), "05.03.2023");
  EXPECT_EQ(DTOC(QDate()), "  .  .    ");
  EXPECT_EQ(DTOC(QDate(999, 11, 20)), "20.11.0999") << "short years get their zeros";
  EXPECT_EQ(DTOC(QDate(10000, 1, 2)), "02.01.10000");
  EXPECT_EQ(DTOC_(QDate(2023, 3, 5)), "05.03.23");
  EXPECT_EQ(CTOD("05.03.2023"), QDate(2023, 3, 5));
  EXPECT_EQ(CTOD(" 05.03.2023 10:11"), QDate(2023, 3, 5));
  EXPECT_EQ(CTOD(DTOC(QDate(1999, 12, 31))), QDate(1999, 12, 31));
  for (const char* bad : {"", "  .  .    ", "31.02.2023", "00.01.2023", "1.13.2023", "abc",
                          "05.03.", "05.03.202", "05.03.20234", "05-03", "5", "2023-03-05"})
    EXPECT_TRUE(CTOD(bad).isNull()) << bad;
}

TEST(ExchangeDates, DtocmysAndMystod) {
  EXPECT_EQ(DTOCMYS(QDate(2023, 3, 5)), "2023-03-05");
  EXPECT_EQ(DTOCMYS(QDate(812, 1, 9)), "0812-01-09");
  EXPECT_EQ(DTOCMYS(QDate()), "0000-00-00");
  EXPECT_EQ(MYSTOD("2023-03-05T08:00:00"), QDate(2023, 3, 5));
  EXPECT_EQ(MYSTOD("2022-12-14"), QDate(2022, 12, 14));
  for (const char* bad : {"", "0000-00-00", "2023-02-30", "2023-3-5", "2023/03/05", "20230305xx",
                          "2023-03-0"})
    EXPECT_TRUE(MYSTOD(bad).isNull()) << bad;
  EXPECT_EQ(STOD("20240229"), QDate(2024, 2, 29));
  EXPECT_TRUE(STOD("20230229").isNull());
  EXPECT_TRUE(STOD("2023031").isNull());
}

TEST_F(FixedToday, MonthAndYearBounds) {
  EXPECT_EQ(BOM(QDate(2024, 2, 17)), QDate(2024, 2, 1));
  EXPECT_EQ(EOM(QDate(2024, 2, 17)), QDate(2024, 2, 29));
  EXPECT_EQ(EOM(QDate(2023, 2, 1)), QDate(2023, 2, 28));
  EXPECT_EQ(EOM(QDate(2100, 2, 1)), QDate(2100, 2, 28));  // not a leap year
  EXPECT_EQ(EOM(QDate(2023, 12, 5)), QDate(2023, 12, 31));
  EXPECT_TRUE(EOM(QDate()).isNull());
  EXPECT_EQ(BOY(), QDate(2022, 1, 1));
  EXPECT_EQ(EOY(), QDate(2022, 12, 31));
  EXPECT_EQ(BOY(QDate(2019, 7, 7)), QDate(2019, 1, 1));
  EXPECT_EQ(DFDOY(QString("2021")), QDate(2021, 1, 1));
  EXPECT_EQ(DLDOY(QString("2021")), QDate(2021, 12, 31));
  EXPECT_EQ(DLDOY(QDate(2020, 3, 3)), QDate(2020, 12, 31));
  EXPECT_TRUE(DFDOY(QString("x")).isNull());
}

}  // namespace
