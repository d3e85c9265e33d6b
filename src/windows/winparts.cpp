#include "windows/winparts.h"

#include <QIcon>
#include <QMainWindow>
#include <QPushButton>

#include "ui/kolona.h"

namespace korvan {

double mainWindowUnit(const QMainWindow* main, const QFont& font) {
  if (main) return NPOINTSIZE(main);
  QWidget probe;
  probe.setFont(font);
  return NPOINTSIZE(&probe);
}

QFont courierFont() {
  QFont courier(QStringLiteral("Courier New"));
  courier.setFamilies({QStringLiteral("Courier New"), QStringLiteral("courier")});
  courier.setStyleHint(QFont::Monospace);
  return courier;
}

QPushButton* windowButton(const QString& text, const char* icon, const char* name, const QKeySequence& key) {
  auto* b = new QPushButton(QIcon(QString::fromLatin1(icon)), text);
  b->setObjectName(QString::fromLatin1(name));
  if (!key.isEmpty()) b->setShortcut(key);
  return b;
}

}  // namespace korvan
