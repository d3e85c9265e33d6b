// Building the e-invoice from the window and sending it.
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>

#include "common/apppath.h"
#include "common/msg.h"
#include "einvoice/ui/invoicesend.h"
#include "einvoice/ui/libkorvan.h"
#include "einvoice/myeracun.h"
#include "einvoice/ui/taxpick.h"
#include "ui/libqt.h"
#include "windows/izsrc.h"

namespace korvan {

std::unique_ptr<MyERACUN> MyIZSRC::NAPRAVI_XML(bool lSend) {
  ZAPAMTI();
  if (cFAJL_SRC.isEmpty()) {
    MSG(QStringLiteral("Nije izabran %1 fajl!").arg(VRSTA()));
    return nullptr;
  }
  if (!lUCITANO) {
    MSG(QString::fromUtf8("%1 fajl nije učitan do kraja, pa podaci na ekranu nisu iz njega!\n"
                          "Ispravite grešku i ponovo učitajte fajl (\"Ponovo učitaj fajl\").")
            .arg(VRSTA()));
    return nullptr;
  }
  QString pdf = cFAJL_PDF;
  // Deleted since it was taken: the document would silently go without it.
  if (!pdf.isEmpty() && !QFileInfo(pdf).isFile()) {
    MSG(QStringLiteral("Ne postoji PDF fajl!\n%1").arg(FILE4DISP(pdf)));
    return nullptr;
  }
  if (pdf.isEmpty()) {
    if (!MSGYESNO(QString::fromUtf8("Nije izabran PDF fajl!\nDa li sigurno želite pravljenje XML fajla?")))
      return nullptr;
    pdf = cFAJL_SRC + NO_PDF_MARKER();
  }
  QString category, exemption;
  ODREDI_TAX_CAT_EXEM(ocmboTAX_CAT, obTAX_eXEM, category, exemption);
  return FUNC_NAPRAVI_XML(oleBRDOK->text(), DATE_FROM_QDATE(odteDATDOK->date()), DATE_FROM_QDATE(odteVALUTA->date()),
                          oleOPERATER->text(), DATE_FROM_QDATE(odteDATPROM->date()), oleOTPREMNICA->text(),
                          oleUGOVOR->text(), oleNARUDZBENICA->text(), oleKOMIT_NAZIV->text(),
                          oleKOMIT_MESTO->text(), oleKOMIT_ADRESA->text(), oleKOMIT_PIB->text(),
                          oleKOMIT_MATBROJ->text(), oleKOMIT_POST_BROJ->text(), oleKOMIT_EMAIL->text(),
                          oleKOMIT_JBKJS->text(), FN_INI, pdf, oTABELA, oFont, aKOLONE, lSend, category,
                          exemption, aATTACH);
}

void MyIZSRC::POSALJI_XML() { sendInvoice(oMainWnd, oFont, [this] { return NAPRAVI_XML(true); }); }

}  // namespace korvan
