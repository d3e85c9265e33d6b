#pragma once
// FTP through the curl program. Each operation is one connection: connect,
// log in, change into the folder (relative to the login folder), one
// command, close. curl gets the call as config lines in a private file (mode
// 0600, removed afterwards) and nothing on its command line but -K, so the
// password never shows in a process list, an address or a message. Passive
// data connections, binary transfers. Every wait (connecting, the greeting
// and login, a transfer that stalls) ends at the call's wait limit and the
// whole operation at its overall cap; the wait keeps the event loop running
// (platform/process.h), so no window freezes. Names and folders are checked
// before anything is sent: a name with "/", "\", "..", a control character
// or nothing in it is refused, as is a host that is not a plain host name.
#include <QString>
#include <QList>
#include <QStringList>

#include <optional>

namespace korvan::platform {

struct FtpAccount {
  QString host;      // a host name or address, ":port" allowed (default 21)
  QString user;      // no ":" in it
  QString password;
};

struct FtpCall {
  FtpAccount account;
  QString folder;                 // below the login folder, "/" between parts; empty: the login folder
  int waitMs = 2000;              // connect, greeting, login, a stalled transfer
  int totalSeconds = 600;         // the whole operation
  QString curl = QStringLiteral("curl");  // the curl program
  QString workFolder;             // where the private config file goes; empty: the system's temp folder
};

// One line of a Unix-style listing ("-rw-r--r-- 1 owner group 1234 Dec 11 15:22 name").
struct FtpEntry {
  QString name;
  qint64 size = 0;
  QString date;        // "Dec 11"
  QString time;        // "15:22", or the year of an older file
  QString attributes;  // "-rw-r--r--"
  int links = 0;
  QString owner;
  QString group;
};

struct FtpResult {
  bool reached = false;    // a connection to the server's port was made
  bool connected = false;  // the server greeted and accepted the login
  bool ok = false;         // the operation was done
  QString loginReply;      // the server's answer to the login ("230 Login successful.")
  QString lastReply;       // the last reply line the server sent (empty when none)
  QString error;           // why it failed, for people; empty when ok
  QStringList names;       // list: the matching names in the server's order
  QList<FtpEntry> entries; // list: their listing lines, in the same order
};

class Ftp {
 public:
  virtual ~Ftp() = default;
  // The names in the folder that match mask ("*", "?", letter case ignored;
  // empty: all), from its Unix-style listing. Lines that are no such listing
  // line, and names that are no plain name, are left out.
  virtual FtpResult list(const FtpCall& call, const QString& mask) = 0;
  // Fetches name into localPath: written as localPath + ".part" and renamed
  // over localPath only when complete, so a cut transfer never stands under
  // the final name (the ".part" file is removed; localPath is left as it was).
  virtual FtpResult download(const FtpCall& call, const QString& name, const QString& localPath) = 0;
  // Deletes name in the folder.
  virtual FtpResult remove(const FtpCall& call, const QString& name) = 0;
};

// The client in force (the real one unless a test installed another).
Ftp& ftp();
// Installs f (not owned); nullptr puts the real client back.
void setFtp(Ftp* f);

// The account: defaults, each value replaced by the key FTP_HOST, FTP_KORISNIK
// or FTP_LOZINKA of section Config of iniFile when that key is there and not
// empty.
FtpAccount ftpAccount(const QString& iniFile, const FtpAccount& defaults);

// The entry of one Unix-style listing line; nullopt for any other line.
std::optional<FtpEntry> ftpListLine(const QString& line);

// True for a plain file name that may go to a server (see the head of this file).
bool ftpPlainName(const QString& name);
// "host" or "host:port" with a plain host name or IPv4 address and a port 1..65535.
bool ftpPlainHost(const QString& host);

}  // namespace korvan::platform
