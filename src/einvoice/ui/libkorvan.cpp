#include "einvoice/ui/libkorvan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableWidget>

#include "einvoice/ui/invoicesend.h"

namespace korvan {

QString NO_PDF_MARKER() { return QStringLiteral("NESTO STO NE POSTOJI"); }

QString IZ_TABELE(const QString& polje, int row, const QTableWidget* table, const QList<MyKOLONA>& kolone) {
  const int col = KOLONA_PO_POLJU(kolone, polje);
  if (!table || col < 0) return QString();
  const QTableWidgetItem* item = table->item(row, col);
  return item ? item->text() : QString();
}

std::unique_ptr<MyERACUN> FUNC_NAPRAVI_XML(
    const QString& brdok, const QDate& datumIzdavanja, const QDate& valutaPlacanja,
    const QString& operater, const QDate& datumPrometa, const QString& otpremnica,
    const QString& ugovor, const QString& narudzbenica, const QString& komitNaziv,
    const QString& komitMesto, const QString& komitAdresa, const QString& komitPib,
    const QString& komitMatbroj, const QString& komitPostBroj, const QString& komitEmail,
    const QString& komitJbkjs, const QString& iniFile, const QString& pdfPath,
    const QTableWidget* table, const QFont& font, const QList<MyKOLONA>& kolone, bool quiet,
    const QString& taxCat, const QString& taxExem, const std::optional<AttachList>& attach) {
  InvoiceInput in{.brdok = brdok,
                  .datumIzdavanja = datumIzdavanja,
                  .valutaPlacanja = valutaPlacanja,
                  .datumPrometa = datumPrometa,
                  .operater = operater,
                  .otpremnica = otpremnica,
                  .ugovor = ugovor,
                  .narudzbenica = narudzbenica,
                  .buyer = {.naziv = komitNaziv,
                            .mesto = komitMesto,
                            .adresa = komitAdresa,
                            .pib = komitPib,
                            .matbroj = komitMatbroj,
                            .postBroj = komitPostBroj,
                            .email = komitEmail,
                            .jbkjs = komitJbkjs},
                  .seller = readInvoiceSeller(iniFile),
                  .taxCat = taxCat,
                  .taxExem = taxExem,
                  .attach = attach};
  // A path that names no file means no PDF; the windows' marker ending is
  // not part of the name the document takes.
  if (QFileInfo(pdfPath).isFile()) in.pdfPath = pdfPath;
  else in.namedAfter = pdfPath.endsWith(NO_PDF_MARKER()) ? pdfPath.chopped(NO_PDF_MARKER().size()) : pdfPath;
  for (const MyKOLONA& k : kolone) in.captions.insert(k.POLJE, k.NASLOV);
  for (int row = 0; table && row < table->rowCount(); ++row) {
    InvoiceLineText line;
    for (const QString& field : INVOICE_LINE_FIELDS()) *lineField(line, field) = IZ_TABELE(field, row, table, kolone);
    in.lines.append(line);
  }

  std::unique_ptr<MyERACUN> r = makeInvoice(in, font, quiet);
  // The record keeps the PDF path as the window named it.
  if (r) r->cFN_PDF_FULL = pdfPath;
  return r;
}

}  // namespace korvan
