#include "update/check.h"

#include <QFile>
#include <QStringList>
#include <QTime>

#include <zlib.h>

namespace korvan {
namespace {

QString hex8(uLong crc) { return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper(); }

QTime clock(const QString& hms) { return QTime::fromString(hms, QStringLiteral("HH:mm:ss")); }

}  // namespace

QString CRC32_HEX(const QByteArray& bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.constData()), static_cast<uInt>(bytes.size()));
  return hex8(crc);
}

std::optional<QString> CRC32_FAJLA(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  uLong crc = crc32(0L, Z_NULL, 0);
  while (true) {
    const QByteArray block = f.read(1 << 16);
    if (block.isEmpty()) break;
    crc = crc32(crc, reinterpret_cast<const Bytef*>(block.constData()), static_cast<uInt>(block.size()));
  }
  if (f.error() != QFileDevice::NoError) return std::nullopt;
  return hex8(crc);
}

std::optional<QString> SFV_CRC(const QByteArray& sfv, const QString& name) {
  for (const QString& line : QString::fromUtf8(sfv).split(QStringLiteral("\r\n"))) {
    const qsizetype blank = line.indexOf(u' ');
    if (blank >= 0 && line.left(blank) == name) return line.mid(blank + 1);
  }
  return std::nullopt;
}

bool JE_NOVIJA_VERZIJA(const QString& serverText, const QString& running) {
  const QByteArray run = running.toUtf8();
  return serverText.toUtf8().left(run.size()) > run;
}

bool TACNO_SAT(const QString& t1, const QString& t2) {
  const QTime a = clock(std::min(t1, t2));
  const QTime b = clock(std::max(t1, t2));
  if (!a.isValid() || !b.isValid()) return false;
  return QTime(0, 0).addSecs(a.secsTo(b)).toString(QStringLiteral("HH:mm:ss")) == QLatin1String("01:00:00");
}

QString GMT2CET(const QString& time) {
  const QStringList parts = time.split(u':');
  const int h = (parts.value(0).toInt() + 2) % 24;
  return QStringLiteral("%1:%2:%3")
      .arg(h, 2, 10, QLatin1Char('0'))
      .arg(parts.value(1).toInt(), 2, 10, QLatin1Char('0'))
      .arg(parts.value(2).toInt(), 2, 10, QLatin1Char('0'));
}

bool NOVIJI_FAJL(const QDate& runningDate, const QString& runningTime, const QDate& waitingDate,
                 const QString& waitingTime) {
  if (runningDate < waitingDate) return true;
  return runningDate == waitingDate && runningTime < waitingTime && !TACNO_SAT(runningTime, waitingTime);
}

}  // namespace korvan
