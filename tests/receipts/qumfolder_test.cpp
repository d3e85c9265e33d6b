// The receipt exchange folder against a real FTP server on 127.0.0.1.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "platform/process.h"
#include "receipts/qumfolder.h"
#include "support/ftppeer.h"
#include "support/scriptedpresenter.h"

namespace korvan {
namespace {

using test::FtpPeer;

const QString kPib = QStringLiteral("101234567");

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class QumFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    appPath = GETAPPPATH();
    ASSERT_TRUE(app.isValid());
    SET_APPPATH(app.path());
    ASSERT_TRUE(QDir().mkpath(app.path() + "/TMP"));
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
    account(peer.host(), FtpPeer::password());
  }
  void TearDown() override { SET_APPPATH(appPath); }
  void account(const QString& host, const QString& password) {
    QFile ini(app.path() + "/aplik.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(("[Config]\r\nFTP_HOST=" + host + "\r\nFTP_KORISNIK=" + FtpPeer::user() + "\r\nFTP_LOZINKA=" +
               password + "\r\n")
                  .toUtf8());
  }
  QString address(const QString& host) const { return "ftp://korvan-test@" + host + "/public_html/update/qumir/" + kPib; }
  QString downloaded() const { return app.path() + "/TMP/preuzeto.web"; }
  void earlierDownload() const {
    QFile f(downloaded());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("https://suf.purs.gov.rs/v/?vl=STARI");
  }
  void noPasswordShown() const {
    for (const QString& t : boxes.texts()) EXPECT_FALSE(t.contains(FtpPeer::password())) << t.toStdString();
  }

  QString appPath;
  QTemporaryDir app;
  FtpPeer peer;
  ScriptedPresenter boxes;
};

TEST_F(QumFolderTest, ListsTheCompanyFolderKeyedByName) {
  ASSERT_TRUE(peer.put("qumir/" + kPib + "/20221215-1.web", "https://suf.purs.gov.rs/v/?vl=A"));
  ASSERT_TRUE(peer.put("qumir/" + kPib + "/20221215-2.WEB", "https://suf.purs.gov.rs/v/?vl=BB"));
  ASSERT_TRUE(peer.put("qumir/" + kPib + "/beleska.txt", "x"));
  ASSERT_TRUE(peer.put("qumir/" + kPib + "/los\tnaziv.web", "z"));  // no plain name: left out
  ASSERT_TRUE(peer.put("qumir/999/tudji.web", "y"));
  QString folder = "stari";
  QumEntries entries;
  entries.insert("ostatak", {});
  ASSERT_TRUE(QUM2KOR_VRATI_FAJLOVE(kPib, folder, entries));
  EXPECT_EQ(folder, "qumir");
  EXPECT_EQ(entries.keys(), QStringList({"20221215-1.web", "20221215-2.WEB", "beleska.txt"}));
  EXPECT_EQ(entries.value("20221215-1.web").size, 31);
  EXPECT_EQ(entries.value("20221215-2.WEB").size, 32);
  for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
    EXPECT_EQ(it.value().name, it.key());
    EXPECT_TRUE(it.value().attributes.startsWith('-'));
  }
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
}

TEST_F(QumFolderTest, ACompanyWithoutAFolderHasNoEntries) {
  ASSERT_TRUE(peer.put("qumir/999/tudji.web", "y"));
  QString folder;
  QumEntries entries;
  entries.insert("ostatak", {});
  EXPECT_TRUE(QUM2KOR_VRATI_FAJLOVE(kPib, folder, entries));
  EXPECT_EQ(folder, "qumir");
  EXPECT_TRUE(entries.isEmpty());
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
}

TEST_F(QumFolderTest, DownloadsTheTextAndAVanishedNameGivesNothingSilently) {
  ASSERT_TRUE(peer.put("qumir/" + kPib + "/a.web", "https://suf.purs.gov.rs/v/?vl=A1%2BB2"));
  EXPECT_EQ(QUM2KOR_PREUZMI_DATA("a.web", "qumir", kPib), "https://suf.purs.gov.rs/v/?vl=A1%2BB2");
  EXPECT_EQ(readAll(downloaded()), "https://suf.purs.gov.rs/v/?vl=A1%2BB2");
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();

  EXPECT_EQ(QUM2KOR_PREUZMI_DATA("nema.web", "qumir", kPib), QString());
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
  EXPECT_FALSE(QFile::exists(downloaded())) << "the earlier download is not left to stand for this one";
  EXPECT_EQ(QUM2KOR_PREUZMI_DATA("a.web", "qumir", "999"), QString()) << "no company folder";
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
}

TEST_F(QumFolderTest, ACutDownloadShowsTheReplyAndLeavesNoEarlierFile) {
  ASSERT_TRUE(peer.put("qumir/" + kPib + "/dug.web", QByteArray(200000, 'h')));
  peer.cut({"dug.web"});
  earlierDownload();
  EXPECT_EQ(QUM2KOR_PREUZMI_DATA("dug.web", "qumir", kPib), QString());
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_FALSE(boxes.texts()[0].isEmpty());
  EXPECT_FALSE(QFile::exists(downloaded()));
}

TEST_F(QumFolderTest, DeletesOnceAndTheEntriesStillNameTheirOwnFiles) {
  ASSERT_TRUE(peer.put("qumir/" + kPib + "/a.web", "a"));
  ASSERT_TRUE(peer.put("qumir/" + kPib + "/b.web", "bb"));
  ASSERT_TRUE(peer.put("qumir/" + kPib + "/c.web", "ccc"));
  EXPECT_TRUE(QUM2KOR_BRISI_FTP_FAJL("b.web", "qumir", kPib));
  EXPECT_FALSE(QFile::exists(peer.root() + "/qumir/" + kPib + "/b.web"));
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();

  EXPECT_FALSE(QUM2KOR_BRISI_FTP_FAJL("b.web", "qumir", kPib));
  EXPECT_EQ(boxes.texts(), QStringList({QString::fromUtf8("Greška pri brisanju fajla! b.web")}));

  QString folder;
  QumEntries entries;
  ASSERT_TRUE(QUM2KOR_VRATI_FAJLOVE(kPib, folder, entries));
  EXPECT_EQ(entries.keys(), QStringList({"a.web", "c.web"}));
  EXPECT_EQ(entries.value("c.web").size, 3);
  EXPECT_EQ(QUM2KOR_PREUZMI_DATA("c.web", folder, kPib), "ccc");
}

// How each operation fails when the server cannot be used.
TEST_F(QumFolderTest, ServerFailures) {
  ASSERT_TRUE(peer.put("qumir/" + kPib + "/a.web", "a"));
  FtpPeer silent(FtpPeer::Mode::Silent);
  ASSERT_TRUE(silent.start()) << silent.error().toStdString();
  const QString closed = "127.0.0.1:" + QString::number(FtpPeer::closedPort());
  struct Case {
    const char* name;
    QString host;
    QString password;
    const char* fileBox;  // the start of the download's and the delete's box; nullptr: the network error
  } cases[] = {
      {"wrong password", peer.host(), "pogresna9", "530"},
      {"closed port", closed, FtpPeer::password(), "Nije inicijalizovana konekcija"},
      {"never greets", silent.host(), FtpPeer::password(), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    account(c.host, c.password);
    boxes.shown.clear();
    QString folder;
    QumEntries entries;
    EXPECT_FALSE(QUM2KOR_VRATI_FAJLOVE(kPib, folder, entries));
    EXPECT_TRUE(entries.isEmpty());
    EXPECT_EQ(boxes.texts(), QStringList({QString::fromUtf8("Nije moguće otvoriti URI ") + address(c.host)}));

    earlierDownload();
    EXPECT_EQ(QUM2KOR_PREUZMI_DATA("a.web", "qumir", kPib), QString());
    EXPECT_FALSE(QFile::exists(downloaded()));
    EXPECT_FALSE(QUM2KOR_BRISI_FTP_FAJL("a.web", "qumir", kPib));
    ASSERT_EQ(boxes.shown.size(), 3);
    for (int i : {1, 2}) {
      const QString box = boxes.texts()[i];
      SCOPED_TRACE(box.toStdString());
      if (c.fileBox) {
        EXPECT_TRUE(box.startsWith(QString::fromUtf8(c.fileBox)));
      } else {
        EXPECT_FALSE(box.isEmpty());
        EXPECT_FALSE(box.startsWith("Nije") || box.startsWith(QString::fromUtf8("Greška")));
      }
    }
    noPasswordShown();
  }
  EXPECT_TRUE(QFile::exists(peer.root() + "/qumir/" + kPib + "/a.web"));
}

// Counts the programs started; starts none.
class NoRun : public platform::ProcessRunner {
 public:
  NoRun() { platform::setProcessRunner(this); }
  ~NoRun() override { platform::setProcessRunner(nullptr); }
  platform::ProcessResult run(const platform::ProcessRequest&) override {
    ++runs;
    return {};
  }
  int runs = 0;
};

TEST_F(QumFolderTest, UnsafeTaxNumbersAndNamesAreRefusedBeforeAnythingGoesOut) {
  NoRun spy;
  for (const char* pib : {"", "10123456a", "../101", "101/102", "101 102", "101\r\nDELE x"}) {
    SCOPED_TRACE(pib);
    boxes.shown.clear();
    QString folder;
    QumEntries entries;
    EXPECT_FALSE(QUM2KOR_VRATI_FAJLOVE(QString::fromUtf8(pib), folder, entries));
    EXPECT_EQ(QUM2KOR_PREUZMI_DATA("a.web", "qumir", QString::fromUtf8(pib)), QString());
    EXPECT_FALSE(QUM2KOR_BRISI_FTP_FAJL("a.web", "qumir", QString::fromUtf8(pib)));
    ASSERT_EQ(boxes.shown.size(), 3);
    for (const QString& t : boxes.texts()) EXPECT_TRUE(t.startsWith("Nije dobar URL :")) << t.toStdString();
  }
  for (const char* name : {"", "..", "../a.web", "x/a.web", "a\\b.web", "a.web\r\nDELE b.web", "a\tb.web"}) {
    SCOPED_TRACE(name);
    boxes.shown.clear();
    EXPECT_EQ(QUM2KOR_PREUZMI_DATA(QString::fromUtf8(name), "qumir", kPib), QString());
    EXPECT_FALSE(QUM2KOR_BRISI_FTP_FAJL(QString::fromUtf8(name), "qumir", kPib));
    ASSERT_EQ(boxes.shown.size(), 2);
    for (const QString& t : boxes.texts()) EXPECT_TRUE(t.startsWith("Nije dobar URL :")) << t.toStdString();
  }
  boxes.shown.clear();
  EXPECT_EQ(QUM2KOR_PREUZMI_DATA("a.web", "../etc", kPib), QString());
  account("ftp.korvan.rs -K /etc/passwd", FtpPeer::password());
  QString folder;
  QumEntries entries;
  EXPECT_FALSE(QUM2KOR_VRATI_FAJLOVE(kPib, folder, entries));
  EXPECT_EQ(boxes.texts().size(), 2);
  for (const QString& t : boxes.texts()) EXPECT_TRUE(t.startsWith("Nije dobar URL :")) << t.toStdString();
  EXPECT_EQ(spy.runs, 0);
}

}  // namespace
}  // namespace korvan
