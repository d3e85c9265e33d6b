#include "common/texthelp.h"

#include <QDate>
#include <QDateTime>
#include <QSize>
#include <gtest/gtest.h>

#include "common/numbers.h"

using namespace korvan;

namespace {

TEST(TextHelp, IzbaciSmetnje) {
  const struct { const char* in; const char* out; } cases[] = {
      {"A/B: C?*", "A-B C"}, {"", ""}, {"Račun \"12\"/2023", "Račun 12-2023"},
      {"a\\b", "a\\b"}, {"::??**\"\"", ""}, {"ok.pdf", "ok.pdf"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IZBACI_SMETNJE(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(TextHelp, Var2StrAndX2Str) {
  EXPECT_EQ(VAR2STR(QString("abc ")), "abc ");
  EXPECT_EQ(VAR2STR(QDate(2023, 3, 5)), "05.03.2023");
  EXPECT_EQ(VAR2STR(42), "        42");
  EXPECT_EQ(VAR2STR(12.5), "      12.5");
  EXPECT_EQ(VAR2STR(true), "");
  EXPECT_EQ(VAR2STR(QVariant()), "");

  EXPECT_EQ(X2STR(QVariant()), "<nil>");
  EXPECT_EQ(X2STR(QString("a")), "\"a\"");
  EXPECT_EQ(X2STR(QString("a"), true), "'a'");
  EXPECT_EQ(X2STR(QString()), "\"\"");
  EXPECT_EQ(X2STR(12.5), "12.5");
  EXPECT_EQ(X2STR(false), ".F.");
  EXPECT_EQ(X2STR(QDate(2023, 3, 5)), "05.03.2023");
  EXPECT_EQ(X2STR(QVariantList{1, 2}), "<niz>");
  EXPECT_EQ(X2STR(QVariant::fromValue(QSize(1, 1))), "<nepoznato>");
}

TEST(TextHelp, Incstr2GivesTheFirstKeyAfterAPrefix) {
  EXPECT_EQ(INCSTR2(QString("I")), "J");
  EXPECT_EQ(INCSTR2(QString("ABC")), "ABD");
  EXPECT_EQ(INCSTR2(QString()), "");
  EXPECT_EQ(INCSTR2(QByteArray("I")), QByteArray("J"));
  EXPECT_EQ(INCSTR2(QByteArray("A\xFF", 2)), QByteArray("B"));
  // Every key that begins with the prefix sorts before the result, byte by byte.
  const QString prefix = QString::fromUtf8("UŠ");
  const QByteArray next = INCSTR2(prefix).toUtf8();
  for (const char* k : {"UŠ", "UŠ999", "UŠ\xF4\x8F\xBF\xBF"}) {
    EXPECT_LT(QByteArray(k), next) << k;
  }
  EXPECT_EQ(QString::fromUtf8(next), QString::fromUtf8("Uš"));
  EXPECT_GT(QByteArray("UŽ"), next);
}

TEST(XlsVal, ConvertsCellValues) {
  EXPECT_EQ(XLS_VAL(0, "C"), QVariant(QString()));
  EXPECT_EQ(XLS_VAL(QVariant(), "N"), QVariant(0.0));
  EXPECT_EQ(XLS_VAL(QString("  "), "D"), QVariant(QDate()));
  EXPECT_EQ(XLS_VAL(false, "C"), QVariant(QString()));
  EXPECT_EQ(XLS_VAL(QString(" ab "), "C"), QVariant(QString("ab")));
  EXPECT_EQ(XLS_VAL(123, "C"), QVariant(QString("123.00")));
  EXPECT_EQ(XLS_VAL(1.005, "C"), QVariant(QString("1.01")));
  EXPECT_EQ(XLS_VAL(8600000000000.0, "C", true), QVariant(QString("8600000000000")));
  EXPECT_EQ(XLS_VAL(2.5, "C", true), QVariant(QString("3")));
  EXPECT_EQ(XLS_VAL(QDate(2023, 3, 5), "C"), QVariant(QString("05.03.2023")));
  EXPECT_EQ(XLS_VAL(QString("1.234,5"), "N"), QVariant(1234.5));
  EXPECT_EQ(XLS_VAL(7.25, "N"), QVariant(7.25));
  EXPECT_EQ(XLS_VAL(QDate(2023, 3, 5), "N"), QVariant(0.0));
  EXPECT_EQ(XLS_VAL(QString("05.03.2023"), "D"), QVariant(QDate(2023, 3, 5)));
  EXPECT_EQ(XLS_VAL(QString("5"), "D"), QVariant(QDate()));
  EXPECT_EQ(XLS_VAL(45000, "D"), QVariant(QDate()));
  EXPECT_EQ(XLS_VAL(QDateTime(QDate(2023, 3, 5), QTime(10, 0)), "D"), QVariant(QDate(2023, 3, 5)));
  EXPECT_FALSE(XLS_VAL(true, "C").isValid());
  EXPECT_FALSE(XLS_VAL(QString("x"), "L").isValid());
}

}  // namespace
