// The free entry window's imports offscreen: the lines of a fixed-layout
// workbook through the fake backend, the clipboard dialog, and the buyer from
// the register against a local page server.
#include <QApplication>
#include <QClipboard>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include "settings/preuznbs.h"
#include "slobun_fixture.h"
#include "support/cursorwatch.h"
#include "support/peer.h"
#include "ui/modal.h"
#include "windows/izsrc_cells.h"

using namespace korvan;
using namespace korvan::test;
using platform::CellPos;

namespace {

// Row values of the grid, by field.
QStringList rowOf(MySLOBUN* w, int row, const QStringList& fields) {
  QStringList out;
  for (const QString& f : fields) out << w->VRATI_STR_VREDNOST(f, row);
  return out;
}

const QStringList kFields = {"ART_SIFRA", "ART_NAZIV", "ART_BARKOD", "ART_JMERE", "KOLICINA", "CENB",
                             "VREDB",     "RABATP",    "STOPA",      "OSN",       "VREDP"};

class SlobunImport : public SlobunTest {
 protected:
  // A workbook of the fixed layout, rows 1 to 5 used: a header row, two
  // lines, a blank row and a line whose code is a date.
  QString fourLines() {
    const QString path = workbook("stavke.xlsx");
    FakeWorkbooks::Book& b = books.book(path);
    b = FakeWorkbooks::Book();
    b.usedRows = 5;
    b.put("C1", textCell("Sifra")).put("AZ1", textCell("Naziv")).put("E1", textCell("Kolicina"));
    b.put("C2", numberCell(12345)).put("AZ2", textCell("  Olovka  ")).put("BA2", textCell("kom"));
    b.put("E2", numberCell(3)).put("T2", numberCell(100)).put("J2", numberCell(10)).put("AB2", numberCell(20));
    b.put("C3", numberCell(12.6)).put("AZ3", textFormula("Gumica")).put("BA3", textCell("kg"));
    b.put("E3", textCell("2,5")).put("T3", numberCell(4)).put("AB3", numberCell(0.2, "20%"));
    b.put("C5", dateCell(QDate(2022, 12, 1), "01.12.22")).put("AZ5", textCell("Papir"));
    b.put("E5", numberFormula(1)).put("T5", numberCell(0.5)).put("AB5", numberCell(10));
    // The barcode's column (D) is never read.
    b.put("D2", textCell("8600000000001"));
    return path;
  }
  // Opens the workbook window with something typed in its fields and grid.
  MySLOBUN* filled() {
    MySLOBUN* w = open(true);
    w->oleBRDOK->setText("15/2022");
    w->oleKOMIT_NAZIV->setText("Kupac doo");
    type(w, 1, "ART_NAZIV", "Stara stavka");
    type(w, 1, "KOLICINA", "1");
    type(w, 1, "CENB", "50");
    type(w, 7, "CENB", "8");
    return w;
  }
  void import(MySLOBUN* w, const QString& path) {
    files.answers << QStringList{path};
    w->obIMP_YT->click();
  }
  // The grid as the user left it in filled().
  static void expectUntouched(MySLOBUN* w) {
    EXPECT_EQ(w->oTABELA->rowCount(), 20);
    EXPECT_EQ(cell(w, 1, "ART_NAZIV"), "Stara stavka");
    EXPECT_EQ(cell(w, 1, "VREDP"), "60,00");
    EXPECT_EQ(cell(w, 7, "CENB"), "8,0000");
  }
};

TEST_F(SlobunImport, TheLinesOfTheFixedColumnsReplaceTheGrid) {
  MySLOBUN* w = filled();
  import(w, fourLines());
  ASSERT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();

  ASSERT_EQ(files.requests.size(), 1);
  EXPECT_EQ(files.requests[0].title, "Izaberite fajl");
  EXPECT_EQ(files.requests[0].nameFilters, QStringList{"*.xls *.XLS *.xlsx *.XLSX *.xlsb *.XLSB"});

  ASSERT_EQ(w->oTABELA->rowCount(), 4) << "rows 2 to 5, exactly";
  EXPECT_EQ(rowOf(w, 1, kFields), QStringList({"12345", "Olovka", "", "kom", "3,000", "100,0000", "300,00",
                                               "10,00", "20,00", "270,00", "324,00"}));
  EXPECT_EQ(rowOf(w, 2, kFields), QStringList({"13", "Gumica", "", "kg", "2,500", "4,0000", "10,00", "", "0,20",
                                               "10,00", "10,02"}))
      << "12.6 as a code, a text quantity, the rate taken as the cell's 0.2";
  EXPECT_EQ(rowOf(w, 3, kFields), QStringList(11, QString())) << "a blank row is a blank line";
  EXPECT_EQ(rowOf(w, 4, kFields), QStringList({"01.12.2022", "Papir", "", "", "1,000", "0,5000", "0,50", "",
                                               "10,00", "0,50", "0,55"}));
  EXPECT_EQ(total(w), "Ukupno: " + QString(12, ' ') + "334,57");
  // Every row keeps its number, so the user's edits recompute it.
  EXPECT_EQ(w->oTABELA->item(3, KOLONA_PO_POLJU(w->aKOLONE, "OSN"))->whatsThis(), "4");
  type(w, 2, "KOLICINA", "5");
  EXPECT_EQ(cell(w, 2, "VREDP"), "20,04");

  EXPECT_EQ(w->oleBRDOK->text(), "15/2022");
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), "Kupac doo");
  EXPECT_EQ(books.opened.size(), 1);
  EXPECT_EQ(books.closed, 1);
  EXPECT_EQ(books.holds, 1) << "the office is kept for the next import";
}

TEST_F(SlobunImport, TheGridIsSizedToTheLinesRead) {
  writeFile(ini, sellerIni("T") + "[SLOBUN]\r\nMAX_RED=3\r\n");
  const QList<std::pair<int, int>> cases = {{30, 29}, {2, 1}, {1, 0}, {0, 0}};
  MySLOBUN* w = open(true);
  for (const auto& [used, rows] : cases) {
    SCOPED_TRACE(used);
    const QString path = workbook(QString("r%1.xls").arg(used));
    books.book(path).usedRows = used;
    books.book(path).put(QString("T%1").arg(qMax(used, 2)), numberCell(7));
    import(w, path);
    EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(w->oTABELA->rowCount(), rows);
    if (rows) {
      EXPECT_EQ(cell(w, rows, "CENB"), "7,0000");
    }
  }
  EXPECT_EQ(books.holds, 1) << "held once for the window";
  w->ZAVRSI(false);
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  EXPECT_EQ(books.holds, 0) << "the office goes with the window";
}

TEST_F(SlobunImport, AFailedReadKeepsWhatCameBeforeIt) {
  struct Case {
    const char* name;
    std::function<void(FakeWorkbooks::Book&)> spoil;
    int lines;  // -1: the grid as it was
    QString box;
  };
  const QList<Case> cases = {
      {"the first line's first cell", [](FakeWorkbooks::Book& b) { b.failAt = CellPos{2, 1}; }, -1,
       "IndexOutOfBoundsException\ngetCellByPosition\nthe cell position is not on the sheet\n{\"2\", \"1\"}"},
      {"the workbook cannot be opened", [](FakeWorkbooks::Book& b) { b.failOpen = true; }, -1,
       "no file\nloadComponentFromURL\nthe workbook could not be loaded\n{\"" + work + "/stavke.xlsx\"}"},
      {"the third line's quantity", [](FakeWorkbooks::Book& b) { b.failAt = CellPos{4, 3}; }, 2,
       "IndexOutOfBoundsException\ngetCellByPosition\nthe cell position is not on the sheet\n{\"4\", \"3\"}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MySLOBUN* w = filled();
    boxes.shown.clear();
    const QString path = fourLines();
    c.spoil(books.book(path));
    const int closedBefore = books.closed;
    import(w, path);
    EXPECT_EQ(boxes.texts(), QStringList{c.box});
    if (c.lines < 0) {
      expectUntouched(w);
    } else {
      ASSERT_EQ(w->oTABELA->rowCount(), c.lines);
      EXPECT_EQ(cell(w, 1, "VREDP"), "324,00");
      EXPECT_EQ(cell(w, 2, "ART_SIFRA"), "13");
      EXPECT_EQ(total(w), "Ukupno: " + QString(12, ' ') + "334,02");
    }
    EXPECT_EQ(w->oleBRDOK->text(), "15/2022");
    EXPECT_EQ(books.closed, closedBefore + (books.book(path).failOpen ? 0 : 1)) << "an opened workbook is closed";
    EXPECT_EQ(books.openNow, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    w->ZAVRSI(false);
  }
}

TEST_F(SlobunImport, NoWorkbookChosenOrNoneThereLeavesTheGrid) {
  MySLOBUN* w = filled();
  w->obIMP_YT->click();  // cancelled
  EXPECT_TRUE(boxes.shown.isEmpty());
  expectUntouched(w);
  import(w, work + "/nema.xlsx");  // a typed name
  EXPECT_EQ(boxes.texts(), QStringList{"Ne postoji XLS fajl!"});
  expectUntouched(w);
  EXPECT_TRUE(books.opened.isEmpty());
}

// The clipboard dialog: driven as the user does, with its keys.
class SlobunClipboard : public SlobunTest {
 protected:
  void TearDown() override {
    QGuiApplication::clipboard()->clear();
    SlobunTest::TearDown();
  }
  // A key as the user presses it; a button's shortcut clicks it a moment later.
  static void press(QWidget* on, Qt::Key key) {
    QPushButton* target = nullptr;
    for (QPushButton* b : on->window()->findChildren<QPushButton*>())
      if (b->shortcut() == QKeySequence(key)) target = b;
    ASSERT_NE(target, nullptr);
    // A busy machine may hand the focus over late; the key goes where it is.
    ASSERT_TRUE(QTest::qWaitFor(
        [on] { return on->hasFocus() && QApplication::activeWindow() == on->window(); }, 5000));
    QTest::keyClick(on, key);
    EXPECT_TRUE(target->isDown()) << "the key reached no button";
    EXPECT_TRUE(QTest::qWaitFor([target] { return !target->isDown(); }, 5000));
    QCoreApplication::processEvents();
  }
  static QTextEdit* pane(QWidget* d) { return d->findChild<QTextEdit*>("oteCLIPB"); }
  static void select(QTextEdit* p, const QString& part) {
    const int at = p->toPlainText().indexOf(part);
    ASSERT_GE(at, 0);
    QTextCursor c(p->document());
    c.setPosition(at);
    c.setPosition(at + int(part.size()), QTextCursor::KeepAnchor);
    p->setTextCursor(c);
  }
};

const QString kBuyerText = QString::fromUtf8("Kupac: Petrović i sin doo\nUlica: Knez Mihailova 5\n11000 Beograd\nPIB 101234567");

TEST_F(SlobunClipboard, KeysCopyTheSelectionIntoTheBuyerFields) {
  MySLOBUN* w = open(true);
  w->oleKOMIT_JBKJS->setText("12345");
  QGuiApplication::clipboard()->setText(kBuyerText);
  QStringList during;
  whenActive([&](QWidget* d) {
    EXPECT_EQ(d->windowTitle(), "Podaci kupca iz ClipBoard-a");
    EXPECT_EQ(d->size(), QSize(400, 400));
    EXPECT_FALSE(d->windowIcon().isNull());
    QTextEdit* p = pane(d);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->toPlainText(), kBuyerText);
    EXPECT_FALSE(p->acceptRichText());
    EXPECT_EQ(p->lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(p->lineWrapColumnOrWidth(), int(80 * NPOINTSIZE(d)));
    // The buttons down the left, their keys in their captions.
    auto* grid = qobject_cast<QGridLayout*>(d->layout());
    ASSERT_NE(grid, nullptr);
    QStringList captions;
    for (int r = 0; r < 8; ++r) {
      auto* b = qobject_cast<QPushButton*>(grid->itemAtPosition(r, 0)->widget());
      captions << b->text();
      EXPECT_EQ(b->shortcut(), QKeySequence(Qt::Key_F1 + r));
    }
    EXPECT_EQ(captions, QStringList({"PIB (F1)", "Naziv (F2)", "Mesto (F3)", QString::fromUtf8("Poštanski broj (F4)"),
                                     "Adresa (F5)", QString::fromUtf8("Matični broj (F6)"), "JBKJS (F7)",
                                     "E-mail (F8)"}));
    EXPECT_EQ(grid->itemAtPosition(0, 1)->widget(), p);
    QPushButton* close = button(d, "Zatvori");
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(close->isDefault());
    EXPECT_EQ(grid->itemAtPosition(20, 0)->widget(), close);

    p->setFocus();
    select(p, "11000");
    press(p, Qt::Key_F4);

    select(p, "101234567");
    press(p, Qt::Key_F1);
    select(p, "Beograd");
    press(p, Qt::Key_F3);
    during << w->oleKOMIT_POST_BROJ->text() << w->oleKOMIT_PIB->text() << w->oleKOMIT_MESTO->text();
    // Back to the postcode, so that it is the last copied.
    select(p, "11000");
    press(p, Qt::Key_F4);
    close->click();
  });
  w->obKOMIT_IZ_CLIPB->click();
  EXPECT_EQ(during, QStringList({"11000", "101234567", "Beograd"})) << "the fields change while it is open";
  EXPECT_EQ(w->oleKOMIT_POST_BROJ->text(), "11000");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "11000") << "the last selection stays on the clipboard";
  EXPECT_EQ(w->oleKOMIT_JBKJS->text(), "12345");
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), "");
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(SlobunClipboard, WithoutASelectionTheFieldTakesTheWholeText) {
  MySLOBUN* w = open(true);
  QGuiApplication::clipboard()->setText(kBuyerText);
  whenActive([&](QWidget* d) {
    pane(d)->setFocus();
    press(pane(d), Qt::Key_F2);
    button(d, "Zatvori")->click();
  });
  w->obKOMIT_IZ_CLIPB->click();
  // One line in the field, every break a blank; the clipboard keeps the text as it was.
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), QString(kBuyerText).replace('\n', ' '));
  EXPECT_TRUE(boxes.shown.isEmpty());
  finish(w->oleKOMIT_NAZIV, w->oleKOMIT_NAZIV->text());
  EXPECT_TRUE(boxes.shown.isEmpty()) << "the field's INI key takes it: " << boxes.texts().join('|').toStdString();
  EXPECT_EQ(iniValue("SLOBUN", "KOMIT_NAZIV"), QString(kBuyerText).replace('\n', ' '));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), kBuyerText);
}

TEST_F(SlobunClipboard, AnEmptyClipboardOpensNothing) {
  MySLOBUN* w = open(true);
  for (const QString& text : {QString(), QString("")}) {
    QGuiApplication::clipboard()->setText(text);
    boxes.shown.clear();
    // Were a dialog to open, it would be closed and the test failed.
    QTimer::singleShot(2000, [] {
      if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "a dialog opened";
        d->reject();
      }
    });
    w->obKOMIT_IZ_CLIPB->click();
    EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Nije ništa kopirano u ClipBoard!")});
  }
}

// The buyer from the register: the page server stands for the National Bank.
class SlobunRegister : public SlobunTest {
 protected:
  void SetUp() override {
    SlobunTest::SetUp();
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
    NBS_SET_LIMITS({.connectSeconds = 2, .totalSeconds = 3, .stallSeconds = 3});
  }
  void TearDown() override {
    NBS_SET_LIMITS({.connectSeconds = 4, .totalSeconds = 30, .stallSeconds = 30});
    SlobunTest::TearDown();
  }
  // Asks the register for pib through the button; the PIB dialog's start text goes to start.
  void lookUp(MySLOBUN* w, const QString& pib, QString* start = nullptr) {
    whenActive([&](QWidget* ask) {
      EXPECT_EQ(ask->windowTitle(), "Podaci od NBS");
      QLineEdit* e = ask->findChild<QLineEdit*>("EDIT_1_1_1");
      ASSERT_NE(e, nullptr);
      if (start) *start = e->text();
      e->setText(pib);
      button(ask, "Ok")->click();
    });
    w->obKOMIT_OD_NBS->click();
  }
  QStringList buyer(MySLOBUN* w) const {
    return {w->oleKOMIT_PIB->text(),    w->oleKOMIT_NAZIV->text(),   w->oleKOMIT_MESTO->text(),
            w->oleKOMIT_POST_BROJ->text(), w->oleKOMIT_ADRESA->text(), w->oleKOMIT_MATBROJ->text(),
            w->oleKOMIT_JBKJS->text(),  w->oleKOMIT_EMAIL->text(),   w->oleUGOVOR->text()};
  }
  MySLOBUN* filledBuyer() {
    MySLOBUN* w = open(false);
    const QStringList values = before;
    QList<QLineEdit*> edits = {w->oleKOMIT_PIB,    w->oleKOMIT_NAZIV,  w->oleKOMIT_MESTO,
                               w->oleKOMIT_POST_BROJ, w->oleKOMIT_ADRESA, w->oleKOMIT_MATBROJ,
                               w->oleKOMIT_JBKJS,  w->oleKOMIT_EMAIL,  w->oleUGOVOR};
    for (int i = 0; i < edits.size(); ++i) edits[i]->setText(values[i]);
    return w;
  }
  const QStringList before = {"100000001", "Stari kupac", QString::fromUtf8("Niš"), "18000", "Stara 1", "1",
                              "12345", "kupac@x.rs", "U-7"};
  Peer peer{registerPeerHosts()};
};

const QByteArray kPage =
    "<a href=\"#5\" class=\"formaa\">\r\nNOVA &#262;ELIJA DOO\r\n>Adresa:\r\n\r\nNova 2\r\n>Mesto:\r\n\r\nBeograd\r\n"
    ">Mati&#269;ni broj:\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n07654321\r\n"
    ">Ra&#269;un:\r\n\r\n\r\n160-1-11\r\n>Datum otvaranja:\r\n\r\n\r\nMon Jan 05 00:00:00 CET 2015\r\n";

TEST_F(SlobunRegister, AFoundCompanyOverwritesFiveFieldsAndKeepsTheRest) {
  test::PeerAnswer slow = test::PeerAnswer::html(kPage);
  slow.delayMs = 500;
  peer.scriptPath("GET", kRegisterPath, {slow});
  MySLOBUN* w = filledBuyer();
  // While curl runs, timers fire under the wait cursor.
  const test::CursorAtFirstRequest cursor(peer);
  QString start;
  lookUp(w, "101234567", &start);
  EXPECT_EQ(start, "100000001") << "the dialog starts from the buyer's PIB";
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(buyer(w), QStringList({"101234567", QString::fromUtf8("NOVA ĆELIJA DOO"), "Beograd", "18000", "Nova 2",
                                   "07654321", "12345", "kupac@x.rs", "U-7"}));
  EXPECT_EQ(cursor.shape(), int(Qt::WaitCursor));
  ASSERT_EQ(peer.requests().size(), 1);
  EXPECT_EQ(peer.requests()[0].queryValue("pib"), "101234567");
}

TEST_F(SlobunRegister, FailuresLeaveTheBuyerAsItWas) {
  struct Case {
    const char* name;
    QString pib;
    test::PeerAnswer answer;
    QStringList boxes;
    int requests;
  };
  const QList<Case> cases = {
      {"not in the register", "101234567", test::PeerAnswer::html("<html>nema</html>"), {NBS_ERR_NEMA()}, 1},
      {"server error", "101234567", test::PeerAnswer::html("x", 500), {NBS_ERR_CURL()}, 1},
      {"not digits", "10123x", test::PeerAnswer::html(kPage), {NBS_ERR_CIFRE()}, 0},
      {"empty PIB", "", test::PeerAnswer::html(kPage), {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.shown.clear();
    const qsizetype asked = peer.requests().size();
    peer.scriptPath("GET", kRegisterPath, {c.answer});
    MySLOBUN* w = filledBuyer();
    lookUp(w, c.pib);
    EXPECT_EQ(boxes.texts(), c.boxes);
    EXPECT_EQ(buyer(w), before);
    EXPECT_EQ(peer.requests().size() - asked, c.requests);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    w->ZAVRSI(false);
  }
}

}  // namespace
