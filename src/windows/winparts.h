#pragma once
// Small pieces the invoice import windows build with.
#include <QFont>
#include <QKeySequence>
#include <QString>

class QMainWindow;
class QPushButton;

namespace korvan {

// NPOINTSIZE of the main window, or of a widget in font when there is none.
double mainWindowUnit(const QMainWindow* main, const QFont& font);
// "Courier New", else the system's courier: the font of the panes that show
// pasted text, where columns must line up.
QFont courierFont();
// A button with an icon of the bundle and an object name; a non-empty key
// becomes its shortcut. The caller takes ownership.
QPushButton* windowButton(const QString& text, const char* icon, const char* name,
                          const QKeySequence& key = QKeySequence());

}  // namespace korvan
