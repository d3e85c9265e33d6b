#include "platform/ftp.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QUrl>

#include <cmath>
#include <cstdio>
#include <optional>

#include "platform/curlcfg.h"
#include "platform/ini.h"
#include "platform/process.h"

namespace korvan::platform {
namespace {

QString text(const char* s) { return QString::fromUtf8(s); }

// What curl said on its error channel: the server's replies ("< " lines of
// verbose mode) and its own error line. The commands it sent ("> " lines,
// the password among them) are dropped here and never kept.
void readTrace(const QByteArray& err, FtpResult& r) {
  for (const QByteArray& raw : err.split('\n')) {
    const QString line = QString::fromUtf8(raw).trimmed();
    if (line.startsWith(QStringLiteral("* Connected to "))) {
      r.reached = true;
    } else if (line.startsWith(QStringLiteral("< "))) {
      r.lastReply = line.mid(2);
      if (r.lastReply.startsWith(QStringLiteral("230"))) {
        r.connected = true;
        r.loginReply = r.lastReply;
      }
    } else if (line.startsWith(QStringLiteral("curl: ("))) {
      const int close = line.indexOf(QStringLiteral(") "));
      r.error = close > 0 ? line.mid(close + 2) : line;
    }
  }
}

bool plainFolder(const QString& folder) {
  if (folder.isEmpty()) return true;
  for (const QString& part : folder.split(u'/'))
    if (!ftpPlainName(part)) return false;
  return true;
}

QString address(const FtpCall& call, const QString& name) {
  QString url = QStringLiteral("ftp://") + call.account.host + u'/';
  if (!call.folder.isEmpty())
    for (const QString& part : call.folder.split(u'/'))
      url += QString::fromLatin1(QUrl::toPercentEncoding(part)) + u'/';
  return url + QString::fromLatin1(QUrl::toPercentEncoding(name));
}

// The refusal of a call that cannot be sent as it stands; nothing goes out.
FtpResult refused(const QString& why) {
  FtpResult r;
  r.error = why;
  return r;
}

std::optional<FtpResult> checkCall(const FtpCall& call, const QString& name, bool nameNeeded) {
  if (!ftpPlainHost(call.account.host))
    return refused(text("Neispravan naziv FTP servera: ") + call.account.host);
  if (call.account.user.contains(u':') || call.account.user.contains(u'\n') || call.account.user.contains(u'\r'))
    return refused(text("Neispravno korisničko ime za FTP server."));
  if (!plainFolder(call.folder)) return refused(text("Neispravan naziv foldera na FTP serveru: ") + call.folder);
  if (nameNeeded && !ftpPlainName(name)) return refused(text("Neispravan naziv fajla na FTP serveru: ") + name);
  return std::nullopt;
}

// Writes the config (the call's lines after the common ones) into a private
// file and runs curl on it. stdout is kept for listings.
FtpResult runCurl(const FtpCall& call, const QStringList& lines, QByteArray* out = nullptr) {
  const int waitSeconds = std::max(1, static_cast<int>(std::ceil(call.waitMs / 1000.0)));
  bool userOk = true;
  QStringList config = {
      QStringLiteral("silent"), QStringLiteral("show-error"), QStringLiteral("verbose"), QStringLiteral("globoff"),
      QStringLiteral("proto = \"=ftp\""), QStringLiteral("ftp-pasv"),
      QStringLiteral("connect-timeout = %1").arg(call.waitMs / 1000.0, 0, 'f', 3),
      QStringLiteral("speed-limit = 1"), QStringLiteral("speed-time = %1").arg(waitSeconds),
      QStringLiteral("max-time = %1").arg(std::max(1, call.totalSeconds)),
      curlConfigLine(QStringLiteral("user"), call.account.user + u':' + call.account.password, &userOk)};
  if (!userOk) return refused(text("Lozinka za FTP server ne može da se prosledi programu curl."));
  config += lines;

  const QString folder = call.workFolder.isEmpty() ? QDir::tempPath() : call.workFolder;
  QTemporaryFile file(folder + QStringLiteral("/ftp-XXXXXX.cfg"));  // mode 0600
  if (!file.open()) return refused(text("Ne mogu da upišem privremeni fajl u ") + folder);
  file.write((config.join(u'\n') + u'\n').toUtf8());
  file.flush();

  ProcessRequest req;
  req.program = call.curl;
  req.arguments = {QStringLiteral("-K"), file.fileName()};
  req.timeoutMs = (std::max(1, call.totalSeconds) + waitSeconds + 5) * 1000;  // a backstop above curl's own
  req.captureOutput = true;
  const ProcessResult p = runProcess(req);
  FtpResult r;
  readTrace(p.standardError, r);
  if (!p.started) r.error = text("Program curl ne može da se pokrene: ") + call.curl;
  else if (p.timedOut) r.error = text("FTP server ne odgovara.");
  else if (p.exitCode != 0 && r.error.isEmpty()) r.error = text("curl je završio sa greškom %1.").arg(p.exitCode);
  r.ok = p.started && p.exitCode == 0;
  if (r.ok) r.error.clear();
  if (out) *out = p.standardOutput;
  return r;
}

class CurlFtp : public Ftp {
 public:
  FtpResult list(const FtpCall& call, const QString& mask) override {
    if (auto bad = checkCall(call, QString(), false)) return *bad;
    QByteArray out;
    FtpResult r = runCurl(call, {curlConfigLine(QStringLiteral("url"), address(call, QString()))}, &out);
    if (!r.ok) return r;
    const QRegularExpression match(
        mask.isEmpty() ? QStringLiteral(".*") : QRegularExpression::wildcardToRegularExpression(mask),
        QRegularExpression::CaseInsensitiveOption);
    for (const QByteArray& raw : out.split('\n')) {
      QByteArray bytes = raw;
      if (bytes.endsWith('\r')) bytes.chop(1);
      const std::optional<FtpEntry> e = ftpListLine(QString::fromUtf8(bytes));
      if (e && ftpPlainName(e->name) && match.match(e->name).hasMatch()) {
        r.names << e->name;
        r.entries << *e;
      }
    }
    return r;
  }

  FtpResult download(const FtpCall& call, const QString& name, const QString& localPath) override {
    if (auto bad = checkCall(call, name, true)) return *bad;
    const QString part = localPath + QStringLiteral(".part");
    QFile::remove(part);
    bool outOk = true;
    const QString output = curlConfigLine(QStringLiteral("output"), part, &outOk);
    if (!outOk) return refused(text("Neispravan naziv lokalnog fajla: ") + localPath);
    FtpResult r = runCurl(call, {curlConfigLine(QStringLiteral("url"), address(call, name)), output});
    if (r.ok && !QFile::exists(part)) {
      // curl writes no file for an empty one.
      QFile empty(part);
      if (!empty.open(QIODevice::WriteOnly)) r.ok = false, r.error = text("Ne mogu da upišem fajl ") + part;
    }
    if (r.ok && std::rename(QFile::encodeName(part).constData(), QFile::encodeName(localPath).constData()) != 0) {
      r.ok = false;
      r.error = text("Ne mogu da upišem fajl ") + localPath;
    }
    if (!r.ok) QFile::remove(part);
    return r;
  }

  FtpResult remove(const FtpCall& call, const QString& name) override {
    if (auto bad = checkCall(call, name, true)) return *bad;
    // Quote commands run in the login folder, before curl changes folders.
    const QString target = call.folder.isEmpty() ? name : call.folder + u'/' + name;
    FtpCall root = call;
    root.folder.clear();
    return runCurl(root, {curlConfigLine(QStringLiteral("url"), address(root, QString())),
                          QStringLiteral("list-only"), curlConfigLine(QStringLiteral("quote"), QStringLiteral("DELE ") + target)});
  }
};

CurlFtp& realFtp() {
  static CurlFtp f;
  return f;
}

Ftp* current = nullptr;

}  // namespace

Ftp& ftp() { return current ? *current : realFtp(); }
void setFtp(Ftp* f) { current = f; }

FtpAccount ftpAccount(const QString& iniFile, const FtpAccount& defaults) {
  FtpAccount a = defaults;
  auto take = [&iniFile](const char* key, QString& value) {
    const std::optional<QByteArray> v = iniRead(iniFile, "Config", key);
    if (v && !v->isEmpty()) value = QString::fromUtf8(*v);
  };
  take("FTP_HOST", a.host);
  take("FTP_KORISNIK", a.user);
  take("FTP_LOZINKA", a.password);
  return a;
}

std::optional<FtpEntry> ftpListLine(const QString& line) {
  static const QRegularExpression unixLine(QStringLiteral(
      "^([-dlbcps][-rwxsStT]{9}[+@.]?)\\s+(\\d+)\\s+(\\S+)\\s+(\\S+)\\s+(\\d+)\\s+"
      "([A-Za-z]{3}\\s+\\d{1,2})\\s+(\\d{1,2}:\\d{2}|\\d{4}) (.+)$"));
  const QRegularExpressionMatch m = unixLine.match(line);
  if (!m.hasMatch()) return std::nullopt;
  FtpEntry e{.name = m.captured(8),
             .size = m.captured(5).toLongLong(),
             .date = m.captured(6).simplified(),
             .time = m.captured(7),
             .attributes = m.captured(1),
             .links = m.captured(2).toInt(),
             .owner = m.captured(3),
             .group = m.captured(4)};
  if (e.attributes.startsWith(u'l')) {
    const qsizetype arrow = e.name.indexOf(QStringLiteral(" -> "));
    if (arrow > 0) e.name.truncate(arrow);
  }
  return e;
}

bool ftpPlainName(const QString& name) {
  if (name.isEmpty() || name == u'.' || name == QStringLiteral("..")) return false;
  for (const QChar c : name)
    if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7f) return false;
  return true;
}

bool ftpPlainHost(const QString& host) {
  static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?(:([0-9]{1,5}))?$"));
  const QRegularExpressionMatch m = plain.match(host);
  if (!m.hasMatch()) return false;
  if (m.captured(3).isEmpty()) return true;
  const int port = m.captured(3).toInt();
  return port >= 1 && port <= 65535;
}

}  // namespace korvan::platform
