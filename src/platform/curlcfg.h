#pragma once
// Values for curl config files (read with -K): a value is written as a
// double-quoted string with backslash and quote escaped. A value holding CR,
// LF or NUL cannot be written (it would end the line and start another
// option): an empty result and ok false.
#include <QString>

namespace korvan::platform {

QString curlConfigQuote(const QString& value, bool* ok = nullptr);
// "name = "value"".
QString curlConfigLine(const QString& name, const QString& value, bool* ok = nullptr);

}  // namespace korvan::platform
