#include "einvoice/attachment.h"

#include <QFile>
#include <QFileInfo>

namespace korvan {
namespace {

bool isZip(const QByteArray& b) { return b.startsWith(QByteArray("PK\x03\x04", 4)); }

// An OpenDocument spreadsheet stores the uncompressed entry "mimetype" first.
bool isOds(const QByteArray& b) {
  return isZip(b) && b.mid(30, 8) == "mimetype" &&
         b.mid(38, 46) == "application/vnd.oasis.opendocument.spreadsheet";
}

// An Office Open XML workbook names "[Content_Types].xml" and its "xl/" parts
// in the zip directory, which is never compressed.
bool isXlsx(const QByteArray& b) {
  return isZip(b) && b.contains("[Content_Types].xml") && b.contains("xl/workbook");
}

}  // namespace

bool ATTACH_FROM_FILE(const QString& path, AttachEntry& entry) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) return false;
  entry.name = QFileInfo(path).fileName();
  entry.content = QString::fromLatin1(bytes.toBase64());
  entry.path = path;
  return true;
}

QString ATTACH_MIME(const QString& name, const QByteArray& bytes) {
  if (bytes.left(1024).contains("%PDF-")) return QStringLiteral("application/pdf");
  if (bytes.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8))) return QStringLiteral("image/png");
  if (bytes.startsWith(QByteArray("\xff\xd8\xff", 3))) return QStringLiteral("image/jpeg");
  if (isOds(bytes)) return QStringLiteral("application/vnd.oasis.opendocument.spreadsheet");
  if (isXlsx(bytes))
    return QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
  if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) && !bytes.contains('\0'))
    return QStringLiteral("text/csv");
  return QString();
}

QString ATTACH_TYPES() { return QStringLiteral("PDF, PNG, JPEG, CSV, XLSX, ODS"); }

QString ATTACH_SAFE_NAME(const QString& name) {
  const int cut = qMax(name.lastIndexOf('/'), name.lastIndexOf('\\'));
  const QString base = name.mid(cut + 1);
  if (base.isEmpty() || base == QLatin1String(".") || base == QLatin1String("..")) return QString();
  for (const QChar c : base)
    if (c.unicode() < 0x20 || c.unicode() == 0x7f || (c.unicode() >= 0x80 && c.unicode() < 0xa0))
      return QString();
  return base;
}

}  // namespace korvan
