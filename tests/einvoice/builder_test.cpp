// The document builder: header members, line completion, row counting, VAT
// summary and totals, and the builds it refuses, on plain values; and its
// facade for the windows, which reads the line table and shows the boxes.
#include <QDirIterator>
#include <QUrl>

#include "common/presenter.h"
#include "einvoice/ublwriter.h"
#include "fixture.h"
#include "support/scriptedpresenter.h"

using namespace korvan;
using namespace korvan::test;

namespace {

class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    cols = lineColumns();
    b.ini = dir.filePath("aplik.ini");
    writeFile(b.ini, sellerIni("T"));
    b.pdf = dir.filePath("Racun 15.pdf");
  }
  // Every document a test leaves behind must be valid UBL.
  void TearDown() override {
    QDirIterator it(dir.path(), {"*.xml"}, QDir::Files);
    while (it.hasNext()) {
      const QString f = it.next();
      EXPECT_EQ(schemaErrors(f), QString()) << f.toStdString();
    }
  }
  // Lines with figures get a name unless the case gives one (even an empty one).
  static void nameFigures(QList<Row>& rows) {
    for (Row& r : rows) {
      bool named = false, figures = false;
      for (const auto& [field, text] : r) {
        named = named || field == "ART_NAZIV";
        figures = figures || field == "KOLICINA" || field == "CENB" || field == "VREDB" || field == "VREDP";
      }
      if (figures && !named) r.append(std::pair<QString, QString>("ART_NAZIV", "Usluga"));
    }
  }
  // The core on plain values; a refusal is kept in refusal.
  std::unique_ptr<MyERACUN> build(QList<Row> rows) {
    nameFigures(rows);
    InvoiceBuild built = b.core(rows);
    refusal = built.refusal;
    return std::move(built.record);
  }
  // The windows' facade on a line table of the columns in cols.
  std::unique_ptr<MyERACUN> buildFromTable(QList<Row> rows) {
    nameFigures(rows);
    fillTable(table, cols, rows);
    return b.run(table, cols);
  }
  QString lastMessage() const {
    if (!refusal.isEmpty()) return refusal;
    return boxes.shown.isEmpty() ? QString() : boxes.shown.last().text;
  }

  QTemporaryDir dir;
  QTableWidget table;
  QList<MyKOLONA> cols;
  Build b;
  ScriptedPresenter boxes;
  QString refusal;
};

struct LineCase {
  const char* name;
  QList<Row> rows;
  QStringList lines;  // "value before discount|base" per taken line
  QStringList vat;    // "rate|base|VAT" per summary entry, in order
  QString totals;     // "net|with VAT"
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineCompletion : public BuilderTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineCompletion, CompletesCountsAndSums) {
  const LineCase& c = GetParam();
  auto r = build(c.rows);
  ASSERT_TRUE(r) << lastMessage().toStdString();
  QStringList lines, vat;
  for (const InvoiceLine& l : r->aPROMENE) lines << UBL_AMOUNT(l.VREDB) + "|" + UBL_AMOUNT(l.OSN);
  for (const VatEntry& e : r->aPDV)
    vat << UBL_PERCENT(e.STOPA) + "|" + UBL_AMOUNT(e.OSNOVICA) + "|" + UBL_AMOUNT(e.PDV);
  EXPECT_EQ(lines, c.lines);
  EXPECT_EQ(vat, c.vat);
  EXPECT_EQ(UBL_AMOUNT(r->WVREDB) + "|" + UBL_AMOUNT(r->WVREDP), c.totals);
  EXPECT_EQ(r->WZA_UPLATU, r->WVREDP);
}

INSTANTIATE_TEST_SUITE_P(
    Builder, LineCompletion,
    ::testing::Values(
        LineCase{"QuantityAndPriceOnly",
                 {{{"KOLICINA", "2"}, {"CENB", "10.005"}, {"STOPA", "20"}}},
                 {"20.01|20.01"}, {"20|20.01|4.00"}, "20.01|24.01"},
        LineCase{"DiscountAtTwentyPercent",
                 {{{"KOLICINA", "3"}, {"CENB", "100"}, {"RABATP", "10"}, {"STOPA", "20"}}},
                 {"300.00|270.00"}, {"20|270.00|54.00"}, "270.00|324.00"},
        LineCase{"GivenBaseIsKept",
                 {{{"KOLICINA", "6"}, {"CENB", "10"}, {"OSN", "50"}, {"STOPA", "20"}}},
                 {"60.00|50.00"}, {"20|50.00|10.00"}, "50.00|60.00"},
        LineCase{"GivenValueWithVatIsKept",
                 {{{"KOLICINA", "1"}, {"CENB", "100"}, {"STOPA", "20"}, {"VREDP", "119"}}},
                 {"100.00|100.00"}, {"20|100.00|19.00"}, "100.00|119.00"},
        LineCase{"EmptyAndDiscountOnlyRowsSkippedNameOnlyKept",
                 {{},
                  {{"RABATP", "10"}},
                  {{"STOPA", "20"}},
                  {{"ART_NAZIV", "   "}, {"RABATP", "5"}},
                  {{"ART_NAZIV", "Usluga"}, {"STOPA", "20"}}},
                 {"0.00|0.00"}, {"20|0.00|0.00"}, "0.00|0.00"},
        LineCase{"RatesTwentyTenTwentyGiveTwoEntriesTwentyFirst",
                 {{{"KOLICINA", "1"}, {"CENB", "100"}, {"STOPA", "20"}},
                  {{"KOLICINA", "1"}, {"CENB", "50"}, {"STOPA", "10"}},
                  {{"KOLICINA", "1"}, {"CENB", "10"}, {"STOPA", "20"}}},
                 {"100.00|100.00", "50.00|50.00", "10.00|10.00"},
                 {"20|110.00|22.00", "10|50.00|5.00"}, "160.00|187.00"},
        LineCase{"BothDecimalMarks",
                 {{{"KOLICINA", "1"}, {"CENB", "1.234,50"}, {"STOPA", "20"}},
                  {{"KOLICINA", "1"}, {"CENB", "1,234.50"}, {"STOPA", "20"}}},
                 {"1234.50|1234.50", "1234.50|1234.50"}, {"20|2469.00|493.80"}, "2469.00|2962.80"},
        LineCase{"UnreadableCellIsCompletedLikeAnEmptyOne",
                 {{{"KOLICINA", "2"}, {"CENB", "5"}, {"VREDB", "abc"}, {"STOPA", "10"}}},
                 {"10.00|10.00"}, {"10|10.00|1.00"}, "10.00|11.00"},
        LineCase{"ManySmallLinesSumWithoutDrift",
                 QList<Row>(30, Row{{"KOLICINA", "1"}, {"CENB", "0.1"}, {"STOPA", "20"}}),
                 QStringList(30, "0.10|0.10"), {"20|3.00|0.60"}, "3.00|3.60"}),
    [](const ::testing::TestParamInfo<LineCase>& i) { return std::string(i.param.name); });

TEST_F(BuilderTest, FillsTheHeaderSellerBuyerAndDelivery) {
  b.attach = std::nullopt;
  auto r = build({{{"ART_SIFRA", "A1  "}, {"ART_NAZIV", " Roba  "}, {"ART_BARKOD", "8600001 "},
                   {"ART_JMERE", "kom "}, {"KOLICINA", "1"}, {"CENB", "10"}, {"STOPA", "20"}}});
  ASSERT_TRUE(r) << lastMessage().toStdString();
  EXPECT_EQ(r->cBRDOK, "R-15/2022");
  EXPECT_EQ(r->cOZN_OPERATERA, "Ana");
  EXPECT_EQ(r->cNAZIV_OPERATERA, "Ana");
  EXPECT_EQ(r->cOTPREMNICA, "OTP-7");
  EXPECT_EQ(r->cAPLIKACIJA, "Korvan");
  EXPECT_TRUE(r->cVD.isEmpty());
  EXPECT_EQ(r->cNOVCANA_VALUTA, "RSD");
  EXPECT_EQ(r->dDATUM_PROMETA, QDate(2022, 12, 13));
  EXPECT_EQ(r->cFIRMA_NAZIV, "Prodavac & Sin d.o.o.");
  EXPECT_EQ(r->cFIRMA_ADRESA, QString::fromUtf8("Bulevar oslobođenja 1"));
  EXPECT_EQ(r->cFIRMA_ZIRO, "160-0000000123456-78");
  EXPECT_EQ(r->cFIRMA_OBVPDV, "D");
  EXPECT_EQ(r->cKOMIT_OBVPDV, "D");
  EXPECT_EQ(r->cISPORUKE_ADRESA, r->cKOMIT_ADRESA);
  EXPECT_EQ(r->cISPORUKE_MESTO, "Beograd");
  EXPECT_EQ(r->cISPORUKE_POST_BROJ, "11000");
  EXPECT_EQ(r->nPOSREDNIK, 1);
  EXPECT_FALSE(r->aATTACH.has_value());
  ASSERT_EQ(r->aPROMENE.size(), 1);
  EXPECT_EQ(r->aPROMENE[0].ART_SIFRA, "A1");
  EXPECT_EQ(r->aPROMENE[0].ART_NAZIV, " Roba");
  EXPECT_EQ(r->aPROMENE[0].ART_JMERE, "kom");
  // No PDF at the path: nothing embedded, the document still named after it.
  EXPECT_TRUE(r->cBASE64_PDF.isEmpty());
  EXPECT_EQ(r->cFN_XML_FULL, dir.filePath("Racun 15.xml"));
  EXPECT_TRUE(QFile::exists(r->cFN_XML_FULL));
  EXPECT_EQ(boxes.shown.size(), 0);
}

TEST_F(BuilderTest, FindsColumnsByFieldNameInAnyOrder) {
  QList<MyKOLONA> shuffled = cols;
  std::reverse(shuffled.begin(), shuffled.end());
  shuffled.insert(3, MyKOLONA::New("NAPOMENA", "Napomena", "C", 20));
  cols = shuffled;
  auto r = buildFromTable({{{"NAPOMENA", "99"}, {"KOLICINA", "3"}, {"CENB", "100"}, {"RABATP", "10"}, {"STOPA", "20"},
                   {"ART_NAZIV", "Roba"}}});
  ASSERT_TRUE(r) << lastMessage().toStdString();
  ASSERT_EQ(r->aPROMENE.size(), 1);
  EXPECT_EQ(r->aPROMENE[0].ART_NAZIV, "Roba");
  EXPECT_EQ(UBL_AMOUNT(r->aPROMENE[0].OSN), "270.00");
}

struct ObvpdvCase {
  const char* name;
  const char* value;  // nullptr: key missing
  const char* expected;
};

void PrintTo(const ObvpdvCase& c, std::ostream* os) { *os << c.name; }

class SellerRegistration : public BuilderTest, public ::testing::WithParamInterface<ObvpdvCase> {};

TEST_P(SellerRegistration, OnlyExactlyTMeansRegistered) {
  writeFile(b.ini, sellerIni(GetParam().value));
  auto r = build({{{"KOLICINA", "1"}, {"CENB", "10"}, {"STOPA", "0"}}});
  ASSERT_TRUE(r) << lastMessage().toStdString();
  EXPECT_EQ(r->cFIRMA_OBVPDV, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Builder, SellerRegistration,
                         ::testing::Values(ObvpdvCase{"T", "T", "D"}, ObvpdvCase{"LowerT", "t", "N"},
                                           ObvpdvCase{"F", "F", "N"}, ObvpdvCase{"Missing", nullptr, "N"},
                                           ObvpdvCase{"Yes", "TRUE", "N"}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(BuilderTest, MissingIniGivesEmptySellerNotRegistered) {
  b.ini = dir.filePath("nema.ini");
  auto r = build({{{"KOLICINA", "1"}, {"CENB", "10"}}});
  ASSERT_TRUE(r) << lastMessage().toStdString();
  EXPECT_TRUE(r->cFIRMA_NAZIV.isEmpty());
  EXPECT_TRUE(r->cFIRMA_PIB.isEmpty());
  EXPECT_EQ(r->cFIRMA_OBVPDV, "N");
}

TEST_F(BuilderTest, AttachmentsKeptOnlyWhenGivenAndNotEmpty) {
  b.attach = AttachList{};
  auto r = build({{{"KOLICINA", "1"}, {"CENB", "10"}}});
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->aATTACH.has_value());
  b.attach = AttachList{{"a.pdf", QString::fromLatin1(fakePdf().toBase64()), std::nullopt}};
  r = build({{{"KOLICINA", "1"}, {"CENB", "10"}}});
  ASSERT_TRUE(r);
  ASSERT_TRUE(r->aATTACH.has_value());
  EXPECT_EQ(r->aATTACH->size(), 1);
}

TEST_F(BuilderTest, NoticeNamesTheDocumentWithALinkToItsFolder) {
  b.quiet = false;
  auto r = buildFromTable({{{"KOLICINA", "1"}, {"CENB", "10"}}});
  ASSERT_TRUE(r);
  ASSERT_EQ(boxes.shown.size(), 1);
  const Box& box = boxes.shown[0];
  EXPECT_EQ(box.kind, BoxKind::Link);
  EXPECT_EQ(box.title, "Napravljen je XML");
  EXPECT_TRUE(box.text.startsWith("Napravljen je XML fajl:<br><a href=\"file:///")) << box.text.toStdString();
  EXPECT_TRUE(box.text.contains(QUrl::fromLocalFile(dir.path()).toString(QUrl::FullyEncoded)));
  EXPECT_TRUE(box.text.contains(">" + r->cFN_XML_FULL + "</a>"));
}

// Builds that would give a document that is not valid: refused with a
// message, and an earlier document of the same name is left as it was.
struct Refusal {
  const char* name;
  std::function<void(Build&)> change;
  QList<Row> rows;
  const char* message;  // part of the message
};

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

class RefusedBuild : public BuilderTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedBuild, RefusesWithAMessageAndWritesNothing) {
  const QString xml = dir.filePath("Racun 15.xml");
  writeFile(xml, "old document");
  GetParam().change(b);
  auto r = build(GetParam().rows);
  EXPECT_FALSE(r);
  EXPECT_TRUE(boxes.shown.isEmpty()) << "the core shows nothing";
  EXPECT_TRUE(refusal.contains(QString::fromUtf8(GetParam().message))) << refusal.toStdString();
  EXPECT_EQ(readFile(xml), "old document");

  // Through the windows' facade the same refusal is one warning box.
  r = buildFromTable(GetParam().rows);
  EXPECT_FALSE(r);
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].kind, BoxKind::Warning);
  EXPECT_EQ(boxes.shown[0].text, refusal);
  EXPECT_EQ(readFile(xml), "old document");
  QFile::remove(xml);
}

const QList<Row> oneLine = {{{"KOLICINA", "1"}, {"CENB", "10"}, {"STOPA", "20"}}};

INSTANTIATE_TEST_SUITE_P(
    Builder, RefusedBuild,
    ::testing::Values(
        Refusal{"NoRowsAtAll", [](Build&) {}, {}, "nema nijednu stavku"},
        Refusal{"OnlySkippedRows", [](Build&) {}, {{}, {{"RABATP", "10"}}}, "nema nijednu stavku"},
        Refusal{"EmptyIssueDate", [](Build& b) { b.issue = QDate(); }, oneLine, "datum izdavanja"},
        Refusal{"InvalidDueDate", [](Build& b) { b.due = QDate(2022, 2, 30); }, oneLine, "datum valute"},
        Refusal{"EmptySupplyDate", [](Build& b) { b.supply = QDate(); }, oneLine, "datum prometa"},
        Refusal{"CellShowsAsterisks", [](Build&) {},
                {oneLine[0], {{"KOLICINA", "1"}, {"CENB", "**********"}}}, "U 2. redu tabele, u koloni \"Cena bez PDV-a\""},
        Refusal{"CountedLineWithoutName", [](Build&) {},
                {oneLine[0], {{"ART_NAZIV", "  "}, {"KOLICINA", "2"}, {"CENB", "5"}}},
                "U 2. redu tabele, u koloni \"Naziv\", nije upisan naziv stavke!\nXML fajl nije napravljen."},
        Refusal{"FormulaErrorInANumberCell", [](Build&) {},
                {oneLine[0], {{"KOLICINA", "2"}, {"CENB", "#DIV/0!"}}},
                "U 2. redu tabele, u koloni \"Cena bez PDV-a\", formula daje grešku (#DIV/0!)!"},
        Refusal{"CategoryWithoutExemption", [](Build& b) { b.cat = "E"; }, oneLine,
                "Za PDV kategoriju E nije izabrana šifra oslobađanja PDV-a!"},
        Refusal{"PromptIsNoExemption", [](Build& b) { b.cat = "AE"; b.exem = "Kliknite za izbor..."; }, oneLine,
                "Za PDV kategoriju AE nije izabrana"},
        Refusal{"SmallTaxpayerCategoryForRegisteredSeller", [](Build& b) { b.cat = "SS"; }, oneLine,
                "Za PDV kategoriju SS nije izabrana"},
        Refusal{"SmallTaxpayerDefaultIsNotForOtherCategories",
                [](Build& b) { writeFile(b.ini, sellerIni("F")); b.cat = "E"; b.exem = "Kliknite za izbor..."; },
                oneLine, "Za PDV kategoriju E nije izabrana šifra oslobađanja PDV-a!"},
        Refusal{"ExemptionOfAnotherCategory", [](Build& b) { b.cat = "E"; b.exem = "PDV-RS-33"; }, oneLine,
                "Šifra oslobađanja PDV-a PDV-RS-33 ne pripada PDV kategoriji E!"},
        Refusal{"UnknownCategory", [](Build& b) { b.cat = "X"; b.exem = "PDV-RS-33"; }, oneLine,
                "Nepoznata PDV kategorija \"X\""},
        Refusal{"AttachmentOfAnotherType",
                [](Build& b) { b.attach = AttachList{{"spisak.txt", "aGVsbG8=", std::nullopt}}; }, oneLine,
                "Prilog \"spisak.txt\" nije dozvoljenog tipa"},
        Refusal{"AttachmentNotBase64",
                [](Build& b) { b.attach = AttachList{{"a.pdf", "%%%", std::nullopt}}; }, oneLine,
                "Prilog \"a.pdf\" nije ispravno zapisan"}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(BuilderTest, DefaultExemptionOfASmallTaxpayerIsAccepted) {
  writeFile(b.ini, sellerIni("F"));
  b.cat = "SS";
  auto r = build(oneLine);
  ASSERT_TRUE(r) << lastMessage().toStdString();
  EXPECT_TRUE(r->cTAX_EXEM.isEmpty());
  EXPECT_EQ(UBL_TAX_EXEM(*r), "PDV-RS-33");
}

TEST_F(BuilderTest, DocumentThatCannotBeCreatedIsReported) {
  b.pdf = dir.filePath("nema/Racun.pdf");
  auto r = build(oneLine);
  EXPECT_FALSE(r);
  EXPECT_EQ(refusal, QString::fromUtf8("Greška pri kreiranju XML fajla!\n") + dir.filePath("nema/Racun.xml") +
                                     "\nProverite da li neko već pravi ovaj eRačun!");
}

TEST_F(BuilderTest, PdfPathWithMarkerNamesTheDocumentAfterTheSource) {
  b.pdf = dir.filePath("Faktura.xlsxNESTO STO NE POSTOJI");
  auto r = buildFromTable(oneLine);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->cFN_XML_FULL, dir.filePath("Faktura.xml"));
  EXPECT_TRUE(r->cBASE64_PDF.isEmpty());
}

// The marker is not part of the name, even when the source has no extension.
TEST_F(BuilderTest, MarkerAfterASourceWithoutExtensionIsNotInTheName) {
  b.pdf = dir.filePath("Faktura") + NO_PDF_MARKER();
  auto r = buildFromTable(oneLine);
  ASSERT_TRUE(r) << lastMessage().toStdString();
  EXPECT_EQ(r->cFN_XML_FULL, dir.filePath("Faktura.xml"));
}

// Inside the core no PDF is no value: the document is named after the source
// and the source is never embedded, whatever it holds.
TEST_F(BuilderTest, WithoutAPdfTheDocumentIsNamedAfterTheSourceAndEmbedsNothing) {
  const QString source = dir.filePath("Faktura.xlsx");
  writeFile(source, fakePdf("source"));
  const QList<Row> named = {{{"ART_NAZIV", "Roba"}, {"KOLICINA", "1"}, {"CENB", "10"}, {"STOPA", "20"}}};
  InvoiceInput in = b.input(named);
  in.pdfPath.reset();
  in.namedAfter = source;
  const InvoiceBuild built = buildInvoice(in);
  ASSERT_TRUE(built.record) << built.refusal.toStdString();
  EXPECT_EQ(built.record->cFN_XML_FULL, dir.filePath("Faktura.xml"));
  EXPECT_TRUE(built.record->cBASE64_PDF.isEmpty());
  EXPECT_FALSE(readFile(built.record->cFN_XML_FULL).contains("EmbeddedDocumentBinaryObject"));
}

// A PDF named but not readable is refused, never silently left out.
TEST_F(BuilderTest, ANamedPdfThatCannotBeReadIsRefused) {
  InvoiceInput in = b.input({{{"ART_NAZIV", "Roba"}, {"KOLICINA", "1"}, {"CENB", "10"}, {"STOPA", "20"}}});
  in.pdfPath = dir.filePath("nema.pdf");
  const InvoiceBuild built = buildInvoice(in);
  EXPECT_FALSE(built.record);
  EXPECT_TRUE(built.refusal.startsWith(QString::fromUtf8("Greška pri čitanju PDF fajla!\n") + dir.filePath("nema.pdf")))
      << built.refusal.toStdString();
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("nema.xml")));
}

}  // namespace
