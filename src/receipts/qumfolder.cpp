#include "receipts/qumfolder.h"

#include <QFile>

#include <optional>

#include "common/apppath.h"
#include "common/curl.h"
#include "common/files.h"
#include "common/ftpnalog.h"
#include "common/msg.h"

namespace korvan {
namespace {

QString text(const char* s) { return QString::fromUtf8(s); }

bool digits(const QString& s) {
  if (s.isEmpty()) return false;
  for (const QChar c : s)
    if (c < u'0' || c > u'9') return false;
  return true;
}

bool plainFolder(const QString& folder) {
  if (folder.isEmpty()) return false;
  for (const QString& part : folder.split(u'/'))
    if (!platform::ftpPlainName(part)) return false;
  return true;
}

// The call for folder/pib; nullopt after "Nije dobar URL :" when the tax
// number, the folder or the name cannot go to a server.
std::optional<platform::FtpCall> makeCall(const QString& folder, const QString& pib, const QString* name,
                                          int waitMs) {
  const QString address = QUM2KOR_ADRESA(folder, pib);
  if (!digits(pib) || !plainFolder(folder) || (name && !platform::ftpPlainName(*name))) {
    MSG(text("Nije dobar URL :") + address);
    return std::nullopt;
  }
  platform::FtpCall call{.account = FTP_NALOG(),
                         .folder = folder + u'/' + pib,
                         .waitMs = waitMs,
                         .totalSeconds = 60,
                         .curl = CURL_PROGRAM(),
                         .workFolder = GETAPPPATH() + QStringLiteral("TMP")};
  if (!platform::ftpPlainHost(call.account.host)) {
    MSG(text("Nije dobar URL :") + address);
    return std::nullopt;
  }
  PRAVI_DIR(call.workFolder);
  return call;
}

// The company's folder is not there: the server refused to change into it.
bool noFolder(const platform::FtpResult& r) { return r.connected && r.lastReply.startsWith(QStringLiteral("550")); }

// Why a download or delete could not even start: no connection at all, the
// server refused (the login), or the network failed on the way.
void notConnected(const platform::FtpResult& r) {
  if (!r.reached) MSG(text("Nije inicijalizovana konekcija"));
  else if (!r.lastReply.isEmpty()) MSG(r.lastReply);
  else MSG(r.error.isEmpty() ? text("Nije inicijalizovana konekcija") : r.error);
}

// A download step that failed: as above, or the server's last reply once logged in.
void failed(const platform::FtpResult& r) {
  if (!r.connected) notConnected(r);
  else MSG(r.lastReply.isEmpty() ? r.error : r.lastReply);
}

const int kListWaitMs = 2000;
const int kFileWaitMs = 6000;

}  // namespace

QString QUM2KOR_ADRESA(const QString& folder, const QString& pib) { return FTP_ADRESA(folder + u'/' + pib); }

bool QUM2KOR_VRATI_FAJLOVE(const QString& pib, QString& folder, QumEntries& entries) {
  folder = QStringLiteral("qumir");
  entries.clear();
  const std::optional<platform::FtpCall> call = makeCall(folder, pib, nullptr, kListWaitMs);
  if (!call) return false;
  const platform::FtpResult r = platform::ftp().list(*call, QString());
  if (!r.ok) {
    if (noFolder(r)) return true;
    return MSG(text("Nije moguće otvoriti URI ") + QUM2KOR_ADRESA(folder, pib));
  }
  for (const platform::FtpEntry& e : r.entries) entries.insert(e.name, e);
  return true;
}

QString QUM2KOR_PREUZMI_DATA(const QString& name, const QString& folder, const QString& pib) {
  const QString local = TMP_FN(QStringLiteral("preuzeto.web"));
  // An earlier download never stands in for this one.
  if (!QFile::remove(local) && QFile::exists(local)) {
    MSG(text("Ne mogu da obrišem fajl ") + local);
    return QString();
  }
  const std::optional<platform::FtpCall> call = makeCall(folder, pib, &name, kFileWaitMs);
  if (!call) return QString();

  // Only a name still in the folder is fetched; one gone is no fault.
  const platform::FtpResult listing = platform::ftp().list(*call, QString());
  if (!listing.ok) {
    if (noFolder(listing)) return QString();
    failed(listing);
    return QString();
  }
  if (!listing.names.contains(name)) return QString();

  const platform::FtpResult r = platform::ftp().download(*call, name, local);
  if (!r.ok) {
    failed(r);
    return QString();
  }
  return READ_MEMO(local);
}

bool QUM2KOR_BRISI_FTP_FAJL(const QString& name, const QString& folder, const QString& pib) {
  const std::optional<platform::FtpCall> call = makeCall(folder, pib, &name, kFileWaitMs);
  if (!call) return false;
  const platform::FtpResult r = platform::ftp().remove(*call, name);
  if (r.ok) return true;
  if (!r.connected) {
    notConnected(r);
    return false;
  }
  return MSG(text("Greška pri brisanju fajla! ") + name);
}

}  // namespace korvan
