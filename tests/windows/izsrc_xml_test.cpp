// Building the e-invoice from the window (the real builder) and the send
// sequence up to the client, which a recorder stands in for.
#include "einvoice/efmdbdbf.h"
#include "izsrc_fixture.h"

using namespace korvan;
using namespace korvan::test;

namespace {

struct SendCall {
  QString key;
  bool testMode = false;
  bool offerRegister = false;
  QString number;
  bool hasAction = false;
};

class IzsrcXml : public IzsrcTest {
 protected:
  SendRecorder sender{[this](QWidget* main, const MyERACUN& r, const EfmAccount& account,
                              const SendSuccessAction& action, bool offer) {
    EXPECT_EQ(main, mw.data());
    calls.append({account.apiKey, account.testMode, offer, r.cBRDOK, bool(action)});
    if (action && !answers.isEmpty()) action(r.cFN_XML_FULL, answers.takeFirst());
    return true;
  }};

  // A window that has read a small workbook (its twin PDF beside it), with
  // the fields then edited by hand.
  MyIZSRC* ready(bool ods, const QString& base, bool twin = true) {
    src = workbook(base + (ods ? ".ods" : ".xlsx"));
    pdf = work + "/" + base + ".pdf";
    if (twin) writeFile(pdf, "%PDF-1.4\n% the invoice\n%%EOF\n");
    books.book(src).put("A5", textCell("Usluga")).put("B5", numberCell(2)).put("C5", numberCell(100));
    MyIZSRC* w = open(ods);
    settings(w, {{"POC_RED", "5"}, {"KRAJ_RED", "5"}, {"ART_NAZIV", "A"}, {"KOLICINA", "B"}, {"CENB", "C"},
                 {"ART_JMERE", ""}});
    choose(w, src);
    EXPECT_TRUE(w->lUCITANO);
    w->oleBRDOK->setText("R-15/2022");
    w->odteDATDOK->setDate(QDate(2022, 12, 10));
    w->odteVALUTA->setDate(QDate(2022, 12, 25));
    w->odteDATPROM->setDate(QDate(2022, 11, 30));
    w->oleOPERATER->setText("Ana");
    w->oleNARUDZBENICA->setText("NAR-11");
    w->oleOTPREMNICA->setText("OTP-7");
    w->oleUGOVOR->setText("UG-3");
    w->oleKOMIT_NAZIV->setText(QString::fromUtf8("Kupac Ćirić d.o.o."));
    w->oleKOMIT_MESTO->setText("Beograd");
    w->oleKOMIT_ADRESA->setText(QString::fromUtf8("Kneza Miloša 10"));
    w->oleKOMIT_PIB->setText("101112131");
    w->oleKOMIT_MATBROJ->setText("07654321");
    w->oleKOMIT_POST_BROJ->setText("11000");
    w->oleKOMIT_EMAIL->setText("nabavka@kupac.rs");
    w->oleKOMIT_JBKJS->setText("");
    boxes.shown.clear();
    return w;
  }

  QString src, pdf;
  QList<SendCall> calls;
  QStringList answers;  // status answers the client hands its success action
};

TEST_F(IzsrcXml, TheValuesHandedToTheBuilder) {
  writeFile(ini, sellerIni("F"));
  const QString extra = work + "/uslovi.pdf";
  writeFile(extra, "%PDF-1.4 terms");
  writeFile(work + "/r15.att", (extra + "\r\n").toUtf8());
  MyIZSRC* w = ready(false, "r15");
  ASSERT_EQ(w->cFAJL_PDF, pdf);
  // The user corrects a line after the read.
  w->oTABELA->item(0, KOLONA_PO_POLJU(w->aKOLONE, "KOLICINA"))->setText("3");

  const std::unique_ptr<MyERACUN> r = w->NAPRAVI_XML(false);
  ASSERT_NE(r, nullptr) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(r->cBRDOK, "R-15/2022");
  EXPECT_EQ(r->dDATUM_IZDAVANJA, QDate(2022, 12, 10));
  EXPECT_EQ(r->dVALUTA_PLACANJA, QDate(2022, 12, 25));
  EXPECT_EQ(r->cOZN_OPERATERA, "Ana");
  EXPECT_EQ(r->dDATUM_PROMETA, QDate(2022, 11, 30));
  EXPECT_EQ(r->cOTPREMNICA, "OTP-7");
  EXPECT_EQ(r->cUGOVOR, "UG-3");
  EXPECT_EQ(r->cNARUDZBENICA, "NAR-11");
  EXPECT_EQ(r->cKOMIT_NAZIV, QString::fromUtf8("Kupac Ćirić d.o.o."));
  EXPECT_EQ(r->cKOMIT_MESTO, "Beograd");
  EXPECT_EQ(r->cKOMIT_ADRESA, QString::fromUtf8("Kneza Miloša 10"));
  EXPECT_EQ(r->cKOMIT_PIB, "101112131");
  EXPECT_EQ(r->cKOMIT_MATBROJ, "07654321");
  EXPECT_EQ(r->cKOMIT_POST_BROJ, "11000");
  EXPECT_EQ(r->cKOMIT_EMAIL, "nabavka@kupac.rs");
  EXPECT_EQ(r->cKOMIT_JBKJS, "");
  EXPECT_EQ(r->cFIRMA_PIB, "100200300") << "the seller from aplik.ini";
  EXPECT_EQ(r->cFN_PDF_FULL, pdf);
  EXPECT_EQ(r->cFN_XML_FULL, work + "/r15.xml");
  EXPECT_EQ(r->cBASE64_PDF, QString::fromLatin1(readFile(pdf).toBase64()));
  ASSERT_EQ(r->aPROMENE.size(), 1);
  EXPECT_EQ(r->aPROMENE[0].ART_NAZIV, "Usluga");
  EXPECT_DOUBLE_EQ(r->aPROMENE[0].KOLICINA, 3) << "the table as edited";
  EXPECT_DOUBLE_EQ(r->aPROMENE[0].CENB, 100);
  EXPECT_EQ(r->cTAX_CAT, "SS");
  EXPECT_EQ(r->cTAX_EXEM, "PDV-RS-33");
  ASSERT_TRUE(r->aATTACH.has_value());
  ASSERT_EQ(r->aATTACH->size(), 1);
  EXPECT_EQ(r->aATTACH->at(0).name, "uslovi.pdf");
  EXPECT_TRUE(QFileInfo::exists(work + "/r15.xml"));
  EXPECT_EQ(boxes.count(BoxKind::Link), 1) << "the notice that the document was made";

  // The button builds the same; a send builds quietly.
  boxes.shown.clear();
  w->obPRAVI_XML->click();
  EXPECT_EQ(boxes.count(BoxKind::Link), 1);
  boxes.shown.clear();
  EXPECT_NE(w->NAPRAVI_XML(true), nullptr);
  EXPECT_EQ(boxes.shown.size(), 0);
}

TEST_F(IzsrcXml, WithoutAPdfTheWorkbookNamesTheDocument) {
  MyIZSRC* w = ready(true, "bez pdf", false);
  ASSERT_EQ(w->cFAJL_PDF, "");
  const QString question = QString::fromUtf8("Nije izabran PDF fajl!\nDa li sigurno želite pravljenje XML fajla?");
  boxes.answers = {0};
  EXPECT_EQ(w->NAPRAVI_XML(false), nullptr);
  EXPECT_EQ(boxes.texts(), QStringList{question});
  EXPECT_FALSE(QFileInfo::exists(work + "/bez pdf.xml"));

  boxes.shown.clear();
  boxes.answers = {1};
  const std::unique_ptr<MyERACUN> r = w->NAPRAVI_XML(true);
  ASSERT_NE(r, nullptr) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(r->cFN_PDF_FULL, src + "NESTO STO NE POSTOJI");
  EXPECT_EQ(r->cFN_XML_FULL, work + "/bez pdf.xml");
  EXPECT_EQ(r->cBASE64_PDF, "");
  EXPECT_TRUE(QFileInfo::exists(work + "/bez pdf.xml"));
}

// The PDF taken with the workbook was deleted before the build: no document
// goes out without it.
TEST_F(IzsrcXml, APdfDeletedSinceItWasTakenStopsTheBuild) {
  writeFile(ini, sellerIni("T") + "API_KLJUC=kljuc\r\n");
  MyIZSRC* w = ready(false, "obrisan");
  ASSERT_EQ(w->cFAJL_PDF, pdf);
  ASSERT_TRUE(QFile::remove(pdf));
  EXPECT_EQ(w->NAPRAVI_XML(false), nullptr);
  EXPECT_EQ(boxes.texts(), QStringList{"Ne postoji PDF fajl!\n" + pdf});
  boxes.shown.clear();
  w->obSALJI_XML->click();
  EXPECT_EQ(boxes.texts(), (QStringList{"Ne postoji PDF fajl!\n" + pdf,
                                        QString::fromUtf8("Desila se greška pri pravljenju XML-a, fajl NIJE POSLAT!")}));
  EXPECT_TRUE(calls.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(work + "/obrisan.xml"));
}

TEST_F(IzsrcXml, BuildingSavesTheSettingsAndNeedsAWorkbook) {
  for (bool ods : {false, true}) {
    MyIZSRC* w = open(ods);
    settings(w, {{"BRDOK", "C3"}});
    EXPECT_EQ(w->NAPRAVI_XML(false), nullptr);
    EXPECT_EQ(boxes.shown.last().text, QString("Nije izabran %1 fajl!").arg(ods ? "ODS" : "XLS"));
    EXPECT_EQ(iniValue(ods ? "IZODS" : "IZXLS", "CEL_BRDOK"), "C3");
  }
}

TEST_F(IzsrcXml, SendSequence) {
  MyIZSRC* w = ready(false, "slanje");
  settings(w, {{"BRDOK", "D4"}});

  // No key: nothing built, no settings written.
  w->obSALJI_XML->click();
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Nije unet 'API ključ' u opciji 'Podaci firme'!")});
  EXPECT_EQ(iniValue("IZXLS", "CEL_BRDOK"), "<absent>");
  EXPECT_FALSE(QFileInfo::exists(work + "/slanje.xml"));
  EXPECT_TRUE(calls.isEmpty());

  // With a key: settings written, the document built quietly, then the client.
  writeFile(ini, sellerIni("T") + "API_KLJUC=pravi-kljuc\r\nAPI_KLJUC_DEMO=demo-kljuc\r\n");
  boxes.shown.clear();
  w->oleKOMIT_JBKJS->setText("   ");
  answers << R"({"InvoiceId": 9001, "Status": "Sent", "Comment": null})";
  w->obSALJI_XML->click();
  EXPECT_EQ(boxes.shown.size(), 0) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(iniValue("IZXLS", "CEL_BRDOK"), "D4");
  EXPECT_TRUE(QFileInfo::exists(work + "/slanje.xml"));
  ASSERT_EQ(calls.size(), 1);
  EXPECT_EQ(calls[0].key, "pravi-kljuc");
  EXPECT_FALSE(calls[0].testMode);
  EXPECT_FALSE(calls[0].offerRegister) << "a JBKJS of blanks is none";
  EXPECT_EQ(calls[0].number, "R-15/2022");
  EXPECT_TRUE(calls[0].hasAction);
  // The success action records the invoice in the store.
  EXPECT_TRUE(EFMDB_POSTOJI_INVOICE({}, "I", 9001));
  qint64 id = 0;
  QString stored, partner;
  QDate issued;
  ASSERT_TRUE(EFMDB_UZMI_IZ_BAZE({}, 1, &id, &stored, &issued, &partner));
  EFMDB_ZATVORI_BAZE();
  EXPECT_EQ(id, 9001);
  EXPECT_EQ(stored, QString::fromUtf8(readFile(work + "/slanje.xml")));
  EXPECT_EQ(issued, QDate(2022, 12, 10));
  EXPECT_EQ(partner, QString::fromUtf8("Kupac Ćirić d.o.o."));

  // Test mode: the demo key; a buyer with a JBKJS gets the register question.
  writeFile(GETAPPPATH() + "TEST.!!!", "");
  w->oleKOMIT_JBKJS->setText("12345");
  w->obSALJI_XML->click();
  ASSERT_EQ(calls.size(), 2);
  EXPECT_EQ(calls[1].key, "demo-kljuc");
  EXPECT_TRUE(calls[1].testMode);
  EXPECT_TRUE(calls[1].offerRegister);

  // Declining the build without a PDF ends with the failure message.
  w->cFAJL_PDF.clear();
  boxes.shown.clear();
  boxes.answers = {0};
  w->obSALJI_XML->click();
  EXPECT_EQ(boxes.texts(), (QStringList{QString::fromUtf8("Nije izabran PDF fajl!\nDa li sigurno želite pravljenje XML fajla?"),
                                        QString::fromUtf8("Desila se greška pri pravljenju XML-a, fajl NIJE POSLAT!")}));
  EXPECT_EQ(calls.size(), 2);
}

}  // namespace
