#include "platform/curlcfg.h"

namespace korvan::platform {

QString curlConfigQuote(const QString& value, bool* ok) {
  QString out = QStringLiteral("\"");
  bool good = true;
  for (const QChar c : value) {
    if (c == u'\r' || c == u'\n' || c == QChar(0)) good = false;
    if (c == u'\\' || c == u'"') out += u'\\';
    out += c;
  }
  out += u'"';
  if (ok) *ok = good;
  return good ? out : QString();
}

QString curlConfigLine(const QString& name, const QString& value, bool* ok) {
  return name + QStringLiteral(" = ") + curlConfigQuote(value, ok);
}

}  // namespace korvan::platform
