// The clipboard window's PDF choice, the document built from its fields and
// items, and the send.
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QTableWidget>
#include <QTextEdit>

#include "common/dates.h"
#include "common/msg.h"
#include "einvoice/ui/invoicesend.h"
#include "einvoice/ui/libkorvan.h"
#include "ui/frame.h"
#include "ui/windlg.h"
#include "windows/izclip.h"

namespace korvan {

bool MyIZCLIP::IZABERI_PDF_FAJL() {
  { MyFRAME flash{QString()}; }  // a box that shows and goes, before the file dialog
  const QString path = WINDLG_GETFILE({{QStringLiteral("PDF fajlovi"), QStringLiteral("*.pdf")}},
                                      QStringLiteral("Izaberite fajl"), QString(), false, true)
                           .toString();
  if (path.isEmpty()) return false;
  if (QLatin1Char('.') + QFileInfo(path).suffix().toUpper() != u".PDF") return MSG(QStringLiteral("Nije PDF fajl!"));
  oleFAJL_PDF->setText(path);
  return true;
}

QVariant MyIZCLIP::VRATI_IZ_TABELE_POLJA(const QString& key, const QString& type) const {
  const int row = rowOf(key);
  const QTableWidgetItem* it =
      row < 0 ? nullptr : otwTABELA_POLJA->item(row, KOLONA_PO_POLJU(aKOLONE_POLJA, "VREDNOST"));
  const QString text = it ? it->text() : QString();
  if (type == u"D") return CTOD(text.trimmed());
  return text;
}

std::unique_ptr<MyERACUN> MyIZCLIP::NAPRAVI_XML(bool lQuiet) {
  ZAPAMTI();
  // The text pasted, also while the marked view shows.
  const QString text = lEDIT_CLIP ? oteCLIP->toPlainText() : cOLD_CLIP;
  if (text.isEmpty()) {
    MSG(QString::fromUtf8("Nema ništa naneto iz ClipBoard-a!"));
    return nullptr;
  }
  const QString pdf = oleFAJL_PDF->text();
  if (pdf.isEmpty()) {
    MSG(QStringLiteral("Nije izabran PDF fajl!"));
    return nullptr;
  }
  // Deleted since it was taken: the document would silently go without it.
  if (!QFileInfo(pdf).isFile()) {
    MSG(QStringLiteral("Ne postoji PDF fajl!\n%1").arg(pdf));
    return nullptr;
  }
  auto c = [this](const char* key) { return VRATI_IZ_TABELE_POLJA(QString::fromLatin1(key), QStringLiteral("C")).toString(); };
  auto d = [this](const char* key) { return VRATI_IZ_TABELE_POLJA(QString::fromLatin1(key), QStringLiteral("D")).toDate(); };
  return FUNC_NAPRAVI_XML(c("BRDOK"), d("DATDOK"), d("VALUTA"), c("OPERATER"), d("DATPROM"), c("OTPREMNICA"),
                          c("UGOVOR"), c("NARUDZBENICA"), c("KOMIT_NAZIV"), c("KOMIT_MESTO"), c("KOMIT_ADRESA"),
                          c("KOMIT_PIB"), c("KOMIT_MATBROJ"), c("KOMIT_POST_BROJ"), c("KOMIT_EMAIL"),
                          c("KOMIT_JBKJS"), FN_INI, pdf, otwTABELA_STAVKI, oFont, aKOLONE_STAVKI, lQuiet, QString(),
                          QString());
}

void MyIZCLIP::POSALJI_XML() {
  sendInvoice(oMainWnd, oFont, [this] { return NAPRAVI_XML(true); });
}

}  // namespace korvan
