// Building the e-invoice from the free-entry window, sending it, and the
// printout's entry point.
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>

#include "common/apppath.h"
#include "common/msg.h"
#include "common/texthelp.h"
#include "einvoice/ui/invoicesend.h"
#include "einvoice/ui/libkorvan.h"
#include "einvoice/ui/taxpick.h"
#include "ui/libqt.h"
#include "print/srpt.h"
#include "windows/slobun.h"
#include "windows/slobun_print.h"

namespace korvan {

namespace {

const QString kNoPdf = QStringLiteral("NESTO STO NE POSTOJI");

// A typed text as part of a file name in TMP: no folder separator of either
// kind and no control character survives, so the name cannot leave TMP.
QString harmless(const QString& text) {
  QString s = IZBACI_SMETNJE(text);
  s.replace(QLatin1Char('\\'), QLatin1Char('-'));
  QString out;
  for (const QChar ch : s)
    if (ch.category() != QChar::Other_Control) out += ch;
  return out;
}

}  // namespace

QString MySLOBUN::IME_FAJLA() const {
  return harmless(oleGODINA->text()) + QLatin1Char(' ') + harmless(oleBRDOK->text().trimmed());
}

QString MySLOBUN::NAPRAVI_PDF(bool lPrint) {
  bool refused = false;
  return printout(lPrint, refused);
}

QString MySLOBUN::printout(bool lPrint, bool& refused) {
  refused = true;
  if (oleGODINA->text().isEmpty()) {
    MSG(QString::fromUtf8("Ne sme prazno polje 'Godina'!"));
    return {};
  }
  if (oleBRDOK->text().isEmpty()) {
    MSG(QString::fromUtf8("Ne sme prazno polje 'Broj dokumenta'!"));
    return {};
  }
  // Asterisks are no amount: nothing is printed from them.
  if (const QString refusal = NE_STAJE(); !refusal.isEmpty()) {
    MSG(refusal + QString::fromUtf8("\nPDF fajl nije napravljen."));
    return {};
  }
  refused = false;
  ZAPAMTI_KOMIT();
  ZAPAMTI_ARTIKLE();

  auto firma = [this](const char* key) { return GETINI(QString::fromLatin1(key), QStringLiteral("Firma")); };
  StampaUlaz in{.firmaNaziv = firma("NAZIV"), .firmaMesto = firma("MESTO"), .firmaAdresa = firma("ADRESA"),
                .firmaPib = firma("PIB"), .firmaMatbroj = firma("MATBROJ"), .firmaZiro = firma("ZIRO"),
                .godina = oleGODINA->text(), .broj = oleBRDOK->text(),
                .kupacNaziv = oleKOMIT_NAZIV->text(), .kupacAdresa = oleKOMIT_ADRESA->text(),
                .kupacMesto = oleKOMIT_MESTO->text(), .kupacPostBroj = oleKOMIT_POST_BROJ->text(),
                .kupacPib = oleKOMIT_PIB->text(), .kupacMatbroj = oleKOMIT_MATBROJ->text(),
                .kupacJbkjs = oleKOMIT_JBKJS->text(), .datumIzdavanja = odteDATDOK->date(),
                .datumPrometa = odteDATPROM->date(), .valuta = odteVALUTA->date(),
                .mestoIzdavanja = oleMESTO_IZD->text(), .mestoPrometa = oleMESTO_PROM->text(),
                .narudzbenica = oleNARUDZBENICA->text(), .otpremnica = oleOTPREMNICA->text(),
                .ugovor = oleUGOVOR->text(), .operater = oleOPERATER->text(), .napomena = oleNAPOMENA->text(),
                .kolone = aKOLONE, .redovi = {}};
  for (int r = 1; r <= oTABELA->rowCount(); ++r) in.redovi << rowTexts(r);
  const Stampa stampa = SLOBUN_STAMPA(in);

  print::SRPT rpt;
  rpt.FileName(GETAPPPATH() + QStringLiteral("TMP/") + IME_FAJLA() + QStringLiteral(".pdf"));
  rpt.PageMargins(5, 5, 5, 5, QStringLiteral("mm"));
  rpt.DefaultFontName(QStringLiteral("Arial"));
  rpt.DefaultFontSize(10);
  rpt.oSTXT.Orientation(QStringLiteral("P"));
  for (int i = 0; i < stampa.blokovi.size(); ++i) {
    const StampaBlok& b = stampa.blokovi[i];
    if (i > 0) rpt.oSTXT.NewRow(QStringLiteral("5mm"), QStringLiteral("R"));
    rpt.TableBegin();
    rpt.TableFrame(b.frame);
    if (b.inner > 0) rpt.TableFrameSingleWidth(b.inner);
    if (b.outer > 0) rpt.TableFrameOuterWidth(b.outer);
    for (const StampaKolona& c : b.columns)
      rpt.AddColumn({.head = print::TextSource(c.head), .width = c.width, .align = c.align});
    for (const StampaCelija& c : b.cells) {
      rpt.CellBegin();
      if (c.size > 0) rpt.CellFontSize(c.size);
      if (c.bold >= 0) rpt.CellFontBold(c.bold == 1);
      rpt.CellText(c.text);
      rpt.CellEnd();
    }
    rpt.TableEnd();
  }
  if (!rpt.Exec(lPrint)) {
    // Not written: an older file of that name is not this printout.
    if (!lPrint) MSG(QStringLiteral("Nije napravljen PDF fajl!"));
    return {};
  }
  return rpt.oSTXT.cFILENAME;
}

std::unique_ptr<MyERACUN> MySLOBUN::NAPRAVI_XML(bool lQuiet) {
  ZAPAMTI_KOMIT();
  ZAPAMTI_ARTIKLE();
  QString pdf;
  if (lYT) {
    if (oleGODINA->text().isEmpty()) {
      MSG(QStringLiteral("Ne sme prazna godina!"));
      return nullptr;
    }
    if (oleBRDOK->text().isEmpty()) {
      MSG(QString::fromUtf8("Ne sme prazan broj dokumenta!"));
      return nullptr;
    }
    pdf = GETAPPPATH() + QStringLiteral("TMP/") + IME_FAJLA() + QStringLiteral(".xml") + kNoPdf;
  } else {
    // After the printout's own refusal (no year, no number, asterisks in the
    // grid) there is nothing to build under.
    bool refused = false;
    pdf = printout(true, refused);
    if (refused) return nullptr;
    if (pdf.isEmpty() || !QFileInfo(pdf).isFile()) {
      if (!MSGYESNO(QString::fromUtf8("Nije napravljen PDF fajl!\nDa li sigurno želite pravljenje XML fajla?")))
        return nullptr;
      pdf = GETAPPPATH() + QStringLiteral("TMP/") + IME_FAJLA() + QStringLiteral(".pdf") + kNoPdf;
    }
  }
  QString category, exemption;
  ODREDI_TAX_CAT_EXEM(ocmboTAX_CAT, obTAX_EXEM, category, exemption);
  return FUNC_NAPRAVI_XML(oleBRDOK->text() + QLatin1Char('/') + oleGODINA->text(), DATE_FROM_QDATE(odteDATDOK->date()),
                          DATE_FROM_QDATE(odteVALUTA->date()), oleOPERATER->text(), DATE_FROM_QDATE(odteDATPROM->date()),
                          oleOTPREMNICA->text(), oleUGOVOR->text(), oleNARUDZBENICA->text(), oleKOMIT_NAZIV->text(),
                          oleKOMIT_MESTO->text(), oleKOMIT_ADRESA->text(), oleKOMIT_PIB->text(),
                          oleKOMIT_MATBROJ->text(), oleKOMIT_POST_BROJ->text(), oleKOMIT_EMAIL->text(),
                          oleKOMIT_JBKJS->text(), FN_INI, pdf, oTABELA, oFont, aKOLONE, lQuiet, category, exemption,
                          aATTACH);
}

void MySLOBUN::POSALJI_XML() { sendInvoice(oMainWnd, oFont, [this] { return NAPRAVI_XML(true); }); }

}  // namespace korvan
