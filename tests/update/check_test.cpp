// The rules of the self-update that hold no state: version, CRC-32, check
// file lines, file times.
#include "update/check.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {

TEST(UpdCheck, VersionRule) {
  const struct {
    const char* server;
    bool newer;
  } cases[] = {{"2022.12.15", true},  {"2023.01.01", true}, {"2022.12.14", false}, {"2022.12.14 i nesto", false},
               {"2022.11.30", false}, {" 2023.01.01", false}, {"2023", true},      {"2022", false},
               {"", false},           {"2022.12.15\r\n", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.server);
    EXPECT_EQ(JE_NOVIJA_VERZIJA(QString::fromUtf8(c.server), "2022.12.14"), c.newer);
  }
}

TEST(UpdCheck, Crc32IsUpperCaseHexOfEightDigits) {
  EXPECT_EQ(CRC32_HEX("123456789"), "CBF43926");
  EXPECT_EQ(CRC32_HEX(""), "00000000");
  EXPECT_EQ(CRC32_HEX("ae"), "00E7DDCE");
  EXPECT_FALSE(CRC32_FAJLA("/nonexistent/korvan").has_value());
}

TEST(UpdCheck, CheckFileLineForOneName) {
  const struct {
    const char* name;
    QByteArray sfv;
    std::optional<QString> crc;
  } cases[] = {
      {"exact name", "; made by hand\r\nkorvan CBF43926\r\n", "CBF43926"},
      {"a longer name first is not it", "korvan.bak 11111111\r\nkorvan CBF43926\r\n", "CBF43926"},
      {"lower-case hex stays as written", "korvan cbf43926\r\n", "cbf43926"},
      {"two blanks keep the second", "korvan  CBF43926\r\n", " CBF43926"},
      {"LF only is one line", "korvan CBF43926\nupdate 00000000\n", "CBF43926\nupdate 00000000\n"},
      {"other names only", "update CBF43926\r\nKORVAN CBF43926\r\n", std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SFV_CRC(c.sfv, "korvan"), c.crc);
  }
}

TEST(UpdCheck, FileTimeRules) {
  const struct {
    const char* a;
    const char* b;
    bool hour;
  } hours[] = {{"10:00:00", "11:00:00", true},  {"11:00:00", "10:00:00", true}, {"10:00:00", "11:00:01", false},
               {"23:30:00", "00:30:00", false}, {"00:00:00", "01:00:00", true}, {"10:00:00", "10:00:00", false}};
  for (const auto& c : hours) {
    SCOPED_TRACE(std::string(c.a) + " " + c.b);
    EXPECT_EQ(TACNO_SAT(c.a, c.b), c.hour);
  }
  const struct {
    const char* gmt;
    const char* cet;
  } zones[] = {{"23:15:07", "01:15:07"}, {"21:05:00", "23:05:00"}, {"22:00:00", "00:00:00"}, {"00:00:01", "02:00:01"}};
  for (const auto& c : zones) EXPECT_EQ(GMT2CET(c.gmt), c.cet) << c.gmt;

  const QDate d14(2022, 12, 14), d13(2022, 12, 13);
  EXPECT_FALSE(NOVIJI_FAJL(d14, "10:00:00", d14, "11:00:00")) << "exactly one hour: the same build";
  EXPECT_TRUE(NOVIJI_FAJL(d14, "10:00:00", d14, "11:00:01"));
  EXPECT_TRUE(NOVIJI_FAJL(d13, "23:59:59", d14, "00:00:01"));
  EXPECT_FALSE(NOVIJI_FAJL(d14, "10:00:00", d14, "10:00:00"));
  EXPECT_FALSE(NOVIJI_FAJL(d14, "10:00:00", d13, "12:00:00"));
  EXPECT_FALSE(NOVIJI_FAJL(d14, "10:00:01", d14, "10:00:00"));
}

}  // namespace
