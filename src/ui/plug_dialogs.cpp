// Plugs the window framework into the shell: the real choice and link dialogs
// behind the presenter, and the palette of disabled fields at start-up.
#include <QApplication>

#include "common/shellhooks.h"
#include "ui/libqt.h"

namespace korvan {

void plug_dialogs() {
  installUiDialogs();
  shellHooks().podesiPaletuDisabled = [](QApplication& app) { PODESI_PALETU_DISABLED(&app); };
}

}  // namespace korvan
