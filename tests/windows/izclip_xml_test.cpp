// The clipboard window end to end: a pasted invoice and its PDF made into a
// valid e-invoice, sent to the HTTPS peer and recorded in the store; and the
// stops of the build and the send.
#include <QLabel>

#include "einvoice/curlcall.h"
#include "einvoice/efmdbdbf.h"
#include "einvoice/salji_fixture.h"
#include "einvoice/xmlpaths.h"
#include "izclip_fixture.h"
#include "sent_check.h"

using namespace korvan;
using namespace korvan::test;

namespace {

const QStringList kInvoice = {
    QString::fromUtf8("Račun br. 15/2022        Datum: 10.12.2022   Valuta: 25.12.2022"),
    QString::fromUtf8("Promet: 30.11.2022   Kupac: Đorđević & Sin d.o.o."),
    QString::fromUtf8("PIB: 101112131   MB: 07654321   Beograd 11000"),
    QString::fromUtf8("Adresa: Kneza Miloša 10"),
    QString::fromUtf8("Šifra Naziv                Kol.      Cena     PDV"),
    QString::fromUtf8("A-1   Olovka               2,000     100,00   20"),
    QString::fromUtf8("B-2   Gumica               1         50,50    20"),
    QString::fromUtf8("Ukupno                               250,50"),
};

// The position of a text on a line of the invoice, its last character the end.
QString span(int row, const QString& needle) {
  const int at = int(kInvoice[row - 1].indexOf(needle));
  EXPECT_GE(at, 0) << needle.toStdString();
  return izclip::positionText(row, at + 1, row, at + int(needle.size()));
}
// An item column: the columns of the first item line's text, from row 6 on.
QString column(const QString& needle, int width) {
  const int at = int(kInvoice[5].indexOf(needle));
  EXPECT_GE(at, 0) << needle.toStdString();
  return izclip::positionText(6, at + 1, 6, at + width);
}

class IzclipXml : public IzclipTest {
 protected:
  // A window with the invoice's positions marked, KOLICINA validated, the
  // text pasted and the PDF chosen.
  MyIZCLIP* ready() {
    MyIZCLIP* w = open();
    type(w, "BRDOK", span(1, "15/2022"));
    type(w, "DATDOK", span(1, "10.12.2022"));
    type(w, "VALUTA", span(1, "25.12.2022"));
    type(w, "DATPROM", span(2, "30.11.2022"));
    type(w, "KOMIT_NAZIV", span(2, QString::fromUtf8("Đorđević & Sin d.o.o.")));
    type(w, "KOMIT_PIB", span(3, "101112131"));
    type(w, "KOMIT_MATBROJ", span(3, "07654321"));
    type(w, "KOMIT_MESTO", span(3, "Beograd"));
    type(w, "KOMIT_POST_BROJ", span(3, "11000"));
    type(w, "KOMIT_ADRESA", span(4, QString::fromUtf8("Kneza Miloša 10")));
    type(w, "ART_SIFRA", column("A-1", 5));
    type(w, "ART_NAZIV", column("Olovka", 20));
    type(w, "KOLICINA", column("2,000", 9));
    type(w, "CENB", column("100,00", 8));
    type(w, "STOPA", column("20", 3));
    current(w, "KOLICINA");
    w->obMORA_NUM_KOLONA->click();
    paste(w, kInvoice.join("\r\n") + "\r\n");
    pdf = work + "/racun 15.pdf";
    writeFile(pdf, fakePdf("racun 15"));
    files.answers << QStringList{pdf};
    w->obFAJL_PDF->click();
    EXPECT_EQ(w->oleFAJL_PDF->text(), pdf);
    return w;
  }
  QString pdf;
};

TEST_F(IzclipXml, PastedInvoiceToSentInvoice) {
  MyIZCLIP* w = ready();
  EXPECT_EQ(value(w, "BRDOK"), "15/2022");
  EXPECT_EQ(value(w, "KOMIT_NAZIV"), QString::fromUtf8("Đorđević & Sin d.o.o."));
  EXPECT_EQ(value(w, "KOMIT_POST_BROJ"), "11000") << "no carriage return at the line's end";
  ASSERT_EQ(w->otwTABELA_STAVKI->rowCount(), 2) << "the title and total lines are no items";
  EXPECT_EQ(item(w, 0, "ART_SIFRA"), "A-1");
  EXPECT_EQ(item(w, 0, "ART_NAZIV"), "Olovka") << "trimmed";
  EXPECT_EQ(item(w, 1, "ART_NAZIV"), "Gumica");
  EXPECT_EQ(item(w, 0, "KOLICINA"), "2,000");
  EXPECT_EQ(item(w, 1, "CENB"), "50,5000");
  EXPECT_EQ(item(w, 0, "RABATP"), "") << "a field without a range";
  for (int c = 0; c < w->otwTABELA_STAVKI->columnCount(); ++c)
    EXPECT_FALSE(w->otwTABELA_STAVKI->item(0, c)->flags() & Qt::ItemIsEditable);

  Peer peer;
  ASSERT_TRUE(peer.start()) << peer.error().toStdString();
  EFM_SET_LIMITS({5, 30});
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("Firma", "API_KLJUC", QStringLiteral("kljuc-clip"), ini));
  peer.script("GET", "sales-invoice", {PeerAnswer::json(R"({"InvoiceId":9101,"Status":"Sent","Comment":null})")});
  boxes.shown.clear();
  const QString outcome = sendConfirmed(w->obSALJI_XML);
  EFM_SET_LIMITS({});
  EXPECT_EQ(outcome, QString::fromUtf8("XML fajl je uspešno registrovan."));
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(iniValue("IZCLIP", "MORA_NUM_KOLONA"), "KOLICINA") << "saved before the build";

  const QString xml = work + "/racun 15.xml";
  expectSentAndStored(peer, xml, "kljuc-clip", 9101);

  const XmlPaths x(readFile(xml));
  const QString ref = "Invoice/cac:AdditionalDocumentReference/cac:Attachment/cbc:EmbeddedDocumentBinaryObject";
  ASSERT_EQ(x.values(ref).size(), 1) << "the PDF alone: no attachments";
  EXPECT_EQ(QByteArray::fromBase64(x.values(ref).value(0).toLatin1()), readFile(pdf));
  EXPECT_EQ(x.values("Invoice/cbc:ID"), QStringList{"15/2022"});
  EXPECT_EQ(x.values("Invoice/cbc:IssueDate"), QStringList{"2022-12-10"});
  EXPECT_EQ(x.values("Invoice/cbc:DueDate"), QStringList{"2022-12-25"});
  EXPECT_EQ(x.values("Invoice/cac:InvoiceLine/cac:Item/cbc:Name"), (QStringList{"Olovka", "Gumica"}));
  EXPECT_EQ(x.values("Invoice/cac:InvoiceLine/cbc:InvoicedQuantity"), (QStringList{"2", "1"}));
}

TEST_F(IzclipXml, StopsOfTheSend) {
  MyIZCLIP* w = open();
  // No key: nothing else happens.
  w->obSALJI_XML->click();
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Nije unet 'API ključ' u opciji 'Podaci firme'!")});
  EXPECT_EQ(iniValue("IZCLIP", "BRDOK"), "<absent>");

  // An empty pane: both messages in order, the positions saved all the same.
  writeFile(ini, sellerIni("T") + "API_KLJUC=kljuc\r\n");
  type(w, "BRDOK", "R:1,K:1-R:1,K:4");
  boxes.shown.clear();
  w->obSALJI_XML->click();
  EXPECT_EQ(boxes.texts(), (QStringList{QString::fromUtf8("Nema ništa naneto iz ClipBoard-a!"),
                                        QString::fromUtf8("Desila se greška pri pravljenju XML-a, fajl NIJE POSLAT!")}));
  EXPECT_EQ(iniValue("IZCLIP", "BRDOK"), "R:1,K:1-R:1,K:4");
}

TEST_F(IzclipXml, APdfDeletedSinceItWasChosenStopsTheBuild) {
  MyIZCLIP* w = ready();
  ASSERT_TRUE(QFile::remove(pdf));
  boxes.shown.clear();
  EXPECT_EQ(w->NAPRAVI_XML(false), nullptr);
  EXPECT_EQ(boxes.texts(), QStringList{"Ne postoji PDF fajl!\n" + pdf});
  EXPECT_FALSE(QFileInfo::exists(work + "/racun 15.xml"));
}

TEST_F(IzclipXml, BuildingShowsTheNoticeAndTheMarkedViewChangesNothing) {
  MyIZCLIP* w = ready();
  w->obOZNACI_POLJA->click();
  ASSERT_FALSE(w->lEDIT_CLIP);
  boxes.shown.clear();
  const std::unique_ptr<MyERACUN> r = w->NAPRAVI_XML(false);
  ASSERT_NE(r, nullptr) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(boxes.count(BoxKind::Link), 1) << "the notice that the document was made";
  EXPECT_EQ(r->cBRDOK, "15/2022");
  EXPECT_EQ(r->dDATUM_PROMETA, QDate(2022, 11, 30));
  EXPECT_EQ(r->cKOMIT_ADRESA, QString::fromUtf8("Kneza Miloša 10"));
  EXPECT_EQ(r->cKOMIT_JBKJS, "");
  EXPECT_FALSE(r->aATTACH.has_value() && !r->aATTACH->isEmpty());
  EXPECT_EQ(r->cFN_XML_FULL, work + "/racun 15.xml");
  ASSERT_EQ(r->aPROMENE.size(), 2);
  EXPECT_DOUBLE_EQ(r->aPROMENE[1].CENB, 50.5);
}

}  // namespace
