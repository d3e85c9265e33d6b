#pragma once
// An attachment entry of an e-invoice: a file name, the file's bytes in
// Base64, and (for files read from disk) the path they were read from.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace korvan {

struct AttachEntry {
  QString name;                 // file name with extension, without folder; unique in a list
  QString content;              // the bytes in Base64, standard alphabet, one line
  std::optional<QString> path;  // absent for entries taken out of a stored document

  bool operator==(const AttachEntry& o) const = default;
};
using AttachList = QList<AttachEntry>;

// The entry for a file on disk; false (entry untouched) when it cannot be read.
bool ATTACH_FROM_FILE(const QString& path, AttachEntry& entry);

// The MIME type of an attachment judged by its bytes (PDF, PNG, JPEG, XLSX,
// ODS) or, for comma-separated text, by the name's ".csv" extension; an empty
// text for any other kind of file.
QString ATTACH_MIME(const QString& name, const QByteArray& bytes);
// The types an attachment may have, for messages: "PDF, PNG, JPEG, CSV, XLSX, ODS".
QString ATTACH_TYPES();

// The name under which an entry may be written to disk: its base name (the
// part after the last "/" or "\"); an empty text when that is empty, ".",
// "..", or holds a control character.
QString ATTACH_SAFE_NAME(const QString& name);

}  // namespace korvan
