#include "windows/windowsetup.h"

#include "windows/winparts.h"

#include <QMainWindow>

#include "common/ini.h"
#include "ui/kolona.h"
#include "ui/stdqtw.h"

namespace korvan {

double MAIN_NPOINTSIZE(const MyQTW& w) { return mainWindowUnit(w.oMainWnd, w.oFont); }

bool FIRMA_OBVPDV(const QString& iniFile) {
  return GETPRIVATEPROFILESTRING(QStringLiteral("Firma"), QStringLiteral("OBVPDV"), QStringLiteral("F"), iniFile) ==
         u"T";
}

}  // namespace korvan
