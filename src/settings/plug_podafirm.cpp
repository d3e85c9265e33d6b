// Plugs the company data dialog into the menu.
#include <QWidget>

#include "common/shellhooks.h"
#include "settings/podafirm.h"

namespace korvan {

void plug_podafirm() {
  setMenuOpener(QStringLiteral("PODAFIRM"), [](const MenuContext& c) -> QWidget* {
    PODAFIRM(c.font);
    return nullptr;
  });
}

}  // namespace korvan
