// The free-entry window end to end: a typed invoice built, sent to the HTTPS
// peer through the window's button, and recorded in the store.
#include <QFileInfo>
#include <QLabel>

#include "einvoice/curlcall.h"
#include "einvoice/efmdbdbf.h"
#include "einvoice/salji_fixture.h"
#include "einvoice/xmlpaths.h"
#include "slobun_fixture.h"

using namespace korvan;
using namespace korvan::test;

namespace {

class SlobunSend : public SlobunTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SlobunSend, ATypedInvoiceIsSentAndStored) {
  const bool yt = GetParam();
  writeFile(ini, sellerIni("T") + "API_KLJUC=kljuc-e2e\r\n");
  MySLOBUN* w = open(yt);
  w->oleBRDOK->setText("15");
  w->oleKOMIT_PIB->setText("101112131");
  w->oleKOMIT_NAZIV->setText(QString::fromUtf8("Kupac Ćirić d.o.o."));
  w->oleKOMIT_MESTO->setText("Beograd");
  w->oleKOMIT_ADRESA->setText(QString::fromUtf8("Kneza Miloša 10"));
  w->oleKOMIT_POST_BROJ->setText("11000");
  w->oleKOMIT_MATBROJ->setText("07654321");
  w->oleOPERATER->setText("Ana");
  type(w, 1, "ART_NAZIV", "Olovka");
  type(w, 1, "ART_JMERE", "kom");
  type(w, 1, "KOLICINA", "2");
  type(w, 1, "CENB", "100");
  type(w, 2, "ART_NAZIV", "Usluga");
  type(w, 2, "STOPA", "10");
  type(w, 2, "VREDP", "110");

  Peer peer;
  ASSERT_TRUE(peer.start()) << peer.error().toStdString();
  EFM_SET_LIMITS({5, 30});
  peer.script("GET", "sales-invoice", {PeerAnswer::json(R"({"InvoiceId":9001,"Status":"Sent","Comment":null})")});
  confirm();
  QString outcome;
  finishStatus([&](QDialog* d) { outcome = d->findChild<QLabel*>("text")->text(); });
  w->obSALJI_XML->click();
  EFM_SET_LIMITS({});
  EXPECT_EQ(outcome, QString::fromUtf8("XML fajl je uspešno registrovan."));
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(QFileInfo::exists(tmp("2022 15.pdf")), !yt) << "a printout in free mode only";

  const QString xml = tmp("2022 15.xml");
  EXPECT_EQ(schemaErrors(xml).toStdString(), "");
  QList<PeerRequest> uploads;
  for (const PeerRequest& r : peer.requests())
    if (r.path == "/api/publicApi/sales-invoice/ubl/upload") uploads << r;
  ASSERT_EQ(uploads.size(), 1);
  EXPECT_EQ(uploads[0].header("ApiKey"), "kljuc-e2e");
  const QList<FormPart> parts = parseMultipart(uploads[0]);
  ASSERT_EQ(parts.size(), 1);
  EXPECT_EQ(parts[0].data, readFile(xml));
  EXPECT_TRUE(EFMDB_POSTOJI_INVOICE({}, "I", 9001));
  EFMDB_ZATVORI_BAZE();

  const XmlPaths x(readFile(xml));
  EXPECT_EQ(x.values("Invoice/cbc:ID"), QStringList{"15/2022"});
  EXPECT_EQ(x.values("Invoice/cac:InvoiceLine/cac:Item/cbc:Name"), (QStringList{"Olovka", "Usluga"}));
  EXPECT_EQ(x.values("Invoice/cac:LegalMonetaryTotal/cbc:PayableAmount"), QStringList{"350.00"});
  const QStringList embedded =
      x.values("Invoice/cac:AdditionalDocumentReference/cac:Attachment/cbc:EmbeddedDocumentBinaryObject");
  if (yt)
    EXPECT_TRUE(embedded.isEmpty());
  else
    EXPECT_EQ(QByteArray::fromBase64(embedded.value(0).toLatin1()), readFile(tmp("2022 15.pdf")));

  // The window keeps no record of what it sent: the same invoice goes again.
  EFM_SET_LIMITS({5, 30});
  confirm();
  finishStatus();
  w->obSALJI_XML->click();
  EFM_SET_LIMITS({});
  int uploadsNow = 0;
  for (const PeerRequest& r : peer.requests()) uploadsNow += r.path == "/api/publicApi/sales-invoice/ubl/upload";
  EXPECT_EQ(uploadsNow, 2);
  EFMDB_ZATVORI_BAZE();
}

INSTANTIATE_TEST_SUITE_P(Modes, SlobunSend, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Workbook" : "Free"); });

}  // namespace
