// Column descriptors, the width rule and one value becoming one table cell.
#include <QApplication>
#include <QBrush>
#include <QDate>
#include <QPoint>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <memory>

#include "ui/kolona.h"
#include "ui/stdqtw.h"

namespace korvan {
namespace {

TEST(MyKolona, DefaultsAndFirstFiveArguments) {
  const MyKOLONA k(QStringLiteral("CENB"), QStringLiteral("Cena bez\nPDV-a"), QStringLiteral("N"), 12, 4);
  EXPECT_EQ(k.POLJE, QStringLiteral("CENB"));
  EXPECT_EQ(k.DEC, 4);
  EXPECT_TRUE(k.lVIDLJIVA);
  EXPECT_FALSE(k.lTOTAL);
  EXPECT_FALSE(k.lU_ISTOM_REDU);
  EXPECT_TRUE(k.cALIGN.isEmpty());
  EXPECT_FALSE(k.lENABLED.has_value());
  EXPECT_EQ(k.aTOTAL[0], 0);
  EXPECT_EQ(k.aTOTAL[1], 0);
  EXPECT_EQ(MyKOLONA::New(QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("C"), 3).DEC, 0);
}

TEST(MyKolona, CaptionWidthIsTheLongestLine) {
  struct Case { QString caption; int width; QString first; };
  const QList<Case> cases = {
      {QString::fromUtf8("Šifra\nartikla"), 7, QString::fromUtf8("Šifra")},
      {QStringLiteral("Odobreno?"), 9, QStringLiteral("Odobreno?")},
      {QString::fromUtf8("Količina"), 8, QString::fromUtf8("Količina")},  // letters, not bytes
      {QStringLiteral("a\nbcd\nef"), 3, QStringLiteral("a")},
      {QString(), 0, QString()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(STDQTW_SIRINA_NASLOVA(c.caption), c.width) << c.caption.toStdString();
    EXPECT_EQ(NASLOV_PRVI_RED(c.caption), c.first) << c.caption.toStdString();
  }
}

TEST(MyKolona, PointSizeIsTheMeanOfAverageAndMaximumWidth) {
  QTableWidget t;
  QFont f(QStringLiteral("DejaVu Sans"), 10);
  t.setFont(f);
  const QFontMetrics fm(f);
  EXPECT_DOUBLE_EQ(NPOINTSIZE(&t), (2.0 * fm.averageCharWidth() + fm.maxWidth()) / 3.0);
  f.setPointSize(20);
  t.setFont(f);
  const double big = NPOINTSIZE(&t);
  f.setPointSize(10);
  t.setFont(f);
  EXPECT_GT(big, NPOINTSIZE(&t));
  EXPECT_EQ(NPOINTSIZE(nullptr), 0);
}

TEST(MyKolona, WhatsThisNeedsACellAndACurrentRow) {
  QTableWidget t(2, 2);
  auto* cell = new QTableWidgetItem(QStringLiteral("x"));
  cell->setWhatsThis(QStringLiteral("17"));
  t.setItem(1, 1, cell);
  t.setCurrentCell(-1, -1);
  EXPECT_FALSE(IMA_WHATSTHIS(nullptr, &t));
  EXPECT_FALSE(IMA_WHATSTHIS(nullptr, &t, true));
  EXPECT_FALSE(IMA_WHATSTHIS(cell, &t));
  EXPECT_TRUE(IMA_WHATSTHIS(cell, &t, true));
  t.setCurrentCell(0, 0);
  EXPECT_TRUE(IMA_WHATSTHIS(cell, &t));
}

// A window object, never shown, fills a table of its own.
class Cells : public ::testing::Test {
 protected:
  void SetUp() override {
    w.New(nullptr, nullptr, nullptr, QApplication::font(), QStringLiteral("Proba"));
    kolone = {
        MyKOLONA(QStringLiteral("NAZIV"), QStringLiteral("Naziv"), QStringLiteral("C"), 30),
        MyKOLONA(QStringLiteral("DESNO"), QStringLiteral("Desno"), QStringLiteral("C"), 5),
        MyKOLONA(QStringLiteral("CENA"), QStringLiteral("Cena"), QStringLiteral("N"), 12, 2),
        MyKOLONA(QStringLiteral("KOL"), QStringLiteral("Kol"), QStringLiteral("N"), 5, 0),
        MyKOLONA(QStringLiteral("OK"), QStringLiteral("Ok"), QStringLiteral("L"), 1),
        MyKOLONA(QStringLiteral("DAT"), QStringLiteral("Datum"), QStringLiteral("D"), 10),
        MyKOLONA(QStringLiteral("OPIS"), QStringLiteral("Opis"), QStringLiteral("M"), 40),
        MyKOLONA(QStringLiteral("SRED"), QStringLiteral("Sred"), QStringLiteral("N"), 8, 3),
    };
    kolone[1].cALIGN = QStringLiteral("R");
    kolone[5].cALIGN = QStringLiteral("L");
    kolone[7].cALIGN = QStringLiteral("C");
    table.setColumnCount(int(kolone.size()));
    table.setRowCount(3);
  }
  MyQTW w;
  QList<MyKOLONA> kolone;
  QTableWidget table;
};

constexpr int R = int(Qt::AlignRight | Qt::AlignVCenter);
constexpr int L = int(Qt::AlignLeft | Qt::AlignVCenter);
constexpr int C = int(Qt::AlignHCenter | Qt::AlignVCenter);
constexpr int kUnset = 0;

TEST_F(Cells, ValuesBecomeCellTextAndAlignment) {
  struct Case {
    KolonaRef column;
    QVariant value;
    bool sepHilj, bezDecim;
    std::optional<int> align;
    QString text;
    int alignment;
    const char* what;
  };
  const QList<Case> cases = {
      {"NAZIV", QString::fromUtf8("Čaj"), false, false, {}, QString::fromUtf8("Čaj"), kUnset, "text"},
      {"NAZIV", QByteArray("Mleko"), false, false, {}, QStringLiteral("Mleko"), kUnset, "byte text"},
      {"DESNO", QStringLiteral("x"), false, false, {}, QStringLiteral("x"), R, "cALIGN R by name"},
      {2, QStringLiteral("x"), false, false, {}, QStringLiteral("x"), kUnset, "cALIGN ignored by number"},
      {"DESNO", QStringLiteral("x"), false, false, C, QStringLiteral("x"), C, "argument beats cALIGN"},
      {"OPIS", QStringLiteral("a\r\nb\rc"), false, false, {}, QStringLiteral("a\nbc"), kUnset, "memo drops CR"},
      {"NAZIV", QStringLiteral("a\r\nb"), false, false, {}, QStringLiteral("a\r\nb"), kUnset, "text keeps CR"},
      {"CENA", 0.0, false, false, {}, QString(), R, "zero is blank"},
      {"CENA", 1234.5, false, false, {}, QStringLiteral("1234,50"), R, "number"},
      {"CENA", 1234.5, true, false, {}, QStringLiteral("1.234,50"), R, "thousands"},
      {"CENA", -7.125, false, false, {}, QStringLiteral("-7,13"), R, "negative, rounded"},
      {"CENA", 12.5, false, true, {}, QStringLiteral("12,5"), R, "trailing zero blanked"},
      {"CENA", 12.0, false, true, {}, QStringLiteral("12"), R, "all decimals blanked"},
      {"KOL", 12.0, false, true, {}, QStringLiteral("12"), R, "no decimals: picture alone"},
      {"KOL", 7, false, false, {}, QStringLiteral("7"), R, "int"},
      {"KOL", qlonglong(123456), false, false, {}, QStringLiteral("*****"), R, "overflow"},
      {"SRED", 1.5, false, false, {}, QStringLiteral("1,500"), C, "number centred by cALIGN"},
      {4, 3.0, false, false, L, QStringLiteral("3"), L, "number by number with argument"},
      {"DAT", QDate(2023, 3, 5), false, false, {}, QStringLiteral("05.03.2023"), L, "date by cALIGN"},
      {6, QDate(2023, 3, 5), false, false, {}, QStringLiteral("05.03.2023"), C, "date centred"},
      {"NAZIV", QVariant(), false, false, {}, QString(), kUnset, "absent"},
      {"NAZIV", QPoint(1, 2), false, false, {}, QString(), kUnset, "other type"},
  };
  for (const Case& c : cases) {
    w.lSEP_HILJ = c.sepHilj;
    w.lBEZ_DECIM = c.bezDecim;
    QTableWidgetItem* item = w.POSTAVI_KOLONU(kolone, c.column, c.value, 1, {}, {}, {}, c.align,
                                              false, {}, &table);
    ASSERT_NE(item, nullptr) << c.what;
    const int col = c.column.byName ? KOLONA_PO_POLJU(kolone, c.column.field) : c.column.number - 1;
    EXPECT_EQ(table.item(1, col), item) << c.what;
    EXPECT_EQ(item->text(), c.text) << c.what;
    EXPECT_EQ(item->data(Qt::TextAlignmentRole).toInt(), c.alignment) << c.what;
    EXPECT_FALSE(item->flags() & Qt::ItemIsEditable) << c.what;
    EXPECT_TRUE(item->flags() & Qt::ItemIsEnabled) << c.what;
  }
}

TEST_F(Cells, LogicalIsACheckBoxDisabledUnlessEditable) {
  QTableWidgetItem* yes = w.POSTAVI_KOLONU(kolone, "OK", true, 0, {}, {}, {}, {}, false, {}, &table);
  QTableWidgetItem* no = w.POSTAVI_KOLONU(kolone, "OK", false, 1, {}, {}, {}, {}, false, {}, &table);
  QTableWidgetItem* ed = w.POSTAVI_KOLONU(kolone, "OK", true, 2, {}, {}, {}, {}, true, {}, &table);
  ASSERT_TRUE(yes && no && ed);
  EXPECT_EQ(yes->checkState(), Qt::Checked);
  EXPECT_EQ(no->checkState(), Qt::Unchecked);
  EXPECT_TRUE(yes->text().isEmpty());
  EXPECT_FALSE(yes->flags() & (Qt::ItemIsEditable | Qt::ItemIsEnabled));
  EXPECT_TRUE(ed->flags() & Qt::ItemIsEnabled);
  EXPECT_TRUE(ed->flags() & Qt::ItemIsUserCheckable);
}

TEST_F(Cells, EditableHiddenTextColoursAndFont) {
  QFont bold = QApplication::font();
  bold.setBold(true);
  QTableWidgetItem* item =
      w.POSTAVI_KOLONU(kolone, "NAZIV", QStringLiteral("a"), 0, QStringLiteral("42"),
                       QBrush(Qt::yellow), QBrush(Qt::blue), {}, true, bold, &table);
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->flags() & Qt::ItemIsEditable);
  EXPECT_EQ(item->whatsThis(), QStringLiteral("42"));
  EXPECT_EQ(item->background().color(), QColor(Qt::yellow));
  EXPECT_EQ(item->foreground().color(), QColor(Qt::blue));
  EXPECT_TRUE(item->font().bold());
  // Only a text is kept as the hidden record number.
  QTableWidgetItem* num = w.POSTAVI_KOLONU(kolone, "NAZIV", QStringLiteral("b"), 1, 42,
                                           {}, {}, {}, false, {}, &table);
  EXPECT_TRUE(num->whatsThis().isEmpty());
}

TEST_F(Cells, KeptAlignmentAndTagReadLikeRolesAndGiveWayToLaterOnes) {
  QTableWidgetItem* item =
      w.POSTAVI_KOLONU(kolone, "CENA", 5.0, 0, QStringLiteral("17"), {}, {}, {}, false, {}, &table);
  ASSERT_NE(item, nullptr);
  const QModelIndex at = table.model()->index(0, 2);
  // The view reads through the model.
  EXPECT_EQ(table.model()->data(at, Qt::TextAlignmentRole).toInt(), R);
  EXPECT_EQ(table.model()->data(at, Qt::WhatsThisRole).toString(), "17");
  std::unique_ptr<QTableWidgetItem> copy(item->clone());
  EXPECT_EQ(copy->textAlignment(), R);
  EXPECT_EQ(copy->whatsThis(), "17");
  int changes = 0;
  QObject::connect(table.model(), &QAbstractItemModel::dataChanged, [&changes] { ++changes; });
  item->setTextAlignment(Qt::AlignLeft);
  item->setWhatsThis(QStringLiteral("18"));
  EXPECT_EQ(changes, 2) << "the table hears of each later change";
  EXPECT_EQ(item->textAlignment(), int(Qt::AlignLeft));
  EXPECT_EQ(item->whatsThis(), "18");
  EXPECT_EQ(copy->whatsThis(), "17") << "a copy keeps its own";
}

TEST_F(Cells, MissingColumnOrRowMakesNoCell) {
  EXPECT_EQ(w.POSTAVI_KOLONU(kolone, "NEMA", 1.0, 0, {}, {}, {}, {}, false, {}, &table), nullptr);
  EXPECT_EQ(w.POSTAVI_KOLONU(kolone, 0, 1.0, 0, {}, {}, {}, {}, false, {}, &table), nullptr);
  EXPECT_EQ(w.POSTAVI_KOLONU(kolone, 9, 1.0, 0, {}, {}, {}, {}, false, {}, &table), nullptr);
  EXPECT_EQ(w.POSTAVI_KOLONU(kolone, "CENA", 1.0, 3, {}, {}, {}, {}, false, {}, &table), nullptr);
  EXPECT_EQ(w.POSTAVI_KOLONU(kolone, "CENA", 1.0, 0), nullptr);  // the window has no table
  for (int r = 0; r < table.rowCount(); ++r)
    for (int c = 0; c < table.columnCount(); ++c) EXPECT_EQ(table.item(r, c), nullptr);
}

TEST_F(Cells, FieldNamesCompareExactly) {
  EXPECT_EQ(KOLONA_PO_POLJU(kolone, QStringLiteral("CENA")), 2);
  EXPECT_EQ(KOLONA_PO_POLJU(kolone, QStringLiteral("cena")), -1);
}

}  // namespace
}  // namespace korvan
