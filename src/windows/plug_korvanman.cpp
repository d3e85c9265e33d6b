// Plugs the e-invoice manager window into the shell's menu.
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "common/shellhooks.h"
#include "windows/mykorvanman.h"

namespace korvan {

void plug_korvanman() {
  setMenuOpener(QStringLiteral("KORVANMAN"), [](const MenuContext& c) -> QWidget* {
    auto* w = new MyKORVANMAN;
    w->New(c.main, c.area, nullptr, c.font, c.title);
    w->POSTAVI(c.args.value(0).toString(), c.args.value(1).toString(), c.args.value(2).toString());
    w->PREGLED(c.area ? c.area->activeSubWindow() : nullptr);
    return w->oWND;
  });
}

}  // namespace korvan
