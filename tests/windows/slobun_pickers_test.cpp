// The buyer and article pickers of the free-entry window, through the real
// row picker dialog.
#include "einvoice/salji_fixture.h"
#include "slobun_fixture.h"
#include "common/dbf/table.h"
#include "ui/frame.h"
#include "windows/slobun_tables.h"

using namespace korvan;
using namespace korvan::test;

namespace {

class SlobunPickers : public SlobunTest {
 protected:
  static void store(const QList<SlobunKupac>& buyers, const QList<SlobunArtikal>& articles) {
    bool opened = false;
    ASSERT_TRUE(OTVORI_KOMIT_TABELU(opened));
    for (const SlobunKupac& k : buyers) ASSERT_EQ(UPISI_KOMIT(k), SlogIshod::Upisan);
    ZATVORI_AKO("KOMIT", opened);
    ASSERT_TRUE(OTVORI_ART_TABELU(opened));
    for (const SlobunArtikal& a : articles) ASSERT_EQ(UPISI_ARTIKAL(a), SlogIshod::Upisan);
    ZATVORI_AKO("ART", opened);
  }
  // On the picker titled title: remembers its rows' first cells, picks row (1-based; 0 closes it).
  void pick(const QString& title, int row) {
    onDialog(title, [this, row](QDialog* d) {
      QTableWidget* t = nullptr;
      for (QTableWidget* each : d->findChildren<QTableWidget*>())
        if (each->rowCount() > 0) t = each;
      ASSERT_NE(t, nullptr);
      auto text = [t](int r, int c) { return t->item(r, c) ? t->item(r, c)->text() : QString("<none>"); };
      shown.clear();
      for (int r = 0; r < t->rowCount(); ++r) shown << text(r, 0) + "|" + text(r, 1);
      if (row == 0) {
        d->reject();
        return;
      }
      t->setCurrentCell(row - 1, 0);
      button(d, "Ok")->click();
    });
  }
  QStringList shown;
};

TEST_F(SlobunPickers, ABuyerIsPickedIntoTheFields) {
  store({{.naziv = "Zeta", .pib = "300", .mesto = "Bar"},
         {.naziv = "Alfa", .pib = "100", .mesto = "Novi Sad", .adresa = "Bulevar 1", .postBroj = "21000",
          .email = "a@alfa.rs", .matbroj = "111", .jbkjs = "J1", .ugovor = "UG-A"},
         {.naziv = "Mika", .pib = "200"}},
        {});
  MySLOBUN* w = open(false);
  pick("Izbor kupca", 1);
  w->obIZBOR_KOMIT->click();
  EXPECT_EQ(shown, (QStringList{"Alfa|100", "Mika|200", "Zeta|300"})) << "sorted by name";
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), "Alfa");
  EXPECT_EQ(w->oleKOMIT_PIB->text(), "100");
  EXPECT_EQ(w->oleKOMIT_MESTO->text(), "Novi Sad");
  EXPECT_EQ(w->oleKOMIT_ADRESA->text(), "Bulevar 1");
  EXPECT_EQ(w->oleKOMIT_POST_BROJ->text(), "21000");
  EXPECT_EQ(w->oleKOMIT_EMAIL->text(), "a@alfa.rs");
  EXPECT_EQ(w->oleKOMIT_MATBROJ->text(), "111");
  EXPECT_EQ(w->oleKOMIT_JBKJS->text(), "J1");
  EXPECT_EQ(w->oleUGOVOR->text(), "UG-A");
  EXPECT_EQ(iniValue("SLOBUN", "KOMIT_NAZIV"), "<absent>") << "a pick is saved only by finishing an edit";

  // Closing the picker changes nothing.
  w->oleKOMIT_NAZIV->setText("Ostaje");
  pick("Izbor kupca", 0);
  w->obIZBOR_KOMIT->click();
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), "Ostaje");
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
}

TEST_F(SlobunPickers, AnArticleFillsTheCurrentRowAndComputesIt) {
  store({}, {{"V1", "", "Voda", "l", 20, 1}, {"K1", "8600", "Kafa", "kg", 10, 7.5}, {"B1", "", "Bombone", "kom", 20, 2}});
  MySLOBUN* w = open(false);
  type(w, 2, "KOLICINA", "3");
  type(w, 2, "RABATP", "10");
  pick("Izbor artikla", 2);
  w->obIZBOR_ART->click();
  EXPECT_EQ(shown, (QStringList{"B1|", "K1|8600", "V1|"}));
  EXPECT_EQ(cell(w, 2, "ART_SIFRA"), "K1");
  EXPECT_EQ(cell(w, 2, "ART_NAZIV"), "Kafa");
  EXPECT_EQ(cell(w, 2, "ART_BARKOD"), "8600");
  EXPECT_EQ(cell(w, 2, "ART_JMERE"), "kg");
  EXPECT_EQ(cell(w, 2, "CENB"), "7,5000");
  EXPECT_EQ(cell(w, 2, "STOPA"), "10,00");
  EXPECT_EQ(cell(w, 2, "KOLICINA"), "3,000");
  EXPECT_EQ(cell(w, 2, "RABATP"), "10,00");
  EXPECT_EQ(cell(w, 2, "VREDB"), "22,50");
  EXPECT_EQ(cell(w, 2, "OSN"), "20,25");
  EXPECT_EQ(cell(w, 2, "VREDP"), "22,28");
  EXPECT_EQ(total(w), "Ukupno: " + QString(13, ' ') + "22,28");
  EXPECT_EQ(w->oTABELA->item(1, 0)->whatsThis(), "2");
  EXPECT_FALSE(w->lPROGRAMSKI);
}

TEST_F(SlobunPickers, PrekidOffersWhatWasReadSoFar) {
  const int stored = 3000;
  bool opened = false;
  ASSERT_TRUE(OTVORI_KOMIT_TABELU(opened));
  ZATVORI_AKO("KOMIT", opened);
  {
    std::unique_ptr<dbf::Table> t = dbf::Table::open(GETAPPPATH() + "BAZE/KOMIT", true);
    ASSERT_NE(t, nullptr);
    for (int i = 0; i < stored; ++i) {
      ASSERT_TRUE(t->appendBlank());
      t->put("PIB", QString::number(100000 + i));
      t->put("NAZIV", QString("Kupac %1").arg(i, 4, 10, QChar('0')));
    }
    t->close();
  }
  MySLOBUN* w = open(false);
  MyFRAME::SET_INTERVAL(0);  // the box runs events at every row, so the watch sees each count
  // "Prekid" on the progress box once it counts past 50 ("   51/ 3000").
  auto* poll = new QTimer;
  poll->setInterval(1);
  QObject::connect(poll, &QTimer::timeout, [poll] {
    QWidget* m = QApplication::activeModalWidget();
    QPushButton* b = m ? button(m, "Prekid") : nullptr;
    auto* count = m ? m->findChild<QLabel*>() : nullptr;
    if (b && count && count->text().section('/', 0, 0).trimmed().toInt() > 50) {
      b->click();
      poll->stop();
    }
  });
  poll->start();
  pick("Izbor kupca", 0);
  w->obIZBOR_KOMIT->click();
  delete poll;
  MyFRAME::SET_INTERVAL(50);
  EXPECT_GE(shown.size(), 50);
  EXPECT_LT(shown.size(), stored) << "reading stopped at Prekid";
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), "");
}

TEST_F(SlobunPickers, NothingToPickSaysSo) {
  MySLOBUN* w = open(false);
  w->obIZBOR_KOMIT->click();
  w->oTABELA->setCurrentCell(-1, -1);
  w->obIZBOR_ART->click();
  w->oTABELA->setCurrentCell(0, 0);
  w->obIZBOR_ART->click();
  EXPECT_EQ(boxes.texts(), (QStringList{QString::fromUtf8("Nema ništa u bazi kupaca!"), "Nije selektovan red u tabeli!",
                                        QString::fromUtf8("Nema ništa u bazi artikala!")}));
}

}  // namespace
