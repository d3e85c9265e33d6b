// Plugs the application folders into the shell: read at start-up, dialog from the menu.
#include "common/shellhooks.h"
#include "settings/podesapp.h"

namespace korvan {

void plug_podesapp() {
  shellHooks().ucitajPodesapp = [] { UCITAJ_PODESAPP(); };
  setMenuOpener(QStringLiteral("PODESAPP"), [](const MenuContext& c) -> QWidget* {
    PODESAPP(c.font);
    return nullptr;
  });
}

}  // namespace korvan
