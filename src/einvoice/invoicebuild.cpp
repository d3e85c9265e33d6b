#include <QFileInfo>

#include "common/ini.h"
#include "common/numbers.h"
#include "common/picture.h"
#include "common/texthelp.h"
#include "einvoice/invoiceinput.h"
#include "einvoice/taxcat.h"
#include "einvoice/ublwriter.h"

namespace korvan {
namespace {

QString caption(const InvoiceInput& in, const QString& field) {
  const auto it = in.captions.constFind(field);
  return it == in.captions.constEnd() ? field : QString(*it).replace('\n', ' ');
}

QString notBuilt(int row, const QString& column, const QString& what) {
  return QString::fromUtf8("U %1. redu tabele, u koloni \"%2\", %3\nXML fajl nije napravljen.")
      .arg(row + 1)
      .arg(column, what);
}

// Reads and completes one row; the refusal when a figure shows the asterisks
// of a value that does not fit its picture, or a formula error.
QString readRow(const InvoiceInput& in, int row, InvoiceLine& l, double& vredp) {
  static const char* numbers[] = {"KOLICINA", "CENB", "VREDB", "RABATP", "STOPA", "OSN", "VREDP"};
  InvoiceLineText t = in.lines[row];
  double v[7];
  for (int i = 0; i < 7; ++i) {
    const QString field = QString::fromLatin1(numbers[i]);
    const QString text = *lineField(t, field);
    if (PICTURE_OVERFLOW(text)) return notBuilt(row, caption(in, field), "broj ne staje u prikaz (******)!");
    if (FORMULA_ERROR(text))
      return notBuilt(row, caption(in, field), QString::fromUtf8("formula daje grešku (%1)!").arg(text.trimmed()));
    v[i] = INTELI_VAL(text);
  }
  l.ART_SIFRA = rtrim(t.ART_SIFRA);
  l.ART_NAZIV = rtrim(t.ART_NAZIV);
  l.ART_BARKOD = rtrim(t.ART_BARKOD);
  l.ART_JMERE = rtrim(t.ART_JMERE);
  l.KOLICINA = v[0];
  l.CENB = v[1];
  l.VREDB = v[2];
  l.RABATP = v[3];
  l.STOPA = v[4];
  l.OSN = v[5];
  vredp = v[6];
  if (EQ(l.VREDB, 0)) l.VREDB = ROUND(l.KOLICINA * l.CENB, 2);
  if (EQ(l.OSN, 0)) l.OSN = ROUND(l.VREDB * (1 - l.RABATP / 100), 2);
  if (EQ(vredp, 0)) vredp = ROUND(l.OSN * (1 + l.STOPA / 100), 2);
  return QString();
}

bool counted(const InvoiceLine& l, double vredp) {
  return !l.ART_NAZIV.trimmed().isEmpty() || l.KOLICINA != 0 || l.CENB != 0 || l.VREDB != 0 || vredp != 0;
}

void fillHeader(const InvoiceInput& in, MyERACUN& r) {
  r.cBRDOK = in.brdok.trimmed();
  r.dDATUM_IZDAVANJA = in.datumIzdavanja;
  r.dVALUTA_PLACANJA = in.valutaPlacanja;
  r.dDATUM_PROMETA = in.datumPrometa;
  r.cAPLIKACIJA = QStringLiteral("Korvan");
  r.cVD = QLatin1String("");
  r.cOZN_OPERATERA = rtrim(in.operater);
  r.cNAZIV_OPERATERA = rtrim(in.operater);
  r.cNOVCANA_VALUTA = QStringLiteral("RSD");
  r.cOTPREMNICA = rtrim(in.otpremnica);
  r.cUGOVOR = rtrim(in.ugovor);
  r.cNARUDZBENICA = rtrim(in.narudzbenica);

  const InvoiceSeller& s = in.seller;
  r.cFIRMA_NAZIV = s.naziv;
  r.cFIRMA_MESTO = s.mesto;
  r.cFIRMA_POST_BROJ = s.postBroj;
  r.cFIRMA_ADRESA = s.adresa;
  r.cFIRMA_PIB = s.pib;
  r.cFIRMA_MATBROJ = s.matbroj;
  r.cFIRMA_VLASNIK = s.vlasnik;
  r.cFIRMA_EMAIL = s.email;
  r.cFIRMA_ZIRO = s.ziro;
  if (!s.vatRegistered) r.cFIRMA_OBVPDV = QStringLiteral("N");

  const InvoiceBuyer& b = in.buyer;
  r.cKOMIT_NAZIV = rtrim(b.naziv);
  r.cKOMIT_MESTO = rtrim(b.mesto);
  r.cKOMIT_ADRESA = rtrim(b.adresa);
  r.cKOMIT_PIB = rtrim(b.pib);
  r.cKOMIT_MATBROJ = rtrim(b.matbroj);
  r.cKOMIT_POST_BROJ = rtrim(b.postBroj);
  r.cKOMIT_EMAIL = rtrim(b.email);
  r.cKOMIT_JBKJS = rtrim(b.jbkjs);
  r.cISPORUKE_ADRESA = r.cKOMIT_ADRESA;
  r.cISPORUKE_MESTO = r.cKOMIT_MESTO;
  r.cISPORUKE_POST_BROJ = r.cKOMIT_POST_BROJ;
}

// The lines, the VAT summary of each rate (in order of first use) and the totals.
QString fillLines(const InvoiceInput& in, MyERACUN& r) {
  double netTotal = 0, grossTotal = 0;
  for (int row = 0; row < in.lines.size(); ++row) {
    InvoiceLine l;
    double vredp = 0;
    if (const QString refusal = readRow(in, row, l, vredp); !refusal.isEmpty()) return refusal;
    if (!counted(l, vredp)) continue;
    if (l.ART_NAZIV.trimmed().isEmpty())
      return notBuilt(row, caption(in, QStringLiteral("ART_NAZIV")), "nije upisan naziv stavke!");
    r.aPROMENE.append(l);
    VatEntry* entry = nullptr;
    for (VatEntry& e : r.aPDV)
      if (e.STOPA == l.STOPA) entry = &e;
    if (!entry) {
      r.aPDV.append({l.STOPA, 0, 0});
      entry = &r.aPDV.last();
    }
    entry->OSNOVICA += l.OSN;
    entry->PDV += vredp - l.OSN;
    grossTotal += vredp;
    netTotal += l.OSN;
  }
  r.WVREDB = netTotal;
  r.WVREDP = grossTotal;
  r.WZA_UPLATU = grossTotal;
  return QString();
}

}  // namespace

const QStringList& INVOICE_LINE_FIELDS() {
  static const QStringList fields = {"ART_SIFRA", "ART_NAZIV", "ART_BARKOD", "ART_JMERE", "KOLICINA", "CENB",
                                     "VREDB",     "RABATP",    "STOPA",      "OSN",       "VREDP"};
  return fields;
}

QString* lineField(InvoiceLineText& l, const QString& field) {
  QString* members[] = {&l.ART_SIFRA, &l.ART_NAZIV, &l.ART_BARKOD, &l.ART_JMERE, &l.KOLICINA, &l.CENB,
                        &l.VREDB,     &l.RABATP,    &l.STOPA,      &l.OSN,       &l.VREDP};
  const qsizetype i = INVOICE_LINE_FIELDS().indexOf(field);
  return i < 0 ? nullptr : members[i];
}

InvoiceSeller readInvoiceSeller(const QString& iniFile) {
  auto firma = [&](const char* key) { return GETPRIVATEPROFILESTRING("Firma", key, "", iniFile); };
  return InvoiceSeller{.naziv = firma("NAZIV"),
                       .mesto = firma("MESTO"),
                       .postBroj = firma("POST_BROJ"),
                       .adresa = firma("ADRESA"),
                       .pib = firma("PIB"),
                       .matbroj = firma("MATBROJ"),
                       .vlasnik = firma("VLASNIK"),
                       .email = firma("EMAIL"),
                       .ziro = firma("ZIRO"),
                       .vatRegistered = GETPRIVATEPROFILESTRING("Firma", "OBVPDV", "F", iniFile) == u"T"};
}

InvoiceBuild buildInvoice(const InvoiceInput& in) {
  InvoiceBuild b;
  auto r = std::make_unique<MyERACUN>();
  r->New();
  fillHeader(in, *r);
  b.refusal = fillLines(in, *r);
  if (!b.refusal.isEmpty()) return b;
  if (!in.taxCat.isEmpty()) r->cTAX_CAT = in.taxCat;
  if (!in.taxExem.isEmpty() && in.taxExem != TAX_EXEM_PROMPT()) r->cTAX_EXEM = in.taxExem;
  if (in.attach && !in.attach->isEmpty()) r->aATTACH = in.attach;
  r->cFN_PDF_FULL = in.pdfPath.value_or(QString());
  r->cFN_XML_FULL = UBL_XML_NAME(in.pdfPath.value_or(in.namedAfter));
  b.refusal = writeUblDocument(*r, in.pdfPath.has_value());
  if (b.refusal.isEmpty()) b.record = std::move(r);
  return b;
}

}  // namespace korvan
