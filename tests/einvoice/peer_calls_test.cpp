// The service calls on single e-invoices against the HTTPS peer: what each
// request carries and how each answer ends.
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/presenter.h"
#include "einvoice/libefm2.h"
#include "einvoice/libefman.h"
#include "support/peer.h"
#include "support/scriptedpresenter.h"

namespace korvan::test {
namespace {

QByteArray envelope(const char* direction, const char* id, const QByteArray& ubl) {
  return QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<env:DocumentEnvelope>\r\n<env:DocumentHeader><env:") +
         direction + "InvoiceId>" + id + "</env:" + direction + "InvoiceId></env:DocumentHeader>\r\n" +
         "<env:DocumentBody>" + ubl + "</env:DocumentBody>\r\n<env:DocumentPdf>JVBERg==</env:DocumentPdf>\r\n" +
         "</env:DocumentEnvelope>\r\n";
}

const QByteArray kUbl =
    "<Invoice><cbc:ID>R-15/24</cbc:ID><cbc:IssueDate>2024-03-05</cbc:IssueDate>"
    "<cbc:DueDate>2024-04-04</cbc:DueDate><cbc:InvoiceTypeCode>380</cbc:InvoiceTypeCode>"
    "<cac:InvoicePeriod><cbc:ActualDeliveryDate>2024-03-01</cbc:ActualDeliveryDate></cac:InvoicePeriod>"
    "<cac:AccountingSupplierParty><cac:Party><cac:PartyLegalEntity><cbc:RegistrationName>Prodavac</cbc:RegistrationName>"
    "</cac:PartyLegalEntity></cac:Party></cac:AccountingSupplierParty>"
    "<cac:AccountingCustomerParty><cac:Party><cac:PartyLegalEntity><cbc:RegistrationName>A &amp; B</cbc:RegistrationName>"
    "</cac:PartyLegalEntity></cac:Party></cac:AccountingCustomerParty>"
    "<cac:LegalMonetaryTotal><cbc:PayableAmount currencyID=\"RSD\">1234.50</cbc:PayableAmount></cac:LegalMonetaryTotal>"
    "</Invoice>";

class PeerCallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SET_APPPATH(app.path());
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
  }
  PeerRequest last() const { return peer.requests().value(peer.requests().size() - 1); }
  QTemporaryDir app;
  Peer peer;
  ScriptedPresenter boxes;
};

TEST_F(PeerCallTest, StatusInBothDirectionsAndItsFailures) {
  EXPECT_EQ(EFM_GET_STATUS("I", 77, efmAccount("K", false)), "Poslato");
  EXPECT_EQ(last().path, "/api/publicApi/sales-invoice");
  EXPECT_EQ(last().query, "invoiceId=77");
  EXPECT_EQ(EFM_GET_STATUS("U", 78, efmAccount("K", true)), QString::fromUtf8("Viđeno"));
  EXPECT_EQ(last().path, "/api/publicApi/purchase-invoice");
  EXPECT_EQ(last().header("Host"), "demoefaktura.mfin.gov.rs");
  EXPECT_TRUE(boxes.shown.isEmpty());

  struct Case {
    PeerAnswer answer;
    const char* box;
  };
  for (const Case& c : {Case{PeerAnswer::errorObject("E", "Pogrešan API ključ", 401),
                             "Greška pri obradi odgovora servera: Ne postoji tag 'Status'!\nOdgovor servera: Pogrešan API ključ"},
                        Case{PeerAnswer::json("{\"ErrorCode\":\"E17\"}", 404),
                             "Greška pri obradi odgovora servera: Ne postoji tag 'Status'!\nOdgovor servera: E17"},
                        Case{PeerAnswer::nonJson(), "Greška pri obradi odgovora servera: Odgovor nije JSON fajl!"}}) {
    boxes.shown.clear();
    peer.script("GET", "sales-invoice", {c.answer});
    EXPECT_EQ(EFM_GET_STATUS("I", 77, efmAccount("K", false)), "");
    EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8(c.box)});
  }
  boxes.shown.clear();
  EXPECT_EQ(EFM_GET_STATUS("I", -1, efmAccount("K", false)), "");
  EXPECT_EQ(boxes.shown.size(), 1);
  peer.stopServer();
  boxes.shown.clear();
  EXPECT_EQ(EFM_GET_STATUS("I", 77, efmAccount("K", false)), "");
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Greška pri pozivanju 'curl.exe'!")});
}

TEST_F(PeerCallTest, DocumentHeaderIsReadLiterally) {
  peer.script("GET", "sales-invoice/xml", {PeerAnswer::json(envelope("Sales", "123.0", kUbl))});
  QVariantList header;
  bool missing = false;
  ASSERT_TRUE(EFM_OBRADI_INVOICE("I", 123, header, efmAccount("K", false), missing));
  EXPECT_FALSE(missing);
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
  ASSERT_EQ(header.size(), 10);
  EXPECT_EQ(header[0].toLongLong(), 123);
  EXPECT_EQ(header[1].toDate(), QDate(2024, 3, 1));
  EXPECT_EQ(header[2].toString(), "R-15/24");
  EXPECT_EQ(header[3].toDate(), QDate(2024, 3, 5));
  EXPECT_EQ(header[4].toString(), QString::fromUtf8("Račun"));
  EXPECT_DOUBLE_EQ(header[5].toDouble(), 1234.5);
  EXPECT_EQ(header[6].toString(), "A &amp; B");
  EXPECT_EQ(header[7].toDate(), QDate(2024, 4, 4));
  EXPECT_EQ(header[8].toString().toUtf8(), envelope("Sales", "123.0", kUbl));
  EXPECT_EQ(header[9].toString(), "Poslato");
  const auto reqs = peer.requests();
  ASSERT_EQ(reqs.size(), 2);
  EXPECT_EQ(reqs[0].path, "/api/publicApi/sales-invoice/xml");
  EXPECT_EQ(reqs[0].header("accept"), "*/*");
  EXPECT_EQ(reqs[1].path, "/api/publicApi/sales-invoice");
}

TEST_F(PeerCallTest, IncomingDocumentTakesTheSupplierAndNamesMissingElements) {
  QByteArray ubl = kUbl;
  ubl.replace("<cbc:InvoiceTypeCode>380</cbc:InvoiceTypeCode>", "");
  peer.script("GET", "purchase-invoice/xml", {PeerAnswer::json(envelope("Purchase", "9", ubl))});
  QVariantList header;
  bool missing = false;
  ASSERT_TRUE(EFM_OBRADI_INVOICE("U", 9, header, efmAccount("K", false), missing));
  EXPECT_EQ(header[6].toString(), "Prodavac");
  EXPECT_EQ(header[4].toString(), "");
  EXPECT_EQ(header[9].toString(), QString::fromUtf8("Viđeno"));
  EXPECT_EQ(boxes.texts(), QStringList{"Ne postoji 'cbc:InvoiceTypeCode' tag!"});
}

TEST_F(PeerCallTest, FailedStatusLeavesTheStatusAbsent) {
  peer.script("GET", "sales-invoice/xml", {PeerAnswer::json(envelope("Sales", "123", kUbl))});
  peer.script("GET", "sales-invoice", {PeerAnswer::errorObject("E", "x", 500)});
  QVariantList header;
  bool missing = false;
  ASSERT_TRUE(EFM_OBRADI_INVOICE("I", 123, header, efmAccount("K", false), missing));
  ASSERT_EQ(header.size(), 10);
  EXPECT_TRUE(header[9].isNull());
  EXPECT_EQ(header[2].toString(), "R-15/24");
}

TEST_F(PeerCallTest, DocumentFailures) {
  struct Case {
    const char* name;
    qint64 id;
    PeerAnswer answer;
    QStringList boxes;
    bool missing;
  };
  const QList<Case> cases = {
      {"not found", 12, PeerAnswer::json("Not found UBL file for invoice Id 123", 404), {"Ne postoji fajl sa Id 12"}, true},
      {"other id", 124, PeerAnswer::json(envelope("Sales", "123", kUbl)),
       {QString::fromUtf8("Nije dobijen isti Id!\nDobijen: 123\nTražen : 124")}, false},
      {"broken", 5, PeerAnswer::json("<a><b></a>"), {QString::fromUtf8("Greška pri parsiranju XML fajla:          2")}, false},
      {"error object", 5, PeerAnswer::errorObject("Unauthorized", "Pogrešan API ključ", 401),
       {QString::fromUtf8("Greška pri parsiranju XML fajla:          5\nOdgovor servera: Pogrešan API ključ")}, false},
      {"error code only", 5, PeerAnswer::json("{\"ErrorCode\":\"E17\"}", 404),
       {QString::fromUtf8("Greška pri parsiranju XML fajla:          5\nOdgovor servera: E17")}, false},
      {"no envelope id", 5, PeerAnswer::json(kUbl),
       {"Ne postoji 'env:SalesInvoiceId' tag!", "Nije ispravno formatiran fajl!"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.shown.clear();
    peer.script("GET", "sales-invoice/xml", {c.answer});
    QVariantList header;
    bool missing = false;
    EXPECT_FALSE(EFM_OBRADI_INVOICE("I", c.id, header, efmAccount("K", false), missing));
    EXPECT_EQ(missing, c.missing);
    EXPECT_EQ(boxes.texts(), c.boxes) << boxes.texts().join(u'|').toStdString();
  }
}

TEST_F(PeerCallTest, CancelAndAcceptBodiesArriveAsValidJson) {
  const QString reason = QString::fromUtf8("Pogrešan \"iznos\" \\ ćao\n2. red");
  struct Case {
    const char* name;
    std::function<void()> call;
    const char* path;
    QStringList keys;
  };
  const QList<Case> cases = {
      {"cancel", [&] { EFM_OTKAZI_DOK(false, 41, reason, efmAccount("K", false)); }, "sales-invoice/cancel",
       {"invoiceId", "cancelComments"}},
      {"storno", [&] { EFM_OTKAZI_DOK(true, 41, reason, efmAccount("K", false)); }, "sales-invoice/storno",
       {"invoiceId", "stornoComment"}},
      {"reject", [&] { EFM_PRIHV_ODBIJ_DOK(false, 41, reason, efmAccount("K", false)); },
       "purchase-invoice/acceptRejectPurchaseInvoice", {"invoiceId", "accepted", "comment"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.call();
    EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
    const PeerRequest r = last();
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.path, QStringLiteral("/api/publicApi/") + c.path);
    EXPECT_EQ(r.header("Content-Type"), "application/json");
    QJsonParseError err{};
    const QJsonObject o = QJsonDocument::fromJson(r.body, &err).object();
    ASSERT_EQ(err.error, QJsonParseError::NoError) << r.body.toStdString();
    EXPECT_EQ(o.value("invoiceId").toInt(), 41);
    EXPECT_EQ(o.value(c.keys.last()).toString(), reason);
    QStringList order;
    for (const QString& k : c.keys) order << QString::number(r.body.indexOf("\"" + k.toUtf8() + "\""));
    QStringList sorted = order;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    EXPECT_EQ(order, sorted);
  }
  EXPECT_FALSE(QJsonDocument::fromJson(last().body).object().value("accepted").toBool());
}

TEST_F(PeerCallTest, RefusedCancelAndAcceptShowTheAnswer) {
  peer.script("POST", "sales-invoice/cancel", {PeerAnswer::errorObject("E", "Ne moze")});
  peer.script("POST", "purchase-invoice/acceptRejectPurchaseInvoice", {PeerAnswer::json(R"({"Success":false})")});
  EFM_OTKAZI_DOK(false, 41, "", efmAccount("K", false));
  EFM_PRIHV_ODBIJ_DOK(true, 41, "", efmAccount("K", false));
  EXPECT_EQ(boxes.texts(), QStringList({QString::fromUtf8("Server je vratio grešu:\n{\"ErrorCode\":\"E\",\"Message\":\"Ne moze\"}"),
                                        "Nije uspelo, odgovor servera:\n{\"Success\":false}"}));
  EXPECT_EQ(QJsonDocument::fromJson(last().body).object().value("comment").toString("absent"), "");
}

TEST_F(PeerCallTest, ListCallsSendAnEmptyBody) {
  peer.script("POST", "purchase-invoice/ids", {PeerAnswer::json(R"({"PurchaseInvoiceIds":[5,6]})")});
  QByteArray answer;
  ASSERT_TRUE(efm::run(efm::idsCall("U"), efmAccount("K", false), &answer));
  EXPECT_EQ(answer, R"({"PurchaseInvoiceIds":[5,6]})");
  EXPECT_EQ(last().path, "/api/publicApi/purchase-invoice/ids");
  EXPECT_TRUE(last().body.isEmpty());
  EXPECT_EQ(last().header("Content-Length"), "0");
  ASSERT_TRUE(efm::run(efm::changesCall("I", QDate(2024, 2, 29)), efmAccount("K", false), &answer));
  EXPECT_EQ(last().path, "/api/publicApi/sales-invoice/changes");
  EXPECT_EQ(last().queryValue("date"), "2024-02-29");
  EXPECT_EQ(answer, "[]");
}

}  // namespace
}  // namespace korvan::test
