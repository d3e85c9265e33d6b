#pragma once
// The update dialog "Verzija i update" and one update run: the version text
// "ver.txt" of the program's folder on the update FTP server is compared with
// the running version; a newer executable is fetched into the update folder
// under a temporary name ("<name>.novi"), checked against its line in the
// check file ("<name>.sfv") and only after a positive match renamed to its own
// name, where the next start finds it (update/handover.h). Every step is a
// line in the dialog's log list; the run ends with one box.
//
// The engines (IMA_NOVA_VERZIJA, URADI_CRC32, UPD_PREUZMI) take the log as a
// function (none: silent) and show nothing; CHK_UPDFTP and INFO_UPDFTP show
// the boxes.
#include <QFont>
#include <QString>

#include <functional>

#include "platform/ftp.h"

class QListWidget;
class QPushButton;
class QWidget;

namespace korvan {

using UpdLog = std::function<void(const QString&)>;

// The names of one run, from the running executable's path (GETEXEFILENAME).
struct UpdNames {
  QString exeName;       // lower case
  QString exeFolder;
  QString updateFolder;  // G_CUPDFOLDER, else exeFolder + "/UPDFTP"
  QString localExe;      // updateFolder + "/" + exeName: where a checked copy waits
  QString downloadFile;  // localExe + ".novi": the copy until its check passed
  QString remoteFolder;  // the folder argument, else exeName without a trailing ".exe"
  QString checkName;     // remoteFolder-style name + ".sfv"
  QString localCheck;    // updateFolder + "/" + checkName
  QString versionFile;   // GETAPPPATH() + "TMP/VER.TXT"
  QString urlText;       // "ftp://<user>@<domain>/public_html/update/<remote folder>/<exe>", shown only
};
UpdNames ODREDI_CURL(const QString& folder = QString());

// The connection settings: the update account (aplik.ini keys FTP_HOST,
// FTP_KORISNIK, FTP_LOZINKA over the built-in ones), 2,000 ms for every wait,
// curl of common/curl.h, the config file in TMP.
platform::FtpCall POSTAVI_PARAMETRE();
// The update account's built-in values.
platform::FtpAccount UPD_NALOG_PODRAZUMEVANI();

// True when "ver.txt" announces a newer version than running; newVersion
// gets the whole text then.
bool IMA_NOVA_VERZIJA(const platform::FtpCall& call, const UpdNames& names, const UpdLog& log,
                      const QString& running, QString& newVersion);
// Fetches the executable into names.downloadFile; true when it came whole.
bool UPD_PREUZMI(const platform::FtpCall& call, const UpdNames& names, const UpdLog& log);
// 1 when names.downloadFile matches its check-file line, -1 when it differs,
// 0 when no check was possible (no check file, no line for the name, no server).
int URADI_CRC32(const platform::FtpCall& call, const UpdNames& names, const UpdLog& log);

// One update run on the dialog's widgets.
void CHK_UPDFTP(QListWidget* log, const QString& running, QPushButton* check, QPushButton* ok,
                QPushButton* cancel, const QString& folder = QString());

// The dialog, not yet shown (tests drive it); UPDFTP runs it modally.
QWidget* UPDFTP_DIALOG(QWidget* parent, const QFont* font, const QString& version, const QString& folder = QString());
void UPDFTP(QWidget* parent, const QFont* font, const QString& version, bool autoCheck = false,
            const QString& folder = QString());

// A silent check that announces a newer version in a box; always false.
bool INFO_UPDFTP(const QString& running, const QString& folder = QString());

}  // namespace korvan
