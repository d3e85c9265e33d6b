#include "common/curl.h"

#include <QFile>
#include <QFileInfo>

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

QString CURL_PROGRAM() {
  const QFileInfo own(FIND_FILE(GETAPPPATH() + QStringLiteral("CURL/curl")));
  if (own.isFile() && own.isExecutable()) return own.absoluteFilePath();
  return QStringLiteral("curl");
}

QString CURL_ERR() { return QString::fromUtf8("Greška pri pozivanju 'curl.exe'!"); }

bool CURL_RUN(const QString& recordPath, const QStringList& configLines, const QString& answerPath,
              const CurlLimits& limits) {
  PRAVI_DIR(GETAPPPATH() + QStringLiteral("TMP"));
  QFile::remove(answerPath);
  // A backstop above curl's own limit, in case curl itself hangs.
  const int backstopMs = (limits.connectSeconds + limits.totalSeconds + 15) * 1000;
  return IZVRSI_BAT(recordPath, configLines, CURL_PROGRAM(), {QStringLiteral("-K"), recordPath}, backstopMs);
}

}  // namespace korvan
