// Sends that meet a dead or silent server, awkward folder names, the issue
// date change, and the API key kept off every command line.
#include <QDateEdit>
#include <QDirIterator>
#include <QLabel>

#include <atomic>
#include <thread>

#include "einvoice/salji_fixture.h"
#include "platform/process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvan::test {
namespace {

using SendEdgeTest = SendFixture;

const QString kCurlFailed = QString::fromUtf8("Greška pri pozivanju 'curl.exe'!\nFajl NIJE POSLAT!");

TEST_F(SendEdgeTest, RefusedConnectionIsReportedAsNotSent) {
  peer.stopServer();
  confirm();
  EXPECT_FALSE(send());
  EXPECT_EQ(boxes.texts(), QStringList{kCurlFailed});
  EXPECT_TRUE(actions.isEmpty());
}

TEST_F(SendEdgeTest, EmptyAnswerAfterAGoodSendIsNotJson) {
  confirm();
  finishStatus();
  ASSERT_TRUE(send());
  peer.script("POST", "sales-invoice/ubl/upload", {PeerAnswer::json("")});
  confirm();
  EXPECT_FALSE(send());
  EXPECT_EQ(boxes.texts(),
            QStringList{QString::fromUtf8("Greška pri obradi odgovora servera: Odgovor nije JSON fajl!\nFajl NIJE POSLAT!")});
  EXPECT_EQ(requestsTo("sales-invoice").size(), 1);
  EXPECT_EQ(actions.size(), 1);
}

TEST_F(SendEdgeTest, CertificateOfAnUnknownIssuerIsRefused) {
  // The same peer, but curl no longer trusts the CA that signed it.
  ASSERT_TRUE(Peer::writeCurlrc(peer.folder(), defaultPeerHosts(), peer.port(), QString()));
  confirm();
  EXPECT_FALSE(send());
  EXPECT_EQ(boxes.texts(), QStringList{kCurlFailed});
  EXPECT_TRUE(peer.requests().isEmpty());
}

const QString kMayHaveArrived = QString::fromUtf8(
    "Odgovor servera nije stigao: veza je prekinuta ili je isteklo vreme čekanja, a fajl je već poslat!\n"
    "Fajl je možda primljen i registrovan. Proverite njegov status pre ponovnog slanja!");

// The server has the upload but its answer never comes back: the invoice may
// be registered, so "not sent" would invite a second copy.
TEST_F(SendEdgeTest, AnAnswerLostAfterTheUploadWentOutSaysTheInvoiceMayHaveArrived) {
  EFM_SET_LIMITS({2, 3});
  const QList<QPair<const char*, PeerAnswer>> cases = {
      {"read and never answered (time-out)", PeerAnswer::silent()},
      {"read and the connection dropped", PeerAnswer::dropped()},
  };
  int sent = 0;
  for (const auto& [name, answer] : cases) {
    SCOPED_TRACE(name);
    boxes.shown.clear();
    peer.script("POST", "sales-invoice/ubl/upload", {answer});
    confirm();
    EXPECT_FALSE(send());
    EXPECT_EQ(boxes.texts(), QStringList{kMayHaveArrived});
    EXPECT_EQ(uploads().size(), ++sent);
    EXPECT_TRUE(requestsTo("sales-invoice").isEmpty());
    EXPECT_TRUE(actions.isEmpty());
  }
}

// A server that takes the connection but never completes the handshake got
// nothing: the connect time-out is "not sent".
TEST_F(SendEdgeTest, AHandshakeThatNeverEndsIsNotSent) {
  EFM_SET_LIMITS({2, 3});
  // Listening, never accepting: the kernel completes the connection, nobody answers.
  const int mute = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(mute, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ASSERT_EQ(::bind(mute, reinterpret_cast<sockaddr*>(&a), len), 0);
  ASSERT_EQ(::listen(mute, 4), 0);
  ASSERT_EQ(::getsockname(mute, reinterpret_cast<sockaddr*>(&a), &len), 0);
  ASSERT_TRUE(Peer::writeCurlrc(peer.folder(), defaultPeerHosts(), ntohs(a.sin_port), peer.folder() + "/ca.pem"));
  confirm();
  EXPECT_FALSE(send());
  EXPECT_EQ(boxes.texts(), QStringList{kCurlFailed});
  EXPECT_TRUE(peer.requests().isEmpty());
  ::close(mute);
}

TEST_F(SendEdgeTest, SilentStatusRequestEndsRedAndKeepsTheId) {
  EFM_SET_LIMITS({2, 3});
  peer.script("GET", "sales-invoice", {PeerAnswer::silent()});
  QString text;
  confirm();
  finishStatus([&](QDialog* d) { text = d->findChild<QLabel*>("text")->text(); });
  EXPECT_FALSE(send());
  EXPECT_TRUE(text.startsWith(QString::fromUtf8("Greška pri pozivanju 'curl.exe'!\n"))) << text.toStdString();
  ASSERT_EQ(actions.size(), 1);
  EXPECT_EQ(actions[0].second, R"({"InvoiceId": 9001, "Status": "Unknown"})");
}

TEST_F(SendEdgeTest, FolderNameWithShellAndFormCharactersIsSentIntact) {
  const QString folder = app.path() + QStringLiteral("/a;b,c\"d $(touch X) `touch Y`");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QByteArray doc = smallDocument() + "<!-- ;type=text/plain -->\r\n";
  setDocument(folder + QStringLiteral("/R-15.xml"), doc);
  confirm();
  finishStatus();
  EXPECT_TRUE(send());
  ASSERT_EQ(uploads().size(), 1);
  const auto parts = parseMultipart(uploads()[0]);
  ASSERT_EQ(parts.size(), 1);
  EXPECT_EQ(parts[0].filename, "R-15.xml");
  EXPECT_EQ(parts[0].type, "text/xml");
  EXPECT_EQ(parts[0].data, doc);
  ASSERT_EQ(actions.size(), 1);
  EXPECT_EQ(actions[0].first, folder + "/R-15.xml");
  EXPECT_TRUE(QFile::exists(folder + "/R-15.xml.txt"));
  for (const QString& where : {QDir::currentPath(), app.path(), folder})
    for (const char* name : {"X", "Y"}) EXPECT_FALSE(QFile::exists(where + "/" + name)) << where.toStdString();
}

// Records every program start (and looks at every command line on the
// machine while curl runs) before handing the start to the real runner.
class WatchingRunner : public platform::ProcessRunner {
 public:
  explicit WatchingRunner(QByteArray secret) : secret_(std::move(secret)), real_(platform::processRunner()) {
    platform::setProcessRunner(this);
  }
  ~WatchingRunner() override { platform::setProcessRunner(nullptr); }
  platform::ProcessResult run(const platform::ProcessRequest& r) override {
    seen.append(r);
    std::atomic<bool> done{false};
    std::thread scan([this, &done] {
      while (!done) {
        QDirIterator it("/proc", QDir::Dirs | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
          QFile f(it.next() + "/cmdline");
          if (f.open(QIODevice::ReadOnly) && f.readAll().contains(secret_)) leaked = true;
        }
        ++scans;
      }
    });
    platform::ProcessResult result = real_.run(r);
    done = true;
    scan.join();
    return result;
  }
  QList<platform::ProcessRequest> seen;
  std::atomic<bool> leaked{false};
  std::atomic<int> scans{0};

 private:
  QByteArray secret_;
  platform::ProcessRunner& real_;
};

TEST_F(SendEdgeTest, KeyNeverStandsOnACommandLine) {
  peer.script("POST", "sales-invoice/ubl/upload",
              {PeerAnswer::slow(1500, R"({"SalesInvoiceId":9001})")});
  WatchingRunner watch("tajni-kljuc-42");
  confirm();
  finishStatus();
  EXPECT_TRUE(send());
  ASSERT_EQ(watch.seen.size(), 2);
  for (const auto& r : watch.seen) {
    EXPECT_EQ(r.arguments.size(), 2);
    EXPECT_EQ(r.arguments.value(0), "-K");
    EXPECT_FALSE(r.arguments.join(' ').contains("tajni"));
  }
  EXPECT_GT(watch.scans.load(), 0);
  EXPECT_FALSE(watch.leaked.load());
  // The key is in the record file only, which only the owner may read.
  const QString record = app.path() + "/TMP/CURLUJ.BAT";
  EXPECT_EQ(QFile(record).permissions() & 0x0077, 0);
  QFile f(record);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().contains("header = \"ApiKey: tajni-kljuc-42\"\r\n"));
}

TEST_F(SendEdgeTest, ChangedIssueDateIsWrittenIntoTheSentDocument) {
  struct Case {
    const char* name;
    QDate edited;
    QList<int> answers;  // to the date question
    int questions;
    QByteArray sent;
  };
  const QList<Case> cases = {
      {"confirmed", QDate(2024, 3, 7), {1}, 1, smallDocument("2024-03-07")},
      {"refused", QDate(2024, 3, 7), {0}, 1, smallDocument()},
      {"same date", QDate(2024, 3, 5), {}, 0, smallDocument()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setDocument(record.cFN_XML_FULL);
    boxes.shown.clear();
    boxes.answers = c.answers;
    confirm([&](QDialog* d) { d->findChild<QDateEdit*>()->setDate(c.edited); });
    finishStatus();
    EXPECT_TRUE(send());
    EXPECT_EQ(boxes.count(BoxKind::YesNo), c.questions);
    EXPECT_EQ(parseMultipart(uploads().last()).value(0).data, c.sent);
  }
  // The record keeps its date; only the document changed.
  EXPECT_EQ(record.dDATUM_IZDAVANJA, QDate(2024, 3, 5));
}

TEST_F(SendEdgeTest, IssueDateThatCannotBeWrittenSendsNothing) {
  // A name at the longest a folder entry may be leaves no room for the
  // temporary file beside it, so the replacement fails even for root.
  setDocument(docFolder + "/" + QString(251, u'a') + ".xml");
  boxes.answers = {1};
  confirm([](QDialog* d) { d->findChild<QDateEdit*>()->setDate(QDate(2024, 3, 9)); });
  EXPECT_FALSE(send());
  EXPECT_TRUE(peer.requests().isEmpty());
  ASSERT_GE(boxes.shown.size(), 2);
  EXPECT_TRUE(boxes.shown.last().text.endsWith("Fajl NIJE POSLAT!"));
  QFile f(record.cFN_XML_FULL);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), smallDocument());
}

TEST_F(SendEdgeTest, DocumentPathWithALineBreakIsRefusedBeforeAnyRequest) {
  QDir().mkpath(docFolder + "/a\nb");
  setDocument(docFolder + "/a\nb/R-15.xml");
  confirm();
  EXPECT_FALSE(send());
  EXPECT_TRUE(peer.requests().isEmpty());
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_TRUE(boxes.shown[0].text.contains(record.cFN_XML_FULL));
  EXPECT_TRUE(boxes.shown[0].text.endsWith("Fajl NIJE POSLAT!"));
  EXPECT_TRUE(actions.isEmpty());
}

TEST_F(SendEdgeTest, IssueDateMissingFromTheDocumentSendsNothing) {
  // The document says another date than the record: nothing to replace.
  setDocument(record.cFN_XML_FULL, smallDocument("2024-03-04"));
  boxes.answers = {1};
  confirm([](QDialog* d) { d->findChild<QDateEdit*>()->setDate(QDate(2024, 3, 9)); });
  EXPECT_FALSE(send());
  EXPECT_TRUE(peer.requests().isEmpty());
  ASSERT_EQ(boxes.shown.size(), 2);
  EXPECT_EQ(boxes.shown[1].text, QString::fromUtf8("Datum izdavanja nije izmenjen.\nFajl NIJE POSLAT!"));
  QFile f(record.cFN_XML_FULL);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), smallDocument("2024-03-04"));
}

}  // namespace
}  // namespace korvan::test
