// Reading receipt pages: buyer forms, dates, numbers, items and tax lines.
#include <gtest/gtest.h>

#include "receipts/qumpage.h"

namespace korvan {
namespace {

const QDate kToday(2024, 3, 5);
const QByteArray kStart(20, '=');
const QByteArray kEnd(20, '-');

ReceiptPage read(const QByteArray& page) { return readReceiptPage(page, kStart, kEnd, kToday); }

TEST(QumPageTest, BuyerForms) {
  struct Case { QByteArray line; const char* id; const char* jbkjs; };
  const QList<Case> cases = {
      {"ИД купца:            10:123456789", "123456789", ""},
      {"ИД купца:            11:123456789", "123456789", ""},
      {"ИД купца:      12:123456789:12345", "123456789", "12345"},
      {"ИД купца:            12:123456789", "123456789", ""},
      {"ИД купца:               123456789", "123456789", ""},
      {"ИД купца:           1234567890123", "1234567890123", ""},
      {"ИД купца:             20:AB123456", "", ""},
      {"ИД\xC2\xA0купца:          10:111222333", "111222333", ""},
      {"Касир:                10:123456789", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.toStdString());
    const ReceiptPage p = read("a\r\n" + c.line + "\r\nb\r\n");
    EXPECT_EQ(p.buyerId, QString::fromUtf8(c.id));
    EXPECT_EQ(p.buyerJbkjs, QString::fromUtf8(c.jbkjs));
  }
}

TEST(QumPageTest, Dates) {
  struct Case { QByteArray line; QDate expected; };
  const QList<Case> cases = {
      {"ПФР време:      15.12.2022. 10:11:12", QDate(2022, 12, 15)},
      {"ПФР време: 15.12.2022 10:11:12   ", QDate(2022, 12, 15)},
      {"ПФР време: 03-Jan-23 09:00:01", QDate(2023, 1, 3)},
      {"ПФР време: 03-Dec-2023 09:00:01", QDate(2023, 12, 3)},
      {"ПФР време: 31.02.2022. 10:00:00", QDate()},
      {"ПФР време: 03-Foo-23 09:00:01", kToday},
      {"ПФР време:15.12.2022", kToday},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.toStdString());
    EXPECT_EQ(read(c.line + "\r\n").date, c.expected);
  }
}

TEST(QumPageTest, Numbers) {
  const QList<QPair<QByteArray, QString>> cases = {
      {"ПФР број рачуна: AB12CD34-AB12CD34-1234", "1234"},
      {"ПФР број рачуна:    7788  ", "7788"},
      {"ПФР број рачуна", ""},
  };
  for (const auto& [line, expected] : cases) {
    SCOPED_TRACE(line.toStdString());
    EXPECT_EQ(read(line).number, expected);
  }
}

TEST(QumPageTest, Items) {
  struct Case { QByteArray name; QByteArray amounts; ReceiptItem item; };
  const QList<Case> cases = {
      {"Хлеб бели/КОМ (Ђ)", "         120,00          2        240,00", {"Хлеб бели", "КОМ", 20, 2, 120, 240}},
      {"Кафа (А)", "500,00 1 500,00", {"Кафа ", "", 0, 1, 500, 500}},
      {"Вода", "    50,00", {"Вода", "", 20, 0, 50, 50}},
      {"Со/кг (Г)", "1.234,56   1,500   1.851,84", {"Со", "кг", 0, 1.5, 1234.56, 1851.84}},
      {"Мед/тегла (Ж)", "10,00 0.250 2,50", {"Мед", "тегла", 20, 0.25, 10, 2.5}},
      {"a/b/Ime/kom (Е)", "1,00 1 1,00", {"a/b/Ime", "kom", 10, 1, 1, 1}},
      {"Bob &amp; Co/kom &#040;x(Ђ)", "1,00 1 1,00", {"Bob & Co", "kom (x", 20, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    QList<ReceiptItem> items;
    double total = 10;
    OBRADI_STAVKU(items, c.name, c.amounts, total);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].name, c.item.name);
    EXPECT_EQ(items[0].unit, c.item.unit);
    EXPECT_DOUBLE_EQ(items[0].rate, c.item.rate);
    EXPECT_DOUBLE_EQ(items[0].quantity, c.item.quantity);
    EXPECT_DOUBLE_EQ(items[0].price, c.item.price);
    EXPECT_DOUBLE_EQ(items[0].total, c.item.total);
    EXPECT_DOUBLE_EQ(total, 10 + c.item.total);
  }
}

TEST(QumPageTest, TaxSummaryStopsAtTheRuleAndSumsPerLabel) {
  const ReceiptPage p = read(
      "Ознака       Име      Стопа        Порез\r\n"
      "Ђ      О-ПДВ   20,00%        40,00\r\n"
      "Ђ      О-ПДВ   20,00%         2,00\r\n"
      "Е      П-ПДВ   10,00%     1.234,56\r\n"
      "Г    ПДВ-ПОЉ    0,00%         1,25\r\n"
      "А    Без ПДВ    0,00%         3,50\r\n"
      "Б    Друго      5,00%         9,00\r\n"
      "--------------------\r\n"
      "Ђ      О-ПДВ   20,00%        99,00\r\n");
  EXPECT_DOUBLE_EQ(p.taxDj, 42);
  EXPECT_DOUBLE_EQ(p.taxE, 1234.56);
  EXPECT_DOUBLE_EQ(p.taxG, 1.25);
  EXPECT_DOUBLE_EQ(p.taxA, 3.5);
}

TEST(QumPageTest, MarksBoundTheItemsOnceAndSumLinesAreSkipped) {
  const QByteArray page =
      "====================\n"
      "Назив   Цена   Кол.   Укупно\n"
      "Сок од\n"
      "јабуке 1Л/ком (Е)\n"
      "  110,00   1   110,00\n"
      "Укупно:       110,00\n"
      "--------------------\n"
      "Хлеб/ком (Ђ)\n"
      "  50,00   1   50,00\n"
      "====================\n"
      "Хлеб/ком (Ђ)\n"
      "  50,00   1   50,00\n";
  for (const QByteArray& p : {page, QByteArray(page).replace("\n", "\r\n")}) {
    const ReceiptPage r = read(p);
    ASSERT_EQ(r.items.size(), 1);
    EXPECT_EQ(r.items[0].name, QString::fromUtf8("Сок одјабуке 1Л"));
    EXPECT_EQ(r.items[0].unit, QStringLiteral("ком"));
    EXPECT_DOUBLE_EQ(r.items[0].rate, 10);
    EXPECT_DOUBLE_EQ(r.total, 110);
  }
  EXPECT_TRUE(readReceiptPage(page, "", kEnd, kToday).items.isEmpty());
}

}  // namespace
}  // namespace korvan
