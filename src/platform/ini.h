#pragma once
// INI files with the semantics of the Windows profile functions: sections
// and keys compared ignoring letter case, the first match wins, values
// trimmed with one pair of surrounding quotes removed, at most 1,023 bytes of
// a value returned (never cut inside a UTF-8 character). Writes keep every
// other line in its place (comments too), end every line with CR LF, and
// replace the file atomically under a lock, so that two copies of the
// program never leave a torn file. LF or CR LF line ends and a UTF-8 BOM are
// accepted on reading.
#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace korvan::platform {

// The most bytes of a value that a read returns.
inline constexpr qsizetype kIniValueMax = 1023;
// The largest settings file read; a larger one (or one that is no regular
// file) fails like an unreadable one.
inline constexpr qsizetype kIniFileMax = 16 * 1024 * 1024;

// The first maxBytes bytes of a UTF-8 text, shortened so that no character is cut.
QByteArray utf8Left(const QByteArray& text, qsizetype maxBytes);

// The content of one INI file, held line by line.
class IniText {
 public:
  explicit IniText(const QByteArray& bytes = {});

  // The value of key in the first section named section; std::nullopt when
  // the section or the key is missing. A key line without "=" has an empty value.
  // The value is not shortened here (see iniRead).
  std::optional<QByteArray> value(const QByteArray& section, const QByteArray& key) const;
  // The key names of the first section of that name, in file order.
  QList<QByteArray> keys(const QByteArray& section) const;
  bool hasSection(const QByteArray& section) const;

  // Replaces the key's line in place, or adds it at the end of the section,
  // or adds the section at the end of the file.
  void setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);
  // Both return whether anything was removed.
  bool removeKey(const QByteArray& section, const QByteArray& key);
  bool removeSection(const QByteArray& section);

  // The file content: the BOM when there was one, every line ended with CR LF.
  QByteArray bytes() const;

 private:
  enum class Kind { Other, Blank, Comment, Section, Key };
  struct Line {
    QByteArray text;
    Kind kind = Kind::Other;
    QByteArray name;  // section name or key name, trimmed
  };
  static Line classify(const QByteArray& text);
  qsizetype findSection(const QByteArray& section) const;  // -1 when missing
  qsizetype sectionEnd(qsizetype header) const;            // index of the next header or size
  QList<Line> lines_;
  bool bom_ = false;
};

// Whether names and values can be stored: sections, keys and values may not
// hold CR or LF; a section may not hold "]"; a key may not be empty, hold "="
// or begin with "[", ";" or "#".
bool iniNameOk(const QByteArray& section);
bool iniKeyOk(const QByteArray& key);
bool iniValueOk(const QByteArray& value);

// Reads a value from a file (at most kIniValueMax bytes). std::nullopt when
// the file, the section or the key is missing.
std::optional<QByteArray> iniRead(const QString& file, const QByteArray& section, const QByteArray& key);
// The key names of a section of a file.
QList<QByteArray> iniKeys(const QString& file, const QByteArray& section);

struct IniWriteResult {
  bool ok = false;
  bool refused = false;  // a name or value that cannot be stored; nothing was written
  int errorCode = 0;     // errno of a failed read or write
};

// Writes key = value into the section, creating the file or section as needed.
// A file without any write permission is read-only: it is not written (EACCES).
// With no value the key is removed; with no key the whole section is removed
// (every section of that name). Removing from a missing file changes nothing
// and succeeds.
IniWriteResult iniWrite(const QString& file, const QByteArray& section,
                        const std::optional<QByteArray>& key,
                        const std::optional<QByteArray>& value);

}  // namespace korvan::platform
