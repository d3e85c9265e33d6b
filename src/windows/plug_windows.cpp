// Plugs the work windows into the shell's menu.
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "common/shellhooks.h"
#include "windows/izclip.h"
#include "windows/izsrc.h"
#include "windows/slobun.h"

namespace korvan {

namespace {

// The shell's three calls: NEW, POSTAVI with the entry's argument, PREGLED.
QWidget* openIzsrc(const MenuContext& c, bool ods) {
  auto* w = new MyIZSRC;
  w->New(c.main, c.area, nullptr, c.font, c.title);
  w->POSTAVI(c.args.isEmpty() ? ods : c.args.first().toBool());
  w->PREGLED(c.area ? c.area->activeSubWindow() : nullptr);
  return w->oWND;
}

QWidget* openSlobun(const MenuContext& c, bool yt) {
  auto* w = new MySLOBUN;
  w->New(c.main, c.area, nullptr, c.font, c.title);
  w->POSTAVI(yt);
  w->PREGLED(c.area ? c.area->activeSubWindow() : nullptr);
  return w->oWND;
}

QWidget* openIzclip(const MenuContext& c) {
  auto* w = new MyIZCLIP;
  w->New(c.main, c.area, nullptr, c.font, c.title);
  w->POSTAVI();
  w->PREGLED(c.area ? c.area->activeSubWindow() : nullptr);
  return w->oWND;
}

}  // namespace

void plug_windows() {
  setMenuOpener(QStringLiteral("XLS"), [](const MenuContext& c) { return openIzsrc(c, false); });
  setMenuOpener(QStringLiteral("ODS"), [](const MenuContext& c) { return openIzsrc(c, true); });
  setMenuOpener(QStringLiteral("SLOBUN"), [](const MenuContext& c) { return openSlobun(c, false); });
  setMenuOpener(QStringLiteral("SLOBUN_YT"), [](const MenuContext& c) { return openSlobun(c, true); });
  setMenuOpener(QStringLiteral("CLIP"), openIzclip);
}

}  // namespace korvan
