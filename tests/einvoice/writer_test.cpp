// The UBL writer: the golden document of a full invoice, the layout, the
// variants by element path, number formats, escaping and unit codes.
#include <QDirIterator>

#include "common/presenter.h"
#include "einvoice/myeracun.h"
#include "einvoice/ublwriter.h"
#include "fixture.h"
#include "xmlpaths.h"
#include "support/scriptedpresenter.h"

using namespace korvan;
using namespace korvan::test;

namespace {

const QString kInv = "Invoice/";
const QString kLine = "Invoice/cac:InvoiceLine/";
const QString kSub = "Invoice/cac:TaxTotal/cac:TaxSubtotal/";

class WriterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  void TearDown() override {
    QDirIterator it(dir.path(), {"*.xml"}, QDir::Files);
    while (it.hasNext()) {
      const QString f = it.next();
      EXPECT_EQ(schemaErrors(f), QString()) << f.toStdString();
    }
  }

  // A small complete record; tests change what they look at.
  MyERACUN record() {
    MyERACUN r;
    r.cFN_PDF_FULL = dir.filePath("Racun.pdf");
    r.cBRDOK = "7/2022";
    r.dDATUM_IZDAVANJA = QDate(2022, 12, 14);
    r.dVALUTA_PLACANJA = QDate(2022, 12, 24);
    r.dDATUM_PROMETA = QDate(2022, 12, 14);
    r.cFIRMA_NAZIV = "Prodavac";
    r.cFIRMA_PIB = "100200300";
    r.cFIRMA_ZIRO = "160-1";
    r.cKOMIT_NAZIV = "Kupac";
    r.cKOMIT_PIB = "101112131";
    InvoiceLine l;
    l.ART_NAZIV = "Roba";
    l.KOLICINA = 1;
    l.CENB = 100;
    l.VREDB = 100;
    l.OSN = 100;
    l.STOPA = 20;
    r.aPROMENE = {l};
    r.aPDV = {{20, 100, 20}};
    r.WVREDB = 100;
    r.WVREDP = r.WZA_UPLATU = 120;
    return r;
  }

  // Writes the record and reads the document back.
  QByteArray write(MyERACUN& r) {
    ScriptedPresenter boxes;
    EXPECT_TRUE(r.PisiXML()) << boxes.texts().join(" / ").toStdString();
    return readFile(r.cFN_XML_FULL);
  }

  QTemporaryDir dir;
};

TEST_F(WriterTest, FullInvoiceMatchesTheGoldenDocument) {
  const QList<Row> rows = {
      {{"ART_SIFRA", "A-100"}, {"ART_NAZIV", "Kabl & utičnica <2m>"}, {"ART_BARKOD", "8600123456789"},
       {"ART_JMERE", "KOM"}, {"KOLICINA", "3"}, {"CENB", "100,0000"}, {"RABATP", "10"}, {"STOPA", "20"}},
      {{"ART_SIFRA", "U-7"}, {"ART_NAZIV", "Prevoz"}, {"ART_JMERE", "SAT"}, {"KOLICINA", "2,5"},
       {"CENB", "10,125"}, {"STOPA", "10"}},
      {{"ART_SIFRA", "A-200"}, {"ART_NAZIV", "Kutija"}, {"ART_JMERE", "KG"}, {"KOLICINA", "1,250"},
       {"CENB", "80"}, {"STOPA", "20"}}};
  Build b;
  b.ini = dir.filePath("aplik.ini");
  writeFile(b.ini, sellerIni("T"));
  b.pdf = dir.filePath("Račun 7.pdf");
  writeFile(b.pdf, fakePdf());
  b.kJbkjs = "12345";
  const QString csv = dir.filePath("Specifikacija & cene.csv");
  writeFile(csv, "Naziv;Cena\r\nKabl;100\r\n");
  AttachEntry a;
  ASSERT_TRUE(ATTACH_FROM_FILE(csv, a));
  b.attach = AttachList{a};
  ScriptedPresenter boxes;
  const InvoiceBuild built = b.core(rows);
  const std::unique_ptr<MyERACUN>& r = built.record;
  ASSERT_TRUE(r) << built.refusal.toStdString();
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_EQ(r->cFN_XML_FULL, dir.filePath("Račun 7.xml"));

  const QString golden = QStringLiteral(KORVAN_SOURCE_DIR "/tests/einvoice/data/full_invoice.xml");
  const QByteArray doc = readFile(r->cFN_XML_FULL);
  if (qEnvironmentVariableIsSet("KORVAN_UPDATE_GOLDEN")) writeFile(golden, doc);
  EXPECT_EQ(doc, readFile(golden)) << "written: " << r->cFN_XML_FULL.toStdString();
}

TEST_F(WriterTest, LayoutIsUtf8WithoutBomOneItemPerCrLfLine) {
  MyERACUN r = record();
  r.cFIRMA_ZIRO = "160-1\n205-2\n";
  const QByteArray doc = write(r);
  ASSERT_FALSE(doc.isEmpty());
  EXPECT_TRUE(doc.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n\r\n<Invoice xmlns:cac="));
  EXPECT_TRUE(doc.endsWith("</Invoice>\r\n"));
  EXPECT_TRUE(QString::fromUtf8(doc).toUtf8() == doc);
  const QList<QByteArray> lines = doc.split('\n');
  EXPECT_TRUE(lines.last().isEmpty());
  for (int i = 0; i + 1 < lines.size(); ++i) {
    const QByteArray l = lines[i];
    EXPECT_TRUE(l.endsWith('\r')) << "line " << i + 1;
    const QByteArray s = l.trimmed();
    // One element, one group tag, or one comment line per line.
    EXPECT_LE(s.count("</"), 1) << s.constData();
  }
  int issueLines = 0;
  for (const QByteArray& l : lines)
    if (l.contains("<cbc:IssueDate>")) {
      ++issueLines;
      EXPECT_EQ(l.trimmed(), "<cbc:IssueDate>2022-12-14</cbc:IssueDate>");
    }
  EXPECT_EQ(issueLines, 1);
  EXPECT_EQ(XmlPaths(doc).values(kInv + "cac:PaymentMeans/cac:PayeeFinancialAccount/cbc:ID"),
            (QStringList{"RS160-1", "RS205-2"}));
}

TEST_F(WriterTest, SmallTaxpayerWithoutCategoryGetsSsAndPdvRs33InEverySubtotal) {
  MyERACUN r = record();
  r.cFIRMA_OBVPDV = "N";
  InvoiceLine l2 = r.aPROMENE[0];
  l2.STOPA = 10;
  r.aPROMENE << l2;
  r.aPDV << VatEntry{10, 100, 10};
  const XmlPaths x(write(r));
  EXPECT_EQ(x.values(kSub + "cac:TaxCategory/cbc:ID"), (QStringList{"SS", "SS"}));
  EXPECT_EQ(x.values(kSub + "cac:TaxCategory/cbc:TaxExemptionReasonCode"), (QStringList{"PDV-RS-33", "PDV-RS-33"}));
  EXPECT_EQ(x.values(kLine + "cac:Item/cac:ClassifiedTaxCategory/cbc:ID"), (QStringList{"SS", "SS"}));
  EXPECT_EQ(x.values(kLine + "cac:Item/cac:ClassifiedTaxCategory/cbc:Percent"), (QStringList{"20", "10"}));
}

TEST_F(WriterTest, ChosenCategoryEverywhereExemptionOnlyInSubtotals) {
  MyERACUN r = record();
  r.cTAX_CAT = "N";
  r.cTAX_EXEM = "PDV-RS-6-1-1 (BN)";
  const QByteArray doc = write(r);
  const XmlPaths x(doc);
  EXPECT_EQ(x.values(kSub + "cac:TaxCategory/cbc:ID"), QStringList{"N"});
  EXPECT_EQ(x.values(kSub + "cac:TaxCategory/cbc:TaxExemptionReasonCode"), QStringList{"PDV-RS-6-1-1 (BN)"});
  EXPECT_EQ(x.values(kLine + "cac:Item/cac:ClassifiedTaxCategory/cbc:ID"), QStringList{"N"});
  EXPECT_EQ(doc.count("PDV-RS-6-1-1 (BN)"), 1);
}

TEST_F(WriterTest, RegisteredSellerStandardCategoryHasNoExemption) {
  MyERACUN r = record();
  const XmlPaths x(write(r));
  EXPECT_EQ(x.values(kSub + "cac:TaxCategory/cbc:ID"), QStringList{"S"});
  EXPECT_EQ(x.count(kSub + "cac:TaxCategory/cbc:TaxExemptionReasonCode"), 0);
}

TEST_F(WriterTest, StandardCategoryNeverCarriesAnExemptionWhateverTheSeller) {
  for (const char* seller : {"", "N"}) {
    SCOPED_TRACE(seller);
    MyERACUN r = record();
    r.cFIRMA_OBVPDV = seller;
    r.cTAX_CAT = "S";
    r.cTAX_EXEM = "PDV-RS-33";
    const QByteArray doc = write(r);
    EXPECT_EQ(XmlPaths(doc).values(kSub + "cac:TaxCategory/cbc:ID"), QStringList{"S"});
    EXPECT_EQ(doc.count("TaxExemptionReason"), 0);
  }
}

TEST_F(WriterTest, BuyerIdentificationByJbkjsOrTaxNumber) {
  MyERACUN r = record();
  const QString id = "Invoice/cac:AccountingCustomerParty/cac:Party/cac:PartyIdentification/cbc:ID";
  EXPECT_EQ(XmlPaths(write(r)).values(id), QStringList{"9948:101112131"});
  r.cKOMIT_JBKJS = "12345";
  EXPECT_EQ(XmlPaths(write(r)).values(id), QStringList{"JBKJS:12345"});
}

TEST_F(WriterTest, DiscountGivesAnAllowanceOnlyWhenNotZero) {
  MyERACUN r = record();
  const XmlPaths none(write(r));
  EXPECT_EQ(none.count(kLine + "cac:AllowanceCharge"), 0);
  InvoiceLine& l = r.aPROMENE[0];
  l.KOLICINA = 3;
  l.VREDB = 300;
  l.OSN = 270;
  l.RABATP = 10;
  const XmlPaths x(write(r));
  const QString ac = kLine + "cac:AllowanceCharge/";
  EXPECT_EQ(x.values(ac + "cbc:ChargeIndicator"), QStringList{"false"});
  EXPECT_EQ(x.values(ac + "cbc:AllowanceChargeReason"), QStringList{"Rabat"});
  EXPECT_EQ(x.values(ac + "cbc:MultiplierFactorNumeric"), QStringList{"10"});
  EXPECT_EQ(x.values(ac + "cbc:Amount"), QStringList{"30.00"});
  EXPECT_EQ(x.values(ac + "cbc:BaseAmount"), QStringList{"300.00"});
  EXPECT_EQ(x.attrs(ac + "cbc:Amount@currencyID"), QStringList{"RSD"});
}

TEST_F(WriterTest, NumbersAreWrittenInTheirFormats) {
  MyERACUN r = record();
  InvoiceLine& l = r.aPROMENE[0];
  l.KOLICINA = 2.5;
  l.CENB = 10.125;
  l.STOPA = 8.5;
  l.ART_JMERE = "M2";
  r.aPDV = {{8.5, 1234.5, 0}};
  const XmlPaths x(write(r));
  EXPECT_EQ(x.values(kLine + "cbc:InvoicedQuantity"), QStringList{"2.5"});
  EXPECT_EQ(x.attrs(kLine + "cbc:InvoicedQuantity@unitCode"), QStringList{"MTK"});
  EXPECT_EQ(x.attrs(kLine + "cac:Price/cbc:BaseQuantity@unitCode"), QStringList{"MTK"});
  EXPECT_EQ(x.values(kLine + "cac:Price/cbc:PriceAmount"), QStringList{"10.13"});
  EXPECT_EQ(x.values(kLine + "cac:Price/cbc:BaseQuantity"), QStringList{"1"});
  EXPECT_EQ(x.values(kLine + "cac:Item/cac:ClassifiedTaxCategory/cbc:Percent"), QStringList{"8.5"});
  EXPECT_EQ(x.values(kSub + "cbc:TaxableAmount"), QStringList{"1234.50"});
  EXPECT_EQ(x.values(kSub + "cbc:TaxAmount"), QStringList{"0.00"});
  EXPECT_EQ(x.values(kInv + "cac:LegalMonetaryTotal/cbc:AllowanceTotalAmount"), QStringList{"0.00"});
}

TEST(UblFormats, NumberFormatTable) {
  const struct {
    double v;
    const char *amount, *quantity, *percent;
  } cases[] = {
      {0, "0.00", "0", "0"},
      {3, "3.00", "3", "3"},
      {2.5, "2.50", "2.5", "2.5"},
      {1234.5, "1234.50", "1234.5", "1234.5"},
      {10.125, "10.13", "10.125", "10.13"},
      {1.0005, "1.00", "1.001", "1"},
      {-2.005, "-2.01", "-2.005", "-2.01"},
      {-0.001, "0.00", "-0.001", "0"},
      {12345678901.5, "12345678901.50", "12345678901.5", "12345678901.5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UBL_AMOUNT(c.v), c.amount) << c.v;
    EXPECT_EQ(UBL_QUANTITY(c.v), c.quantity) << c.v;
    EXPECT_EQ(UBL_PERCENT(c.v), c.percent) << c.v;
  }
}

TEST(UblFormats, UnitTable) {
  const std::pair<const char*, const char*> cases[] = {
      {"KOM", "H87"}, {"kom", "H87"}, {"kg", "H87"},   {"KG", "KGM"},   {"KOMAD", "H87"}, {"METAR", "MTR"},
      {"M2", "MTK"},  {"", "H87"},    {" T ", "TNE"},  {"TONA", "TNE"}, {"GR", "GRM"},    {"LITAR", "LTR"},
      {"SAT", "HUR"}, {"DAN", "DAY"}, {"MES", "MON"},  {"GOD", "ANN"},  {"MM", "MMT"},    {"KM", "KMT"},
      {"M3", "MTQ"},  {"MIN", "MIN"}, {"xyz", "H87"},
  };
  for (const auto& [unit, code] : cases) EXPECT_EQ(ER_PRETVORI_JMERE(unit), code) << unit;
  EXPECT_EQ(ER_PRETVORI_JMERE("TNE", true), "T");
  EXPECT_EQ(ER_PRETVORI_JMERE("MTR", true), "M");
  EXPECT_EQ(ER_PRETVORI_JMERE("ZZZ", true), "");
}

TEST(UblFormats, EscapingAndControlCharacters) {
  EXPECT_EQ(IZBACI_SMETNJE_XML("A & B <C> \"D\""), "A &amp; B &lt;C&gt; &quot;D&quot;");
  EXPECT_EQ(IZBACI_SMETNJE_XML("&amp;"), "&amp;amp;");
  EXPECT_EQ(IZBACI_SMETNJE_XML(""), "");
  EXPECT_EQ(IZBACI_SMETNJE_XML(QString::fromUtf8("Č\x01\x1f" "x\ty\r\nz\x7f")), QString::fromUtf8("Čx y  z"));
  QString lone = "a";
  lone += QChar(0xd800);
  lone += "b";
  lone += QChar(0xfffe);
  EXPECT_EQ(IZBACI_SMETNJE_XML(lone), "ab");
  EXPECT_EQ(IZBACI_SMETNJE_XML(QString::fromUtf8("😀")), QString::fromUtf8("😀"));
}

TEST_F(WriterTest, TextFromTheRecordIsEscapedAndTheDocumentStaysWellFormed) {
  MyERACUN r = record();
  r.aPROMENE[0].ART_NAZIV = QString::fromUtf8("  Šraf & matica <M8> \"DIN\"\x02 ");
  r.cKOMIT_NAZIV = "A<B>&C";
  r.cBRDOK = " 7&8 ";
  r.aATTACH = AttachList{{"cene <&> \"x\".pdf", QString::fromLatin1(fakePdf().toBase64()), std::nullopt}};
  const QByteArray doc = write(r);
  const XmlPaths x(doc);
  EXPECT_EQ(x.error, QString());
  EXPECT_EQ(x.values(kLine + "cac:Item/cbc:Name"), QStringList{QString::fromUtf8("Šraf & matica <M8> \"DIN\"")});
  EXPECT_EQ(x.values(kInv + "cbc:ID"), QStringList{"7&8"});
  EXPECT_EQ(x.values(kInv + "cac:AccountingCustomerParty/cac:Party/cac:PartyName/cbc:Name"), QStringList{"A<B>&C"});
  EXPECT_EQ(x.attrs(kInv + "cac:AdditionalDocumentReference/cac:Attachment/cbc:EmbeddedDocumentBinaryObject@filename"),
            QStringList{"cene <&> \"x\".pdf"});
  EXPECT_TRUE(doc.contains("filename=\"cene &lt;&amp;&gt; &quot;x&quot;.pdf\""));
}

TEST_F(WriterTest, EmptyAccountGivesNoPaymentMeansButKeepsTheComment) {
  MyERACUN r = record();
  r.cFIRMA_ZIRO = "";
  const QByteArray doc = write(r);
  EXPECT_EQ(XmlPaths(doc).count(kInv + "cac:PaymentMeans"), 0);
  EXPECT_TRUE(doc.contains("<!--Podaci o uslovima placanja-->\r\n  <cac:TaxTotal>"));
}

TEST_F(WriterTest, PdfIsEmbeddedUnderItsBaseName) {
  MyERACUN r = record();
  r.cFN_PDF_FULL = dir.filePath(QString::fromUtf8("Račun 7.PDF"));
  const QByteArray pdf = fakePdf("seven");
  writeFile(r.cFN_PDF_FULL, pdf);
  const XmlPaths x(write(r));
  EXPECT_EQ(r.cFN_XML_FULL, dir.filePath(QString::fromUtf8("Račun 7.xml")));
  EXPECT_EQ(r.cBASE64_PDF, QString::fromLatin1(pdf.toBase64()));
  const QString ref = kInv + "cac:AdditionalDocumentReference/";
  EXPECT_EQ(x.values(ref + "cbc:ID"), QStringList{QString::fromUtf8("Račun 7")});
  EXPECT_EQ(x.values(ref + "cbc:DocumentType"), QStringList{QString::fromUtf8("VIZUALIZACIJA ORIGINALNOG RAČUNA")});
  EXPECT_EQ(x.attrs(ref + "cac:Attachment/cbc:EmbeddedDocumentBinaryObject@filename"),
            QStringList{QString::fromUtf8("Račun 7.pdf")});
  EXPECT_EQ(x.attrs(ref + "cac:Attachment/cbc:EmbeddedDocumentBinaryObject@mimeCode"), QStringList{"application/pdf"});
  EXPECT_EQ(QByteArray::fromBase64(x.values(ref + "cac:Attachment/cbc:EmbeddedDocumentBinaryObject").value(0).toLatin1()),
            pdf);
}

TEST_F(WriterTest, AttachmentMimeCodeFollowsTheRealType) {
  QByteArray ods("PK\x03\x04", 4);
  ods += QByteArray(26, '\0') + "mimetypeapplication/vnd.oasis.opendocument.spreadsheet" + QByteArray(40, 'x');
  QByteArray xlsx("PK\x03\x04", 4);
  xlsx += QByteArray(26, '\0') + "[Content_Types].xml" + QByteArray(20, 'x') + "xl/workbook.xml";
  const struct {
    const char* name;
    QByteArray bytes;
    const char* mime;
  } cases[] = {
      {"a.pdf", fakePdf(), "application/pdf"},
      {"b.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "image/png"},
      {"c.JPG", QByteArray("\xff\xd8\xff\xe0\0\x10JFIF", 10), "image/jpeg"},
      {"d.csv", "a;b\r\n1;2\r\n", "text/csv"},
      {"e.xlsx", xlsx, "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
      {"f.ods", ods, "application/vnd.oasis.opendocument.spreadsheet"},
  };
  MyERACUN r = record();
  AttachList list;
  for (const auto& c : cases) {
    EXPECT_EQ(ATTACH_MIME(c.name, c.bytes), c.mime) << c.name;
    list.append({c.name, QString::fromLatin1(c.bytes.toBase64()), std::nullopt});
  }
  r.aATTACH = list;
  const XmlPaths x(write(r));
  QStringList mimes;
  for (const auto& c : cases) mimes << c.mime;
  EXPECT_EQ(x.attrs(kInv + "cac:AdditionalDocumentReference/cac:Attachment/cbc:EmbeddedDocumentBinaryObject@mimeCode"),
            mimes);
  EXPECT_EQ(x.count(kInv + "cac:AdditionalDocumentReference/cbc:DocumentType"), 0);
  // Other kinds of file have no type to give.
  EXPECT_EQ(ATTACH_MIME("x.pdf", "plain text"), "");
  EXPECT_EQ(ATTACH_MIME("x.csv", QByteArray("a\0b", 3)), "");
  EXPECT_EQ(ATTACH_MIME("x.zip", QByteArray("PK\x03\x04 other", 10)), "");
}

TEST_F(WriterTest, OptionalNotesAndReferences) {
  MyERACUN r = record();
  const XmlPaths plain(write(r));
  EXPECT_EQ(plain.count(kInv + "cbc:Note"), 0);
  EXPECT_EQ(plain.count(kInv + "cac:OrderReference"), 0);
  EXPECT_EQ(plain.count(kInv + "cac:ContractDocumentReference"), 0);
  EXPECT_EQ(plain.count(kInv + "cac:AdditionalDocumentReference"), 0);
  r.cKOMENTAR = "Hvala";
  r.cVREME_IZDAVANJA = "10:15";
  r.cOZN_OPERATERA = r.cNAZIV_OPERATERA = "Ana";
  r.cNARUDZBENICA = " N1 ";
  r.cOTPREMNICA = "O1";
  r.cUGOVOR = "U1";
  const XmlPaths x(write(r));
  EXPECT_EQ(x.values(kInv + "cbc:Note"),
            (QStringList{"Hvala", "Vreme izdavanja: 10:15", "Oznaka operatera: Ana", "Odgovorna osoba: Ana"}));
  EXPECT_EQ(x.values(kInv + "cac:OrderReference/cbc:ID"), QStringList{"N1"});
  EXPECT_EQ(x.values(kInv + "cac:DespatchDocumentReference/cbc:ID"), QStringList{"O1"});
  EXPECT_EQ(x.values(kInv + "cac:ContractDocumentReference/cbc:ID"), QStringList{"U1"});
}

TEST_F(WriterTest, RefusedRecordLeavesNoFileAndNeverWritesZeroDates) {
  MyERACUN r = record();
  r.dDATUM_PROMETA = QDate();
  ScriptedPresenter boxes;
  EXPECT_FALSE(r.PisiXML());
  EXPECT_EQ(boxes.count(BoxKind::Warning), 1);
  EXPECT_FALSE(QFile::exists(r.cFN_XML_FULL));
}

TEST(UblNames, DocumentNameFromThePdfPath) {
  const std::pair<const char*, const char*> cases[] = {
      {"/a/b/Racun 7.pdf", "/a/b/Racun 7.xml"},
      {"/a/b.c/Racun", "/a/b.c/Racun.xml"},
      {"/a/x.tar.pdf", "/a/x.tar.xml"},
      {"/a/F.xlsNESTO STO NE POSTOJI", "/a/F.xml"},
      {"C:\\Fakture\\R1.pdf", "C:\\Fakture\\R1.xml"},
  };
  for (const auto& [pdf, xml] : cases) EXPECT_EQ(UBL_XML_NAME(pdf), xml) << pdf;
  EXPECT_EQ(UBL_PDF_BASE("/a/x.tar.pdf"), "x.tar");
}

}  // namespace
