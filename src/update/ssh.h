#pragma once
// The SSH way of the hand-over: an update folder "ssh>" + user@host + remote
// path makes the hand-over first fetch a newer executable with the console
// transfer program "winscp.com" beside the executable. Linux has no such
// program, so RADI_SSH gives false here at its first step; the pieces are
// kept whole. Script lines are written from data only after CR and LF have
// been refused, so no value can add a command.
#include <QString>

namespace korvan {

class MyFRAME;

// true when a newer copy was fetched; folder then becomes exeFolder + "/SCP".
bool RADI_SSH(QString& folder, const QString& exeFolder, const QString& exeName, const QString& exePath,
              MyFRAME* progress);
// A TCP connection to host:port can be made within 500 ms.
bool ISSERVERUP(const QString& host, int port);
// The listing and download scripts (lines of 65 characters padded with
// blanks, CR LF); false when the file cannot be written or a value holds a
// line break.
bool LS_SKRIPT(const QString& scriptFile, const QString& login, const QString& remoteFolder,
               const QString& localFolder, const QString& fileName);
bool KOPI_SKRIPT(const QString& scriptFile, const QString& login, const QString& remoteFolder,
                 const QString& localFolder, const QString& fileName);
// Whether the listing log shows a remote fileName newer than the file at exePath.
bool TREBA_KOPI(const QString& logFile, const QString& fileName, const QString& exePath);

}  // namespace korvan
