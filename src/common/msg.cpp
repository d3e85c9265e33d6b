#include "common/msg.h"

#include "common/presenter.h"
#include "common/registry.h"

namespace korvan {

void MSGSTOP(const QString& text) {
  presenter().show({BoxKind::Warning, QStringLiteral("Upozorenje"), text});
  if (MGLOBAL(QStringLiteral("MSG2LOG")).toString() == u"T") PISI_LOG(text);
}

bool MSG(const QString& text) {
  MSGSTOP(text);
  return false;
}

void MSGINFO(const QString& text) {
  presenter().show({BoxKind::Info, QString::fromUtf8("Obaveštenje"), text});
}

bool MSGYESNO(const QString& text) {
  return presenter().show({BoxKind::YesNo, QStringLiteral("Pitanje"), text}) == 1;
}

int MSGYESNOCANCEL(const QString& text) {
  switch (presenter().show({BoxKind::YesNoCancel, QStringLiteral("Pitanje"), text})) {
    case 1: return 16384;
    case 2: return 65536;
    default: return 4194304;
  }
}

QString ERR_LOCK() { return QString::fromUtf8("Slog je zaključan !"); }
QString ERR_ADD() { return QString::fromUtf8("Ne može se dodati slog !"); }

}  // namespace korvan
