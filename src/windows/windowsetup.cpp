#include "windows/windowsetup.h"

#include <QMainWindow>

#include "common/ini.h"
#include "ui/kolona.h"
#include "ui/stdqtw.h"

namespace korvan {

double MAIN_NPOINTSIZE(const MyQTW& w) {
  if (w.oMainWnd) return NPOINTSIZE(w.oMainWnd);
  QWidget probe;
  probe.setFont(w.oFont);
  return NPOINTSIZE(&probe);
}

bool FIRMA_OBVPDV(const QString& iniFile) {
  return GETPRIVATEPROFILESTRING(QStringLiteral("Firma"), QStringLiteral("OBVPDV"), QStringLiteral("F"), iniFile) ==
         u"T";
}

}  // namespace korvan
