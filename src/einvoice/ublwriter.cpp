#include "einvoice/ublwriter.h"

#include <QStringList>
#include <utility>

#include "common/dates.h"
#include "common/money.h"
#include "einvoice/myeracun.h"
#include "einvoice/taxcat.h"

namespace korvan {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// Trailing zeros of a fixed-point text removed, then a trailing point.
QString stripZeros(QString s) {
  if (!s.contains('.')) return s;
  while (s.endsWith('0')) s.chop(1);
  if (s.endsWith('.')) s.chop(1);
  return s;
}

QString fixed(double value, int decimals) {
  QString s = QString::number(ROUND(value, decimals), 'f', decimals);
  if (s.startsWith('-') && s.mid(1).remove('0').remove('.').isEmpty()) s.remove(0, 1);
  return s;
}

int lastSeparator(const QString& path) { return qMax(path.lastIndexOf('/'), path.lastIndexOf('\\')); }

// The document as lines: one element, element group or comment per line.
class Lines {
 public:
  explicit Lines(qsizetype reserve) { out_.reserve(reserve); }

  void raw(const QByteArray& text) {
    out_.append(text);
    out_.append("\r\n");
  }
  void open(const char* tag, const QByteArray& attrs = QByteArray()) {
    begin();
    out_.append('<').append(tag).append(attrs).append(">\r\n");
    ++depth_;
  }
  void close(const char* tag) {
    --depth_;
    begin();
    out_.append("</").append(tag).append(">\r\n");
  }
  // An element with content that is already safe (fixed text, numbers, Base64).
  void el(const char* tag, const QByteArray& content, const QByteArray& attrs = QByteArray()) {
    begin();
    out_.append('<').append(tag).append(attrs).append('>');
    out_.append(content);
    out_.append("</").append(tag).append(">\r\n");
  }
  // An element whose content comes from the record.
  void text(const char* tag, const QString& value, const QByteArray& attrs = QByteArray()) {
    el(tag, IZBACI_SMETNJE_XML(value).toUtf8(), attrs);
  }
  // An element whose content is Base64 text (ASCII), narrowed straight into the document.
  void base64(const char* tag, const QString& content, const QByteArray& attrs) {
    begin();
    out_.append('<').append(tag).append(attrs).append('>');
    const qsizetype at = out_.size();
    out_.resize(at + content.size());
    char* d = out_.data() + at;
    const QChar* s = content.constData();
    for (qsizetype i = 0; i < content.size(); ++i) d[i] = char(s[i].unicode());
    out_.append("</").append(tag).append(">\r\n");
  }
  void amount(const char* tag, double value) { el(tag, UBL_AMOUNT(value).toLatin1(), " currencyID=\"RSD\""); }
  void comment(std::initializer_list<const char*> lines) {
    begin();
    out_.append("<!--");
    bool first = true;
    for (const char* l : lines) {
      if (!first) {
        out_.append("\r\n");
        begin();
        out_.append("    ");
      }
      out_.append(l);
      first = false;
    }
    out_.append("-->\r\n");
  }
  QByteArray take() { return std::move(out_); }

 private:
  void begin() { out_.append(QByteArray(depth_ * 2, ' ')); }
  QByteArray out_;
  int depth_ = 0;
};

QByteArray attr(const char* name, const QString& value) {
  return QByteArray(" ") + name + "=\"" + IZBACI_SMETNJE_XML(value).toUtf8() + "\"";
}

QString fullLine(const QString& street, const QString& post, const QString& place) {
  return street + ", " + post + " " + place;
}

// The seller's accounts: split at line feeds, stopping once the rest is blank.
QStringList accounts(const QString& text) {
  QStringList pieces;
  QString rest = text;
  while (!rest.trimmed().isEmpty()) {
    const int lf = rest.indexOf('\n');
    if (lf < 0) {
      pieces << rest;
      break;
    }
    pieces << rest.left(lf);
    rest = rest.mid(lf + 1);
  }
  return pieces;
}

bool decodeAttachment(const AttachEntry& a, QByteArray& bytes) {
  auto r = QByteArray::fromBase64Encoding(a.content.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
  if (!r) return false;
  for (const QChar c : a.content)
    if (c.unicode() > 0x7f) return false;
  bytes = std::move(*r);
  return true;
}

QString attachmentMime(const AttachEntry& a) {
  QByteArray bytes;
  if (!decodeAttachment(a, bytes)) return QString();
  return ATTACH_MIME(a.name, bytes);
}

bool validDate(const QDate& d) { return d.isValid() && d.year() >= 1 && d.year() <= 9999; }

void writeSupplier(Lines& x, const MyERACUN& r) {
  x.comment({"Podaci o dobavljacu"});
  x.open("cac:AccountingSupplierParty");
  x.open("cac:Party");
  x.comment({"Globalna lokacijska adresa dobavljaca. Ako je posiljalac ima registrovanu, koristi se schemeID=\"0088\" u kombinaciji sa GLN-om.",
             "U suprotnom, koristi se sifra drzave (9948 je sifra za Srbiju) u kombinaciji sa PIB-om dobavljaca"});
  x.text("cbc:EndpointID", r.cFIRMA_PIB, " schemeID=\"9948\"");
  x.comment({"Oznaka dobavljaca. Ako dobavljac unutar EndpointID polja koristi GLN, u polju ID ovog cvora se upisuje samo vrednost GLN-a.",
             "U suprotnom, koristi se sifra drzave (9948 je sifra za Srbiju) u kombijaciji sa PIB-om dobavljaca.",
             "Ako dobavljac ima registrovanu poslovnicu, potrebno je dodati sufiks PIB-u ::HR99:sifra_poslovne_jedinice"});
  x.open("cac:PartyName");
  x.comment({"Naziv subjekta posiljaoca"});
  x.text("cbc:Name", r.cFIRMA_NAZIV);
  x.close("cac:PartyName");
  x.open("cac:PostalAddress");
  x.comment({"Registrovana adresa posiljaoca"});
  x.text("cbc:StreetName", r.cFIRMA_ADRESA);
  x.comment({"Sediste (grad) dobavljaca"});
  x.text("cbc:CityName", r.cFIRMA_MESTO);
  x.text("cbc:PostalZone", r.cFIRMA_POST_BROJ);
  x.open("cac:AddressLine");
  x.comment({"Puna adresa posiljaoca"});
  x.text("cbc:Line", fullLine(r.cFIRMA_ADRESA, r.cFIRMA_POST_BROJ, r.cFIRMA_MESTO));
  x.close("cac:AddressLine");
  x.comment({"Sediste (drzava) posiljaoca"});
  x.open("cac:Country");
  x.comment({"i.e. RS"});
  x.el("cbc:IdentificationCode", "RS");
  x.close("cac:Country");
  x.close("cac:PostalAddress");
  x.open("cac:PartyTaxScheme");
  x.text("cbc:CompanyID", "RS" + r.cFIRMA_PIB);
  x.comment({"Ime porezne kategorije i.e. VAT/FRE"});
  x.open("cac:TaxScheme");
  x.el("cbc:ID", "VAT");
  x.close("cac:TaxScheme");
  x.close("cac:PartyTaxScheme");
  x.open("cac:PartyLegalEntity");
  x.comment({"Naziv subjekta posiljaoca"});
  x.text("cbc:RegistrationName", r.cFIRMA_NAZIV);
  x.comment({"MB subjekta posiljaoca"});
  x.text("cbc:CompanyID", r.cFIRMA_MATBROJ);
  x.close("cac:PartyLegalEntity");
  x.open("cac:Contact");
  x.comment({"Odgovorna osoba posiljaoca"});
  x.text("cbc:Name", r.cFIRMA_VLASNIK);
  x.comment({"E-mail adresa posiljaoca"});
  x.text("cbc:ElectronicMail", r.cFIRMA_EMAIL);
  x.close("cac:Contact");
  x.close("cac:Party");
  x.close("cac:AccountingSupplierParty");
}

void writeCustomer(Lines& x, const MyERACUN& r) {
  x.open("cac:AccountingCustomerParty");
  x.open("cac:Party");
  x.comment({"Globalna lokacijska adresa kupca. Ako ju kupac ima registrovanu, koristi se schemeID=\"0088\" u kombinaciji sa GLN-om",
             "U suprotnom, koristi se sifra drzave (9948 je sifra za Srbiju) u kombinaciji sa PIB-om kupca"});
  x.text("cbc:EndpointID", r.cKOMIT_PIB, " schemeID=\"9948\"");
  x.open("cac:PartyIdentification");
  x.comment({"Oznaka kupca. Ako kupac unutar EndpointID polja koristi GLN, u polju ID ovog cvora se upisuje samo vrednost GLN-a.",
             "U suprotnom, koristi se sifra drzave (9948 je sifra za Srbiju) u kombijaciji sa PIB-om kupca.",
             "Ako kupac ima registrovanu poslovnicu, potrebno je dodati sufiks ::HR99:sifra_poslovne_jedinice"});
  x.text("cbc:ID", r.cKOMIT_JBKJS.isEmpty() ? "9948:" + r.cKOMIT_PIB : "JBKJS:" + r.cKOMIT_JBKJS);
  x.close("cac:PartyIdentification");
  x.open("cac:PartyName");
  x.comment({"Naziv subjekta primaoca"});
  x.text("cbc:Name", r.cKOMIT_NAZIV);
  x.close("cac:PartyName");
  x.open("cac:PostalAddress");
  x.comment({"Registrovana adresa primaoca"});
  x.text("cbc:StreetName", r.cKOMIT_ADRESA);
  x.comment({"Sediste (grad) primaoca"});
  x.text("cbc:CityName", r.cKOMIT_MESTO);
  x.text("cbc:PostalZone", r.cKOMIT_POST_BROJ);
  x.comment({"Puna adresa primaoca"});
  x.open("cac:AddressLine");
  x.text("cbc:Line", fullLine(r.cKOMIT_ADRESA, r.cKOMIT_POST_BROJ, r.cKOMIT_MESTO));
  x.close("cac:AddressLine");
  x.comment({"Sediste (drzava) primaoca"});
  x.open("cac:Country");
  x.comment({"i.e. RS"});
  x.el("cbc:IdentificationCode", "RS");
  x.close("cac:Country");
  x.close("cac:PostalAddress");
  x.open("cac:PartyTaxScheme");
  x.comment({"PIB subjekta primaoca"});
  x.text("cbc:CompanyID", "RS" + r.cKOMIT_PIB);
  x.comment({"Ime porezne kategorije i.e. VAT/FRE"});
  x.open("cac:TaxScheme");
  x.el("cbc:ID", "VAT");
  x.close("cac:TaxScheme");
  x.close("cac:PartyTaxScheme");
  x.open("cac:PartyLegalEntity");
  x.comment({"Naziv subjekta primaoca"});
  x.text("cbc:RegistrationName", r.cKOMIT_NAZIV);
  x.comment({"MB subjekta primaoca"});
  x.text("cbc:CompanyID", r.cKOMIT_MATBROJ);
  x.close("cac:PartyLegalEntity");
  x.open("cac:Contact");
  x.comment({"Mail adresa primaoca na koju se salje mail obavestenja"});
  x.text("cbc:ElectronicMail", r.cKOMIT_EMAIL);
  x.close("cac:Contact");
  x.close("cac:Party");
  x.close("cac:AccountingCustomerParty");
}

void writeDeliveryAndPayment(Lines& x, const MyERACUN& r) {
  x.open("cac:Delivery");
  x.comment({"Datum kada je usluga izvrsena ili je izvrsena isporuka"});
  x.el("cbc:ActualDeliveryDate", DTOCMYS(r.dDATUM_PROMETA).toLatin1());
  x.open("cac:DeliveryLocation");
  x.open("cac:Address");
  x.text("cbc:StreetName", r.cISPORUKE_ADRESA);
  x.text("cbc:CityName", r.cISPORUKE_MESTO);
  x.text("cbc:PostalZone", r.cISPORUKE_POST_BROJ);
  x.open("cac:Country");
  x.el("cbc:IdentificationCode", "RS");
  x.close("cac:Country");
  x.close("cac:Address");
  x.close("cac:DeliveryLocation");
  x.close("cac:Delivery");

  for (const QString& account : accounts(r.cFIRMA_ZIRO)) {
    x.open("cac:PaymentMeans");
    x.comment({"Sifra nacina placanja"});
    x.el("cbc:PaymentMeansCode", "42");
    x.comment({"Opis placanja"});
    x.el("cbc:InstructionNote", u("Plaćanje po računu").toUtf8());
    x.comment({"Podaci o bankovnom racunu dobavljaca"});
    x.open("cac:PayeeFinancialAccount");
    x.text("cbc:ID", "RS" + account);
    x.close("cac:PayeeFinancialAccount");
    x.close("cac:PaymentMeans");
  }
  x.comment({"Podaci o uslovima placanja"});
}

void writeTaxScheme(Lines& x) {
  x.open("cac:TaxScheme");
  x.comment({"Ime porezne kategorije i.e. VAT/FRE"});
  x.el("cbc:ID", "VAT");
  x.close("cac:TaxScheme");
}

void writeTotals(Lines& x, const MyERACUN& r, const QString& cat, const QString& exem) {
  double vat = 0;
  for (const VatEntry& e : r.aPDV) vat += e.PDV;
  x.open("cac:TaxTotal");
  x.comment({"Ukupan iznos poreza"});
  x.amount("cbc:TaxAmount", vat);
  for (const VatEntry& e : r.aPDV) {
    x.open("cac:TaxSubtotal");
    x.comment({"Ukupna osnovica porezne stope"});
    x.amount("cbc:TaxableAmount", e.OSNOVICA);
    x.comment({"Ukupan iznos porezne stope"});
    x.amount("cbc:TaxAmount", e.PDV);
    x.open("cac:TaxCategory");
    x.comment({"ID porezne kategorije i.e. S/E"});
    x.text("cbc:ID", cat);
    x.comment({"Procenat poreza"});
    x.el("cbc:Percent", UBL_PERCENT(e.STOPA).toLatin1());
    if (!exem.isEmpty()) x.text("cbc:TaxExemptionReasonCode", exem);
    writeTaxScheme(x);
    x.close("cac:TaxCategory");
    x.close("cac:TaxSubtotal");
  }
  x.close("cac:TaxTotal");

  x.comment({"Rekapitulacija ukupnih iznosa"});
  x.open("cac:LegalMonetaryTotal");
  x.comment({"Ukupan neto iznos stavki (sa vec uracunatim popustom postavkama) bez poreza, popusta na nivou racuna i trosarine na nivou racuna"});
  x.amount("cbc:LineExtensionAmount", r.WVREDB);
  x.comment({"Ukupan neto iznos stavki umanjen za popust na nivou racuna i uvecan za trosarinu na nivou racuna, bez poreza"});
  x.amount("cbc:TaxExclusiveAmount", r.WVREDB);
  x.comment({"Bruto iznos racuna,tj. ukupan iznos stavki - popust na nivou racuna + trosarina na nivou racuna + porez"});
  x.amount("cbc:TaxInclusiveAmount", r.WVREDP);
  x.comment({"Ukupan iznos popusta na nivou racuna"});
  x.amount("cbc:AllowanceTotalAmount", 0);
  x.comment({"Ukupan iznos racuna (TaxInclusiveAmount) za uplatu - umanjen za PrepaidAmount"});
  x.amount("cbc:PayableAmount", r.WZA_UPLATU);
  x.close("cac:LegalMonetaryTotal");
}

void writeLine(Lines& x, const InvoiceLine& l, int number, const QString& cat) {
  const QByteArray unit = attr("unitCode", ER_PRETVORI_JMERE(l.ART_JMERE));
  x.open("cac:InvoiceLine");
  x.comment({"Redni broj stavke racuna"});
  x.el("cbc:ID", QByteArray::number(number));
  x.comment({"Kolicina"});
  x.el("cbc:InvoicedQuantity", UBL_QUANTITY(l.KOLICINA).toLatin1(), unit);
  x.comment({"Iznos stavke bez poreza umanjen za popust i uvecan za trosarinu"});
  x.amount("cbc:LineExtensionAmount", l.OSN);
  if (UBL_PERCENT(l.RABATP) != QLatin1String("0")) {
    x.open("cac:AllowanceCharge");
    x.comment({"Oznaka popusta (false) ili troska (true)"});
    x.el("cbc:ChargeIndicator", "false");
    x.comment({"Tekstalni unos"});
    x.el("cbc:AllowanceChargeReason", "Rabat");
    x.comment({"Procenat"});
    x.el("cbc:MultiplierFactorNumeric", UBL_PERCENT(l.RABATP).toLatin1());
    x.comment({"Iznos popusta ili toka po stavci"});
    x.amount("cbc:Amount", l.VREDB - l.OSN);
    x.amount("cbc:BaseAmount", l.VREDB);
    x.close("cac:AllowanceCharge");
  }
  x.comment({"Podaci o artiklu ili usluzi"});
  x.open("cac:Item");
  x.comment({"Naziv artikla ili usluge"});
  x.text("cbc:Name", l.ART_NAZIV.trimmed());
  x.comment({"Sifra artikla od dobavljaca"});
  x.open("cac:SellersItemIdentification");
  x.text("cbc:ID", l.ART_SIFRA.trimmed());
  x.close("cac:SellersItemIdentification");
  x.comment({"GTIN sifra (barkod) artikla ako postoji"});
  x.open("cac:StandardItemIdentification");
  x.text("cbc:ID", l.ART_BARKOD.trimmed(), " schemeID=\"0160\"");
  x.close("cac:StandardItemIdentification");
  x.open("cac:ClassifiedTaxCategory");
  x.comment({"ID porezne kategorije i.e. S/E"});
  x.text("cbc:ID", cat);
  x.comment({"Procenat poreza"});
  x.el("cbc:Percent", UBL_PERCENT(l.STOPA).toLatin1());
  writeTaxScheme(x);
  x.close("cac:ClassifiedTaxCategory");
  x.close("cac:Item");
  x.open("cac:Price");
  x.comment({"Jedinicna cena artikla ili usluge"});
  x.amount("cbc:PriceAmount", l.CENB);
  x.comment({"Jedinicna kolicina artikla ili usluge"});
  x.el("cbc:BaseQuantity", "1", unit);
  x.close("cac:Price");
  x.close("cac:InvoiceLine");
}

}  // namespace

QString IZBACI_SMETNJE_XML(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const char16_t v = c.unicode();
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      out += c;
      out += text[++i];
      continue;
    }
    if (c.isSurrogate() || v == 0xfffe || v == 0xffff) continue;
    switch (v) {
      case '&': out += QLatin1String("&amp;"); continue;
      case '<': out += QLatin1String("&lt;"); continue;
      case '>': out += QLatin1String("&gt;"); continue;
      case '"': out += QLatin1String("&quot;"); continue;
      case '\t': case '\n': case '\r': out += ' '; continue;
      default: break;
    }
    if (v < 0x20 || v == 0x7f || (v >= 0x80 && v < 0xa0)) continue;
    out += c;
  }
  return out;
}

QString ER_PRETVORI_JMERE(const QString& unit, bool reverse) {
  static const std::pair<const char*, const char*> table[] = {
      {"KOM", "H87"}, {"T", "TNE"},   {"TON", "TNE"}, {"KG", "KGM"},  {"KGR", "KGM"},
      {"G", "GRM"},   {"GR", "GRM"},  {"KM", "KMT"},  {"M", "MTR"},   {"MET", "MTR"},
      {"MM", "MMT"},  {"L", "LTR"},   {"LIT", "LTR"}, {"M2", "MTK"},  {"M3", "MTQ"},
      {"MIN", "MIN"}, {"SAT", "HUR"}, {"DAN", "DAY"}, {"MES", "MON"}, {"GOD", "ANN"},
  };
  if (reverse) {
    for (const auto& [local, code] : table)
      if (unit == QLatin1String(code)) return QString::fromLatin1(local);
    return QString();
  }
  const QString key = unit.left(3).trimmed();
  for (const auto& [local, code] : table)
    if (key == QLatin1String(local)) return QString::fromLatin1(code);
  return QStringLiteral("H87");
}

QString UBL_AMOUNT(double value) { return fixed(value, 2); }
QString UBL_QUANTITY(double value) { return stripZeros(fixed(value, 3)); }
QString UBL_PERCENT(double value) { return stripZeros(fixed(value, 2)); }

QString UBL_PDF_BASE(const QString& pdfPath) {
  const QString name = pdfPath.mid(lastSeparator(pdfPath) + 1);
  const int dot = name.lastIndexOf('.');
  return dot < 0 ? name : name.left(dot);
}

QString UBL_XML_NAME(const QString& pdfPath) {
  return pdfPath.left(lastSeparator(pdfPath) + 1) + UBL_PDF_BASE(pdfPath) + ".xml";
}

QString UBL_TAX_CAT(const MyERACUN& r) {
  if (!r.cTAX_CAT.isEmpty()) return r.cTAX_CAT;
  return r.cFIRMA_OBVPDV == QLatin1String("N") ? QStringLiteral("SS") : QStringLiteral("S");
}

QString UBL_TAX_EXEM(const MyERACUN& r) {
  const QString cat = UBL_TAX_CAT(r);
  // Standard rate never carries an exemption reason.
  if (cat == QLatin1String("S")) return QString();
  if (!r.cTAX_EXEM.isEmpty() && r.cTAX_EXEM != TAX_EXEM_PROMPT()) return r.cTAX_EXEM;
  // The small taxpayer's own reason is the only default, and only for its category.
  return r.cFIRMA_OBVPDV == QLatin1String("N") && cat == QLatin1String("SS") ? QStringLiteral("PDV-RS-33")
                                                                            : QString();
}

QString UBL_PROVERI(const MyERACUN& r) {
  const QString tail = u("\nXML fajl nije napravljen.");
  if (r.aPROMENE.isEmpty()) return u("Račun nema nijednu stavku!") + tail;
  if (!validDate(r.dDATUM_IZDAVANJA)) return u("Nije unet ispravan datum izdavanja računa!") + tail;
  if (!validDate(r.dVALUTA_PLACANJA)) return u("Nije unet ispravan datum valute plaćanja!") + tail;
  if (!validDate(r.dDATUM_PROMETA)) return u("Nije unet ispravan datum prometa!") + tail;
  const QString cat = UBL_TAX_CAT(r);
  bool known = false;
  for (const TaxCategory& c : ATAX_CAT()) known = known || c.code == cat;
  if (!known) return u("Nepoznata PDV kategorija \"%1\"!").arg(cat) + tail;
  const QString exem = UBL_TAX_EXEM(r);
  if (cat != QLatin1String("S") && exem.isEmpty())
    return u("Za PDV kategoriju %1 nije izabrana šifra oslobađanja PDV-a!").arg(cat) + tail;
  if (cat != QLatin1String("S") && !IS_TAX_EXEM_OF(cat, exem))
    return u("Šifra oslobađanja PDV-a %1 ne pripada PDV kategoriji %2!").arg(exem, cat) + tail;
  if (r.aATTACH) {
    for (const AttachEntry& a : *r.aATTACH) {
      QByteArray bytes;
      if (!decodeAttachment(a, bytes)) return u("Prilog \"%1\" nije ispravno zapisan (Base64)!").arg(a.name) + tail;
      if (ATTACH_MIME(a.name, bytes).isEmpty())
        return u("Prilog \"%1\" nije dozvoljenog tipa!\nDozvoljeni su: %2.").arg(a.name, ATTACH_TYPES()) + tail;
    }
  }
  return QString();
}

// Common prefix of the UBL 2.1 schema namespaces (a fixed URN of the standard).
#define UBL_XSD "urn:oasis:names:specification:ubl:schema:xsd:"

QByteArray UBL_DOCUMENT(const MyERACUN& r) {
  const QString cat = UBL_TAX_CAT(r);
  const QString exem = UBL_TAX_EXEM(r);
  qsizetype reserve = 16384 + r.aPROMENE.size() * 2600 + r.cBASE64_PDF.size();
  if (r.aATTACH)
    for (const AttachEntry& a : *r.aATTACH) reserve += a.content.size() + 512;
  Lines x(reserve);

  x.raw("<?xml version=\"1.0\" encoding=\"utf-8\"?>");
  x.raw("");
  x.open("Invoice",
         " xmlns:cac=\"" UBL_XSD "CommonAggregateComponents-2\""
         " xmlns:cbc=\"" UBL_XSD "CommonBasicComponents-2\""
         " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
         " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
         " xmlns=\"" UBL_XSD "Invoice-2\"");
  x.el("cbc:CustomizationID", "urn:cen.eu:en16931:2017#compliant#urn:mfin.gov.rs:srbdt:2021");
  x.comment({"Broj racuna"});
  x.text("cbc:ID", r.cBRDOK.trimmed());
  x.comment({"Datum izdavanja racuna"});
  x.el("cbc:IssueDate", DTOCMYS(r.dDATUM_IZDAVANJA).toLatin1());
  x.comment({"Valuta placanja"});
  x.el("cbc:DueDate", DTOCMYS(r.dVALUTA_PLACANJA).toLatin1());
  x.comment({"Medjunarodna oznaka za tip dokumenta,  racun = 380"});
  x.el("cbc:InvoiceTypeCode", "380");
  if (!r.cKOMENTAR.isEmpty()) {
    x.comment({"Komentar na nivou dokumenta"});
    x.text("cbc:Note", r.cKOMENTAR);
  }
  if (!r.cVREME_IZDAVANJA.isEmpty()) {
    x.comment({"Vreme izdavanja racuna"});
    x.text("cbc:Note", "Vreme izdavanja: " + r.cVREME_IZDAVANJA);
  }
  if (!r.cOZN_OPERATERA.isEmpty()) {
    x.comment({"Ime i prezime odgovorne osobe"});
    x.text("cbc:Note", "Oznaka operatera: " + r.cOZN_OPERATERA);
  }
  if (!r.cNAZIV_OPERATERA.isEmpty()) {
    x.comment({"Ime i prezime odgovorne osobe"});
    x.text("cbc:Note", "Odgovorna osoba: " + r.cNAZIV_OPERATERA);
  }
  x.comment({"Novcana valuta"});
  x.text("cbc:DocumentCurrencyCode", r.cNOVCANA_VALUTA);
  x.open("cac:InvoicePeriod");
  x.el("cbc:DescriptionCode", "35");
  x.close("cac:InvoicePeriod");
  if (!r.cNARUDZBENICA.isEmpty()) {
    x.comment({"Polje za unos oznake narudzbine"});
    x.open("cac:OrderReference");
    x.text("cbc:ID", r.cNARUDZBENICA.trimmed());
    x.close("cac:OrderReference");
  }
  if (!r.cOTPREMNICA.isEmpty()) {
    x.comment({"Polje za unos oznake otpremnice"});
    x.open("cac:DespatchDocumentReference");
    x.text("cbc:ID", r.cOTPREMNICA.trimmed());
    x.close("cac:DespatchDocumentReference");
  }
  if (!r.cUGOVOR.isEmpty()) {
    x.comment({"Polje za unos oznake ugovora"});
    x.open("cac:ContractDocumentReference");
    x.text("cbc:ID", r.cUGOVOR.trimmed());
    x.close("cac:ContractDocumentReference");
  }
  if (!r.cBASE64_PDF.isEmpty()) {
    const QString base = UBL_PDF_BASE(r.cFN_PDF_FULL);
    x.comment({"Obavezni element - PDF vizualizacija racuna"});
    x.open("cac:AdditionalDocumentReference");
    x.text("cbc:ID", base);
    x.el("cbc:DocumentType", u("VIZUALIZACIJA ORIGINALNOG RAČUNA").toUtf8());
    x.open("cac:Attachment");
    x.base64("cbc:EmbeddedDocumentBinaryObject", r.cBASE64_PDF,
         " mimeCode=\"application/pdf\" encodingCode=\"base64\"" + attr("filename", base + ".pdf"));
    x.close("cac:Attachment");
    x.close("cac:AdditionalDocumentReference");
  }
  if (r.aATTACH) {
    for (const AttachEntry& a : *r.aATTACH) {
      x.open("cac:AdditionalDocumentReference");
      x.text("cbc:ID", a.name);
      x.open("cac:Attachment");
      x.base64("cbc:EmbeddedDocumentBinaryObject", a.content,
           attr("mimeCode", attachmentMime(a)) + " encodingCode=\"base64\"" + attr("filename", a.name));
      x.close("cac:Attachment");
      x.close("cac:AdditionalDocumentReference");
    }
  }
  writeSupplier(x, r);
  writeCustomer(x, r);
  writeDeliveryAndPayment(x, r);
  writeTotals(x, r, cat, exem);
  for (int i = 0; i < r.aPROMENE.size(); ++i) writeLine(x, r.aPROMENE[i], i + 1, cat);
  x.close("Invoice");
  return x.take();
}

}  // namespace korvan
