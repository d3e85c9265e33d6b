// Plugs the look settings into the shell: read at start-up, dialog from the menu.
#include <QApplication>
#include <QMainWindow>

#include "common/shellhooks.h"
#include "settings/konfig.h"

namespace korvan {

void plug_konfig() {
  shellHooks().postaviKonfig = [](QApplication& app) { POSTAVI_KONFIG(&app); };
  setMenuOpener(QStringLiteral("KONFIG"), [](const MenuContext& c) -> QWidget* {
    auto flag = [&c](int i, bool def) { return i < c.args.size() ? c.args[i].toBool() : def; };
    KONFIG(qobject_cast<QApplication*>(QCoreApplication::instance()), c.font, c.main.data(),
           flag(0, false), flag(1, false), flag(2, false), flag(3, true));
    return nullptr;
  });
}

}  // namespace korvan
