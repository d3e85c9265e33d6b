// Whole sends against the HTTPS peer: the two requests, what they carry, the
// status dialog's outcomes and what is recorded.
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>

#include "einvoice/salji_fixture.h"

namespace korvan::test {
namespace {

using SendTest = SendFixture;

const QByteArray kStatus = R"({"InvoiceId":9001,"Status":"Sent","Comment":null,"CirStatus":"Sent"})";

TEST_F(SendTest, FullSendMakesTwoRequestsAndRecordsTheStatusOnce) {
  peer.script("GET", "sales-invoice", {PeerAnswer::json(kStatus)});
  QString shownText, light;
  confirm();
  finishStatus([&](QDialog* d) {
    shownText = d->findChild<QLabel*>(QStringLiteral("text"))->text();
    light = d->findChild<QLabel*>(QStringLiteral("light"))->property("icon").toString();
    EXPECT_EQ(d->size(), QSize(400, 200));
  });
  EXPECT_TRUE(send());

  const auto all = peer.requests();
  ASSERT_EQ(all.size(), 2);
  const PeerRequest& up = all[0];
  EXPECT_EQ(up.method, "POST");
  EXPECT_EQ(up.path, "/api/publicApi/sales-invoice/ubl/upload");
  EXPECT_EQ(up.queryValue("sendToCir"), "No");
  EXPECT_EQ(up.queryValue("requestId").size(), 14);
  EXPECT_EQ(up.header("ApiKey"), "tajni-kljuc-42");
  EXPECT_EQ(up.header("accept"), "text/plain");
  EXPECT_TRUE(up.header("Content-Type").startsWith("multipart/form-data; boundary="));
  const auto parts = parseMultipart(up);
  ASSERT_EQ(parts.size(), 1);
  EXPECT_EQ(parts[0].name, "ublFile");
  EXPECT_EQ(parts[0].filename, "R-15.xml");
  EXPECT_EQ(parts[0].type, "text/xml");
  EXPECT_EQ(parts[0].data, smallDocument());

  const PeerRequest& st = all[1];
  EXPECT_EQ(st.method, "GET");
  EXPECT_EQ(st.path, "/api/publicApi/sales-invoice");
  EXPECT_EQ(st.query, "invoiceId=9001");
  EXPECT_EQ(st.header("ApiKey"), "tajni-kljuc-42");

  EXPECT_EQ(shownText, QStringLiteral("XML fajl je uspešno registrovan."));
  EXPECT_EQ(light, ":/res/zeleno.png");
  QFile beside(record.cFN_XML_FULL + ".txt");
  ASSERT_TRUE(beside.open(QIODevice::ReadOnly));
  EXPECT_EQ(beside.readAll(), kStatus);
  ASSERT_EQ(actions.size(), 1);
  EXPECT_EQ(actions[0].first, record.cFN_XML_FULL);
  EXPECT_EQ(actions[0].second, QString::fromUtf8(kStatus));
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(SendTest, TestModeAndRegisterChoiceReachTheRequest) {
  struct Case {
    bool offer;
    bool untick;
    const char* expected;
  };
  for (const Case c : {Case{true, false, "Yes"}, Case{true, true, "No"}, Case{false, false, "No"}}) {
    SCOPED_TRACE(c.expected);
    const int before = uploads().size();
    bool hadBox = false;
    QString question;
    confirm([&](QDialog* d) {
      auto* box = d->findChild<QCheckBox*>();
      hadBox = box != nullptr;
      if (box && c.untick) box->setChecked(false);
      for (auto* l : d->findChildren<QLabel*>())
        if (l->text().startsWith("Da li")) question = l->text();
    });
    finishStatus();
    EXPECT_TRUE(send(true, c.offer));
    EXPECT_EQ(hadBox, c.offer);
    EXPECT_EQ(question, QStringLiteral("Da li sigurno želite da pošaljete XML fajl? na DEMO sajt"));
    ASSERT_EQ(uploads().size(), before + 1);
    EXPECT_EQ(uploads().last().queryValue("sendToCir"), c.expected);
    EXPECT_EQ(uploads().last().header("Host"), "demoefaktura.mfin.gov.rs");
  }
}

TEST_F(SendTest, DeclinedSendsNothing) {
  onDialog("Potvrda slanja", [](QDialog* d) { button(d, "Ne")->click(); });
  EXPECT_FALSE(send());
  EXPECT_TRUE(peer.requests().isEmpty());
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(SendTest, StopBeforeTheFirstTickRecordsTheIdWithUnknownStatus) {
  confirm();
  onDialog(QString::fromUtf8("Status poslatog XML eRačuna"),
           [](QDialog* d) { button(d, "Prekid")->click(); });
  EXPECT_FALSE(send());
  EXPECT_EQ(peer.requests().size(), 1);
  EXPECT_FALSE(QFile::exists(record.cFN_XML_FULL + ".txt"));
  EXPECT_FALSE(QFile::exists(app.path() + "/TMP/odg_status.xml"));
  ASSERT_EQ(actions.size(), 1);
  EXPECT_EQ(actions[0].second, R"({"InvoiceId": 9001, "Status": "Unknown"})");
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_TRUE(boxes.shown[0].text.contains("registrovan pod Id 9001"));
  EXPECT_FALSE(boxes.shown[0].text.contains("NIJE POSLAT"));
}

// A status that goes wrong after the upload gave an id: red, the id named,
// the row recorded with an unknown status, no status file beside the document.
TEST_F(SendTest, FailedStatusStillRecordsTheRegisteredId) {
  struct Case {
    const char* name;
    PeerAnswer answer;
    const char* firstLine;
  };
  const QList<Case> cases = {
      {"error object", PeerAnswer::errorObject("E1", "Nema fakture"), "Server je vratio grešku!\nNema fakture"},
      {"not json", PeerAnswer::nonJson(), "Greška pri obradi odgovora servera: Odgovor nije JSON fajl!"},
      {"list", PeerAnswer::json("[]"), "Server je vratio grešku!\n[]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    actions.clear();
    peer.script("GET", "sales-invoice", {c.answer});
    QString text, light, button;
    confirm();
    finishStatus([&](QDialog* d) {
      text = d->findChild<QLabel*>("text")->text();
      light = d->findChild<QLabel*>("light")->property("icon").toString();
      button = d->findChild<QPushButton*>()->text();
    });
    EXPECT_FALSE(send());
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(c.firstLine))) << text.toStdString();
    EXPECT_TRUE(text.contains("registrovan pod Id 9001")) << text.toStdString();
    EXPECT_EQ(light, ":/res/crveno.png");
    EXPECT_EQ(button, "Razumem");
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0].second, R"({"InvoiceId": 9001, "Status": "Unknown"})");
    EXPECT_FALSE(QFile::exists(record.cFN_XML_FULL + ".txt"));
  }
}

TEST_F(SendTest, GreenAnswerWithoutIdOrStatusSaysSoAndRecordsTheUploadId) {
  peer.script("GET", "sales-invoice", {PeerAnswer::json(R"({"Comment":"ok"})")});
  QString text;
  confirm();
  finishStatus([&](QDialog* d) { text = d->findChild<QLabel*>("text")->text(); });
  EXPECT_TRUE(send());
  EXPECT_TRUE(text.startsWith(QStringLiteral("XML fajl je uspešno registrovan.\n"))) << text.toStdString();
  EXPECT_TRUE(text.contains("nepoznatim statusom"));
  ASSERT_EQ(actions.size(), 1);
  EXPECT_EQ(actions[0].second, R"({"InvoiceId": 9001, "Status": "Unknown"})");
}

TEST_F(SendTest, UploadAnswersThatRegisterNothingAreNotSent) {
  struct Case {
    const char* name;
    PeerAnswer answer;
    const char* box;
  };
  const QList<Case> cases = {
      {"error", PeerAnswer::errorObject("E7", "Neispravan UBL"), "Server je vratio grešku!\nNeispravan UBL\nFajl NIJE POSLAT!"},
      {"only code", PeerAnswer::json(R"({"ErrorCode":"E9"})", 400), "Server je vratio grešku!\nE9\nFajl NIJE POSLAT!"},
      {"only message", PeerAnswer::json(R"({"Message":"Kvota"})"), "Server je vratio grešku!\nKvota\nFajl NIJE POSLAT!"},
      {"empty object", PeerAnswer::json("{}"), "Server je vratio grešku!\n{}\nFajl NIJE POSLAT!"},
      {"bad id", PeerAnswer::json(R"({"SalesInvoiceId":"12;rm"})"),
       "Server je vratio grešku!\n{\"SalesInvoiceId\":\"12;rm\"}\nFajl NIJE POSLAT!"},
      {"html", PeerAnswer::nonJson(), "Greška pri obradi odgovora servera: Odgovor nije JSON fajl!\nFajl NIJE POSLAT!"},
      {"empty", PeerAnswer::json(""), "Greška pri obradi odgovora servera: Odgovor nije JSON fajl!\nFajl NIJE POSLAT!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.shown.clear();
    peer.script("POST", "sales-invoice/ubl/upload", {c.answer});
    confirm();
    EXPECT_FALSE(send());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.box));
  }
  EXPECT_TRUE(requestsTo("sales-invoice").isEmpty());
  EXPECT_TRUE(actions.isEmpty());
}

}  // namespace
}  // namespace korvan::test
