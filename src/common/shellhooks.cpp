#include "common/shellhooks.h"

#include <QHash>

namespace korvan {
namespace {

QHash<QString, MenuOpener>& openers() {
  static QHash<QString, MenuOpener> o;
  return o;
}

}  // namespace

ShellHooks& shellHooks() {
  static ShellHooks h;
  return h;
}

void setMenuOpener(const QString& id, MenuOpener opener) { openers()[id] = std::move(opener); }

MenuOpener menuOpener(const QString& id) { return openers().value(id); }

void clearShellPlugs() {
  openers().clear();
  shellHooks() = ShellHooks();
}

}  // namespace korvan
