#include "app/mainwindow.h"

#include "app/startup.h"
#include "common/apppath.h"
#include "common/ini.h"
#include "common/msg.h"
#include "common/shellhooks.h"
#include "einvoice/account.h"

#include <QAction>
#include <QIcon>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace korvan {

const QList<MenuEntry>& MENU_TABLE() {
  using S = MenuEntry::Shown;
  static const QList<MenuEntry> table = {
      {"XLS", "Import iz &XLS", ":/res/excel.png", S::Always, "Import iz XLS", false, {}},
      {"ODS", "Import iz &ODS", ":/res/openoffice.png", S::Always, "Import iz ODS", false, {}},
      {"CLIP", "Import iz ClipBoard-a", ":/res/paste.png", S::Always, "Import iz ClipBoard-a", false, {}},
      {"SLOBUN", "Slobodan unos", ":/res/stavka2.png", S::IfSlobun, "Slobodan unos", false, {}},
      {"SLOBUN_YT", "Slobodan unos iz XLS", ":/res/stavka.png", S::IfSlobunYt, "Slobodan unos iz XLS",
       false, {}},
      {"KORVANMAN", "Upravljanje eFakturama", ":/res/promene.png", S::Always, "Upravljanje eFakturama",
       false, {}},
      {"PODAFIRM", "Podaci &firme", ":/res/firme.png", S::Always, {}, false, {}},
      {"PODESAPP", QString::fromUtf8("Po&dešavanja aplikacije"), ":/res/cpanel.png", S::Always,
       {}, true, "PODES"},
      {"UPDFTP", "Verzija i &UPDATE", ":/res/reload.png", S::Always, {}, false, {}},
      {"KONFIG", "Ko&nfigurisanje izgleda", ":/res/cpanel.png", S::Always, {}, false, {}},
  };
  return table;
}

QVariantList MENU_ARGS(const QString& id) {
  if (id == QLatin1String("XLS") || id == QLatin1String("SLOBUN")) return {false};
  if (id == QLatin1String("ODS") || id == QLatin1String("SLOBUN_YT")) return {true};
  if (id == QLatin1String("KORVANMAN")) {
    const QString pib = GETPRIVATEPROFILESTRING(QStringLiteral("Firma"), QStringLiteral("PIB"), QString(),
                                                FN_INI(QStringLiteral("aplik.ini")));
    return {readEfmAccount().apiKey, EFM_ERR_NEMA_KLJUCA(), pib};
  }
  if (id == QLatin1String("UPDFTP")) return {QStringLiteral("2022.12.14"), true};
  if (id == QLatin1String("KONFIG")) return {false, false, false, true};
  return {};
}

QString NOT_BUILT_TEXT() { return QString::fromUtf8("Ova opcija još nije napravljena."); }

GlavniProzor::GlavniProzor(const StartupKeys& keys, const QFont& font, const QFont& smallFont)
    : font_(font) {
  setWindowTitle(QStringLiteral("Korvan   (ver 2022.12.14)"));
  setWindowIcon(QIcon(QStringLiteral(":/res/korvan.png")));
  setFont(font);
  resize(800, 600);

  toolBar_ = new QToolBar(this);
  toolBar_->setIconSize(QSize(24, 24));
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  toolBar_->setFont(smallFont);

  auto* bar = new QMenuBar(this);
  menu_ = new QMenu(QStringLiteral("&Izbor"), bar);
  for (const MenuEntry& e : MENU_TABLE()) {
    if (e.shown == MenuEntry::Shown::IfSlobun && !keys.slobun) continue;
    if (e.shown == MenuEntry::Shown::IfSlobunYt && !keys.slobunYt) continue;
    auto* a = new QAction(QIcon(e.icon), e.text, menu_);
    if (!e.objectName.isEmpty()) a->setObjectName(e.objectName);
    const QString id = e.id;
    connect(a, &QAction::triggered, this, [this, id](bool) { open(id); });
    menu_->addAction(a);
    toolBar_->addAction(a);
    actions_.insert(id, a);
    if (e.separatorAfter) menu_->addSeparator();
  }
  bar->addMenu(menu_);
  setMenuBar(bar);

  area_ = new QMdiArea(this);
  area_->setViewMode(QMdiArea::TabbedView);
  setCentralWidget(area_);
}

void GlavniProzor::open(const QString& id, bool quiet) {
  const MenuOpener opener = menuOpener(id);
  if (!opener) {
    if (!quiet) MSGINFO(NOT_BUILT_TEXT());
    return;
  }
  QString title;
  for (const MenuEntry& e : MENU_TABLE())
    if (e.id == id) title = e.title;
  MenuContext ctx{this, area_, font_, title, MENU_ARGS(id)};
  if (QWidget* w = opener(ctx)) lastWindows_.insert(id, w);
}

void GlavniProzor::reopen(const QString& lastKind) {
  static const QStringList kinds = {"XLS", "ODS", "CLIP", "SLOBUN", "SLOBUN_YT", "KORVANMAN"};
  // Until a kind's window is built, start-up opens nothing for it and says nothing.
  if (kinds.contains(lastKind)) open(lastKind, true);
}

}  // namespace korvan
