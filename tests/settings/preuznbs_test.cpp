// The register lookup against local page servers: over HTTPS through the
// real curl, and over plain HTTP when curl is made absent.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/curl.h"
#include "settings/preuznbs.h"
#include "support/peer.h"
#include "support/programfolder.h"

using namespace korvan;

namespace {

const QByteArray kPage =
    "<html>\r\n<a href=\"#5\" class=\"formaa\">\r\n  &#262;ACAK &amp; SIN &gt; DOO  \r\n</a>\r\n"
    "<td>>Mesto:</td>\r\n<td>\r\nBeograd\r\n<td>>Datum otvaranja:</td>\r\n<td>\r\n<i>\r\n"
    "Mon Jan 05 00:00:00 CET 2015\r\n</html>\r\n";
const QString kQuery = QStringLiteral("type=rir_results&lang=SER_CIR&konverzija=yes&pib=101234567");

class NoCurl : public CurlFinder {
 public:
  NoCurl() { setCurlFinder(this); }
  ~NoCurl() override { setCurlFinder(nullptr); }
  QString find() override { return QString(); }
};

struct Lookup {
  QString pib = QStringLiteral("101234567");
  QString name = "stari", address = "stari", place = "stari", accounts = "stari", number = "stari", error = "stari";
  bool ok = false;
  void run(bool byNumber = false) {
    ok = PREUZMI_NBS(pib, name, address, place, accounts, number, byNumber, error, true);
  }
};

// Serves the answer and expects the lookup to fail with the error, its outputs empty.
void expectFailure(test::Peer& peer, const test::PeerAnswer& answer, const QString& error) {
  peer.scriptPath("GET", test::kRegisterPath, {answer});
  Lookup l;
  l.run();
  EXPECT_FALSE(l.ok);
  EXPECT_EQ(l.error, error);
  EXPECT_EQ(l.name, QString());
  EXPECT_EQ(l.number, QString());
}

class NbsLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.isValid());
    // The limits in force unless lowered: connect 4 s, whole call 30 s.
    EXPECT_EQ(NBS_LIMITS().connectSeconds, 4);
    EXPECT_EQ(NBS_LIMITS().totalSeconds, 30);
    NBS_SET_LIMITS({.connectSeconds = 2, .totalSeconds = 3, .stallSeconds = 3});
  }
  void TearDown() override {
    NBS_SET_LIMITS({.connectSeconds = 4, .totalSeconds = 30, .stallSeconds = 30});
    NBS_SET_HOST(QString());
  }
  bool exists(const QString& name) const { return QFileInfo::exists(app.filePath(name)); }
  test::TempProgramFolder app;
};

class NbsCurl : public NbsLookup {
 protected:
  void SetUp() override {
    NbsLookup::SetUp();
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
  }
  void serve(const test::PeerAnswer& a) { peer.scriptPath("GET", test::kRegisterPath, {a}); }
  test::Peer peer{test::registerPeerHosts()};
};

TEST_F(NbsCurl, APageIsFetchedByTheExactQueryReadAndItsFilesGo) {
  serve(test::PeerAnswer::html(kPage));
  Lookup l;
  l.run();
  ASSERT_TRUE(l.ok) << l.error.toStdString();
  EXPECT_EQ(l.error, QString());
  EXPECT_EQ(l.name, QString::fromUtf8("ĆACAK & SIN > DOO"));
  EXPECT_EQ(l.place, QStringLiteral("Beograd"));
  EXPECT_EQ(l.address, QString());
  EXPECT_EQ(l.accounts, QString());
  EXPECT_EQ(l.number, QString());
  EXPECT_EQ(l.pib, QStringLiteral("101234567"));
  ASSERT_EQ(peer.requests().size(), 1);
  EXPECT_EQ(peer.requests()[0].path, QString::fromLatin1(test::kRegisterPath));
  EXPECT_EQ(peer.requests()[0].query, kQuery);
  EXPECT_FALSE(exists("CURLUJ.BAT"));
  EXPECT_FALSE(exists("odg.xml"));
  EXPECT_FALSE(exists("TMP/101234567.html"));  // not in test mode
}

TEST_F(NbsCurl, ALongPageIsReadToItsEnd) {
  QByteArray page(300000, 'x');
  page += "\r\n" + kPage;
  serve(test::PeerAnswer::html(page));
  Lookup l;
  l.run();
  ASSERT_TRUE(l.ok) << l.error.toStdString();
  EXPECT_EQ(l.name, QString::fromUtf8("ĆACAK & SIN > DOO"));
}

TEST_F(NbsCurl, ByRegistrationNumberQueriesMatbrAndKeepsIt) {
  serve(test::PeerAnswer::html(kPage));
  Lookup l;
  l.number = QStringLiteral(" 07654321 ");
  l.run(true);
  ASSERT_TRUE(l.ok) << l.error.toStdString();
  EXPECT_EQ(l.pib, QString());
  EXPECT_EQ(l.number, QStringLiteral(" 07654321 "));
  ASSERT_EQ(peer.requests().size(), 1);
  EXPECT_EQ(peer.requests()[0].query, QStringLiteral("type=rir_results&lang=SER_CIR&konverzija=yes&matbr=07654321"));
}

TEST_F(NbsCurl, OnlyDigitsAndAPlainHostMakeARequest) {
  struct Case {
    const char* name;
    QString pib;
    QString host;
    QString error;
  };
  const QList<Case> cases = {
      {"letters", "12a45", "", NBS_ERR_CIFRE()},
      {"an option", "-k", "", NBS_ERR_CIFRE()},
      {"a query of its own", "1&matbr=2", "", NBS_ERR_CIFRE()},
      {"blanks only", "   ", "", NBS_ERR_CIFRE()},
      {"a path in the host", "101234567", "www.nbs.rs/x?", "Neispravan naziv servera NBS: 'www.nbs.rs/x?'"},
      {"a port out of range", "101234567", "www.nbs.rs:99999", "Neispravan naziv servera NBS: 'www.nbs.rs:99999'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NBS_SET_HOST(c.host);
    Lookup l;
    l.pib = c.pib;
    l.run();
    EXPECT_FALSE(l.ok);
    EXPECT_EQ(l.error, c.error);
    EXPECT_EQ(l.name, QString());
    EXPECT_EQ(l.number, QString());
  }
  EXPECT_TRUE(peer.requests().isEmpty());
  EXPECT_FALSE(exists("CURLUJ.BAT"));
  // Blanks around the digits are trimmed off.
  NBS_SET_HOST(QString());
  serve(test::PeerAnswer::html(kPage));
  Lookup l;
  l.pib = QStringLiteral(" 101234567 ");
  l.run();
  EXPECT_TRUE(l.ok) << l.error.toStdString();
  ASSERT_EQ(peer.requests().size(), 1);
  EXPECT_EQ(peer.requests()[0].query, kQuery);
}

TEST_F(NbsCurl, FailuresAreCurlErrorsAndKeepBothFiles) {
  struct Case {
    const char* name;
    test::PeerAnswer answer;
  };
  const QList<Case> cases = {
      {"server error", test::PeerAnswer::html("<html>Greska</html>", 500)},
      {"not found", test::PeerAnswer::html("<html>nema</html>", 404)},
      {"empty page", test::PeerAnswer::html("")},
      {"silent server", test::PeerAnswer::silent()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectFailure(peer, c.answer, NBS_ERR_CURL());
    EXPECT_TRUE(exists("CURLUJ.BAT"));
  }
  // The kept call: config lines only, mode 0600, certificates checked, HTTP errors fail.
  QFile record(app.filePath("CURLUJ.BAT"));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(record.fileName()).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_TRUE(record.open(QIODevice::ReadOnly));
  const QByteArray cfg = record.readAll();
  EXPECT_TRUE(cfg.contains("\r\nfail\r\n")) << cfg.constData();
  EXPECT_TRUE(cfg.contains("url = \"https://www.nbs.rs/rir_pn/pn_rir.html.jsp?" + kQuery.toUtf8() + "\""));
  EXPECT_TRUE(cfg.contains(("output = \"" + app.filePath("odg.xml") + "\"").toUtf8()));
  EXPECT_TRUE(cfg.contains("connect-timeout = 2"));
  EXPECT_TRUE(cfg.contains("max-time = 3"));
  EXPECT_FALSE(cfg.contains("insecure"));
  EXPECT_FALSE(cfg.contains("-k"));

  // The next good lookup clears them away.
  serve(test::PeerAnswer::html(kPage));
  Lookup good;
  good.run();
  EXPECT_TRUE(good.ok);
  EXPECT_FALSE(exists("CURLUJ.BAT"));
  EXPECT_FALSE(exists("odg.xml"));
}

TEST_F(NbsCurl, AnUnknownCertificateAuthorityIsRefused) {
  QTemporaryDir home;
  ASSERT_TRUE(test::Peer::writeCurlrc(home.path(), test::registerPeerHosts(), peer.port(), QString()));
  const QByteArray before = qgetenv("CURL_HOME");
  qputenv("CURL_HOME", QFile::encodeName(home.path()));
  serve(test::PeerAnswer::html(kPage));
  Lookup l;
  l.run();
  qputenv("CURL_HOME", before);
  EXPECT_FALSE(l.ok);
  EXPECT_EQ(l.error, NBS_ERR_CURL());
  EXPECT_EQ(l.name, QString());
}

TEST_F(NbsCurl, OnlyTheWordFaultFailsAndThePageIsTheError) {
  struct Case {
    const char* name;
    QByteArray page;
    bool ok;
  };
  const QList<Case> cases = {
      {"soap fault", "<soap:Fault>x</soap:Fault>", false},
      {"lower case", "a fault here", false},
      {"Default", "<td>Default</td>\r\n<script>e.preventDefault()</script>", true},
      {"faulty is another word", "faulty", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    serve(test::PeerAnswer::html(c.page));
    Lookup l;
    l.run();
    EXPECT_EQ(l.ok, c.ok);
    EXPECT_EQ(l.error, c.ok ? QString() : QString::fromUtf8(c.page));
    EXPECT_EQ(exists("odg.xml"), !c.ok);
  }
}

TEST_F(NbsCurl, TestModeKeepsACopyOfThePage) {
  ASSERT_TRUE(app.write("TEST.!!!", {}));
  serve(test::PeerAnswer::html(kPage));
  Lookup l;
  l.run();
  ASSERT_TRUE(l.ok);
  QByteArray expected = kPage;
  expected.replace("&gt;", ">");
  EXPECT_EQ(app.read("TMP/101234567.html"), expected);
}

class NbsPlain : public NbsLookup {
 protected:
  void SetUp() override {
    NbsLookup::SetUp();
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
    // The host as aplik.ini names it.
    ASSERT_TRUE(app.write("aplik.ini", "[Config]\r\nNBS_HOST = 127.0.0.1:" + QByteArray::number(peer.port()) + "\r\n"));
  }
  void serve(const test::PeerAnswer& a) { peer.scriptPath("GET", test::kRegisterPath, {a}); }
  NoCurl noCurl;
  test::Peer peer{{}, test::PeerScheme::Http};
};

TEST_F(NbsPlain, APageIsUsedAsItCameAndTheWaitKeepsTheEventLoopRunning) {
  test::PeerAnswer a = test::PeerAnswer::html(kPage + "<p>Default fault</p>\r\n");
  a.delayMs = 800;
  serve(a);
  bool timerRan = false;
  QTimer::singleShot(100, [&] { timerRan = true; });
  Lookup l;
  l.run();
  EXPECT_TRUE(timerRan);
  ASSERT_TRUE(l.ok) << l.error.toStdString();
  EXPECT_EQ(l.name, QString::fromUtf8("ĆACAK & SIN &gt; DOO"));
  EXPECT_EQ(l.place, QStringLiteral("Beograd"));
  ASSERT_EQ(peer.requests().size(), 1);
  EXPECT_EQ(peer.requests()[0].query, kQuery);
  EXPECT_FALSE(exists("CURLUJ.BAT"));
}

TEST_F(NbsPlain, FailuresNameTheirCause) {
  const QString prefix = QStringLiteral("ERROR - file can't be retrieved ");
  struct Case {
    const char* name;
    test::PeerAnswer answer;
    QString error;
  };
  const QList<Case> cases = {
      {"server error", test::PeerAnswer::html("<html>Greska</html>", 500),
       prefix + QStringLiteral("HTTP/1.1 500 Internal Server Error")},
      {"empty page", test::PeerAnswer::html(""), prefix + QStringLiteral("The remote host closed the connection")},
      {"silent server", test::PeerAnswer::silent(), prefix + QStringLiteral("Socket operation timed out")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectFailure(peer, c.answer, c.error);
  }
  // Nobody listening.
  const QString host = NBS_HOST();
  peer.stopServer();
  Lookup l;
  l.run();
  EXPECT_FALSE(l.ok);
  EXPECT_EQ(l.error, QStringLiteral("Can't open URL http://") + host + QStringLiteral("/rir_pn/pn_rir.html.jsp?") + kQuery);
}

}  // namespace
