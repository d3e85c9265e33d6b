// The free-entry window's use of the buyer and article tables: saving what
// was typed and the two pickers.
#include <QLineEdit>
#include <QTableWidget>
#include <algorithm>

#include "common/msg.h"
#include "common/picture.h"
#include "ui/dbgarray.h"
#include "ui/frame.h"
#include "windows/slobun.h"
#include "windows/slobun_tables.h"

namespace korvan {

namespace {

void report(SlogIshod r) {
  if (r == SlogIshod::Zakljucan) MSG(ERR_LOCK());
  if (r == SlogIshod::NijeDodat) MSG(ERR_ADD());
}

// The progress box of the pickers: "read/count" right-aligned in 5, "Prekid" stops.
class Progress {
 public:
  Progress() : box_(11, true) {}
  bool operator()(int read, int count) {
    box_.Disp(QString::number(read + 1).rightJustified(5) + "/" + QString::number(count).rightJustified(5));
    return !box_.lPREKID;
  }

 private:
  MyFRAME box_;
};

// All records of an open table behind the progress box, sorted by name; an
// empty table says so and gives an empty list.
template <typename T>
QList<T> pickerList(QList<T> (*read)(const SlogProgres&), const char* emptyMessage) {
  QList<T> all;
  {
    Progress progress;
    all = read(std::ref(progress));
  }
  if (all.isEmpty()) MSG(QString::fromUtf8(emptyMessage));
  std::stable_sort(all.begin(), all.end(), [](const T& a, const T& b) { return a.naziv < b.naziv; });
  return all;
}

MyKOLONA col(const char* field, const char* caption, const char* type, int width, int dec = 0) {
  return MyKOLONA::New(QString::fromLatin1(field), QString::fromUtf8(caption), QString::fromLatin1(type), width, dec);
}

}  // namespace

bool MySLOBUN::OTVORI_KOMIT(bool& opened) { return OTVORI_KOMIT_TABELU(opened); }
bool MySLOBUN::OTVORI_ART(bool& opened) { return OTVORI_ART_TABELU(opened); }

void MySLOBUN::ZAPAMTI_KOMIT() {
  const SlobunKupac k{.naziv = oleKOMIT_NAZIV->text(), .pib = oleKOMIT_PIB->text(), .mesto = oleKOMIT_MESTO->text(),
                      .adresa = oleKOMIT_ADRESA->text(), .postBroj = oleKOMIT_POST_BROJ->text(),
                      .email = oleKOMIT_EMAIL->text(), .matbroj = oleKOMIT_MATBROJ->text(),
                      .jbkjs = oleKOMIT_JBKJS->text(), .ugovor = oleUGOVOR->text()};
  if (k.pib.trimmed().isEmpty()) return;
  bool opened = false;
  if (!OTVORI_KOMIT(opened)) return;
  report(UPISI_KOMIT(k));
  ZATVORI_AKO(QStringLiteral("KOMIT"), opened);
}

void MySLOBUN::ZAPAMTI_ARTIKLE() {
  bool opened = false;
  if (!OTVORI_ART(opened)) return;
  for (int r = 1; r <= oTABELA->rowCount(); ++r) {
    if (VRATI_STR_VREDNOST(QStringLiteral("VREDP"), r).isEmpty()) continue;
    // A rate or price that shows asterisks is not known: it never overwrites a stored one.
    if (PICTURE_OVERFLOW(VRATI_STR_VREDNOST(QStringLiteral("STOPA"), r)) ||
        PICTURE_OVERFLOW(VRATI_STR_VREDNOST(QStringLiteral("CENB"), r)))
      continue;
    report(UPISI_ARTIKAL({.sifra = VRATI_STR_VREDNOST(QStringLiteral("ART_SIFRA"), r),
                          .barkod = VRATI_STR_VREDNOST(QStringLiteral("ART_BARKOD"), r),
                          .naziv = VRATI_STR_VREDNOST(QStringLiteral("ART_NAZIV"), r),
                          .jmere = VRATI_STR_VREDNOST(QStringLiteral("ART_JMERE"), r),
                          .stopa = VRATI_NUM_VREDNOST(QStringLiteral("STOPA"), r),
                          .cenb = VRATI_NUM_VREDNOST(QStringLiteral("CENB"), r)}));
  }
  ZATVORI_AKO(QStringLiteral("ART"), opened);
}

void MySLOBUN::IZABERI_KOMIT() {
  bool opened = false;
  if (!OTVORI_KOMIT(opened)) return;
  const QList<SlobunKupac> all = pickerList(&SVI_KOMITENTI, "Nema ništa u bazi kupaca!");
  if (all.isEmpty()) {
    ZATVORI_AKO(QStringLiteral("KOMIT"), opened);
    return;
  }
  QVariantList data;
  for (const SlobunKupac& k : all)
    data.append(QVariant(QVariantList{k.naziv, k.pib, k.mesto, k.adresa, k.postBroj, k.email, k.matbroj, k.jbkjs, k.ugovor}));
  const QList<MyKOLONA> kolone = {col("NAZIV", "Naziv", "C", 30),      col("PIB", "PIB", "C", 13),
                                  col("MESTO", "Mesto", "C", 30),      col("ADRESA", "Adresa", "C", 30),
                                  col("POST_BROJ", "P.broj", "C", 10), col("EMAIL", "E-mail", "C", 20),
                                  col("MATBROJ", "MB", "C", 10),       col("JBKJS", "JBKJS", "C", 10),
                                  col("UGOVOR", "Ugovor", "C", 20)};
  const int chosen = DISP_DEBUG_ARRAY(data, oFont, true, QStringLiteral("Izbor kupca"), kolone, true, false, true);
  if (chosen > 0 && chosen <= all.size()) {
    const SlobunKupac& k = all[chosen - 1];
    oleKOMIT_NAZIV->setText(k.naziv);
    oleKOMIT_PIB->setText(k.pib);
    oleKOMIT_MESTO->setText(k.mesto);
    oleKOMIT_ADRESA->setText(k.adresa);
    oleKOMIT_POST_BROJ->setText(k.postBroj);
    oleKOMIT_EMAIL->setText(k.email);
    oleKOMIT_MATBROJ->setText(k.matbroj);
    oleKOMIT_JBKJS->setText(k.jbkjs);
    oleUGOVOR->setText(k.ugovor);
  }
  ZATVORI_AKO(QStringLiteral("KOMIT"), opened);
}

void MySLOBUN::IZABERI_ART() {
  QTableWidgetItem* item = oTABELA ? oTABELA->currentItem() : nullptr;
  if (!IMA_WHATSTHIS(item, oTABELA)) {
    MSG(QStringLiteral("Nije selektovan red u tabeli!"));
    return;
  }
  const int row = item->whatsThis().toInt();
  bool opened = false;
  if (!OTVORI_ART(opened)) return;
  const QList<SlobunArtikal> all = pickerList(&SVI_ARTIKLI, "Nema ništa u bazi artikala!");
  if (all.isEmpty()) {
    ZATVORI_AKO(QStringLiteral("ART"), opened);
    return;
  }
  QVariantList data;
  for (const SlobunArtikal& a : all) data.append(QVariant(QVariantList{a.sifra, a.barkod, a.naziv, a.jmere, a.stopa, a.cenb}));
  const QList<MyKOLONA> kolone = {col("SIFRA", "Šifra", "C", 20), col("BARKOD", "Barkod", "C", 20),
                                  col("NAZIV", "Naziv", "C", 40), col("JMERE", "J.m.", "C", 5),
                                  col("STOPA", "% PDV", "N", 7, 2), col("CENB", "Cena bez PDV-a", "N", 14, 4)};
  const int chosen = DISP_DEBUG_ARRAY(data, oFont, true, QStringLiteral("Izbor artikla"), kolone, false, false, true);
  if (chosen > 0 && chosen <= all.size() && row >= 1 && row <= oTABELA->rowCount()) {
    const SlobunArtikal& a = all[chosen - 1];
    lPROGRAMSKI = true;
    PISI_VREDNOST(QStringLiteral("ART_SIFRA"), a.sifra, row);
    PISI_VREDNOST(QStringLiteral("ART_NAZIV"), a.naziv, row);
    PISI_VREDNOST(QStringLiteral("ART_BARKOD"), a.barkod, row);
    PISI_VREDNOST(QStringLiteral("ART_JMERE"), a.jmere, row);
    PISI_VREDNOST(QStringLiteral("CENB"), a.cenb, row);
    PISI_VREDNOST(QStringLiteral("STOPA"), a.stopa, row);
    MENJAJ_ZAVISNE(row, QStringLiteral("CENB"));
    AZU_ZBIR();
    lPROGRAMSKI = false;
  }
  ZATVORI_AKO(QStringLiteral("ART"), opened);
}

}  // namespace korvan
