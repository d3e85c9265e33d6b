#include "app/startup.h"

#include "app/mainwindow.h"
#include "app/myapplication.h"
#include "app/myerror.h"
#include "common/apppath.h"
#include "common/dbf/workarea.h"
#include "common/dates.h"
#include "common/files.h"
#include "common/ini.h"
#include "common/letters.h"
#include "common/lookglobals.h"
#include "common/shellhooks.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>

#include <memory>

// The icon bundle is compiled in by the build (resource "korvan_icons").
static void registerIcons() { Q_INIT_RESOURCE(korvan_icons); }
static void unregisterIcons() { Q_CLEANUP_RESOURCE(korvan_icons); }

namespace korvan {
namespace {

std::unique_ptr<QApplication>& ownApplication() {
  static std::unique_ptr<QApplication> app;
  return app;
}

std::unique_ptr<GlavniProzor>& mainWindow() {
  static std::unique_ptr<GlavniProzor> w;
  return w;
}

bool g_iconsRegistered = false;
bool g_ended = false;

// Run-time conventions every other part relies on.
void setConventions() {
  G_ISUTF8(true);
  // Names of months and days and the toolkit's number forms in Serbian (Latin).
  QLocale::setDefault(QLocale(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia));
  SETEPOCH();
  // Dates are shown as "dd.mm.yyyy" (common/dates.h); the table engine always
  // hides deleted records and uses DBF with CDX and FPT files.
}

}  // namespace

void SETEPOCH() { SET_EPOCH(TODAY().year() - 90); }

void QT_START(int& argc, char** argv) {
  if (argc > 0 && argv && argv[0]) SET_APPPATH_FROM_ARGV0(QString::fromLocal8Bit(argv[0]));
  MY_ERRORSYS();
  setExitStep([] { QT_END(); });
  PLUG_LIBRARIES();
  if (!QApplication::instance()) ownApplication() = std::make_unique<MyApplication>(argc, argv);
  if (!g_iconsRegistered) {
    registerIcons();
    g_iconsRegistered = true;
  }
  g_ended = false;
}

void POSTAVI_INI(QString& lastKind, bool& slobun, bool& slobunYt) {
  const QString ini = FN_INI(QStringLiteral("aplik.ini"));
  const QString config = QStringLiteral("Config");
  lastKind = GETPRIVATEPROFILESTRING(config, QStringLiteral("POSLEDNJI_KOJI"), QStringLiteral("XLS"), ini);
  slobun = GETPRIVATEPROFILESTRING(config, QStringLiteral("IMA_SLOBUN"), QStringLiteral("F"), ini) ==
           QLatin1String("T");
  slobunYt = GETPRIVATEPROFILESTRING(config, QStringLiteral("IMA_SLOBUN_YT"), QStringLiteral("F"), ini) ==
             QLatin1String("T");
  const QString style = GETPRIVATEPROFILESTRING(config, QStringLiteral("STYLE"), QString(), ini);
  // An unknown style name leaves the style as it is.
  if (!style.isEmpty()) QApplication::setStyle(style);
  if (shellHooks().ucitajPodesapp) shellHooks().ucitajPodesapp();
}

GlavniProzor* START() {
  ZATVORI_GLAVNI_PROZOR();
  g_ended = false;
  setConventions();

  auto* app = qobject_cast<QApplication*>(QApplication::instance());
  if (app && shellHooks().postaviKonfig) shellHooks().postaviKonfig(*app);
  StartupKeys keys;
  POSTAVI_INI(keys.lastKind, keys.slobun, keys.slobunYt);
  if (app && shellHooks().podesiPaletuDisabled) shellHooks().podesiPaletuDisabled(*app);
  // Not checked here: a later step that needs a folder reports its own failure.
  PRAVI_DIR(GETAPPPATH() + QStringLiteral("TMP"));
  PRAVI_DIR(GETAPPPATH() + QStringLiteral("UPDFTP"));
  G_CUPDFOLDER(GETAPPPATH() + QStringLiteral("UPDFTP"));

  if (shellHooks().proveriNovuVerziju && shellHooks().proveriNovuVerziju(G_CUPDFOLDER())) return nullptr;

  QFont font;
  font.setPointSize(G_NVEL_FONT());
  QFont small;
  small.setPointSize(G_NVEL_FONTMALI());
  mainWindow() = std::make_unique<GlavniProzor>(keys, font, small);
  GlavniProzor* w = mainWindow().get();
  w->reopen(keys.lastKind);
  w->showMaximized();
  return w;
}

int MAIN() {
  if (!START()) return 0;
  return QApplication::exec();
}

void QT_END() {
  if (g_ended) return;
  g_ended = true;
  // A table that fails to close is reported by the error handler once the
  // rest of the exit step has run.
  std::exception_ptr tableError;
  try {
    dbf::closeAllAreas();
  } catch (...) {
    tableError = std::current_exception();
  }
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    QClipboard* clip = QGuiApplication::clipboard();
    if (clip && clip->ownsClipboard()) clip->clear();
  }
  if (g_iconsRegistered) {
    unregisterIcons();
    g_iconsRegistered = false;
  }
  if (QCoreApplication::instance()) QCoreApplication::quit();
  if (tableError) std::rethrow_exception(tableError);
}

GlavniProzor* GLAVNI_PROZOR() { return mainWindow().get(); }

void ZATVORI_GLAVNI_PROZOR() { mainWindow().reset(); }

int RUN(int& argc, char** argv) {
  return guardedMain([&] {
    QT_START(argc, argv);
    const int code = MAIN();
    QT_END();
    ZATVORI_GLAVNI_PROZOR();
    ownApplication().reset();
    return code;
  });
}

}  // namespace korvan
