#pragma once
// The document builder without widgets. One invoice given as plain values
// (header fields by name, buyer, seller, VAT category and exemption, PDF and
// attachments, and the line rows as a window shows them) becomes an e-invoice
// record whose UBL document is written beside the PDF, or a refusal that says
// why in the user's words. Nothing is shown: the caller shows the refusal.
// A window reads its own inputs into an InvoiceInput and makes one call:
//   const InvoiceBuild b = buildInvoice(input);
//   if (!b.record) MSG(b.refusal);
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "einvoice/attachment.h"
#include "einvoice/myeracun.h"

namespace korvan {

// One row of the line table, each cell's text as the window shows it. The
// figures are read there (either decimal mark); a figure showing the
// asterisks of an overflowing picture, or a formula error, refuses the build.
struct InvoiceLineText {
  QString ART_SIFRA, ART_NAZIV, ART_BARKOD, ART_JMERE;
  QString KOLICINA, CENB, VREDB, RABATP, STOPA, OSN, VREDP;
};
// The eleven field names of a line, in table order.
const QStringList& INVOICE_LINE_FIELDS();
// The member of a line named by its field name; nullptr for another name.
QString* lineField(InvoiceLineText& line, const QString& field);

struct InvoiceBuyer {
  QString naziv, mesto, adresa, pib, matbroj, postBroj, email, jbkjs;
};

struct InvoiceSeller {
  QString naziv, mesto, postBroj, adresa, pib, matbroj, vlasnik, email, ziro;
  bool vatRegistered = false;  // OBVPDV exactly "T"
};
// The seller of section Firma of an INI file; empty values when it is missing.
InvoiceSeller readInvoiceSeller(const QString& iniFile);

struct InvoiceInput {
  QString brdok;
  QDate datumIzdavanja, valutaPlacanja, datumPrometa;
  QString operater, otpremnica, ugovor, narudzbenica;
  InvoiceBuyer buyer;
  InvoiceSeller seller;
  QString taxCat;   // empty: the default category
  QString taxExem;  // empty, or the picker's prompt (TAX_EXEM_PROMPT): none chosen
  // The PDF embedded in the document and beside which it is written; none:
  // the invoice goes without one and the document is named after namedAfter
  // (its folder and base name).
  std::optional<QString> pdfPath;
  QString namedAfter;
  std::optional<AttachList> attach;  // none or empty: no attachments
  QList<InvoiceLineText> lines;      // in table order (refusals name row = index + 1)
  // Field name -> the column caption that refusals name; a missing field is
  // named by its field name. Line breaks in captions read as blanks.
  QHash<QString, QString> captions;
};

struct InvoiceBuild {
  std::unique_ptr<MyERACUN> record;  // null when refused
  QString refusal;                   // the message when refused
};

// Completes the lines (value before discount, base and value with VAT from
// what is given), skips rows with nothing counted, sums the VAT summary and
// totals, checks the record and writes its document (replacing an earlier one
// only when the new one is whole). The record, or the refusal with nothing
// written.
InvoiceBuild buildInvoice(const InvoiceInput& in);

}  // namespace korvan
