// The page request through the real curl against a local HTTPS page server.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/dates.h"
#include "common/presenter.h"
#include "receipts/libqum2kor.h"
#include "support/peer.h"
#include "support/scriptedpresenter.h"

namespace korvan {
namespace {

const QString kHost = QStringLiteral("suf.purs.gov.rs");

QByteArray fixture(const char* name) {
  QFile f(QStringLiteral(KORVAN_SOURCE_DIR "/tests/receipts/data/") + name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class QumFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SET_APPPATH(app.path());
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
    QUM2KOR_SET_LIMITS({2, 4});
  }
  void TearDown() override { QUM2KOR_SET_LIMITS({10, 30}); }
  bool fetch(const QString& link) {
    return QUM2KOR_DEKODIRAJ(link, QString(20, u'='), QString(20, u'-'), id, jbkjs, date, total, items, &line1,
                             &line2, &number, true, &taxDj, &taxE, &taxG, &taxA);
  }
  void serve(const QByteArray& body) {
    test::PeerAnswer a;
    a.body = body;
    a.type = QStringLiteral("text/html; charset=utf-8");
    peer.scriptPath("GET", "/v/", {a});
  }
  QTemporaryDir app;
  test::Peer peer{{kHost}};
  ScriptedPresenter boxes;
  QString id, jbkjs, line1, line2, number;
  QDate date;
  double total = -1, taxDj = -1, taxE = -1, taxG = -1, taxA = -1;
  QList<ReceiptItem> items;
};

TEST_F(QumFetchTest, EveryValueOfACrLfHtmlJournal) {
  serve(fixture("racun_crlf.html"));
  ASSERT_TRUE(fetch(QStringLiteral("https://suf.purs.gov.rs/v/?vl=A1%2BB2")));
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_EQ(id, QStringLiteral("123456789"));
  EXPECT_EQ(jbkjs, QString());
  EXPECT_EQ(date, QDate(2022, 12, 15));
  EXPECT_DOUBLE_EQ(total, 400);
  const QList<ReceiptItem> expected = {{QString::fromUtf8("Хлеб бели"), QString::fromUtf8("КОМ"), 20, 2, 120, 240},
                                       {QString::fromUtf8("Сок одјабуке 1Л"), QString::fromUtf8("ком"), 10, 1, 110, 110},
                                       {QString::fromUtf8("Со & бибер"), QStringLiteral("kg"), 0, 0.5, 100, 50}};
  EXPECT_EQ(items, expected);
  EXPECT_EQ(line1, QStringLiteral("101234567"));
  EXPECT_EQ(line2, QString::fromUtf8("Продавница & Син"));
  EXPECT_EQ(number, QStringLiteral("1234"));
  EXPECT_DOUBLE_EQ(taxDj, 40);
  EXPECT_DOUBLE_EQ(taxE, 10);
  EXPECT_DOUBLE_EQ(taxG, 0);
  EXPECT_DOUBLE_EQ(taxA, 0);
  // "%2B" reaches the server as written, only as curl's url value.
  ASSERT_EQ(peer.requests().size(), 1);
  EXPECT_EQ(peer.requests()[0].query, QStringLiteral("vl=A1%2BB2"));
  EXPECT_EQ(peer.requests()[0].header("accept"), QStringLiteral("*/*"));
  QFile record(app.path() + QStringLiteral("/TMP/CURLUJ.BAT"));
  ASSERT_TRUE(record.open(QIODevice::ReadOnly));
  const QByteArray cfg = record.readAll();
  EXPECT_TRUE(cfg.contains("url = \"https://suf.purs.gov.rs/v/?vl=A1%2BB2\"")) << cfg.toStdString();
  EXPECT_FALSE(cfg.contains("insecure"));
}

TEST_F(QumFetchTest, LfOnlyPageIsReadLineByLine) {
  serve(fixture("racun_lf.txt"));
  ASSERT_TRUE(fetch(QStringLiteral("https://suf.purs.gov.rs/v/?vl=1")));
  EXPECT_EQ(id, QStringLiteral("123456789"));
  EXPECT_EQ(jbkjs, QStringLiteral("12345"));
  EXPECT_EQ(date, QDate(2023, 1, 3));
  EXPECT_DOUBLE_EQ(total, 799.97);
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[1].name, QString::fromUtf8("Кафа "));
  EXPECT_DOUBLE_EQ(items[1].rate, 0);
  EXPECT_EQ(line2, QString::fromUtf8("ТР Пример"));
  EXPECT_EQ(number, QStringLiteral("77"));
  EXPECT_DOUBLE_EQ(taxE, 27.27);
}

TEST_F(QumFetchTest, ShellTextInALinkRunsNothing) {
  serve("x");
  const QStringList links = {QStringLiteral("https://suf.purs.gov.rs/v/?vl=\"; touch X; \""),
                             QStringLiteral("https://suf.purs.gov.rs/v/?vl=$(touch X)"),
                             QStringLiteral("https://suf.purs.gov.rs/v/?vl=a&b=$(touch%20X)")};
  for (const QString& l : links) fetch(l);
  EXPECT_FALSE(QFile::exists(app.path() + QStringLiteral("/X")));
  EXPECT_FALSE(QFile::exists(QDir::currentPath() + QStringLiteral("/X")));
  // The two with blanks are refused unfetched; the third goes out as it is.
  EXPECT_EQ(boxes.count(BoxKind::Warning), 2);
  ASSERT_EQ(peer.requests().size(), 1);
  EXPECT_EQ(peer.requests()[0].query, QStringLiteral("vl=a&b=$(touch%20X)"));
}

TEST_F(QumFetchTest, BadLinksAreRefusedWithoutARequest) {
  for (const QString& l : {QString(), QStringLiteral("ftp://suf.purs.gov.rs/v"), QStringLiteral("suf.purs.gov.rs/v/?vl=1"),
                           QStringLiteral("https://suf.purs.gov.rs/v/?vl=1\nhttps://x/"),
                           QStringLiteral("https://suf.purs.gov.rs/v/?vl=1\t2")}) {
    SCOPED_TRACE(l.toStdString());
    boxes.shown.clear();
    EXPECT_FALSE(fetch(l));
    EXPECT_EQ(boxes.texts(), QStringList{QUM2KOR_ERR_LINK(l)});
    EXPECT_EQ(date, TODAY());
  }
  EXPECT_TRUE(peer.requests().isEmpty());
  EXPECT_TRUE(fetch(QStringLiteral("  https://suf.purs.gov.rs/v/?vl=1 \n")));
}

TEST_F(QumFetchTest, SilentServerAndUnknownCaEndInTheCurlMessageAndLeaveNoOldPage) {
  serve(fixture("racun_crlf.html"));
  ASSERT_TRUE(fetch(QStringLiteral("https://suf.purs.gov.rs/v/?vl=1")));
  peer.scriptPath("GET", "/v/", {test::PeerAnswer::silent()});
  EXPECT_FALSE(fetch(QStringLiteral("https://suf.purs.gov.rs/v/?vl=1")));
  EXPECT_EQ(boxes.texts(), QStringList{CURL_ERR()});
  EXPECT_TRUE(items.isEmpty());
  EXPECT_TRUE(id.isEmpty());
  EXPECT_FALSE(QFile::exists(app.path() + QStringLiteral("/TMP/odg_get.dat")));

  serve(fixture("racun_crlf.html"));
  ASSERT_TRUE(test::Peer::writeCurlrc(peer.folder(), {kHost}, peer.port(), QString()));
  boxes.shown.clear();
  EXPECT_FALSE(fetch(QStringLiteral("https://suf.purs.gov.rs/v/?vl=1")));
  EXPECT_EQ(boxes.texts(), QStringList{CURL_ERR()});
}

}  // namespace
}  // namespace korvan
