#include "common/ini.h"

#include "common/files.h"
#include "common/msg.h"
#include "platform/ini.h"

namespace korvan {

QString GETPRIVATEPROFILESTRING(const QString& section, const QString& key, const QString& def,
                                const QString& file) {
  const std::optional<QByteArray> v =
      platform::iniRead(FIND_FILE(file), section.toUtf8(), key.toUtf8());
  if (!v || v->isEmpty()) return def;
  return QString::fromUtf8(*v);
}

bool WRITEPRIVATEPROFILESTRING(const QString& section, const std::optional<QString>& key,
                               const std::optional<QString>& value, const QString& file) {
  const QString path = FIND_FILE(file);
  std::optional<QByteArray> k, v;
  if (key) k = key->toUtf8();
  if (key && value) v = value->toUtf8();
  const platform::IniWriteResult r = platform::iniWrite(path, section.toUtf8(), k, v);
  if (r.ok) return true;
  if (r.refused) {
    const bool lineBreak = v && (v->contains('\r') || v->contains('\n'));
    return MSG(QStringLiteral("INI FAJL ") + path + QStringLiteral(" [") + section + QStringLiteral("] ") +
               key.value_or(QString()) +
               (lineBreak ? QString::fromUtf8(": vrednost ne sme imati prelazak u novi red !")
                          : QString::fromUtf8(": neispravan naziv sekcije ili ključa !")));
  }
  return MSG(QString::fromUtf8("GREŠKA ") + QString::number(r.errorCode) +
             QStringLiteral(" KOD PISANJA FAJLA ") + path);
}

bool DELINIENTRY(const QString& section, const QString& key, const QString& file) {
  return WRITEPRIVATEPROFILESTRING(section, key, std::nullopt, file);
}

bool DELINISECTION(const QString& section, const QString& file) {
  return WRITEPRIVATEPROFILESTRING(section, std::nullopt, std::nullopt, file);
}

}  // namespace korvan
