// The spreadsheet import window end to end with the real office suite: a
// fixture workbook of each kind read into the window, exported as its PDF,
// made into a valid e-invoice that embeds exactly that PDF, sent to the
// HTTPS peer and recorded in the store.
#include <QLabel>
#include <QMdiSubWindow>
#include <QProcess>

#include "einvoice/curlcall.h"
#include "einvoice/efmdbdbf.h"
#include "einvoice/fixture.h"
#include "einvoice/salji_fixture.h"
#include "einvoice/xmlpaths.h"
#include "izsrc_fixture.h"
#include "sent_check.h"
#include "office_fixture.h"

using namespace korvan;
using namespace korvan::test;

namespace {

const QString kFixtures = QStringLiteral(KORVAN_SOURCE_DIR "/tests/fixtures/workbooks");

class IzsrcOffice : public OfficeWindowTest<IzsrcTest>, public ::testing::WithParamInterface<const char*> {};

TEST_P(IzsrcOffice, WorkbookToSentInvoice) {
  REQUIRE_OFFICE_WINDOW();
  const QString ext = GetParam();
  const bool ods = ext == "ods";
  const QString src = work + "/faktura 15." + ext;
  ASSERT_TRUE(QFile::copy(kFixtures + "/invoice." + ext, src));
  const QString pdf = work + "/faktura 15.pdf";

  MyIZSRC* w = open(ods);
  settings(w, {{"BRDOK", "B1"},         {"DATDOK", "B2"},      {"VALUTA", "B3"},     {"DATPROM", "B4"},
               {"KOMIT_NAZIV", "B5"},   {"KOMIT_MESTO", "B6"}, {"KOMIT_PIB", "B7"},  {"KOMIT_MATBROJ", "B8"},
               {"KOMIT_POST_BROJ", "B9"}, {"UGOVOR", "B11"},   {"POC_RED", "14"},    {"KRAJ_RED", "17"},
               {"ART_SIFRA", "A"},      {"ART_NAZIV", "B"},    {"ART_JMERE", "C"},   {"KOLICINA", "D"},
               {"CENB", "E"},           {"STOPA", "G"},        {"VREDB", "H"}});
  w->oleKOMIT_ADRESA->setText("Bulevar 2");
  boxes.answers = {1};  // yes, make the PDF
  choose(w, src);
  ASSERT_EQ(boxes.count(BoxKind::Warning), 0) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(boxes.count(BoxKind::YesNo), 1);
  ASSERT_EQ(w->cFAJL_PDF, pdf);

  EXPECT_EQ(w->oleBRDOK->text(), "15/2022");
  EXPECT_EQ(w->odteDATDOK->date(), QDate(2022, 11, 30));
  EXPECT_EQ(w->odteVALUTA->date(), QDate(2022, 12, 15));
  EXPECT_EQ(w->odteDATPROM->date(), QDate(2022, 11, 30));
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), QString::fromUtf8("Preduzeće Ćirić d.o.o."));
  EXPECT_EQ(w->oleKOMIT_PIB->text(), "123456789");
  EXPECT_EQ(w->oleKOMIT_MATBROJ->text(), "08765432");
  EXPECT_EQ(w->oleKOMIT_POST_BROJ->text(), "21000");
  EXPECT_EQ(w->oleUGOVOR->text(), QString::fromUtf8("Račun 15/2022")) << "a text formula";
  ASSERT_EQ(w->oTABELA->rowCount(), 4);
  EXPECT_EQ(cell(w, 0, "ART_SIFRA"), "A-1");
  EXPECT_EQ(cell(w, 1, "ART_NAZIV"), "");
  EXPECT_EQ(cell(w, 2, "ART_SIFRA"), "102");
  EXPECT_EQ(cell(w, 3, "ART_SIFRA"), "201");
  EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 2, "KOLICINA")), 2.5);
  EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 2, "CENB")), 1.5);
  EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 0, "STOPA")), 20) << "a percentage cell";
  EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 3, "STOPA")), 10);
  EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 0, "VREDB")), 125) << "a formula's value";

  // The PDF holds the first sheet only.
  const QByteArray pdfBytes = readFile(pdf);
  ASSERT_TRUE(pdfBytes.startsWith("%PDF"));
  QProcess text;
  text.start("pdftotext", {pdf, "-"});
  ASSERT_TRUE(text.waitForFinished(60000));
  const QString shown = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(shown.contains("Olovka"));
  EXPECT_FALSE(shown.contains("SAMO NA DRUGOM LISTU"));

  // Sent through the window's button: the confirmation, the upload, the status.
  Peer peer;
  ASSERT_TRUE(peer.start()) << peer.error().toStdString();
  EFM_SET_LIMITS({5, 30});
  writeFile(ini, sellerIni("T") + "API_KLJUC=kljuc-e2e\r\n");
  peer.script("GET", "sales-invoice", {PeerAnswer::json(R"({"InvoiceId":9001,"Status":"Sent","Comment":null})")});
  boxes.shown.clear();
  const QString outcome = sendConfirmed(w->obSALJI_XML);
  EFM_SET_LIMITS({});
  EXPECT_EQ(outcome, QString::fromUtf8("XML fajl je uspešno registrovan."));
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();

  const QString xml = work + "/faktura 15.xml";
  expectSentAndStored(peer, xml, "kljuc-e2e", 9001);

  const XmlPaths x(readFile(xml));
  const QString ref = "Invoice/cac:AdditionalDocumentReference/cac:Attachment/cbc:EmbeddedDocumentBinaryObject";
  EXPECT_EQ(QByteArray::fromBase64(x.values(ref).value(0).toLatin1()), pdfBytes);
  EXPECT_EQ(x.values("Invoice/cbc:ID"), QStringList{"15/2022"});
  EXPECT_EQ(x.values("Invoice/cac:InvoiceLine/cac:Item/cbc:Name"),
            (QStringList{"Olovka", "Gumica", "Papir A4"}));

  // A second read in the open window is served by the office of the first.
  w->oleBRDOK->clear();
  boxes.shown.clear();
  w->obRELOAD->click();
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(w->oleBRDOK->text(), "15/2022");
  EXPECT_EQ(w->oTABELA->rowCount(), 4);

  // The office stays while the window is open, so a second read finds it
  // running; with the window it goes: no process, no lock file beside the workbook.
  expectOfficeGoesWith(w, work);
}

INSTANTIATE_TEST_SUITE_P(Kinds, IzsrcOffice, ::testing::Values("xlsx", "xls", "ods"));

}  // namespace
