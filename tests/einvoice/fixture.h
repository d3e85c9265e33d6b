#pragma once
// Shared pieces of the e-invoice tests: the line table of the invoice windows,
// a seller INI, a build with everything named (as plain values for the core,
// or through the windows' facade and a line table), and the schema check.
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

#include "einvoice/invoiceinput.h"
#include "einvoice/ui/libkorvan.h"
#include "ui/kolona.h"
#include "einvoice/ui/linetable.h"

namespace korvan::test {

// The eleven columns the spreadsheet and clipboard windows use.
inline QList<MyKOLONA> lineColumns() { return INVOICE_LINE_TABLE(); }

// One row given by field name; fields not named stay without an item.
using Row = QList<std::pair<QString, QString>>;

inline void fillTable(QTableWidget& t, const QList<MyKOLONA>& cols, const QList<Row>& rows) {
  t.clear();
  t.setColumnCount(cols.size());
  t.setRowCount(rows.size());
  for (int r = 0; r < rows.size(); ++r)
    for (const auto& [field, text] : rows[r])
      t.setItem(r, KOLONA_PO_POLJU(cols, field), new QTableWidgetItem(text));
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  f.write(bytes);
}

inline QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A small file that starts like a PDF.
inline QByteArray fakePdf(const char* tag = "invoice") {
  return QByteArray("%PDF-1.4\n% ") + tag + "\n1 0 obj << /Type /Catalog >> endobj\n%%EOF\n";
}

inline QByteArray sellerIni(const char* obvpdv = "T") {
  QByteArray s =
      "[Firma]\r\nNAZIV=Prodavac & Sin d.o.o.\r\nMESTO=Novi Sad\r\nPOST_BROJ=21000\r\n"
      "ADRESA=Bulevar oslobođenja 1\r\nPIB=100200300\r\nMATBROJ=08765432\r\n"
      "VLASNIK=Petar Petrović\r\nEMAIL=prodaja@prodavac.rs\r\nZIRO=160-0000000123456-78\r\n";
  if (obvpdv) s += QByteArray("OBVPDV=") + obvpdv + "\r\n";
  return s;
}

// Header values of one build; tests change what they need.
struct Build {
  QString brdok = "  R-15/2022 ";
  QDate issue = QDate(2022, 12, 14);
  QDate due = QDate(2022, 12, 29);
  QString operater = "Ana  ";
  QDate supply = QDate(2022, 12, 13);
  QString otpremnica = "OTP-7 ";
  QString ugovor = "UG-2022/3";
  QString narudzbenica = "NAR-11";
  QString kNaziv = QString::fromUtf8("Kupac <Beograd> \"Jug\"");
  QString kMesto = "Beograd";
  QString kAdresa = QString::fromUtf8("Kneza Miloša 10");
  QString kPib = "101112131";
  QString kMatbroj = "07654321";
  QString kPost = "11000";
  QString kEmail = "nabavka@kupac.rs";
  QString kJbkjs = "";
  QString ini;
  QString pdf;
  QString cat;
  QString exem;
  std::optional<AttachList> attach;
  bool quiet = true;

  // The same values as the core takes them: a pdf that names no file means
  // no PDF, the document named after the path.
  InvoiceInput input(const QList<Row>& rows) const {
    InvoiceInput in{.brdok = brdok,
                    .datumIzdavanja = issue,
                    .valutaPlacanja = due,
                    .datumPrometa = supply,
                    .operater = operater,
                    .otpremnica = otpremnica,
                    .ugovor = ugovor,
                    .narudzbenica = narudzbenica,
                    .buyer = {.naziv = kNaziv,
                              .mesto = kMesto,
                              .adresa = kAdresa,
                              .pib = kPib,
                              .matbroj = kMatbroj,
                              .postBroj = kPost,
                              .email = kEmail,
                              .jbkjs = kJbkjs},
                    .seller = readInvoiceSeller(ini),
                    .taxCat = cat,
                    .taxExem = exem,
                    .attach = attach};
    if (QFileInfo(pdf).isFile()) in.pdfPath = pdf;
    else in.namedAfter = pdf;
    for (const MyKOLONA& k : lineColumns()) in.captions.insert(k.POLJE, k.NASLOV);
    for (const Row& row : rows) {
      InvoiceLineText line;
      for (const auto& [field, text] : row)
        if (QString* member = lineField(line, field)) *member = text;
      in.lines.append(line);
    }
    return in;
  }
  InvoiceBuild core(const QList<Row>& rows) const { return buildInvoice(input(rows)); }

  std::unique_ptr<MyERACUN> run(const QTableWidget& t, const QList<MyKOLONA>& cols) const {
    return FUNC_NAPRAVI_XML(brdok, issue, due, operater, supply, otpremnica, ugovor, narudzbenica,
                            kNaziv, kMesto, kAdresa, kPib, kMatbroj, kPost, kEmail, kJbkjs, ini, pdf,
                            &t, QFont(), cols, quiet, cat, exem, attach);
  }
};

// xmllint against the UBL 2.1 invoice schema: empty when valid, else its report.
inline QString schemaErrors(const QString& file) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start("xmllint", {"--noout", "--schema",
                      QStringLiteral(KORVAN_FIXTURES_DIR "/schemas/ubl-2.1/maindoc/UBL-Invoice-2.1.xsd"), file});
  if (!p.waitForFinished(60000)) return "xmllint did not finish";
  const QString out = QString::fromUtf8(p.readAll());
  return p.exitCode() == 0 ? QString() : out;
}

}  // namespace korvan::test
