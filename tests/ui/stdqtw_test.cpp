// The work-window base in a real main window: layout, standard buttons,
// closing, hooks and the key table.
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "common/lookglobals.h"
#include "common/presenter.h"
#include "workwindow.h"

namespace korvan::test {
namespace {

// A double click as the mouse makes it: a click, then the second press.
void doubleClick(QTableWidget* t, int row, int col) {
  const QPoint pos = t->visualItemRect(t->item(row, col)).center();
  QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
  QTest::mouseDClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
}

// Every widget of a layout, depth first, in layout order.
void flatten(QLayout* lay, QList<QWidget*>& out) {
  for (int i = 0; i < lay->count(); ++i) {
    QLayoutItem* it = lay->itemAt(i);
    if (it->widget()) out << it->widget();
    else if (it->layout()) flatten(it->layout(), out);
  }
}

using Windows = WorkWindows;

TEST_F(Windows, LayoutReadsFromTopToBottom) {
  auto* desno = new QLabel(QStringLiteral("desno"));
  auto* ispod = new QLabel(QStringLiteral("ispod"));
  Proba* w = open(QStringLiteral("Sve"), [&](Proba& p) {
    p.lIMA_TRAZI = true;
    p.oTABELA_DESNO = desno;
    p.oTABELA_ISPOD = ispod;
  });
  QList<QWidget*> order;
  flatten(w->layV, order);
  const QList<QWidget*> expected = {w->lblGore, w->obPrvi, w->obRESIZE_TO_CONTENTS, w->obIZLAZ,
                                    w->lblT2, w->lblT3, w->lblG2, w->olblTRAZI, w->oleTRAZI,
                                    w->obTRAZI, w->obSLEDECI, w->oTABELA, desno, ispod};
  EXPECT_EQ(order, expected);
  EXPECT_EQ(w->obRESIZE_TO_CONTENTS->text(), QString::fromUtf8("Optimalna širina (Ctrl+O)"));
  EXPECT_EQ(w->obRESIZE_TO_CONTENTS->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  EXPECT_EQ(w->obIZLAZ->text(), QStringLiteral("Izlaz (Esc)"));
  EXPECT_EQ(w->obIZLAZ->shortcut(), QKeySequence(Qt::Key_Escape));
  EXPECT_EQ(w->olblTRAZI->text(), QString::fromUtf8("&Traži"));
  EXPECT_EQ(w->olblTRAZI->buddy(), w->oleTRAZI.data());
  EXPECT_EQ(w->obTRAZI->text(), QString::fromUtf8("Nađi (F7)"));
  EXPECT_EQ(w->obTRAZI->shortcut(), QKeySequence(Qt::Key_F7));
  EXPECT_EQ(w->obSLEDECI->text(), QString::fromUtf8("Sledeći (F3)"));
  EXPECT_EQ(w->obSLEDECI->shortcut(), QKeySequence(Qt::Key_F3));
  // The table and the widget beside it share one row.
  EXPECT_EQ(w->layTABELE->indexOf(w->oTABELA), 0);
  EXPECT_EQ(w->layTABELE->indexOf(desno), 1);
}

TEST_F(Windows, SubWindowIsMaximisedInTheAreaAndDeletedOnClose) {
  mw->setWindowIcon(QIcon(QPixmap(8, 8)));
  Proba* w = open(QStringLiteral("Prozor"), [](Proba& p) { p.lSAKRIJ_VERTIKALU = true; });
  ASSERT_TRUE(w->oWND);
  EXPECT_TRUE(area->subWindowList().contains(w->oWND.data()));
  EXPECT_EQ(area->activeSubWindow(), w->oWND.data());
  EXPECT_TRUE(w->oWND->isMaximized());
  EXPECT_EQ(w->oWND->windowTitle(), QStringLiteral("Prozor"));
  EXPECT_TRUE(w->oWND->testAttribute(Qt::WA_DeleteOnClose));
  EXPECT_EQ(w->oWND->widget(), w->oDA.data());
  EXPECT_EQ(w->oWND->windowIcon().cacheKey(), mw->windowIcon().cacheKey());
  QTableWidget* t = w->oTABELA;
  EXPECT_TRUE(t->showGrid());
  EXPECT_EQ(t->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(t->selectionBehavior(), QAbstractItemView::SelectItems);
  EXPECT_TRUE(t->horizontalHeader()->stretchLastSection());
  EXPECT_FALSE(t->alternatingRowColors());
  EXPECT_TRUE(t->verticalHeader()->isHidden());
  EXPECT_EQ(t->rowCount(), 0);
}

TEST_F(Windows, ColumnsTakeCaptionsAndWidthsInTableFontUnits) {
  for (const bool mali : {false, true}) {
    Proba* w = open(QStringLiteral("Kolone"), [&](Proba& p) {
      p.lSTRETCH_LAST = false;
      p.lFONTMALI_TABELA = mali;
      p.oFont.setPointSize(10);
      p.oFontMali.setPointSize(7);
    });
    QTableWidget* t = w->oTABELA;
    EXPECT_EQ(t->font().pointSize(), mali ? 7 : 10);
    const double unit = NPOINTSIZE(t) * 0.75;
    ASSERT_EQ(t->columnCount(), 4);
    EXPECT_EQ(t->horizontalHeaderItem(2)->text(), QString::fromUtf8("Šifra\nartikla"));
    const int widths[] = {20, 15, 10, 9};  // length, or the longest caption line
    for (int c = 0; c < 4; ++c)
      EXPECT_EQ(t->columnWidth(c), int(widths[c] * unit)) << "column " << c << (mali ? " small" : "");
    w->RADI_ESC();
    settle();
  }
}

TEST_F(Windows, SwitchesOffLeaveOutButtonsAndTable) {
  int ran = 0;
  Proba* w = open(QStringLiteral("Bez"), [&](Proba& p) {
    p.lIMA_TABELU = false;
    p.lIMA_RESIZE_TO_CONTENTS = false;
    p.lIMA_IZLAZ = false;
    p.bODMAH_IZVRSI = [&] { ++ran; };
  });
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(w->oTABELA);
  EXPECT_FALSE(w->obIZLAZ);
  EXPECT_FALSE(w->obRESIZE_TO_CONTENTS);
  EXPECT_FALSE(w->oleTRAZI);
  EXPECT_TRUE(w->oDA->findChildren<QTableWidget*>().isEmpty());
  QList<QWidget*> order;
  flatten(w->layTASTERI, order);
  EXPECT_EQ(order, QList<QWidget*>{w->obPrvi});
  w->ZAVRSI(false);
  settle();
}

TEST_F(Windows, HooksSeeTheWindowAtTheirMoment) {
  QStringList log;
  auto* w = new Proba;
  w->New(mw, area, nullptr, QApplication::font(), QStringLiteral("Kuke"));
  w->POSTAVI();
  w->bODMAH_IZVRSI = [&] {
    log << QStringLiteral("odmah table=%1 cols=%2 rows=%3 visible=%4")
               .arg(bool(w->oTABELA)).arg(w->oTABELA->columnCount()).arg(w->oTABELA->rowCount())
               .arg(w->oWND->isVisible());
    w->fill({{QStringLiteral("a"), QStringLiteral("b")}});
  };
  w->bIZVRSI_NA_KRAJU = [&] {
    log << QStringLiteral("kraj visible=%1 rows=%2").arg(w->oWND->isVisible()).arg(w->oTABELA->rowCount());
  };
  w->PREGLED(area->activeSubWindow());
  EXPECT_EQ(log, (QStringList{QStringLiteral("odmah table=1 cols=4 rows=0 visible=0"),
                              QStringLiteral("kraj visible=1 rows=1")}));
}

TEST_F(Windows, BoldFontIsQtBoldAndFontsFollowTheLookSizes) {
  const int big = G_NVEL_FONT(14), small = G_NVEL_FONTMALI(7);
  Proba* w = open(QStringLiteral("Fontovi"));
  G_NVEL_FONT(big);
  G_NVEL_FONTMALI(small);
  EXPECT_EQ(w->oFontBold.weight(), QFont::Bold);
  EXPECT_EQ(w->oFontBold.pointSize(), 14);
  EXPECT_EQ(w->oFontBold.family(), QApplication::font().family());
  EXPECT_EQ(w->oFontMali.pointSize(), 7);
  EXPECT_EQ(w->oFontMali.weight(), QApplication::font().weight());
  // A size changed later reaches only windows built afterwards.
  EXPECT_EQ(open(QStringLiteral("Posle"))->oFontMali.pointSize(), small);
  EXPECT_EQ(w->oFontMali.pointSize(), 7);
}

TEST_F(Windows, ResizeButtonFitsColumnsToContents) {
  Proba* w = open(QStringLiteral("Sirina"));
  w->fill({{QStringLiteral("vrlo vrlo vrlo vrlo vrlo vrlo dugačak tekst prve kolone")}});
  w->oTABELA->setColumnWidth(0, 10);
  QTest::mouseClick(w->obRESIZE_TO_CONTENTS, Qt::LeftButton);
  EXPECT_GT(w->oTABELA->columnWidth(0), 100);
  w->oTABELA->setColumnWidth(0, 10);
  focusIn(w);
  press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_GT(w->oTABELA->columnWidth(0), 100);
}

TEST_F(Windows, EscClosesOnlyTheFocusedWindowAndThePreviousBecomesActive) {
  int zavrsiA = 0, zavrsiB = 0;
  QPointer<Proba> a = open(QStringLiteral("A"), [&](Proba& p) { p.bZAVRSI = [&] { ++zavrsiA; }; });
  QPointer<Proba> b = open(QStringLiteral("B"), [&](Proba& p) { p.bZAVRSI = [&] { ++zavrsiB; }; });
  QPointer<QMdiSubWindow> aw = a->oWND, bw = b->oWND;
  EXPECT_EQ(b->oPREV_MDI.data(), aw.data());
  focusIn(b);
  press(Qt::Key_Escape);
  settle();
  EXPECT_FALSE(bw);
  EXPECT_FALSE(b);  // the window object went with its sub-window
  EXPECT_EQ(zavrsiB, 2);  // once by Esc, once when the sub-window was destroyed
  ASSERT_TRUE(a && aw);
  EXPECT_EQ(area->activeSubWindow(), aw.data());
  EXPECT_EQ(zavrsiA, 0);
  EXPECT_FALSE(a->lZATVOREN);
}

TEST_F(Windows, ZavrsiMarksTheWindowClosedBeforeItGoes) {
  QPointer<Proba> a = open(QStringLiteral("A"));
  a->RADI_ESC();
  ASSERT_TRUE(a);  // the sub-window goes with the event loop
  EXPECT_TRUE(a->lZATVOREN);
  EXPECT_FALSE(a->oWND->isVisible());
  settle();
  EXPECT_FALSE(a);
}

TEST_F(Windows, EscInAnInactiveWindowIsNotSeenByTheActiveOne) {
  QPointer<Proba> a = open(QStringLiteral("A"));
  QPointer<Proba> b = open(QStringLiteral("B"));
  QPointer<Proba> c = open(QStringLiteral("C"));
  focusIn(a);
  press(Qt::Key_Escape);
  settle();
  EXPECT_FALSE(a);
  ASSERT_TRUE(b && c);
  EXPECT_EQ(area->subWindowList().size(), 2);
}

TEST_F(Windows, ClosingThePreviousWindowThenEscDoesNotCrash) {
  int zavrsiA = 0;
  bool zatvorenInHook = true;
  QPointer<Proba> a = open(QStringLiteral("A"), [&](Proba& p) {
    p.bZAVRSI = [&] {
      ++zavrsiA;
      zatvorenInHook = p.lZATVOREN;
    };
  });
  QPointer<Proba> b = open(QStringLiteral("B"));
  a->oWND->close();  // the sub-window's own close button
  settle();
  EXPECT_FALSE(a);
  EXPECT_EQ(zavrsiA, 1);
  EXPECT_FALSE(zatvorenInHook);
  ASSERT_TRUE(b);
  EXPECT_FALSE(b->oPREV_MDI);
  focusIn(b);
  press(Qt::Key_Escape);
  settle();
  EXPECT_FALSE(b);
  EXPECT_TRUE(area->subWindowList().isEmpty());
}

TEST_F(Windows, PreEscCanKeepTheWindowOpen) {
  bool allow = false;
  int asked = 0;
  QPointer<Proba> a = open(QStringLiteral("A"));
  QPointer<Proba> b = open(QStringLiteral("B"), [&](Proba& p) {
    p.bPRE_ESC = [&] {
      ++asked;
      return allow;
    };
  });
  focusIn(b);
  press(Qt::Key_Escape);
  settle();
  EXPECT_EQ(asked, 1);
  ASSERT_TRUE(b);
  EXPECT_FALSE(b->lZATVOREN);
  EXPECT_TRUE(b->oWND->isVisible());
  allow = true;
  focusIn(b);
  press(Qt::Key_Escape);
  settle();
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(b);
  EXPECT_EQ(area->activeSubWindow(), a->oWND.data());
}

TEST_F(Windows, DeletingTheWindowObjectClosesItsSubWindow) {
  QPointer<Proba> a = open(QStringLiteral("A"));
  QPointer<QMdiSubWindow> aw = a->oWND;
  delete a.data();
  settle();
  EXPECT_FALSE(aw);
  EXPECT_TRUE(area->subWindowList().isEmpty());
  // A window object that was never shown leaves nothing behind either.
  QPointer<QWidget> da;
  {
    Proba never;
    never.New(mw, area, nullptr, QApplication::font(), QStringLiteral("N"));
    never.POSTAVI();
    da = never.oDA;
  }
  EXPECT_FALSE(da);
}

TEST_F(Windows, KeyTableFirstMatchModifiersIgnoredConsumedOnlyOnTrue) {
  int first = 0, second = 0;
  bool consumeDown = true;
  Proba* w = open(QStringLiteral("Tasteri"), [&](Proba& p) {
    p.aTABELA_KEY_FUNC = {{Qt::Key_Delete, [&] { ++first; return false; }},
                          {Qt::Key_Delete, [&] { ++second; return true; }},
                          {Qt::Key_Down, [&] { return consumeDown; }}};
  });
  w->fill({{QStringLiteral("a")}, {QStringLiteral("b")}, {QStringLiteral("c")}});
  focusIn(w);
  w->oTABELA->setCurrentCell(0, 0);
  struct Step { Qt::Key key; Qt::KeyboardModifiers mods; bool consume; int row; int first; };
  const QList<Step> steps = {
      {Qt::Key_Delete, Qt::NoModifier, true, 0, 1},
      {Qt::Key_Delete, Qt::ControlModifier, true, 0, 2},
      {Qt::Key_Delete, Qt::ShiftModifier, true, 0, 3},
      {Qt::Key_Down, Qt::NoModifier, true, 0, 3},        // consumed: the table does not move
      {Qt::Key_Down, Qt::ControlModifier, true, 0, 3},
      {Qt::Key_Down, Qt::NoModifier, false, 1, 3},       // answered false: the table moves
      {Qt::Key_Down, Qt::NoModifier, false, 2, 3},
      {Qt::Key_Up, Qt::NoModifier, true, 1, 3},          // not in the table at all
  };
  for (const Step& s : steps) {
    consumeDown = s.consume;
    QTest::keyClick(w->oTABELA, s.key, s.mods);
    EXPECT_EQ(w->oTABELA->currentRow(), s.row) << "key " << s.key << " mods " << int(s.mods);
    EXPECT_EQ(first, s.first) << "key " << s.key;
  }
  EXPECT_EQ(second, 0);
}

TEST_F(Windows, WindowKeyFilterSeesKeysThatReachTheSubWindow) {
  QList<int> seen;
  Proba* w = open(QStringLiteral("Prozor"), [&](Proba& p) {
    p.bWND_FUNC_KEY = [&](QKeyEvent* e) {
      seen << e->key();
      return e->key() == Qt::Key_F9;
    };
  });
  QKeyEvent f9(QEvent::KeyPress, Qt::Key_F9, Qt::NoModifier);
  QApplication::sendEvent(w->lblGore, &f9);  // a label passes keys on to its parents
  EXPECT_TRUE(f9.isAccepted());
  QKeyEvent f10(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier);
  QApplication::sendEvent(w->lblGore, &f10);
  EXPECT_EQ(seen, (QList<int>{Qt::Key_F9, Qt::Key_F10}));
}

TEST_F(Windows, DoubleClickHeaderClickAndCurrentCellHooks) {
  QList<int> heads;
  QList<QPair<QString, QString>> changes;
  auto text = [](QTableWidgetItem* i) { return i ? i->text() : QStringLiteral("-"); };
  Proba* w = open(QStringLiteral("Mis"), [&](Proba& p) {
    p.bHEAD_CLICKED = [&](int c) { heads << c; };
    p.bCURR_ITEM_CHANGED = [&](QTableWidgetItem* cur, QTableWidgetItem* prev) {
      changes << qMakePair(text(cur), text(prev));
    };
  });
  w->fill({{QStringLiteral("a0"), QStringLiteral("b0")}, {QStringLiteral("a1"), QStringLiteral("b1")}});
  QTableWidget* t = w->oTABELA;
  doubleClick(t, 1, 1);
  EXPECT_EQ(w->dblKlik, (QList<QPair<int, int>>{{1, 1}}));
  QHeaderView* h = t->horizontalHeader();
  QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(h->sectionViewportPosition(1) + 5, h->height() / 2));
  EXPECT_EQ(heads, QList<int>{1});
  changes.clear();
  t->setCurrentCell(0, 0);
  t->setCurrentCell(1, 0);
  EXPECT_EQ(changes, (QList<QPair<QString, QString>>{{QStringLiteral("a0"), QStringLiteral("b1")},
                                                      {QStringLiteral("a1"), QStringLiteral("a0")}}));
}

TEST_F(Windows, WithoutHooksClicksOnlyReachDoubleClick) {
  Proba* w = open(QStringLiteral("Mis"));
  w->fill({{QStringLiteral("a0")}});
  QTableWidget* t = w->oTABELA;
  doubleClick(t, 0, 0);
  QHeaderView* h = t->horizontalHeader();
  QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, h->height() / 2));
  t->setCurrentCell(0, 1);
  EXPECT_EQ(w->dblKlik, (QList<QPair<int, int>>{{0, 0}}));
}

TEST_F(Windows, OpenAndLiveHelpers) {
  QPointer<Proba> a = open(QStringLiteral("A"));
  QPointer<Proba> b = open(QStringLiteral("B"));
  EXPECT_EQ(area->activeSubWindow(), b->oWND.data());
  VEC_OTVORENO(a);
  EXPECT_EQ(area->activeSubWindow(), a->oWND.data());
  EXPECT_TRUE(POSTOJI_OBJEKAT(a));
  a->RADI_ESC();
  EXPECT_FALSE(POSTOJI_OBJEKAT(a));
  settle();
  EXPECT_FALSE(POSTOJI_OBJEKAT(a.data()));
  VEC_OTVORENO(nullptr);
}

class RecordingWriter : public MyEWXML {
 public:
  void Head(const QString& text, const QString& align) override { log << "head " + text + " " + align; }
  void TabColumn(const QString& caption, const QString& field, int width, const QString& type, int length,
                 int) override {
    log << QStringLiteral("col %1 %2 %3 %4 %5").arg(caption, field).arg(width).arg(type).arg(length);
  }
  void NewTabRow() override { log << "row"; }
  void Cell(int column, const QString& text) override { log << QStringLiteral("cell %1 %2").arg(column).arg(text); }
  QStringList log;
};

TEST_F(Windows, ExportHandsVisibleColumnsAndShownCellsToTheWriter) {
  Proba* w = open(QStringLiteral("Izvoz"), [](Proba& p) {
    p.aKOLONE = {MyKOLONA(QStringLiteral("A"), QStringLiteral("Prva"), QStringLiteral("C"), 3),
                 MyKOLONA(QStringLiteral("B"), QStringLiteral("Druga"), QStringLiteral("N"), 5)};
    p.aKOLONE[1].lVIDLJIVA = false;
    p.oVZAG = {QStringLiteral("r1")};
  });
  w->fill({{QStringLiteral("x"), QStringLiteral("y")}, {QStringLiteral("z")}});
  w->oTABELA->setColumnHidden(1, true);
  RecordingWriter rw;
  w->EXPORT(QStringLiteral("Pod"), QStringLiteral("/tmp/x"), &rw);
  EXPECT_EQ(rw.log, (QStringList{"head Izvoz C", "head Pod L", "col   300 C 30", "col Prva A 30 C 3",
                                  "cell 1 r1", "cell 2 x", "row", "cell 1 ", "cell 2 z", "row"}));
}

}  // namespace
}  // namespace korvan::test
