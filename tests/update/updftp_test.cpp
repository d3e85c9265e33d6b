// The update dialog and its run against a real FTP server on 127.0.0.1.
#include "update/updftp.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

#include "common/apppath.h"
#include "common/lookglobals.h"
#include "common/presenter.h"
#include "support/scriptedpresenter.h"
#include "common/shellhooks.h"
#include "support/ftppeer.h"
#include "update/check.h"

using namespace korvan;
using korvan::test::FtpPeer;

namespace korvan {
void plug_update();
}

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QByteArray kNew = [] {
  QByteArray b(150000, '\0');
  for (int i = 0; i < b.size(); ++i) b[i] = static_cast<char>((i * 31) ^ (i >> 9));
  return b;
}();

// A program folder "prog" with aplik.ini pointing the update account at the
// server, and the server's folder "korvan" with a newer version, the
// executable and its check file.
class UpdRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
    appPath = GETAPPPATH();
    prog = dir.path() + "/prog";
    QDir().mkpath(prog + "/UPDFTP");
    SET_APPPATH(prog);
    SET_EXENAME("korvan");
    G_CUPDFOLDER(prog + "/UPDFTP");
    account(peer.host(), FtpPeer::password());
    ASSERT_TRUE(peer.put("korvan/ver.txt", "2022.12.15"));
    ASSERT_TRUE(peer.put("korvan/korvan", kNew));
    ASSERT_TRUE(peer.put("korvan/korvan.sfv", "korvan " + CRC32_HEX(kNew).toLatin1() + "\r\n"));
    dialog.reset(UPDFTP_DIALOG(nullptr, nullptr, "2022.12.14"));
  }
  void TearDown() override {
    dialog.reset();
    SET_APPPATH(appPath);
    SET_EXENAME(QString());
    G_CUPDFOLDER(QString());
  }
  void account(const QString& host, const QString& password) {
    QFile ini(prog + "/aplik.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(("[Config]\r\nFTP_HOST=" + host + "\r\nFTP_KORISNIK=" + FtpPeer::user() + "\r\nFTP_LOZINKA=" +
               password + "\r\n")
                  .toUtf8());
  }
  QPushButton* button(const QString& text) const {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
      if (b->text() == text) return b;
    return nullptr;
  }
  QListWidget* logList() const { return dialog->findChild<QListWidget*>(); }
  QStringList run() {
    QPushButton* check = button(u("Provera dostupnosti nove verzije (UPDATE)"));
    EXPECT_TRUE(check);
    if (!check) return {};
    check->click();
    QStringList lines;
    for (int i = 0; i < logList()->count(); ++i) lines << logList()->item(i)->text();
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
    return lines;
  }
  QString connecting() const { return "Konektujem se na server " + peer.host(); }
  QString url() const { return "ftp://korvan-test@" + peer.host() + "/public_html/update/korvan/korvan"; }
  QStringList versionLines(const char* verdict) const {
    return {connecting(),
            u("Status konekcije: 230 Login successful."),
            u("Proveravam dostupnost nove verzije..."),
            u("Odgovor servera: 226 Transfer complete."),
            u(verdict),
            u("Gotovo: 226 Transfer complete.")};
  }
  QStringList downloadLines() const {
    return {connecting(), u("Status konekcije: 230 Login successful."), u("Primljena nova verzija"),
            u("Odgovor servera: 226 Transfer complete."), u("Gotovo: 226 Transfer complete.")};
  }
  QStringList leftInUpdateFolder() const {
    return QDir(prog + "/UPDFTP").entryList(QDir::Files, QDir::Name);
  }

  FtpPeer peer;
  QTemporaryDir dir;
  QString appPath;
  QString prog;
  ScriptedPresenter boxes;
  std::unique_ptr<QWidget> dialog;
};

TEST_F(UpdRun, ANewerVersionIsFetchedCheckedAndLeftUnderItsName) {
  EXPECT_EQ(run(), versionLines("Dostupna je nova verzija!") + downloadLines() + QStringList{u("Provera CRC32: Ok.")});
  EXPECT_EQ(readAll(prog + "/UPDFTP/korvan"), kNew);
  EXPECT_EQ(leftInUpdateFolder(), QStringList({"korvan", "korvan.sfv"}));
  EXPECT_FALSE(QFile::exists(prog + "/TMP/VER.TXT"));
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].kind, BoxKind::Info);
  EXPECT_EQ(boxes.shown[0].text, u("Nova verzija će biti aktivirana pri sledećem startovanju programa."));
}

TEST_F(UpdRun, AVersionNotNewerFetchesNothing) {
  ASSERT_TRUE(peer.put("korvan/ver.txt", "2022.12.14"));
  EXPECT_EQ(run(), versionLines("Nova verzija nije dostupna."));
  EXPECT_EQ(peer.sent(), QStringList({"korvan/ver.txt"}));
  EXPECT_TRUE(leftInUpdateFolder().isEmpty());
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(UpdRun, OnlyAPositiveCheckKeepsTheDownload) {
  const struct {
    const char* name;
    QByteArray sfv;  // empty: no check file on the server
    const char* verdict;
  } cases[] = {
      {"bad CRC", "korvan 00000000\r\n", "Provera CRC32: Greška!"},
      {"lower-case hex", "korvan " + CRC32_HEX(kNew).toLower().toLatin1() + "\r\n", "Provera CRC32: Greška!"},
      {"no check file", "", "Provera CRC32: nije moguća!"},
      {"no line for the name", "korvan.exe " + CRC32_HEX(kNew).toLatin1() + "\r\n", "Provera CRC32: nije moguća!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(peer.root() + "/korvan/korvan.sfv");
    if (!c.sfv.isEmpty()) ASSERT_TRUE(peer.put("korvan/korvan.sfv", c.sfv));
    boxes.shown.clear();
    EXPECT_EQ(run(), versionLines("Dostupna je nova verzija!") + downloadLines() + QStringList{u(c.verdict)});
    EXPECT_FALSE(leftInUpdateFolder().contains("korvan"));
    EXPECT_FALSE(leftInUpdateFolder().contains("korvan.novi"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Warning);
    EXPECT_EQ(boxes.shown[0].text, u("Nije ispravno preuzeta nova verzija!\nPonovite..."));
  }
}

TEST_F(UpdRun, AnUpperCaseExecutableNameIsFetchedInLowerCase) {
  SET_EXENAME("KORVAN");
  EXPECT_EQ(run().last(), u("Provera CRC32: Ok."));
  EXPECT_EQ(leftInUpdateFolder(), QStringList({"korvan", "korvan.sfv"}));
  EXPECT_EQ(readAll(prog + "/UPDFTP/korvan"), kNew);
}

TEST_F(UpdRun, ServersThatCannotBeReachedEndTheRunWithButtonsEnabled) {
  FtpPeer silent(FtpPeer::Mode::Silent);
  ASSERT_TRUE(silent.start()) << silent.error().toStdString();
  const QString closed = "127.0.0.1:" + QString::number(FtpPeer::closedPort());
  const struct {
    const char* name;
    QString host;
    QString password;
    QStringList tail;  // after "Nije moguće otvoriti URI ..."
  } cases[] = {
      {"wrong password", peer.host(), "pogresna9", {u("530 Authentication failed.")}},
      {"closed port", closed, FtpPeer::password(), {}},
      {"never greets", silent.host(), FtpPeer::password(), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    account(c.host, c.password);
    const QString urlText = "ftp://korvan-test@" + c.host + "/public_html/update/korvan/korvan";
    const QStringList expected = QStringList{"Konektujem se na server " + c.host, u("Nije moguće otvoriti URI ") + urlText} + c.tail;
    EXPECT_EQ(run(), expected);
    EXPECT_TRUE(leftInUpdateFolder().isEmpty());
    EXPECT_TRUE(boxes.shown.isEmpty());
  }
}

TEST_F(UpdRun, ATransferCutMidFileLeavesNothingUnderTheFinalName) {
  peer.cut({"korvan"});
  const QStringList lines = run();
  ASSERT_EQ(lines.size(), 11);
  const QStringList head =
      versionLines("Dostupna je nova verzija!") + QStringList{connecting(), u("Status konekcije: 230 Login successful.")};
  EXPECT_EQ(lines.mid(0, 8), head);
  EXPECT_EQ(lines[8], u("Greška pri primanju nove verzije!"));
  EXPECT_FALSE(lines[9].isEmpty()) << "the connection's error";
  EXPECT_TRUE(lines[10].startsWith("Gotovo")) << lines[10].toStdString();
  EXPECT_TRUE(leftInUpdateFolder().isEmpty()) << leftInUpdateFolder().join(' ').toStdString();
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(UpdRun, ABadServerNameIsNoAddressAndARepeatedRunStartsAfresh) {
  account("ne valja", FtpPeer::password());
  EXPECT_EQ(run(), QStringList({u("Nije dobar URL :ftp://korvan-test@ne valja/public_html/update/korvan/korvan")}));
  account(peer.host(), FtpPeer::password());
  ASSERT_TRUE(peer.put("korvan/ver.txt", "2022"));
  EXPECT_EQ(run(), versionLines("Nova verzija nije dostupna.")) << "the log starts empty";
}

TEST(UpdDialog, LayoutAndButtons) {
  QWidget parent;
  QPixmap icon(16, 16);
  icon.fill(Qt::red);
  parent.setWindowIcon(QIcon(icon));
  QFont font("DejaVu Sans", 11);
  std::unique_ptr<QWidget> w(UPDFTP_DIALOG(&parent, &font, "2022.12.14"));
  auto* dlg = qobject_cast<QDialog*>(w.get());
  ASSERT_TRUE(dlg);
  EXPECT_EQ(dlg->windowTitle(), "Verzija i update");
  EXPECT_EQ(dlg->size(), QSize(600, 400));
  EXPECT_EQ(dlg->parent(), nullptr);
  EXPECT_FALSE(dlg->windowIcon().isNull());
  EXPECT_EQ(dlg->font().pointSize(), 11);
  auto* label = dlg->findChild<QLabel*>();
  ASSERT_TRUE(label);
  EXPECT_EQ(label->text(), "Trenutna verzija: 2022.12.14");
  EXPECT_EQ(label->alignment(), Qt::AlignCenter);
  EXPECT_TRUE(dlg->findChild<QListWidget*>()->isHidden());
  QStringList texts;
  QPushButton* ok = nullptr;
  for (QPushButton* b : dlg->findChildren<QPushButton*>()) {
    texts << b->text();
    if (b->text() == "Ok") ok = b;
  }
  EXPECT_EQ(texts, QStringList({"Provera dostupnosti nove verzije (UPDATE)", "Cancel", "Ok"}));
  ASSERT_TRUE(ok);
  EXPECT_TRUE(ok->isDefault());
  dlg->show();
  EXPECT_LE(dlg->frameGeometry().width(), 1366);
  EXPECT_LE(dlg->frameGeometry().height(), 768);
  ok->click();
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
}

}  // namespace

namespace {

// Stands in for the server: sees the dialog's buttons at every transfer.
class ButtonWatch : public platform::Ftp {
 public:
  explicit ButtonWatch(QWidget* dialog) : dialog_(dialog) { platform::setFtp(this); }
  ~ButtonWatch() override { platform::setFtp(nullptr); }
  platform::FtpResult list(const platform::FtpCall&, const QString&) override { return {}; }
  platform::FtpResult remove(const platform::FtpCall&, const QString&) override { return {}; }
  platform::FtpResult download(const platform::FtpCall&, const QString& name, const QString& local) override {
    int enabled = 0;
    for (QPushButton* b : dialog_->findChildren<QPushButton*>()) enabled += b->isEnabled();
    seen << name + ":" + QString::number(enabled);
    QFile f(local);
    f.open(QIODevice::WriteOnly);
    f.write(name == "ver.txt" ? "2023.01.01" : name.endsWith(".sfv") ? "korvan 00000000\r\n" : "x");
    return {.connected = true, .ok = true, .loginReply = "230 ok", .lastReply = "226 ok"};
  }
  QStringList seen;

 private:
  QWidget* dialog_;
};

TEST_F(UpdRun, ButtonsAreDisabledDuringTheRunAndEnabledBeforeTheCheck) {
  ButtonWatch watch(dialog.get());
  run();
  EXPECT_EQ(watch.seen, QStringList({"ver.txt:0", "korvan:0", "korvan.sfv:3"}));
}

TEST_F(UpdRun, SilentCheckOnlyAnnounces) {
  EXPECT_FALSE(INFO_UPDFTP("2022.12.14"));
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].kind, BoxKind::Info);
  EXPECT_EQ(boxes.shown[0].text,
            u("Dostupna je nova verzija programa!\nTrenutna verzija: 2022.12.14\nNova verzija: 2022.12.15"));
  EXPECT_EQ(peer.sent(), QStringList({"korvan/ver.txt"}));
  boxes.shown.clear();
  EXPECT_FALSE(INFO_UPDFTP("2022.12.15"));
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(UpdRun, TheMenuEntryChecksAtOnce) {
  clearShellPlugs();
  plug_update();
  const MenuOpener open = menuOpener("UPDFTP");
  ASSERT_TRUE(open);
  QStringList shown;
  // Closes the dialog once its run has ended.
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || boxes.shown.isEmpty()) return;  // the run ends with its box
    poll.stop();
    EXPECT_EQ(w->windowTitle(), "Verzija i update");
    auto* list = w->findChild<QListWidget*>();
    for (int i = 0; list && i < list->count(); ++i) shown << list->item(i)->text();
    static_cast<QDialog*>(w)->accept();
  });
  poll.start();
  MenuContext ctx;
  ctx.args = {"2022.12.14", true};
  EXPECT_EQ(open(ctx), nullptr);
  clearShellPlugs();
  EXPECT_EQ(shown.value(4), u("Dostupna je nova verzija!"));
  EXPECT_EQ(shown.last(), u("Provera CRC32: Ok."));
  EXPECT_EQ(readAll(prog + "/UPDFTP/korvan"), kNew);
}

}  // namespace
