#pragma once
// The generic entry dialog: a modal form built from rows, each a label and an
// editor chosen by the type of the value that the row's get/set action holds.
// "Ok" writes every row's edited value back through its action, in row order;
// any other way out writes nothing.
//
//   QString naziv = ..., mesto = ...;
//   SQ({{.label = "Naziv", .value = SQ_VAR(naziv), .minWidth = 40,
//        .button = SqButton{"Preuzmi od NBS", ":/res/trazi.png", fill}},
//       {.label = "Mesto", .value = SQ_VAR(mesto)}},
//      icon, font, "Podaci firme");
//
// Editors by value type (what an action finds in the editor list):
//   number   QLineEdit, right-aligned, read back with INTELI_VAL -> double
//   date     QDateEdit "dd.MM.yyyy" with a calendar; an empty date starts at
//            01.01.2000; option true adds a clear button, and a cleared row
//            stores the empty date
//   text     QLineEdit (input mask from `mask`), or QPlainTextEdit when the
//            option is true (Tab moves on)
//   logical  QCheckBox
//   list whose first element is a list: entries {id, text, check}: QListWidget
//            of check boxes. Option a logical: three-state (check -1, 0, 1;
//            stores {{id, state}, ...}); otherwise stores the checked ids.
//   any other list (QVariantList or QStringList): QComboBox. Option true:
//            editable, starts with `mask` when given, stores the text;
//            otherwise starts on entry number `option` (1-based) or the first,
//            and stores the chosen entry's 1-based number (0 for none).
//   anything else (or no value): the label alone; nothing is stored.
// Editors are named "EDIT_<row>_<grid line>_<grid column>", row buttons and
// clear buttons "BUTTON_<row>" (rows 1-based).
#include <QDate>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class QKeyEvent;
class QLabel;
class QPushButton;
class QWidget;

namespace korvan {

// The dialog's editors, one entry per row (null where a row has none).
using SqEditors = QList<QPointer<QWidget>>;

// A row's value: get() gives the current value, set() stores a new one.
struct SqValue {
  std::function<QVariant()> get;
  std::function<void(const QVariant&)> set;
  explicit operator bool() const { return bool(get); }
};
// Binds a row to a variable. A QVariant may change type: a choice list's
// variable holds the list before and the chosen number after "Ok".
SqValue SQ_VAR(QVariant& v);
SqValue SQ_VAR(QString& v);
SqValue SQ_VAR(double& v);
SqValue SQ_VAR(QDate& v);
SqValue SQ_VAR(bool& v);

// A row button: text and icon are used when not empty; the action gets the
// editor list and the button's own row number (1-based).
struct SqButton {
  QString text;
  QString icon;
  std::function<void(const SqEditors& editors, int row)> action;
};

// One row; only the label is required.
struct SqRow {
  QString label;
  SqValue value;
  // Text: true = multi-line. Date: true = clear button. Entries: any logical =
  // three-state. Choice list: true = editable, a number = the entry chosen at start.
  QVariant option;
  std::optional<double> minWidth;  // characters; x NPOINTSIZE(dialog) pixels
  std::optional<QString> mask;     // input mask, or an editable choice list's start text
  std::optional<SqButton> button;
  std::optional<bool> enabled;     // false disables the editor
  bool sameLine = false;           // continue the grid line of the row before
  std::function<void()> editingFinished;  // date and single-line text editors
};

// The dialog's icon: a resource path, or a widget whose window icon is taken.
struct SqIcon {
  SqIcon() = default;
  SqIcon(const QString& resource) : resource(resource) {}
  SqIcon(const char* resource) : resource(QString::fromUtf8(resource)) {}
  SqIcon(const QWidget* widget) : widget(widget) {}
  QString resource;
  QPointer<const QWidget> widget;
};

// A key of the key table: the action gets the object name of the row editor
// (or button) that holds the focus, and the editor list; true consumes the key.
struct SqKey {
  int key = 0;  // Qt::Key; modifiers play no part
  std::function<bool(const QString& focused, const SqEditors& editors)> action;
};

// Runs the dialog; true when the user pressed "Ok" and the values were
// written back. While it runs, the registry holds "_SQ_oLABEL", "_SQ_oEDIT" and
// "_SQ_oBUTTON" (lists of the row widgets, see SQ_WIDGETS); afterwards they
// hold what they held before (an empty text outside every dialog).
bool SQ(const QList<SqRow>& rows, const SqIcon& icon = SqIcon(),
        const std::optional<QFont>& font = std::nullopt, const QString& title = QString(),
        const QList<SqKey>& keys = {});

// The widgets of a registry entry "_SQ_oLABEL", "_SQ_oEDIT" or "_SQ_oBUTTON":
// one per row, null where the row has none; empty outside a dialog.
QList<QPointer<QWidget>> SQ_WIDGETS(const QString& key);

// The dialog's own handlers: the clear button of a date row, a row button,
// and the key table (true when an action consumed the key).
void FUNC_BUTTON(const SqEditors& editors, int row);
void BTN_BLOCK(const SqEditors& editors, const QList<SqRow>& rows, int row);
bool DLG_FUNC_KEY(QKeyEvent* event, const QList<SqKey>& keys, const SqEditors& editors);

}  // namespace korvan
