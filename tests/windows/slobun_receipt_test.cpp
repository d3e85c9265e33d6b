// The free-entry window's fiscal receipt import offscreen: the link dialog,
// the confirmation and the fill of buyer, date and grid against a local HTTPS
// page server; the scanned-link list against a local FTP server.
#include <QClipboard>
#include <QHeaderView>
#include <QListWidget>
#include <QPlainTextEdit>

#include "einvoice/salji_fixture.h"
#include "slobun_fixture.h"
#include "receipts/libqum2kor.h"
#include "support/ftppeer.h"
#include "windows/slobun_grid.h"
#include "windows/slobun_receipt.h"
#include "windows/slobun_tables.h"

using namespace korvan;
using namespace korvan::test;

namespace {

TEST(SlobunReceiptNames, DisplayTextOfAFileName) {
  const struct {
    const char* name;
    const char* shown;
  } cases[] = {
      {"2022_12_01_10_20_30.web", "01.12.2022 10:20:30"},
      {"2023_01_03_09_00_01.WEB", "03.01.2023 09:00:01"},
      {"2022_12_01_10_20_30.web.bak", "01.12.2022 10:20:30"},
      {"2022_12_01_10_20.web", "2022_12_01_10_20"},
      {"2022_12_01_10_20_30_7.web", "2022_12_01_10_20_30_7"},
      {"racun.web", "racun"},
      {".web", ""},
      {"2022_12_01_10_20_30", "2022_12_01_10_20_30"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DAT_VREME_NORMAL(QString::fromUtf8(c.name)), QString::fromUtf8(c.shown));
  }
}

TEST(SlobunReceiptNames, RowAmountsFromTheLineTotal) {
  const struct {
    double total, rate, quantity;
    double base, price;
  } cases[] = {
      {120, 20, 2, 100, 50},
      {50, 0, 0.5, 50, 100},
      {99.99, 0, 3, 99.99, 33.33},
      {120, 20, 0, 100, 0},
      {10, 10, 3, 9.09, 3.03},
      {1, 20, 3, 0.83, 0.2767},
      {-24, 20, -1, -20, 20},
      {0, 20, 1, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.total << " / " << c.rate << "% / " << c.quantity);
    const ReceiptRowAmounts a = receiptRowAmounts(c.total, c.rate, c.quantity);
    EXPECT_DOUBLE_EQ(a.value, c.total);
    EXPECT_DOUBLE_EQ(a.base, c.base);
    EXPECT_DOUBLE_EQ(a.beforeDiscount, c.base);
    EXPECT_DOUBLE_EQ(a.price, c.price);
  }
}

const QString kHost = QStringLiteral("suf.purs.gov.rs");
const QString kSeller = QStringLiteral("100200300");  // PIB of the seller's "aplik.ini"

// One item line of a generated page: name, unit, tax label, amounts as printed.
struct Line {
  QString name, unit, label;
  QString price, quantity, total;
};

QString amount(double v) { return QString::number(v, 'f', 2).replace('.', ','); }

// A journal with the buyer line (empty: none), the items between the usual
// marks and the time line; CR LF line ends.
QByteArray journal(const QString& buyer, const QList<Line>& lines, const QString& time = "15.12.2022. 10:11:12") {
  QStringList out = {"============ ФИСКАЛНИ РАЧУН ============", "              101234567", "          Продавница"};
  if (!buyer.isEmpty()) out << "ИД купца:" + QString(30 - buyer.size(), ' ') + buyer;
  out << "========================================";
  for (const Line& l : lines) {
    out << l.name + "/" + l.unit + " (" + l.label + ")";
    out << "  " + l.price.rightJustified(12) + l.quantity.rightJustified(11) + l.total.rightJustified(14);
  }
  out << "----------------------------------------"
      << "ПФР време:          " + time << "======== КРАЈ ФИСКАЛНОГ РАЧУНА =========";
  return out.join("\r\n").toUtf8() + "\r\n";
}

QList<Line> manyLines(int n) {
  QList<Line> out;
  for (int i = 1; i <= n; ++i)
    out << Line{QString("Artikal %1").arg(i), "kom", "Ђ", amount(i), "1", amount(i)};
  return out;
}

class SlobunReceipt : public SlobunTest {
 protected:
  void SetUp() override {
    SlobunTest::SetUp();
    ASSERT_TRUE(page.start()) << page.error().toStdString();
    QUM2KOR_SET_LIMITS({2, 6});
  }
  void TearDown() override {
    QUM2KOR_SET_LIMITS({10, 30});
    SlobunTest::TearDown();
  }

  void serve(const QByteArray& body) { page.scriptPath("GET", "/v/", {PeerAnswer::html(body)}); }
  static QString link(const char* query) { return QString("https://suf.purs.gov.rs/v/?vl=") + query; }

  static void store(const SlobunKupac& k) {
    bool opened = false;
    ASSERT_TRUE(OTVORI_KOMIT_TABELU(opened));
    ASSERT_EQ(UPISI_KOMIT(k), SlogIshod::Upisan);
    ZATVORI_AKO("KOMIT", opened);
  }

  // Runs step on the dialog titled title; a dialog the step leaves open is
  // failed and closed, so that no test hangs.
  static void on(const QString& title, std::function<void(QDialog*)> step) {
    onDialog(title, [title, step](QDialog* d) {
      step(d);
      if (d->isVisible()) {
        ADD_FAILURE() << "left open: " << title.toStdString();
        d->reject();
      }
    });
  }
  // The link dialog: remembers what it showed, types the link (unless null)
  // and the marks (unless null), then Ok.
  void linkDialog(const QString& qr, const QString& start = QString(), const QString& end = QString()) {
    on("Podaci iz eFiskalnog", [this, qr, start, end](QDialog* d) {
      auto* text = d->findChild<QPlainTextEdit*>("EDIT_1_1_1");
      auto* s = d->findChild<QLineEdit*>("EDIT_2_2_1");
      auto* e = d->findChild<QLineEdit*>("EDIT_3_3_1");
      if (!text || !s || !e) return ADD_FAILURE() << "the three rows";
      shownLink = text->toPlainText();
      shownMarks = {s->text(), e->text()};
      if (!qr.isNull()) text->setPlainText(qr);
      if (!start.isNull()) s->setText(start);
      if (!end.isNull()) e->setText(end);
      button(d, "Ok")->click();
    });
  }
  // The confirmation: remembers its rows and items, then answers.
  void confirm(bool accept) {
    on("Prepoznati podaci iz eFiskalnog", [this, accept](QDialog* d) {
      auto* grid = qobject_cast<QGridLayout*>(d->layout());
      if (!grid) return ADD_FAILURE() << "no grid";
      confirmed.clear();
      for (int r = 0; r < 4; ++r) {
        QLayoutItem* l = grid->itemAtPosition(r, 0);
        QLayoutItem* v = grid->itemAtPosition(r, 1);
        if (!l || !v) continue;
        auto* edit = qobject_cast<QLineEdit*>(v->widget());
        confirmed << qobject_cast<QLabel*>(l->widget())->text() + edit->text();
        EXPECT_TRUE(edit->isReadOnly());
      }
      items.clear();
      if (auto* t = d->findChild<QTableWidget*>()) {
        heads.clear();
        for (int c = 0; c < t->columnCount(); ++c) heads << t->horizontalHeaderItem(c)->text();
        for (int r = 0; r < t->rowCount(); ++r) {
          QStringList cells;
          for (int c = 0; c < t->columnCount(); ++c) cells << t->item(r, c)->text();
          items << cells.join('|');
          EXPECT_FALSE(t->item(r, 0)->flags() & Qt::ItemIsEditable);
        }
      }
      dialogSize = d->size();
      // 400 high; as wide as its columns of 30, 4, 7, 10, 10 and 10 characters, plus 32.
      widthInColumns = 32;
      for (int n : {30, 4, 7, 10, 10, 10}) widthInColumns += int(n * NPOINTSIZE(d));
      button(d, accept ? QString::fromUtf8("Upiši") : "Odustani")->click();
    });
  }
  // Everything the window shows that an import may change.
  static QStringList state(MySLOBUN* w) {
    QStringList s;
    for (QLineEdit* e : {w->oleKOMIT_PIB.data(), w->oleKOMIT_NAZIV.data(), w->oleKOMIT_MESTO.data(),
                         w->oleKOMIT_POST_BROJ.data(), w->oleKOMIT_ADRESA.data(), w->oleKOMIT_MATBROJ.data(),
                         w->oleKOMIT_JBKJS.data(), w->oleKOMIT_EMAIL.data(), w->oleUGOVOR.data(), w->oleBRDOK.data()})
      s << e->text();
    s << DTOC(w->odteDATPROM->date()) << DTOC(w->odteDATDOK->date()) << QString::number(w->oTABELA->rowCount());
    for (int r = 1; r <= w->oTABELA->rowCount(); ++r) s << rowOf(w, r);
    return s << total(w);
  }
  static QString rowOf(MySLOBUN* w, int row) {
    QStringList cells;
    for (const char* f : {"ART_SIFRA", "ART_NAZIV", "ART_BARKOD", "ART_JMERE", "KOLICINA", "CENB", "VREDB", "RABATP",
                          "STOPA", "OSN", "VREDP"})
      cells << cell(w, row, f);
    return cells.join('|');
  }
  // A window with a buyer and one line typed.
  MySLOBUN* typed() {
    MySLOBUN* w = open(false);
    w->oleKOMIT_PIB->setText("555666777");
    w->oleKOMIT_NAZIV->setText("Stari kupac");
    w->oleKOMIT_MESTO->setText("Subotica");
    w->oleKOMIT_JBKJS->setText("J-STARI");
    w->oleUGOVOR->setText("UG-STARI");
    w->oleBRDOK->setText("R-9");
    type(w, 5, "KOLICINA", "2");
    type(w, 5, "CENB", "10");
    return w;
  }

  Peer page{{kHost}};
  QString shownLink;
  QStringList shownMarks, confirmed, heads, items;
  QSize dialogSize;
  int widthInColumns = 0;
};

TEST_F(SlobunReceipt, AStoredBuyerFillsTheFieldsAndTheContractFromTheTable) {
  store({.naziv = "Alfa d.o.o.", .pib = "123456789", .mesto = "Novi Sad", .adresa = "Bulevar 1", .postBroj = "21000",
         .email = "a@alfa.rs", .matbroj = "08123456", .jbkjs = "J-TABELA", .ugovor = "UG-ALFA"});
  serve(journal("12:123456789:12345",
                {{"Hleb beli", "kom", "Ђ", "60,00", "2", "120,00"},
                 {"So &amp; biber", "kg", "Г", "100,00", "0.500", "50,00"},
                 {"Sok", "l", "Е", "55,00", "0", "110,00"}}));
  MySLOBUN* w = typed();
  linkDialog(link("A1%2BB2"));
  confirm(true);
  w->obDEKOD_PURS->click();
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(shownLink, "") << "the button starts with no link";
  EXPECT_EQ(shownMarks, (QStringList{QString(20, '='), QString(20, '-')}));

  // What was recognised, as the confirmation shows it.
  EXPECT_EQ(confirmed, (QStringList{"PIB kupca:123456789", "JBKJS kupca:12345", "Datum prometa:15.12.2022",
                                    "Ukupan iznos:280,00"}));
  EXPECT_EQ(heads, (QStringList{"Naziv", "J.m.", "% PDV", QString::fromUtf8("Količina"), "Cena", "Vrednost"}));
  EXPECT_EQ(items, (QStringList{"Hleb beli|kom|20,000|2,000|60,00|120,00", "So & biber|kg||0,500|100,00|50,00",
                                "Sok|l|10,000||55,00|110,00"}));
  EXPECT_EQ(dialogSize.height(), 400);
  EXPECT_EQ(dialogSize.width(), widthInColumns);
  EXPECT_LE(dialogSize.width(), 1366);

  // The buyer from the table, the receipt's JBKJS ignored.
  EXPECT_EQ(w->oleKOMIT_PIB->text(), "123456789");
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), "Alfa d.o.o.");
  EXPECT_EQ(w->oleKOMIT_MESTO->text(), "Novi Sad");
  EXPECT_EQ(w->oleKOMIT_ADRESA->text(), "Bulevar 1");
  EXPECT_EQ(w->oleKOMIT_POST_BROJ->text(), "21000");
  EXPECT_EQ(w->oleKOMIT_EMAIL->text(), "a@alfa.rs");
  EXPECT_EQ(w->oleKOMIT_MATBROJ->text(), "08123456");
  EXPECT_EQ(w->oleKOMIT_JBKJS->text(), "J-TABELA");
  EXPECT_EQ(w->oleUGOVOR->text(), "UG-ALFA");
  // The date of supply from the receipt; the rest of the header stays.
  EXPECT_EQ(w->odteDATPROM->date(), QDate(2022, 12, 15));
  EXPECT_EQ(w->odteDATDOK->date(), QDate(2022, 12, 14));
  EXPECT_EQ(w->oleBRDOK->text(), "R-9");

  // The lines from their totals, the rows after them cleared.
  EXPECT_EQ(w->oTABELA->rowCount(), 20);
  EXPECT_EQ(rowOf(w, 1), "|Hleb beli||kom|2,000|50,0000|100,00||20,00|100,00|120,00");
  EXPECT_EQ(rowOf(w, 2), "|So & biber||kg|0,500|100,0000|50,00|||50,00|50,00") << "rate 0: base = total";
  EXPECT_EQ(rowOf(w, 3), "|Sok||l|||100,00||10,00|100,00|110,00") << "quantity 0: no price";
  EXPECT_EQ(rowOf(w, 5), "||||||||20,00||") << "the typed line is gone";
  EXPECT_EQ(total(w), "Ukupno: " + QString(12, ' ') + "280,00");
  EXPECT_FALSE(w->lPROGRAMSKI);

  ASSERT_EQ(page.requests().size(), 1);
  EXPECT_EQ(page.requests()[0].query, "vl=A1%2BB2");
}

TEST_F(SlobunReceipt, AnUnknownBuyerKeepsOnlyPibAndJbkjs) {
  store({.naziv = "Alfa d.o.o.", .pib = "123456789", .ugovor = "UG-ALFA"});
  serve(journal("12:987654321:54321", {{"Hleb", "kom", "Ђ", "60,00", "2", "120,00"}}));
  MySLOBUN* w = typed();
  linkDialog(link("1"));
  confirm(true);
  w->obDEKOD_PURS->click();
  EXPECT_EQ(w->oleKOMIT_PIB->text(), "987654321");
  EXPECT_EQ(w->oleKOMIT_JBKJS->text(), "54321");
  for (QLineEdit* e : {w->oleKOMIT_NAZIV.data(), w->oleKOMIT_MESTO.data(), w->oleKOMIT_ADRESA.data(),
                       w->oleKOMIT_POST_BROJ.data(), w->oleKOMIT_EMAIL.data(), w->oleKOMIT_MATBROJ.data(),
                       w->oleUGOVOR.data()})
    EXPECT_EQ(e->text(), "") << e->objectName().toStdString();
  EXPECT_EQ(rowOf(w, 1), "|Hleb||kom|2,000|50,0000|100,00||20,00|100,00|120,00");

  // A buyer id of the plain form, without JBKJS: the confirmation has no JBKJS row.
  serve(journal("10:123456789", {{"Hleb", "kom", "Ђ", "60,00", "2", "120,00"}}));
  linkDialog(link("2"));
  confirm(true);
  w->obDEKOD_PURS->click();
  EXPECT_EQ(confirmed, (QStringList{"PIB kupca:123456789", "Datum prometa:15.12.2022", "Ukupan iznos:120,00"}));
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), "Alfa d.o.o.");
  EXPECT_EQ(w->oleUGOVOR->text(), "UG-ALFA");
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
}

TEST_F(SlobunReceipt, TheGridGrowsPastMaxRedOnlyForMoreItems) {
  const struct {
    int items;
    int rows;
  } cases[] = {{25, 25}, {3, 20}, {20, 20}, {21, 21}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.items);
    serve(journal("10:123456789", manyLines(c.items)));
    MySLOBUN* w = open(false);
    linkDialog(link("1"));
    confirm(true);
    w->obDEKOD_PURS->click();
    ASSERT_EQ(w->oTABELA->rowCount(), c.rows);
    double sum = 0;
    for (int r = 1; r <= c.rows; ++r) {
      if (r <= c.items) {
        EXPECT_EQ(cell(w, r, "ART_NAZIV"), QString("Artikal %1").arg(r));
        EXPECT_EQ(cell(w, r, "VREDP"), amount(r));
        EXPECT_EQ(w->oTABELA->item(r - 1, 0)->whatsThis(), QString::number(r));
        sum += r;
      } else {
        EXPECT_EQ(cell(w, r, "VREDP"), "") << r;
        EXPECT_EQ(cell(w, r, "ART_NAZIV"), "") << r;
      }
    }
    EXPECT_EQ(total(w), SLOBUN_ZBIR_TEKST(sum));
    // An edit of the last row, grown or not, still computes it.
    QTableWidgetItem* q = w->oTABELA->item(c.rows - 1, KOLONA_PO_POLJU(w->aKOLONE, "KOLICINA"));
    ASSERT_NE(q, nullptr);
    EXPECT_TRUE(q->flags() & Qt::ItemIsEditable);
    w->oTABELA->setCurrentItem(q);
    w->oTABELA->item(c.rows - 1, KOLONA_PO_POLJU(w->aKOLONE, "CENB"))->setText("2");
    q->setText("3");
    EXPECT_EQ(cell(w, c.rows, "KOLICINA"), "3,000");
    EXPECT_EQ(cell(w, c.rows, "VREDB"), "6,00");
    w->ZAVRSI(false);
  }
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
}

TEST_F(SlobunReceipt, OdustaniLeavesTheWindowAsItWas) {
  serve(journal("10:123456789", manyLines(25)));
  MySLOBUN* w = typed();
  const QStringList before = state(w);
  linkDialog(link("1"));
  confirm(false);
  w->obDEKOD_PURS->click();
  EXPECT_EQ(items.size(), 25);
  EXPECT_EQ(state(w), before);

  // Cancel on the link dialog: nothing fetched, nothing saved.
  on("Podaci iz eFiskalnog", [](QDialog* d) { button(d, "Cancel")->click(); });
  w->obDEKOD_PURS->click();
  EXPECT_EQ(state(w), before);
  EXPECT_EQ(page.requests().size(), 1);
  EXPECT_EQ(iniValue("SLOBUN", "QR_POCINJE"), QString(20, '=')) << "written by the Ok before";
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
}

TEST_F(SlobunReceipt, MarksAreKeptWhenTheImportThenFails) {
  MySLOBUN* w = typed();
  const QStringList before = state(w);
  page.stopServer();
  linkDialog(link("1"), "*****", "+++++");
  w->obDEKOD_PURS->click();
  EXPECT_EQ(boxes.texts(), QStringList{CURL_ERR()});
  EXPECT_EQ(iniValue("SLOBUN", "QR_POCINJE"), "*****");
  EXPECT_EQ(iniValue("SLOBUN", "QR_ZAVRSAVA"), "+++++");
  EXPECT_EQ(state(w), before);

  // The next dialog starts with them; a link that is no web address is refused unfetched.
  boxes.shown.clear();
  linkDialog("  suf.purs.gov.rs/v/?vl=1 ");
  w->obDEKOD_PURS->click();
  EXPECT_EQ(shownMarks, (QStringList{"*****", "+++++"}));
  EXPECT_EQ(boxes.texts(), QStringList{QUM2KOR_ERR_LINK("suf.purs.gov.rs/v/?vl=1")});
  EXPECT_EQ(state(w), before);
}

TEST_F(SlobunReceipt, TheMarksTypedBoundTheItemsAndNanesiPastes) {
  QByteArray body = journal("10:123456789", manyLines(2));
  body.replace("----------------------------------------\r\n",
               "----------------------------------------\r\nPOCETAK\r\nIzvan/kom (Ђ)\r\n  5,00  1  5,00\r\nKRAJ\r\n");
  serve(body);
  MySLOBUN* w = open(false);
  QApplication::clipboard()->setText("  " + link("PASTE") + "\n");
  on("Podaci iz eFiskalnog", [](QDialog* d) {
    d->findChild<QLineEdit*>("EDIT_2_2_1")->setText("POCETAK");
    d->findChild<QLineEdit*>("EDIT_3_3_1")->setText("KRAJ");
    button(d, "Nanesi")->click();
    button(d, "Ok")->click();
  });
  confirm(true);
  w->obDEKOD_PURS->click();
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
  ASSERT_EQ(page.requests().size(), 1);
  EXPECT_EQ(page.requests()[0].query, "vl=PASTE");
  EXPECT_EQ(items, QStringList{"Izvan|kom|20,000|1,000|5,00|5,00"});
  EXPECT_EQ(cell(w, 1, "ART_NAZIV"), "Izvan");
  EXPECT_EQ(cell(w, 2, "ART_NAZIV"), "");
}

// The scanned-link list, with the company's folder on a local FTP server.
class SlobunQumir : public SlobunReceipt {
 protected:
  void SetUp() override {
    SlobunReceipt::SetUp();
    ASSERT_TRUE(ftp.start()) << ftp.error().toStdString();
    account(ftp.host());
  }
  void account(const QString& host) {
    writeFile(ini, sellerIni("T") + ("[Config]\r\nFTP_HOST=" + host + "\r\nFTP_KORISNIK=" + FtpPeer::user() +
                                     "\r\nFTP_LOZINKA=" + FtpPeer::password() + "\r\n")
                                        .toUtf8());
  }
  QString folder() const { return ftp.root() + "/qumir/" + kSeller; }
  void put(const QString& name, const QString& text) { ASSERT_TRUE(ftp.put("qumir/" + kSeller + "/" + name, text.toUtf8())); }
  bool there(const QString& name) const { return QFileInfo::exists(folder() + "/" + name); }

  // The list dialog: runs step with the list, then presses the button named.
  void listDialog(std::function<void(QListWidget*, QDialog*)> step, const QString& press) {
    on("Skenirano iz Qumir", [this, step, press](QDialog* d) {
      auto* list = d->findChild<QListWidget*>("EDIT_1_1_1");
      listed.clear();
      if (list) {
        for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
        step(list, d);
      }
      button(d, press)->click();
    });
  }
  // Presses "Skenirano iz Qumir"; every dialog but the one titled expected
  // that comes up meanwhile is closed and counted.
  static int unexpectedDialogs(MySLOBUN* w, const QString& expected = QString()) {
    int dialogs = 0;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&dialogs, expected] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (d && d->windowTitle() != expected) {
        ++dialogs;
        d->reject();
      }
    });
    guard.start(10);
    w->obQUMIR->click();
    return dialogs;
  }
  static QStringList texts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }
  static void check(QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
      if (list->item(i)->text() == text) return list->item(i)->setCheckState(Qt::Checked);
    ADD_FAILURE() << "not listed: " << text.toStdString();
  }

  FtpPeer ftp;
  QStringList listed;
};

TEST_F(SlobunQumir, NewestFirstAndOnlyWebFiles) {
  put("2022_12_01_10_20_30.web", link("A"));
  put("2023_01_03_09_00_01.WEB", link("B"));
  put("2022_12_15_08_00_00.web", link("C"));
  put("beleska.txt", link("D"));
  put("2022_12_20_08_00_00.web.txt", link("E"));
  MySLOBUN* w = open(false);
  const QStringList before = state(w);
  listDialog([](QListWidget* l, QDialog*) {
    for (int i = 0; i < l->count(); ++i) EXPECT_EQ(l->item(i)->checkState(), Qt::Unchecked);
  }, "Cancel");
  w->obQUMIR->click();
  EXPECT_EQ(listed, (QStringList{"03.01.2023 09:00:01", "15.12.2022 08:00:00", "01.12.2022 10:20:30"}));
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
  EXPECT_TRUE(ftp.sent().isEmpty()) << "nothing downloaded on Cancel";
  EXPECT_EQ(state(w), before);
}

TEST_F(SlobunQumir, DeletingKeepsEachEntryOnItsOwnFileAndOkImportsTheCheckedOne) {
  put("2022_12_01_10_00_00.web", link("PRVI"));
  put("2022_12_02_10_00_00.web", link("DRUGI"));
  put("2022_12_03_10_00_00.web", link("TRECI"));
  put("2022_12_04_10_00_00.web", link("CETVRTI"));
  // A folder under a link's name: the server refuses to delete it.
  ASSERT_TRUE(QDir().mkpath(folder() + "/2022_12_05_10_00_00.web"));
  serve(journal("10:123456789", {{"Hleb", "kom", "Ђ", "60,00", "2", "120,00"}}));
  MySLOBUN* w = open(false);
  QStringList afterDelete;
  listDialog([&](QListWidget* l, QDialog* d) {
    check(l, "05.12.2022 10:00:00");
    check(l, "04.12.2022 10:00:00");
    check(l, "02.12.2022 10:00:00");
    button(d, QString::fromUtf8("Briši selektovane"))->click();
    afterDelete = texts(l);
    // Now second from the top; by position the second entry was the one deleted.
    for (int i = 0; i < l->count(); ++i) l->item(i)->setCheckState(Qt::Unchecked);
    check(l, "03.12.2022 10:00:00");
  }, "Ok");
  linkDialog(QString());
  confirm(true);
  w->obQUMIR->click();

  EXPECT_EQ(listed.size(), 5);
  EXPECT_EQ(afterDelete, (QStringList{"05.12.2022 10:00:00", "03.12.2022 10:00:00", "01.12.2022 10:00:00"}));
  EXPECT_FALSE(there("2022_12_04_10_00_00.web"));
  EXPECT_FALSE(there("2022_12_02_10_00_00.web"));
  EXPECT_TRUE(there("2022_12_05_10_00_00.web"));
  EXPECT_TRUE(there("2022_12_03_10_00_00.web"));
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Greška pri brisanju fajla! 2022_12_05_10_00_00.web")});
  EXPECT_EQ(shownLink, link("TRECI"));
  ASSERT_EQ(page.requests().size(), 1);
  EXPECT_EQ(page.requests()[0].query, "vl=TRECI");
  EXPECT_EQ(ftp.sent(), QStringList{"qumir/" + kSeller + "/2022_12_03_10_00_00.web"});
  EXPECT_EQ(cell(w, 1, "ART_NAZIV"), "Hleb");
}

TEST_F(SlobunQumir, NothingOrTwoCheckedImportNothing) {
  put("2022_12_01_10_00_00.web", link("PRVI"));
  put("2022_12_02_10_00_00.web", link("DRUGI"));
  MySLOBUN* w = open(false);
  const QStringList before = state(w);
  const QString none = QString::fromUtf8("Ništa nije čekirano!");
  const QString two = QString::fromUtf8("Samo jedan fajl može da se izabere!");

  listDialog([](QListWidget*, QDialog* d) { button(d, QString::fromUtf8("Briši selektovane"))->click(); }, "Ok");
  w->obQUMIR->click();
  EXPECT_EQ(boxes.texts(), (QStringList{QString::fromUtf8("Nema ništa čekirano!"), none}));
  EXPECT_EQ(listed.size(), 2);

  boxes.shown.clear();
  listDialog([](QListWidget* l, QDialog*) {
    check(l, "01.12.2022 10:00:00");
    check(l, "02.12.2022 10:00:00");
  }, "Ok");
  w->obQUMIR->click();
  EXPECT_EQ(boxes.texts(), QStringList{two});

  EXPECT_TRUE(there("2022_12_01_10_00_00.web"));
  EXPECT_TRUE(there("2022_12_02_10_00_00.web"));
  EXPECT_TRUE(ftp.sent().isEmpty());
  EXPECT_TRUE(page.requests().isEmpty());
  EXPECT_EQ(state(w), before);
}

TEST_F(SlobunQumir, ACutDownloadImportsNothingAndNoEarlierLinkStandsIn) {
  put("2022_12_01_10_00_00.web", link("NOVI") + QString(200000, ' '));
  ftp.cut({"2022_12_01_10_00_00.web"});
  writeFile(tmp("preuzeto.web"), link("STARI").toUtf8());
  serve(journal("10:123456789", {{"Hleb", "kom", "Ђ", "60,00", "2", "120,00"}}));
  MySLOBUN* w = open(false);
  const QStringList before = state(w);
  listDialog([](QListWidget* l, QDialog*) { check(l, "01.12.2022 10:00:00"); }, "Ok");
  const int dialogs = unexpectedDialogs(w, "Skenirano iz Qumir");
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_FALSE(boxes.texts()[0].isEmpty());
  EXPECT_EQ(dialogs, 0) << "no link dialog after a failed download";
  EXPECT_FALSE(QFile::exists(tmp("preuzeto.web")));
  EXPECT_TRUE(page.requests().isEmpty());
  EXPECT_EQ(state(w), before);
}

TEST_F(SlobunQumir, AnEmptyOrUnreachableFolder) {
  // No company folder yet: an empty list, and Ok says nothing is checked.
  MySLOBUN* w = open(false);
  bool shown = false;
  on("Skenirano iz Qumir", [&shown](QDialog* d) {
    shown = true;
    button(d, "Ok")->click();
  });
  w->obQUMIR->click();
  EXPECT_TRUE(shown);
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Ništa nije čekirano!")});

  // A server that cannot be reached: its message, no dialog.
  boxes.shown.clear();
  account("127.0.0.1:" + QString::number(FtpPeer::closedPort()));
  const int dialogs = unexpectedDialogs(w);
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_TRUE(boxes.texts()[0].startsWith(QString::fromUtf8("Nije moguće otvoriti URI "))) << boxes.texts()[0].toStdString();
  EXPECT_EQ(dialogs, 0);
}

}  // namespace
