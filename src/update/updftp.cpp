#include "update/updftp.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include <cstdio>
#include <memory>

#include "common/apppath.h"
#include "common/curl.h"
#include "common/files.h"
#include "common/ftpnalog.h"
#include "common/lookglobals.h"
#include "common/msg.h"
#include "update/check.h"
#include "update/handover.h"

namespace korvan {
namespace {

QString text(const char* s) { return QString::fromUtf8(s); }

void say(const UpdLog& log, const QString& line) {
  if (log) log(line);
}

void connectionStatus(const UpdLog& log, const platform::FtpResult& r) {
  say(log, text("Status konekcije: ") + (r.loginReply.isEmpty() ? text("<connected>") : r.loginReply));
}

void done(const UpdLog& log, const platform::FtpResult& r) {
  say(log, r.lastReply.isEmpty() ? text("Gotovo.") : text("Gotovo: ") + r.lastReply);
}

void notOpened(const UpdLog& log, const UpdNames& names, const platform::FtpResult& r) {
  say(log, text("Nije moguće otvoriti URI ") + names.urlText);
  if (!r.lastReply.isEmpty()) say(log, r.lastReply);
}

platform::FtpCall inFolder(platform::FtpCall call, const UpdNames& names) {
  call.folder = names.remoteFolder;
  return call;
}

// The address can be made when the server, the folder and the names may go
// to a server as they stand.
bool addressOk(const platform::FtpCall& call, const UpdNames& names) {
  if (!platform::ftpPlainHost(call.account.host) || !platform::ftpPlainName(names.exeName) ||
      !platform::ftpPlainName(names.checkName))
    return false;
  if (names.remoteFolder.isEmpty()) return true;
  for (const QString& part : names.remoteFolder.split(u'/'))
    if (!platform::ftpPlainName(part)) return false;
  return true;
}

QString warningText() { return text("Nije ispravno preuzeta nova verzija!\nPonovite..."); }

}  // namespace

UpdNames ODREDI_CURL(const QString& folder) {
  UpdNames n;
  const QString path = GETEXEFILENAME();
  const qsizetype slash = path.lastIndexOf(u'/');
  n.exeName = path.mid(slash + 1).toLower();
  n.exeFolder = slash < 0 ? QString() : path.left(slash);
  n.updateFolder = G_CUPDFOLDER();
  if (n.updateFolder.isEmpty()) n.updateFolder = n.exeFolder + QStringLiteral("/UPDFTP");
  const QString dir = n.updateFolder.endsWith(u'/') ? n.updateFolder : n.updateFolder + u'/';
  n.localExe = dir + n.exeName;
  n.downloadFile = n.localExe + QStringLiteral(".novi");
  QString base = n.exeName;
  if (base.endsWith(QStringLiteral(".exe"))) base.chop(4);
  n.remoteFolder = folder.isEmpty() ? base : folder;
  n.checkName = base + QStringLiteral(".sfv");
  n.localCheck = dir + n.checkName;
  n.versionFile = GETAPPPATH() + QStringLiteral("TMP/VER.TXT");
  n.urlText = FTP_ADRESA(n.remoteFolder + u'/' + n.exeName);
  return n;
}

platform::FtpAccount UPD_NALOG_PODRAZUMEVANI() {
  return FTP_NALOG_PODRAZUMEVANI();
}

platform::FtpCall POSTAVI_PARAMETRE() {
  return {.account = FTP_NALOG(),
          .waitMs = 2000,
          .totalSeconds = 900,
          .curl = CURL_PROGRAM(),
          .workFolder = GETAPPPATH() + QStringLiteral("TMP")};
}

bool IMA_NOVA_VERZIJA(const platform::FtpCall& call, const UpdNames& names, const UpdLog& log,
                      const QString& running, QString& newVersion) {
  bool result = false;
  PRAVI_DIR(GETAPPPATH() + QStringLiteral("TMP"));
  say(log, text("Konektujem se na server ") + call.account.host);
  const platform::FtpResult r =
      platform::ftp().download(inFolder(call, names), QStringLiteral("ver.txt"), names.versionFile);
  if (!r.connected) {
    notOpened(log, names, r);
    return false;
  }
  connectionStatus(log, r);
  if (r.ok) {
    say(log, text("Proveravam dostupnost nove verzije..."));
    say(log, text("Odgovor servera: ") + r.lastReply);
    if (QFile::exists(names.versionFile)) {
      const QString server = READ_MEMO(names.versionFile);
      if (JE_NOVIJA_VERZIJA(server, running)) {
        say(log, text("Dostupna je nova verzija!"));
        newVersion = server;
        result = true;
      } else {
        say(log, text("Nova verzija nije dostupna."));
      }
      QFile::remove(names.versionFile);
    } else {
      say(log, text("Ne postoji podatak o verziji na serveru."));
    }
  } else {
    say(log, text("Ne postoji podatak o verziji na serveru."));
  }
  done(log, r);
  return result;
}

bool UPD_PREUZMI(const platform::FtpCall& call, const UpdNames& names, const UpdLog& log) {
  say(log, text("Konektujem se na server ") + call.account.host);
  const platform::FtpResult r = platform::ftp().download(inFolder(call, names), names.exeName, names.downloadFile);
  if (!r.connected) {
    notOpened(log, names, r);
    return false;
  }
  connectionStatus(log, r);
  if (r.ok) {
    say(log, text("Primljena nova verzija"));
    say(log, text("Odgovor servera: ") + r.lastReply);
  } else {
    say(log, text("Greška pri primanju nove verzije!"));
    say(log, r.error);
    QFile::remove(names.downloadFile);
  }
  done(log, r);
  return r.ok;
}

int URADI_CRC32(const platform::FtpCall& call, const UpdNames& names, const UpdLog& log) {
  QFile::remove(names.localCheck);
  const platform::FtpResult r = platform::ftp().download(inFolder(call, names), names.checkName, names.localCheck);
  if (!r.ok || !QFile::exists(names.localCheck)) return 0;
  QByteArray sfv;
  if (!READ_FILE(names.localCheck, &sfv, true)) return 0;
  const std::optional<QString> expected = SFV_CRC(sfv, names.exeName);
  if (!expected) return 0;
  if (CRC32_FAJLA(names.downloadFile) == *expected) {
    say(log, text("Provera CRC32: Ok."));
    return 1;
  }
  say(log, text("Provera CRC32: Greška!"));
  return -1;
}

void CHK_UPDFTP(QListWidget* list, const QString& running, QPushButton* check, QPushButton* ok,
                QPushButton* cancel, const QString& folder) {
  const UpdNames names = ODREDI_CURL(folder);
  QPointer<QListWidget> logList = list;
  const UpdLog log = [logList](const QString& line) {
    if (!logList) return;
    logList->addItem(line);
    logList->scrollToBottom();
    QCoreApplication::processEvents();
  };
  if (list) {
    list->show();
    list->clear();
  }
  const QList<QPointer<QPushButton>> buttons = {check, ok, cancel};
  for (const auto& b : buttons)
    if (b) b->setEnabled(false);

  bool downloaded = false;
  const platform::FtpCall call = POSTAVI_PARAMETRE();
  QString newVersion;
  if (!addressOk(call, names)) log(text("Nije dobar URL :") + names.urlText);
  else if (IMA_NOVA_VERZIJA(call, names, log, running, newVersion)) downloaded = UPD_PREUZMI(call, names, log);

  for (const auto& b : buttons)
    if (b) b->setEnabled(true);
  if (!downloaded) return;

  const int crc = URADI_CRC32(call, names, log);
  if (crc == 1 &&
      std::rename(QFile::encodeName(names.downloadFile).constData(), QFile::encodeName(names.localExe).constData()) == 0) {
    MSGINFO(text("Nova verzija će biti aktivirana pri sledećem startovanju programa."));
    return;
  }
  if (crc == 0) log(text("Provera CRC32: nije moguća!"));
  QFile::remove(names.downloadFile);
  MSG(warningText());
}

QWidget* UPDFTP_DIALOG(QWidget* parent, const QFont* font, const QString& version, const QString& folder) {
  auto* dlg = new QDialog;
  dlg->setWindowTitle(text("Verzija i update"));
  if (parent) dlg->setWindowIcon(parent->windowIcon());
  if (font) dlg->setFont(*font);
  dlg->resize(600, 400);
  auto* grid = new QGridLayout(dlg);
  auto* label = new QLabel(text("Trenutna verzija: ") + version);
  label->setAlignment(Qt::AlignCenter);
  grid->addWidget(label, 0, 0, 1, 2);
  auto* check = new QPushButton(text("Provera dostupnosti nove verzije (UPDATE)"));
  check->setObjectName(QStringLiteral("obCHECK"));
  grid->addWidget(check, 1, 0, 1, 2);
  auto* list = new QListWidget;
  list->setObjectName(QStringLiteral("oLOG"));
  if (font) list->setFont(*font);
  list->hide();
  grid->addWidget(list, 2, 0, 1, 2);
  auto* cancel = new QPushButton(text("Cancel"));
  auto* ok = new QPushButton(text("Ok"));
  ok->setDefault(true);
  grid->addWidget(cancel, 20, 0);
  grid->addWidget(ok, 20, 1);
  QObject::connect(ok, &QPushButton::clicked, dlg, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dlg, &QDialog::reject);
  QObject::connect(check, &QPushButton::clicked, dlg, [=] { CHK_UPDFTP(list, version, check, ok, cancel, folder); });
  return dlg;
}

void UPDFTP(QWidget* parent, const QFont* font, const QString& version, bool autoCheck, const QString& folder) {
  std::unique_ptr<QWidget> w(UPDFTP_DIALOG(parent, font, version, folder));
  auto* dlg = static_cast<QDialog*>(w.get());
  if (autoCheck) {
    // Modal from the first show: exec() of a dialog already shown would not make it modal.
    dlg->setWindowModality(Qt::ApplicationModal);
    dlg->show();
    QCoreApplication::processEvents();
    if (auto* check = dlg->findChild<QPushButton*>(QStringLiteral("obCHECK"))) check->click();
  }
  dlg->exec();
}

bool INFO_UPDFTP(const QString& running, const QString& folder) {
  const UpdNames names = ODREDI_CURL(folder);
  const platform::FtpCall call = POSTAVI_PARAMETRE();
  if (!addressOk(call, names)) return false;
  QString newVersion;
  if (IMA_NOVA_VERZIJA(call, names, UpdLog(), running, newVersion))
    MSGINFO(text("Dostupna je nova verzija programa!\nTrenutna verzija: ") + running + text("\nNova verzija: ") +
            newVersion);
  return false;
}

}  // namespace korvan
