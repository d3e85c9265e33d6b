#pragma once
// Reading and writing INI values (Windows profile semantics, see
// platform/ini.h). Texts are UTF-8 in the file. A file named with other
// letter case ("APLIK.INI") is found and written in place.
#include <QString>

#include <optional>

namespace korvan {

// The value of key in section of file, or def when the file, the section or
// the key is missing or the value is empty. At most 1,023 bytes of a value.
QString GETPRIVATEPROFILESTRING(const QString& section, const QString& key, const QString& def,
                                const QString& file);

// Writes key = value. No value (std::nullopt) removes the key; no key removes
// the whole section. Returns true when done; a write that fails, or a value
// with a line break (which the file cannot hold), is reported through MSG
// and gives false.
bool WRITEPRIVATEPROFILESTRING(const QString& section, const std::optional<QString>& key,
                               const std::optional<QString>& value, const QString& file);

// Removes a key, or a whole section; true when done (also when it was not there).
bool DELINIENTRY(const QString& section, const QString& key, const QString& file);
bool DELINISECTION(const QString& section, const QString& file);

}  // namespace korvan
