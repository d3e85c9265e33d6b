#pragma once
// The outgoing e-invoice record: everything the UBL document is written from.
// A null QString or QDate is an absent value; an absent text is written as empty.
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

#include "common/globals.h"
#include "einvoice/attachment.h"

namespace korvan {

// One invoice line, completed by the builder.
struct InvoiceLine {
  QString ART_SIFRA;   // article code
  QString ART_NAZIV;   // name
  QString ART_BARKOD;  // barcode (GTIN)
  QString ART_JMERE;   // unit of measure (local abbreviation)
  double KOLICINA = 0;  // quantity
  double CENB = 0;      // net unit price
  double STOPA = 0;     // VAT rate in percent
  double VREDB = 0;     // value before discount
  double OSN = 0;       // tax base (after discount, without VAT)
  double RABATP = 0;    // discount in percent
};

// The VAT summary of one rate.
struct VatEntry {
  double STOPA = 0;     // rate in percent
  double OSNOVICA = 0;  // sum of the bases of the lines with that rate
  double PDV = 0;       // sum of their VAT (value with VAT minus base)
};

class MyERACUN {
 public:
  MyERACUN() = default;
  MyERACUN& New() { return *this; }

  // Writes the UBL document beside the PDF (embedded when cFN_PDF_FULL names
  // a file); false after the message of writeUblDocument.
  bool PisiXML();
  // Copies the PDF (when it exists) and the document into a folder.
  bool KOPIRAJ(const QString& folder, bool neOtvaraj = false);
  // Lists the parties' missing numbers and asks whether to go on.
  bool PretKontrola();

  QString cFN_PDF_FULL;
  QString cBRDOK;
  QDate dDATUM_IZDAVANJA;
  QDate dVALUTA_PLACANJA;
  QString cVD;
  QString cAPLIKACIJA;
  QString cVREME_IZDAVANJA;
  QString cOZN_OPERATERA;
  QString cNAZIV_OPERATERA;
  QString cKOMENTAR;
  QString cNOVCANA_VALUTA = QStringLiteral("RSD");
  QDate dDATUM_PROMETA;
  QString cNARUDZBENICA;
  QString cOTPREMNICA;
  QString cUGOVOR;
  QString cFN_XML_FULL;
  QString cBASE64_PDF;
  QString cFIRMA_NAZIV;
  QString cFIRMA_MESTO;
  QString cFIRMA_ADRESA;
  QString cFIRMA_PIB;
  QString cFIRMA_POST_BROJ;
  QString cFIRMA_VLASNIK;
  QString cFIRMA_EMAIL;
  QString cFIRMA_ZIRO;
  QString cFIRMA_MATBROJ;
  QString cFIRMA_OBVPDV = QStringLiteral("D");
  QString cKOMIT_NAZIV;
  QString cKOMIT_MESTO;
  QString cKOMIT_ADRESA;
  QString cKOMIT_PIB;
  QString cKOMIT_POST_BROJ;
  QString cKOMIT_EMAIL;
  QString cKOMIT_JBKJS;
  QString cKOMIT_MATBROJ;
  QString cKOMIT_ZIRO;
  QString cKOMIT_OBVPDV = QStringLiteral("D");
  QString cISPORUKE_ADRESA;
  QString cISPORUKE_MESTO;
  QString cISPORUKE_POST_BROJ;
  QList<VatEntry> aPDV;
  double WVREDB = 0;
  double WVREDP = 0;
  double WZA_UPLATU = 0;
  QList<InvoiceLine> aPROMENE;
  int nPOSREDNIK = G_NERACUNI_POSREDNIK();  // 1: the national e-invoice system
  QString cTAX_CAT;
  QString cTAX_EXEM;
  std::optional<AttachList> aATTACH;
};

// Writes the record's document to its cFN_XML_FULL, with the PDF of
// cFN_PDF_FULL embedded when withPdf; empty when written, else the message for the user (the
// record cannot give a valid document, the PDF cannot be read, or the file
// cannot be written). An earlier document is replaced only by a whole one.
QString writeUblDocument(MyERACUN& r, bool withPdf);

// Copies a file into a folder keeping its name and modification time; true
// when every byte was copied.
bool KOPI_FAJL(const QString& folder, const QString& file);

// The names of the intermediaries by number (1 the national system).
QStringList AERACUNI_POSREDNIK();

}  // namespace korvan
