#pragma once
// The question box, the real choice and link dialogs behind the presenter, and
// a few small GUI helpers.
#include <QDate>
#include <QFont>
#include <QList>
#include <QString>
#include <optional>

class QMdiArea;
class QObject;
class QWidget;

namespace korvan {

struct QAlertButton {
  QString text;
  int role = 0;  // message-box role: 0 accept, 1 reject, ...
};

// A question box titled "Izbor" with the buttons in list order (the box places
// them by role). Answers the 1-based position of the clicked button; Esc or the
// close button answer 0 whatever the roles.
int QALERT(const QString& text, const QList<QAlertButton>& buttons, QWidget* parent = nullptr,
           const std::optional<QFont>& font = std::nullopt);

// Registers the real message boxes, choice and link dialogs with the
// presenter. Called once at start-up (and by tests that drive the real
// dialogs).
void installUiDialogs();

// The program's date with the same day, month and year; an invalid date gives
// the empty date.
QDate DATE_FROM_QDATE(const QDate& d);

// Disabled fields show their text in the normal colour: in the palette of the
// application (or of a widget), the disabled text colour becomes the active one.
void PODESI_PALETU_DISABLED(QObject* object);

// The widget's style sheet: its font size, and a background colour when given.
void CSS_PROMENI_BOJU(QWidget* w, const QString& colour = QString());

// True when a sub-window of the area has the widget's object name.
bool MDI_JE_PRISUTAN(const QWidget* w, const QMdiArea* area);

}  // namespace korvan
