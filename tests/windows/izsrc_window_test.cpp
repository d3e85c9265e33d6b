// The spreadsheet import window as it is built: buttons, grid, settings read
// and remembered, shown and hidden, and the shell's menu entries.
#include <QAbstractItemView>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>

#include "common/shellhooks.h"
#include "izsrc_fixture.h"

namespace korvan {
void plug_windows();
}

using namespace korvan;
using namespace korvan::test;

namespace {

const QStringList kAddressKeys = {"CEL_BRDOK",       "CEL_DATDOK",       "CEL_DATPROM",     "CEL_VALUTA",
                                  "CEL_OPERATER",    "CEL_NARUDZBENICA", "CEL_OTPREMNICA",  "CEL_UGOVOR",
                                  "CEL_KOMIT_NAZIV", "CEL_KOMIT_MESTO",  "CEL_KOMIT_POST_BROJ",
                                  "CEL_KOMIT_ADRESA", "CEL_KOMIT_PIB",   "CEL_KOMIT_MATBROJ", "CEL_KOMIT_JBKJS",
                                  "CEL_KOMIT_EMAIL"};
const QStringList kRangeAndColumns = {"POC_RED", "KRAJ_RED", "ART_SIFRA", "ART_NAZIV", "ART_BARKOD", "ART_JMERE",
                                      "KOLICINA", "CENB", "VREDB", "RABATP", "STOPA", "OSN", "VREDP"};

QStringList buttonRow(MyIZSRC* w) {
  QStringList texts;
  for (int i = 0; i < w->layTASTERI->count(); ++i)
    if (auto* b = qobject_cast<QPushButton*>(w->layTASTERI->itemAt(i)->widget())) texts << b->text();
  return texts;
}

// What the grid holds at a position: a label's text or the widget's name.
QString at(MyIZSRC* w, int row, int column) {
  QLayoutItem* item = w->layG2->itemAtPosition(row, column);
  if (!item || !item->widget()) return {};
  if (auto* l = qobject_cast<QLabel*>(item->widget())) return l->text();
  return item->widget()->objectName();
}

TEST_F(IzsrcTest, BuildsBothKinds) {
  for (bool ods : {false, true}) {
    SCOPED_TRACE(ods ? "ODS" : "XLS");
    MyIZSRC* w = open(ods);
    EXPECT_EQ(w->cSEKCIJA, ods ? "IZODS" : "IZXLS");
    EXPECT_EQ(buttonRow(w),
              (QStringList{ods ? "Izaberi ODS fajl" : "Izaberi XLS fajl", "Izaberi PDF fajl",
                           QString::fromUtf8("Ponovo učitaj fajl"), QString::fromUtf8("Sakrij podešavanja"),
                           QString::fromUtf8("Zapamti podešavanja"), "Prilozi", "Napravi XML fajl",
                           QString::fromUtf8("Napravi i pošalji XML fajl"), "Izlaz (Esc)"}));
    EXPECT_EQ(at(w, 0, 0), ods ? "ODS fajl" : "XLS fajl");
    EXPECT_FALSE(w->oleFAJL_SRC->isEnabled());
    EXPECT_EQ(iniValue("Config", "POSLEDNJI_KOJI"), ods ? "ODS" : "XLS");
    EXPECT_EQ(w->oWND->windowTitle(), ods ? "Import iz ODS" : "Import iz XLS");
    EXPECT_TRUE(w->oTABELA->verticalHeader()->isHidden());
    EXPECT_EQ(w->oTABELA->columnCount(), 11);
  }
}

TEST_F(IzsrcTest, GridPositions) {
  MyIZSRC* w = open(false);
  int r = 0, c = 0, rs = 0, cs = 0;
  w->layG2->getItemPosition(w->layG2->indexOf(w->oleFAJL_SRC), &r, &c, &rs, &cs);
  EXPECT_EQ(QList<int>({r, c, rs, cs}), QList<int>({0, 1, 1, 5}));
  w->layG2->getItemPosition(w->layG2->indexOf(w->oleKOMIT_NAZIV), &r, &c, &rs, &cs);
  EXPECT_EQ(QList<int>({r, c, rs, cs}), QList<int>({10, 2, 1, 4}));
  const QList<std::tuple<int, int, QString>> expected = {
      {2, 1, QString::fromUtf8("Oznaka ćelije")}, {2, 5, "Vrednost"},
      {3, 0, "Broj dokumenta"},                  {3, 1, "oleCEL_BRDOK"},
      {3, 2, "oleBRDOK"},                        {3, 5, "odteDATDOK"},
      {4, 2, "odteDATPROM"},                     {4, 5, "odteVALUTA"},
      {6, 3, QString::fromUtf8("Narudžbenica")}, {8, 2, "oleOTPREMNICA"},
      {11, 5, "oleKOMIT_POST_BROJ"},             {14, 5, "oleKOMIT_MATBROJ"},
      {15, 2, "oleKOMIT_JBKJS"},                 {16, 2, "oleKOMIT_EMAIL"},
      {17, 0, "PDV kategorija"},                 {17, 2, "ocmboTAX_CAT"},
      {17, 5, "obTAX_eXEM"},                     {18, 1, "olePOC_RED"},
      {18, 4, "oleKRAJ_RED"},                    {22, 1, "oleART_BARKOD"},
      {22, 4, "oleART_JMERE"},                   {26, 4, "oleRABATP"},
      {30, 0, "Kolona za vrednost sa PDV-om"},   {30, 1, "oleVREDP"}};
  for (const auto& [row, column, what] : expected) EXPECT_EQ(at(w, row, column), what) << row << "," << column;
  EXPECT_EQ(w->oleCEL_KOMIT_EMAIL->maximumWidth(), int(6 * NPOINTSIZE(mw)));
  EXPECT_EQ(w->oleART_SIFRA->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
  EXPECT_EQ(w->odteVALUTA->displayFormat(), "dd.MM.yyyy");
  EXPECT_TRUE(w->odteVALUTA->calendarPopup());
  EXPECT_EQ(w->odteVALUTA->date(), QDate(2022, 12, 14)) << "today until a read";
  for (int empty : {5, 7, 9, 13, 19, 21, 23, 25, 27, 29})
    for (int col = 0; col < 6; ++col) EXPECT_EQ(at(w, empty, col), QString()) << empty;
}

// No field makes the window wider than its button row on one line (the row
// wraps on a narrower screen), and the category list still shows every name whole.
TEST_F(IzsrcTest, FieldsAreNoWiderThanTheButtonRow) {
  MyIZSRC* w = open(false);
  EXPECT_LE(w->layG2->minimumSize().width(), w->layTASTERI->sizeHint().width());
  int longest = 0;
  for (int i = 0; i < w->ocmboTAX_CAT->count(); ++i)
    longest = std::max(longest, w->ocmboTAX_CAT->fontMetrics().horizontalAdvance(w->ocmboTAX_CAT->itemText(i)));
  w->ocmboTAX_CAT->showPopup();
  QCoreApplication::processEvents();
  EXPECT_GE(w->ocmboTAX_CAT->view()->window()->width(), longest);
  w->ocmboTAX_CAT->hidePopup();
}

// At 1366 x 768 (a common laptop) the window keeps to the screen: every
// button lies inside it, every field can be scrolled to, and the line table
// shows rows, with the settings shown and hidden.
TEST_F(IzsrcTest, TheWindowFitsASmallScreenWithSettingsShownAndHidden) {
  const QSize screen(1366, 768);
  mw->resize(screen);
  MyIZSRC* w = open(false);
  ASSERT_TRUE(w->oscrPOLJA);
  for (bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "settings shown" : "settings hidden");
    if (w->lPRIKAZANO != shown) w->obPRIK_SAKRIJ->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(mw->size(), screen) << mw->minimumSizeHint().width() << "x" << mw->minimumSizeHint().height();
    for (QPushButton* b : w->oDA->findChildren<QPushButton*>()) {
      if (!b->isVisibleTo(w->oDA) || b->parentWidget() != w->oDA) continue;
      const QRect r(b->mapTo(mw, QPoint(0, 0)), b->size());
      EXPECT_TRUE(mw->rect().contains(r)) << b->text().toStdString();
    }
    for (QWidget* f : w->oscrPOLJA->widget()->findChildren<QWidget*>()) {
      if (!f->isVisibleTo(w->oscrPOLJA) || !(qobject_cast<QLineEdit*>(f) || qobject_cast<QComboBox*>(f))) continue;
      if (f->parentWidget() != w->oscrPOLJA->widget()) continue;  // the parts of a date editor
      w->oscrPOLJA->ensureWidgetVisible(f);
      QCoreApplication::processEvents();
      const QRect r(f->mapTo(w->oscrPOLJA->viewport(), QPoint(0, 0)), f->size());
      EXPECT_TRUE(w->oscrPOLJA->viewport()->rect().contains(r))
          << f->objectName().toStdString() << " at " << r.y() << "+" << r.height() << " in " << w->oscrPOLJA->viewport()->height() << " max " << w->oscrPOLJA->verticalScrollBar()->maximum();
    }
    EXPECT_GE(w->oTABELA->viewport()->height(), 5 * w->oTABELA->verticalHeader()->defaultSectionSize());
  }
}

// The window holds the workbook engine while it is open (a second read finds
// the office running) and lets it go when it closes; opening starts nothing.
TEST_F(IzsrcTest, TheWindowHoldsTheWorkbookEngineWhileOpen) {
  QPointer<MyIZSRC> w = open(false);
  EXPECT_EQ(books.holds, 1);
  EXPECT_TRUE(books.opened.isEmpty());
  w->oWND->close();
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  EXPECT_TRUE(w.isNull()) << "the window is still there";
  EXPECT_EQ(books.holds, 0);
}

TEST_F(IzsrcTest, VatRowFollowsTheSeller) {
  MyIZSRC* registered = open(false);
  EXPECT_EQ(registered->ocmboTAX_CAT->currentData().toString(), "S");
  EXPECT_EQ(registered->obTAX_eXEM->text(), "");
  writeFile(ini, sellerIni("F"));
  MyIZSRC* other = open(true);
  EXPECT_FALSE(other->lFIRMA_OBVPDV);
  EXPECT_EQ(other->ocmboTAX_CAT->currentData().toString(), "SS");
  EXPECT_EQ(other->obTAX_eXEM->text(), "PDV-RS-33");
}

// The 29 keys are written exactly as typed into the kind's own section, and a
// window opened later reads them back.
TEST_F(IzsrcTest, RemembersEverySettingInItsKindsSection) {
  for (bool ods : {false, true}) {
    SCOPED_TRACE(ods ? "ODS" : "XLS");
    const QString section = ods ? "IZODS" : "IZXLS";
    DELINISECTION(section, ini);
    MyIZSRC* w = open(ods);
    QList<std::pair<QString, QString>> typed;
    QStringList keys = kAddressKeys + kRangeAndColumns;
    for (int i = 0; i < keys.size(); ++i) {
      const QString key = keys[i];
      const QString value = i == 0 ? " b1 " : QString("%1%2").arg(QChar('A' + i % 26)).arg(i + 1);
      typed.append({key.startsWith("CEL_") ? key.mid(4) : key, value});
    }
    settings(w, typed);
    w->obZAPAMTI->click();
    for (int i = 0; i < keys.size(); ++i)
      EXPECT_EQ(iniValue(section, keys[i]), i == 0 ? "b1" : typed[i].second) << keys[i].toStdString();
    // Exactly as typed in the file (the reader trims; the file does not).
    EXPECT_TRUE(QString::fromUtf8(readFile(ini)).contains("CEL_BRDOK= b1 \r\n"));
    if (!ods) {
      EXPECT_EQ(iniValue("IZODS", "CEL_BRDOK"), "<absent>") << "the other kind's section is untouched";
    }

    MyIZSRC* again = open(ods);
    EXPECT_EQ(again->oleCEL_KOMIT_EMAIL->text(), typed[15].second);
    EXPECT_EQ(again->oleVREDP->text(), typed[28].second);
    EXPECT_EQ(again->oleCEL_BRDOK->text(), "b1") << "values are read trimmed";
  }
  EXPECT_EQ(boxes.shown.size(), 0);
}

TEST_F(IzsrcTest, HidingTheSettingsIsRememberedForTheNextWindow) {
  MyIZSRC* w = open(false);
  ASSERT_TRUE(w->lPRIKAZANO);
  EXPECT_FALSE(w->oleCEL_BRDOK->isHidden());
  w->obPRIK_SAKRIJ->click();
  EXPECT_EQ(iniValue("Config", "PRIKAZ"), "F");
  EXPECT_EQ(w->obPRIK_SAKRIJ->text(), QString::fromUtf8("Prikaži podešavanja"));
  for (QWidget* hidden : std::initializer_list<QWidget*>{w->oleCEL_BRDOK, w->oleCEL_KOMIT_EMAIL, w->olblCEL,
                                                         w->olblVAL2, w->olePOC_RED, w->olblKRAJ_RED,
                                                         w->oleVREDP, w->olblART_SIFRA})
    EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
  for (QWidget* shown : std::initializer_list<QWidget*>{w->olblBRDOK, w->oleBRDOK, w->odteDATDOK,
                                                        w->ocmboTAX_CAT, w->oleFAJL_SRC, w->oTABELA})
    EXPECT_FALSE(shown->isHidden()) << shown->objectName().toStdString();

  MyIZSRC* next = open(true);
  EXPECT_FALSE(next->lPRIKAZANO);
  EXPECT_TRUE(next->oleCEL_BRDOK->isHidden());
  next->obPRIK_SAKRIJ->click();
  EXPECT_EQ(iniValue("Config", "PRIKAZ"), "T");
  EXPECT_FALSE(next->oleCEL_BRDOK->isHidden());
  EXPECT_EQ(next->obPRIK_SAKRIJ->text(), QString::fromUtf8("Sakrij podešavanja"));
}

TEST_F(IzsrcTest, MenuEntriesOpenBothKinds) {
  clearShellPlugs();
  plug_windows();
  for (const char* id : {"XLS", "ODS"}) {
    SCOPED_TRACE(id);
    const MenuOpener opener = menuOpener(id);
    ASSERT_TRUE(opener);
    const bool ods = QString(id) == "ODS";
    QWidget* sub = opener(MenuContext{mw, area, QApplication::font(), QString("Import iz ") + id, {ods}});
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(area->activeSubWindow(), sub);
    EXPECT_EQ(sub->windowTitle(), QString("Import iz ") + id);
    EXPECT_EQ(iniValue("Config", "POSLEDNJI_KOJI"), id);
    auto* b = sub->findChild<QPushButton*>("obFAJL_SRC");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(), QString("Izaberi ") + id + " fajl");
  }
  clearShellPlugs();
}

}  // namespace
