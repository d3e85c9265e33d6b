#pragma once
// Seams between the shell (start-up, main window, exit) and the libraries
// that later fill them in. Each hook does nothing until its owner sets it.
//
// A library plugs in with a file of its own named src/<folder>/plug_<name>.cpp
// that defines `void korvan::plug_<name>()`. The build finds every such file
// and QT_START calls each function (in file-name order) before anything else,
// so a plug function only stores hooks and openers; it shows nothing.
#include <QFont>
#include <QPointer>
#include <QString>
#include <QVariantList>

#include <functional>

class QApplication;
class QMainWindow;
class QMdiArea;
class QWidget;

namespace korvan {

struct ShellHooks {
  // Look settings (palette, font sizes) read before any window exists; no style.
  std::function<void(QApplication&)> postaviKonfig;
  // Folder settings of section Config: fills the G_ accessors of common/globals.h.
  std::function<void()> ucitajPodesapp;
  // Palette of disabled widgets.
  std::function<void(QApplication&)> podesiPaletuDisabled;
  // Hands over to the updater when a newer executable waits in the update
  // folder; true means it did, and the program ends without a window.
  std::function<bool(const QString& updateFolder)> proveriNovuVerziju;
};

// The hooks in force.
ShellHooks& shellHooks();

// What a menu entry's opener gets when its action runs.
struct MenuContext {
  QPointer<QMainWindow> main;  // the main window
  QPointer<QMdiArea> area;     // its tabbed multi-document area
  QFont font;                  // the application font
  QString title;               // the work window's title ("Import iz XLS"); empty for dialogs
  // The entry's own arguments, by opener id:
  //   "XLS" {false}, "ODS" {true}, "CLIP" {}, "SLOBUN" {false}, "SLOBUN_YT" {true}:
  //       the argument of the window's POSTAVI;
  //   "KORVANMAN" {API key, message for a missing key, company tax number PIB},
  //       read from section Firma of "aplik.ini" each time (API_KLJUC_DEMO in test mode);
  //   "PODAFIRM" {}, "PODESAPP" {};
  //   "UPDFTP" {version "2022.12.14", true: check at once};
  //   "KONFIG" {forms row false, update row false, printer rows false, style row true}.
  QVariantList args;
};

// Opens a work window (returns it) or runs a dialog (returns nullptr).
using MenuOpener = std::function<QWidget*(const MenuContext&)>;

// Ids: "XLS", "ODS", "CLIP", "SLOBUN", "SLOBUN_YT", "KORVANMAN", "PODAFIRM",
// "PODESAPP", "UPDFTP", "KONFIG". An entry without an opener tells the user
// that it is not built yet.
void setMenuOpener(const QString& id, MenuOpener opener);
MenuOpener menuOpener(const QString& id);
// Removes every opener and hook (tests).
void clearShellPlugs();

}  // namespace korvan
