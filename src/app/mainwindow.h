#pragma once
// The main window: a tabbed multi-document area under the menu "&Izbor",
// whose actions also stand on a tool bar.
#include <QFont>
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QToolBar>
#include <QPointer>
#include <QString>
#include <QVariantList>

class QAction;

namespace korvan {

struct StartupKeys;

// One entry of the menu.
struct MenuEntry {
  enum class Shown { Always, IfSlobun, IfSlobunYt };
  QString id;     // opener id (common/shellhooks.h)
  QString text;   // with the mnemonic "&"
  QString icon;   // ":/res/..."
  Shown shown = Shown::Always;
  QString title;  // title of the work window it opens; empty for a dialog
  bool separatorAfter = false;  // on the menu only
  QString objectName;
};

// The ten entries in menu order.
const QList<MenuEntry>& MENU_TABLE();
// The arguments an entry's opener gets, read at the moment it runs.
QVariantList MENU_ARGS(const QString& id);
// The text shown for an entry whose window is not built yet.
QString NOT_BUILT_TEXT();

class GlavniProzor : public QMainWindow {
  Q_OBJECT
 public:
  GlavniProzor(const StartupKeys& keys, const QFont& font, const QFont& smallFont);

  QMdiArea* area() const { return area_; }
  QMenu* menu() const { return menu_; }
  QToolBar* toolBar() const { return toolBar_; }
  QAction* action(const QString& id) const { return actions_.value(id); }
  // The window last opened by an entry, or nullptr.
  QWidget* lastWindow(const QString& id) const { return lastWindows_.value(id); }

  // Runs an entry as its action does. quiet leaves out the "not built yet" message.
  void open(const QString& id, bool quiet = false);
  // Reopens the kind of work window named by POSLEDNJI_KOJI; other values open nothing.
  void reopen(const QString& lastKind);

 private:
  QFont font_;
  QPointer<QMdiArea> area_;
  QPointer<QMenu> menu_;
  QPointer<QToolBar> toolBar_;
  QHash<QString, QAction*> actions_;
  QHash<QString, QPointer<QWidget>> lastWindows_;
};

}  // namespace korvan
