// Plugs the self-update into the shell: the hand-over at start-up and the
// update dialog from the menu.
#include <QMainWindow>

#include "common/shellhooks.h"
#include "update/handover.h"
#include "update/updftp.h"

namespace korvan {

void plug_update() {
  shellHooks().proveriNovuVerziju = [](const QString& folder) { return PROVERI_NOVU_VERZIJU(folder); };
  setMenuOpener(QStringLiteral("UPDFTP"), [](const MenuContext& c) -> QWidget* {
    const QString version = c.args.value(0).toString();
    UPDFTP(c.main.data(), &c.font, version, c.args.value(1).toBool());
    return nullptr;
  });
}

}  // namespace korvan
