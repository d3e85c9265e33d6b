// The config lines of every e-invoice call: method, address (test mode too),
// headers, own options and answer file; quoting of values taken from data.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/presenter.h"
#include "einvoice/curlcall.h"
#include "einvoice/send_answers.h"
#include "einvoice/libefman.h"
#include "support/scriptedpresenter.h"

namespace korvan {
namespace {

struct CallCase {
  const char* name;
  EfmCall call;
  const char* method;
  const char* path;
  const char* accept;
  QStringList own;
  const char* answer;
};

QString line(const char* name, const char* value) { return EFM_CFG_LINE(name, QString::fromUtf8(value)); }

TEST(EfmCallTest, EveryCallInBothDirections) {
  const QList<CallCase> cases = {
      {"upload", salji::uploadCall("20240305101112", true, "/d/R-15.xml"), "POST",
       "sales-invoice/ubl/upload?requestId=20240305101112&sendToCir=Yes", "text/plain",
       {line("header", "Content-Type: multipart/form-data"), line("form", "ublFile=@\"/d/R-15.xml\";type=text/xml")},
       "odg_send.xml"},
      {"upload no cir", salji::uploadCall("20240305101112", false, "/d/R-15.xml"), "POST",
       "sales-invoice/ubl/upload?requestId=20240305101112&sendToCir=No", "text/plain",
       {line("header", "Content-Type: multipart/form-data"), line("form", "ublFile=@\"/d/R-15.xml\";type=text/xml")},
       "odg_send.xml"},
      {"send status", salji::statusCall("9001"), "GET", "sales-invoice?invoiceId=9001", "text/plain", {}, "odg_status.xml"},
      {"status I", efm::statusCall("I", 77), "GET", "sales-invoice?invoiceId=77", "text/plain", {}, "odg_status.xml"},
      {"status U", efm::statusCall("U", 77), "GET", "purchase-invoice?invoiceId=77", "text/plain", {}, "odg_status.xml"},
      {"document I", efm::documentCall("I", 5), "GET", "sales-invoice/xml?invoiceId=5", "*/*", {}, "odg_get.xml"},
      {"document U", efm::documentCall("U", 5), "GET", "purchase-invoice/xml?invoiceId=5", "*/*", {}, "odg_get.xml"},
      {"cancel", efm::cancelCall(false, 5, "Greška"), "POST", "sales-invoice/cancel", "text/plain",
       {line("header", "Content-Type: application/json"),
        line("data-raw", "{\"invoiceId\": 5, \"cancelComments\": \"Greška\"}")},
       "odg_send.xml"},
      {"storno", efm::cancelCall(true, 5, ""), "POST", "sales-invoice/storno", "text/plain",
       {line("header", "Content-Type: application/json"), line("data-raw", "{\"invoiceId\": 5, \"stornoComment\": \"\"}")},
       "odg_send.xml"},
      {"accept", efm::acceptRejectCall(true, 8, ""), "POST", "purchase-invoice/acceptRejectPurchaseInvoice",
       "text/plain",
       {line("header", "Content-Type: application/json"),
        line("data-raw", "{\"invoiceId\": 8, \"accepted\": true, \"comment\": \"\"}")},
       "odg_send.xml"},
      {"reject", efm::acceptRejectCall(false, 8, "a\"b\\c\nd"), "POST", "purchase-invoice/acceptRejectPurchaseInvoice",
       "text/plain",
       {line("header", "Content-Type: application/json"),
        line("data-raw", "{\"invoiceId\": 8, \"accepted\": false, \"comment\": \"a\\\"b\\\\c\\nd\"}")},
       "odg_send.xml"},
      {"ids I", efm::idsCall("I"), "POST", "sales-invoice/ids", "text/plain", {line("data-raw", "")}, "odg_send.xml"},
      {"ids U", efm::idsCall("U"), "POST", "purchase-invoice/ids", "text/plain", {line("data-raw", "")}, "odg_send.xml"},
      {"changes I", efm::changesCall("I", QDate(2024, 1, 9)), "POST", "sales-invoice/changes?date=2024-01-09",
       "text/plain", {line("data-raw", "")}, "odg_send.xml"},
      {"changes U", efm::changesCall("U", QDate(2024, 1, 9)), "POST", "purchase-invoice/changes?date=2024-01-09",
       "text/plain", {line("data-raw", "")}, "odg_send.xml"},
  };
  QTemporaryDir app;
  SET_APPPATH(app.path());
  for (const CallCase& c : cases) {
    for (const bool test : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (test ? " test" : ""));
      bool ok = false;
      const QStringList cfg = EFM_CURL_CONFIG(c.call, efmAccount("K1", test), &ok);
      ASSERT_TRUE(ok);
      const QString url = QStringLiteral("https://") + (test ? "demo" : "") + "efaktura.mfin.gov.rs/api/publicApi/" + c.path;
      QStringList expected = {"silent", "show-error", "globoff", line("proto", "=https"), "connect-timeout = 20",
                              "max-time = 300", "speed-limit = 1", "speed-time = 30", line("request", c.method), EFM_CFG_LINE("url", url),
                              EFM_CFG_LINE("header", QStringLiteral("accept: ") + c.accept),
                              line("header", "ApiKey: K1")};
      expected += c.own;
      expected << EFM_CFG_LINE("output", app.path() + "/TMP/" + c.answer);
      EXPECT_EQ(cfg, expected);
    }
  }
}

TEST(EfmCallTest, UnwritableOptionRefusesTheCallWithItsMessage) {
  ScriptedPresenter boxes;
  EfmCall c = efm::idsCall("I");
  EXPECT_TRUE(c.writable);
  EFM_ADD_OPTION(c, QStringLiteral("data-raw"), QStringLiteral("a\nb"));
  EXPECT_FALSE(c.writable);
  bool ok = true;
  EXPECT_TRUE(EFM_CURL_CONFIG(c, efmAccount("K1", false), &ok).isEmpty());
  EXPECT_FALSE(ok);
  EXPECT_FALSE(EFM_IZVRSI(c, efmAccount("K1", false)));
  EXPECT_EQ(boxes.texts(), QStringList{EFM_ERR_NEUPISIVO()});
}

TEST(EfmCallTest, ValuesAreQuotedAndUnwritableOnesRefused) {
  EXPECT_EQ(EFM_CFG_QUOTE("a\"b\\c d"), "\"a\\\"b\\\\c d\"");
  EXPECT_EQ(salji::uploadCall("1", false, "/x/a;b,\"c\\d.xml").options.value(1),
            QString("form = \"ublFile=@\\\"/x/a;b,\\\\\\\"c\\\\\\\\d.xml\\\";type=text/xml\""));
  for (const char* bad : {"k\n", "k\r", "a\nheader = \"X: 1\""}) {
    bool ok = true;
    EXPECT_TRUE(EFM_CURL_CONFIG(efm::idsCall("I"), efmAccount(QString::fromUtf8(bad), false), &ok).isEmpty()) << bad;
    EXPECT_FALSE(ok);
  }
}

TEST(EfmCallTest, IdsAreWholeNumbersOnly) {
  struct Case {
    const char* text;
    bool id;
  };
  for (const Case c : {Case{"123", true}, Case{"0", true}, Case{"", false}, Case{"-1", false}, Case{"1.5", false},
                       Case{"12 ", false}, Case{"1;rm -rf", false}, Case{"12345678901234567890", false}})
    EXPECT_EQ(EFM_JE_ID(c.text), c.id) << c.text;
  EXPECT_TRUE(efm::statusCall("I", -4).path.isEmpty());
  EXPECT_TRUE(efm::documentCall("U", -4).path.isEmpty());
  EXPECT_TRUE(efm::cancelCall(false, -4, "x").path.isEmpty());
  EXPECT_TRUE(efm::acceptRejectCall(true, -4, "x").path.isEmpty());
}

TEST(EfmCallTest, HostComesFromTheSettingsAndMustBeAHostName) {
  QTemporaryDir app;
  SET_APPPATH(app.path());
  ScriptedPresenter boxes;
  EXPECT_EQ(EFM_URL(efmAccount("", true), "x"), "https://demoefaktura.mfin.gov.rs/api/publicApi/x");
  QFile ini(app.path() + "/aplik.ini");
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("[Config]\r\nEFAKTURA_HOST=test.example.rs\r\n");
  ini.close();
  EXPECT_EQ(EFM_URL(efmAccount("", false), "x"), "https://test.example.rs/api/publicApi/x");
  for (const char* bad : {"evil.rs/x?", "a b", "-K", "h\"ost"}) {
    EFM_SET_HOST(bad);
    boxes.shown.clear();
    EXPECT_FALSE(EFM_IZVRSI(efm::idsCall("I"), efmAccount("K", false))) << bad;
    EXPECT_EQ(boxes.shown.size(), 1) << bad;
    EXPECT_FALSE(QFile::exists(app.path() + "/TMP/CURLUJ.BAT")) << bad;
  }
  EFM_SET_HOST({});
}

TEST(EfmCallTest, ApiKeyMustBeGiven) {
  ScriptedPresenter boxes;
  QString key = "old";
  EXPECT_TRUE(EFM_API_KLJUC(key, "K1", "nema"));
  EXPECT_EQ(key, "K1");
  EXPECT_FALSE(EFM_API_KLJUC(key, "", "nema"));
  EXPECT_EQ(key, "");
  EXPECT_EQ(boxes.texts(), QStringList{"nema"});
}

TEST(EfmCallTest, RequestIdIsFourteenDigitsOfLocalTime) {
  EXPECT_EQ(salji::requestId(QDateTime(QDate(2024, 3, 5), QTime(9, 8, 7))), "20240305090807");
}

}  // namespace
}  // namespace korvan
