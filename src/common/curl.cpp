#include "common/curl.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/apppath.h"
#include "common/files.h"
#include "common/runner.h"
#include "platform/curlcfg.h"

namespace korvan {

QString CURL_CFG_QUOTE(const QString& value, bool* ok) { return platform::curlConfigQuote(value, ok); }

QString CURL_CFG_LINE(const QString& name, const QString& value, bool* ok) {
  return platform::curlConfigLine(name, value, ok);
}

QStringList CURL_BASE_CONFIG(const QString& protocols, const CurlLimits& limits) {
  return {QStringLiteral("silent"), QStringLiteral("show-error"), QStringLiteral("globoff"),
          CURL_CFG_LINE(QStringLiteral("proto"), protocols),
          QStringLiteral("connect-timeout = %1").arg(limits.connectSeconds),
          QStringLiteral("max-time = %1").arg(limits.totalSeconds),
          QStringLiteral("speed-limit = 1"),
          QStringLiteral("speed-time = %1").arg(limits.stallSeconds)};
}

QString TMP_FN(const QString& name) { return GETAPPPATH() + QStringLiteral("TMP/") + name; }

namespace {

class RealCurlFinder : public CurlFinder {
 public:
  QString find() override {
    const QFileInfo own(FIND_FILE(GETAPPPATH() + QStringLiteral("CURL/curl")));
    if (own.isFile() && own.isExecutable()) return own.absoluteFilePath();
    return QStandardPaths::findExecutable(QStringLiteral("curl"));
  }
};

CurlFinder* finder = nullptr;

}  // namespace

CurlFinder& curlFinder() {
  static RealCurlFinder real;
  return finder ? *finder : real;
}
void setCurlFinder(CurlFinder* f) { finder = f; }
QString CURL_FIND() { return curlFinder().find(); }

QString CURL_PROGRAM() {
  const QString found = CURL_FIND();
  return found.isEmpty() ? QStringLiteral("curl") : found;
}

bool CURL_HOST_OK(const QString& host, bool portAllowed) {
  QString h = host;
  const qsizetype colon = h.indexOf(u':');
  if (colon >= 0) {
    if (!portAllowed) return false;
    const QString port = h.mid(colon + 1);
    bool ok = false;
    const int n = port.toInt(&ok);
    if (port.isEmpty() || port.size() > 5 || !ok || n < 1 || n > 65535) return false;
    for (const QChar c : port)
      if (c < u'0' || c > u'9') return false;
    h = h.left(colon);
  }
  if (h.isEmpty() || h.size() > 253 || h.startsWith(u'.') || h.startsWith(u'-')) return false;
  for (const QChar c : h)
    if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'.' && c != u'-') return false;
  return true;
}

QString CURL_ERR() { return QString::fromUtf8("Greška pri pozivanju 'curl.exe'!"); }

namespace {

const QByteArray kSentMark = "korvan-request-bytes=";

// The request's size as curl reported it after the transfer (0 when absent).
qint64 requestBytes(const QByteArray& output) {
  const qsizetype at = output.lastIndexOf(kSentMark);
  if (at < 0) return 0;
  QByteArray n = output.mid(at + kSentMark.size());
  n.truncate(n.indexOf('\n') < 0 ? n.size() : n.indexOf('\n'));
  return n.trimmed().toLongLong();
}

}  // namespace

CurlFailure CURL_FAILURE(const CurlExit& exit) {
  switch (exit.code) {
    case 52:  // empty reply: the server read the request and closed
      return CurlFailure::AnswerLost;
    case 28:  // timed out
    case 56:  // receiving failed
      return exit.requestSent ? CurlFailure::AnswerLost : CurlFailure::NotSent;
    default:  // 6, 7, 35, 60 and the rest: nothing reached the server
      return CurlFailure::NotSent;
  }
}

bool CURL_RUN(const QString& recordPath, const QStringList& configLines, const QString& answerPath,
              const CurlLimits& limits, CurlExit* exit) {
  PRAVI_DIR(GETAPPPATH() + QStringLiteral("TMP"));
  QFile::remove(answerPath);
  // A backstop above curl's own limit, in case curl itself hangs.
  const int backstopMs = (limits.connectSeconds + limits.totalSeconds + 15) * 1000;
  const QStringList args = {QStringLiteral("-K"), recordPath};
  if (!exit) return IZVRSI_BAT(recordPath, configLines, CURL_PROGRAM(), args, backstopMs);
  // curl writes this after the transfer, failed or not.
  const QStringList lines =
      configLines + QStringList{QStringLiteral("write-out = \"\\n") + QString::fromLatin1(kSentMark) +
                                QStringLiteral("%{size_request}\\n\"")};
  platform::ProcessResult r;
  const bool ran = IZVRSI_BAT(recordPath, lines, CURL_PROGRAM(), args, backstopMs, &r);
  exit->code = r.exitCode;
  exit->requestSent = requestBytes(r.standardOutput) > 0;
  return ran;
}

}  // namespace korvan
