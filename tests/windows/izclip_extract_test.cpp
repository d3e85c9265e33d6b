// The clipboard window's extraction engine: numbers, position texts, the
// header walk and the item lines over one small invoice text.
#include <gtest/gtest.h>

#include <QHash>
#include <QTextDocument>

#include "izclip_text.h"
#include "windows/izclip_extract.h"

using namespace korvan;
using namespace korvan::izclip;
using namespace korvan::test;

namespace {

TEST(IzclipNumber, BothDecimalMarks) {
  struct Case {
    const char* text;
    double value;
  };
  const QList<Case> cases = {
      {"1,234.56", 1234.56},  // last point after first comma: commas group
      {"1.234,56", 1234.56},  // comma after the last point: points group
      {"12 kom", 12},         // the leading number
      {"1.234.567", 1.234},   // points only: the first is the decimal mark
      {"1,234,567", 1.234},   // commas only: likewise
      {"-3,5", -3.5},
      {"", 0},
      {"0,00", 0},
      {"  2,000 ", 2},
      {"kom 12", 0},
      {"+7.5", 7.5},
      {"1.234.567,89", 1234567.89},
      {"\t12,5", 12.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(VISE_INTELI_VAL(QString::fromUtf8(c.text)), c.value);
  }
}

TEST(IzclipPositions, ParsedOrLeftOut) {
  struct Case {
    const char* text;
    std::optional<std::array<int, 4>> cells;
  };
  const QList<Case> cases = {
      {"R:1,K:2-R:3,K:4", std::array{1, 2, 3, 4}},
      {"R:12,K:200-R:12,K:250", std::array{12, 200, 12, 250}},
      {"X:1,Y:2-Z:3,W:4", std::array{1, 2, 3, 4}},  // the letters are not read
      {"R: 5,K:7x-R:5,K:9", std::array{5, 7, 5, 9}},  // leading numbers
      {"R:1,K:2", std::nullopt},                       // one part
      {"R:1,K:2-R:3,K:4-R:5,K:6", std::nullopt},       // three parts
      {"R:1,K:2,K:3-R:3,K:4", std::nullopt},           // three pieces: numbers 0
      {"R:0,K:0-R:0,K:0", std::nullopt},               // F2 before any selection
      {"R:1,K:0-R:1,K:4", std::nullopt},
      {"R:1,K:-3-R:1,K:4", std::nullopt},              // a minus makes three parts
      {"R:-1,K:3-R:1,K:4", std::nullopt},
      {"R:1,K:2.5-R:1,K:4", std::nullopt},             // not whole
      {"R:1,K:2-R:1,K:99999999999", std::nullopt},     // beyond any text
      {"R:a,K:2-R:1,K:4", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<Range> r = parsePosition(QString::fromUtf8(c.text), "BRDOK");
    ASSERT_EQ(r.has_value(), c.cells.has_value());
    if (!r) continue;
    const auto& n = *c.cells;
    EXPECT_EQ(*r, (Range{.startRow = n[0], .startColumn = n[1], .endRow = n[2], .endColumn = n[3], .key = "BRDOK"}));
  }
  EXPECT_EQ(positionText(3, 14, 3, 20), "R:3,K:14-R:3,K:20");
  EXPECT_EQ(parsePosition(positionText(3, 14, 3, 20), "X")->endColumn, 20);
}

TEST(IzclipPositions, SortedByStartKeepingFieldOrder) {
  const QList<Range> r = rangesOf({{"A", "R:2,K:5-R:2,K:9"},
                                   {"B", "R:1,K:7-R:1,K:8"},
                                   {"C", ""},
                                   {"D", "R:2,K:5-R:2,K:6"},
                                   {"E", "R:1,K:3-R:4,K:1"},
                                   {"F", "R:0,K:1-R:1,K:1"},
                                   {"G", "R:2,K:5-R:2,K:5"},
                                   {"H", "R:10,K:1-R:10,K:2"}});
  QStringList keys;
  for (const Range& x : r) keys << x.key;
  EXPECT_EQ(keys, (QStringList{"E", "B", "A", "D", "G", "H"}));
}

TEST(IzclipLines, FeedsCarriageReturnsAndTrailingBlanks) {
  EXPECT_EQ(linesOf(""), QStringList{});
  EXPECT_EQ(linesOf("\n\n  \n"), QStringList{});
  EXPECT_EQ(linesOf("a\r\nb\r\n\r\nc\r\n"), (QStringList{"a", "b", "", "c"}));
  EXPECT_EQ(linesOf("a\nb  \n  \n"), (QStringList{"a", "b  "}));
  EXPECT_EQ(linesOf("a\tb"), QStringList{"a\tb"});
}

TEST(IzclipCut, ColumnsAreCharacters) {
  const QString line = QString::fromUtf8("Đoković\t€𝄞x");
  EXPECT_EQ(cut(line, 1, 3), QString::fromUtf8("Đok"));
  EXPECT_EQ(cut(line, 7, 8), QString::fromUtf8("ć\t"));
  EXPECT_EQ(cut(line, 10, 11), QString::fromUtf8("𝄞x")) << "a letter outside the BMP is one column";
  EXPECT_EQ(cut(line, 10, 400), QString::fromUtf8("𝄞x"));
  EXPECT_EQ(cut(line, 12, 14), "");
  EXPECT_EQ(cut(line, 5, 4), "");
  EXPECT_EQ(cut(line, 0, 4), "");
  EXPECT_EQ(cut("", 1, 1), "");
}

TEST(IzclipExtract, HeaderValuesOfTheInvoice) {
  const QList<QPair<QString, QString>> got = extractValues(invoiceLines(), rangesOf(invoicePositions()));
  QHash<QString, QString> value;
  QStringList order;
  for (const auto& [k, v] : got) {
    EXPECT_FALSE(value.contains(k)) << k.toStdString() << " written twice";
    value.insert(k, v);
    order << k;
  }
  const QHash<QString, QString> expected = {
      {"OPERATER", QString::fromUtf8("Račun")},
      {"BRDOK", "15/2022"},
      {"DATDOK", "10.12.2022"},
      {"KOMIT_NAZIV", QString::fromUtf8("Đorđević & <Sin>")},
      {"KOMIT_ADRESA", ""},
      {"KOMIT_PIB", "101112131"},
      {"ART_SIFRA", "A-1"},
      {"ART_NAZIV", "Olovka      "},
      {"KOLICINA", "2,000 "},
      {"CENB", "1.234,50"},
      {"VALUTA", "KRAJ"},
  };
  for (auto it = expected.begin(); it != expected.end(); ++it) {
    SCOPED_TRACE(it.key().toStdString());
    EXPECT_EQ(value.value(it.key(), "<none>"), it.value());
  }
  EXPECT_EQ(value.size(), expected.size()) << order.join(',').toStdString();
  EXPECT_EQ(order.first(), "OPERATER") << "values come in the order the walk closes them";
}

TEST(IzclipExtract, CarriageReturnsChangeNothing) {
  const QString lf = invoiceLines().join('\n') + "\n";
  QString crlf = lf;
  crlf.replace("\n", "\r\n");
  const QList<Range> r = rangesOf(invoicePositions());
  EXPECT_EQ(extractValues(linesOf(crlf), r), extractValues(linesOf(lf), r));
  // A field that runs to the line's end never takes the carriage return.
  const auto tail = extractValues(linesOf("ab\r\ncd\r\n"), rangesOf({{"BRDOK", "R:1,K:2-R:1,K:9"}}));
  EXPECT_EQ(tail, (QList<QPair<QString, QString>>{{"BRDOK", "b"}}));
}

TEST(IzclipExtract, NothingFromNothing) {
  const QList<Range> r = rangesOf(invoicePositions());
  EXPECT_TRUE(extractValues({}, r).isEmpty());
  EXPECT_TRUE(extractValues(invoiceLines(), {}).isEmpty());
  EXPECT_TRUE(itemRows({}, r, {"KOLICINA"}).isEmpty());
  EXPECT_EQ(markedView({}, r), "<pre></pre>");
}

TEST(IzclipItems, LinesThatPassTheNumericTest) {
  const QList<Range> r = rangesOf(invoicePositions());
  using Rows = QList<QHash<QString, QString>>;
  const QHash<QString, QString> olovka = {
      {"ART_SIFRA", "A-1"}, {"ART_NAZIV", "Olovka      "}, {"KOLICINA", "2,000 "}, {"CENB", "1.234,50"}};
  const QHash<QString, QString> gumica = {
      {"ART_SIFRA", "B-2"}, {"ART_NAZIV", "Gumica      "}, {"KOLICINA", "0,00  "}, {"CENB", "12,00"}};
  const QHash<QString, QString> papir = {
      {"ART_SIFRA", "C-3"}, {"ART_NAZIV", "Papir A4    "}, {"KOLICINA", "3     "}, {"CENB", "1,234.56"}};
  struct Case {
    const char* name;
    QStringList validation;
    Rows rows;
  };
  const QList<Case> cases = {
      // Rows 1 and 2 lie above the start row; row 4 reads 0,00.
      {"quantity", {"KOLICINA"}, {olovka, papir}},
      {"a validation field without a range rejects nothing", {"RABATP", "KOLICINA"}, {olovka, papir}},
      {"no validation field has a range: every line", {"RABATP"}, {}},
      {"empty list: no item line", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Rows got = itemRows(invoiceLines(), r, c.validation);
    if (c.validation == QStringList{"RABATP"}) {
      ASSERT_EQ(got.size(), 5);
      EXPECT_EQ(got[0].value("ART_NAZIV"), QString::fromUtf8("br. 15/2022 "));
      EXPECT_EQ(got[1].value("CENB"), QString::fromUtf8("Sin>\tPIB"));
      EXPECT_EQ(got[2], olovka);
      EXPECT_EQ(got[3], gumica);
      EXPECT_EQ(got[4], papir);
    } else {
      EXPECT_EQ(got, c.rows);
    }
  }
  // A validation column of blanks reads 0.
  EXPECT_TRUE(itemRows({"A-1        "}, rangesOf({{"ART_SIFRA", "R:1,K:1-R:1,K:3"}, {"KOLICINA", "R:1,K:5-R:1,K:9"}}),
                       {"KOLICINA"})
                  .isEmpty());
  // Validation passes but no item field has a range: no row.
  EXPECT_TRUE(itemRows({"12"}, rangesOf({{"BRDOK", "R:1,K:1-R:1,K:2"}}), {"KOLICINA"}).isEmpty());
}

TEST(IzclipView, MarksEscapesAndKeepsTheText) {
  const QStringList lines = invoiceLines();
  const QString html = markedView(lines, rangesOf(invoicePositions()));
  EXPECT_TRUE(html.startsWith(QString::fromUtf8("<pre><u><b>Račun</b></u> br. <u><b>15/2022</b></u>")))
      << html.left(80).toStdString();
  EXPECT_TRUE(html.contains(QString::fromUtf8("<u><b>Đorđević &amp; &lt;Sin&gt;</b></u>\tPIB: <u><b>101112131</b></u><br>")));
  EXPECT_TRUE(html.contains("<u><b>KRAJ</b></u>"));
  EXPECT_TRUE(html.endsWith("<br></pre>"));
  EXPECT_EQ(html.count("<u><b>"), html.count("</b></u>"));
  QTextDocument d;
  d.setHtml(html);
  QString shown = d.toPlainText();
  shown.replace(QChar::LineSeparator, '\n');
  EXPECT_EQ(shown, lines.join('\n') + "\n");
}

}  // namespace
