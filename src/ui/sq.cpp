#include "ui/sq.h"
#include "common/variants.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/numbers.h"
#include "common/registry.h"
#include "ui/kolona.h"
#include "ui/libqt.h"

namespace korvan {
namespace {

// What an entry item remembers of its id: kind ("N" number, "C" text) and,
// for a number, its type.
constexpr int kIdKindRole = Qt::UserRole + 1;
constexpr int kIdTypeRole = Qt::UserRole + 2;

enum class Kind { None, Number, Date, Text, Logical, Entries, Choice };

Kind kindOf(const QVariant& v) {
  if (!v.isValid()) return Kind::None;
  if (v.typeId() == QMetaType::Bool) return Kind::Logical;
  if (IS_NUMBER(v)) return Kind::Number;
  if (v.typeId() == QMetaType::QDate) return Kind::Date;
  if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) return Kind::Text;
  if (IS_LIST(v)) {
    const QVariantList l = v.toList();
    return !l.isEmpty() && IS_LIST(l.first()) ? Kind::Entries : Kind::Choice;
  }
  return Kind::None;
}

bool optionTrue(const QVariant& o) { return o.typeId() == QMetaType::Bool && o.toBool(); }

// The entries of a list of entries as items with check boxes.
void fillEntries(QListWidget* list, const QVariantList& entries, bool threeState) {
  for (const QVariant& e : entries) {
    const QVariantList entry = IS_LIST(e) ? e.toList() : QVariantList{e};
    auto* item = new QListWidgetItem(entry.size() > 1 ? TEXT_OF(entry[1]) : QString(), list);
    const QVariant id = entry.value(0);
    if (IS_NUMBER(id)) {
      item->setWhatsThis(STR(id.toDouble(), 10));
      item->setData(kIdKindRole, QStringLiteral("N"));
      item->setData(kIdTypeRole, id.typeId());
    } else if (id.typeId() == QMetaType::QString || id.typeId() == QMetaType::QByteArray) {
      item->setWhatsThis(TEXT_OF(id));
      item->setData(kIdKindRole, QStringLiteral("C"));
    }
    // Only checking and unchecking: a partly checked box becomes checked.
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (threeState) {
      if (entry.size() > 2) {
        const int s = entry[2].toInt();
        item->setCheckState(s < 0 ? Qt::PartiallyChecked : s > 0 ? Qt::Checked : Qt::Unchecked);
        f |= Qt::ItemIsUserCheckable;
      }
    } else {
      const QVariant c = entry.value(2);
      const bool on = c.typeId() == QMetaType::Bool ? c.toBool() : IS_NUMBER(c) && c.toDouble() != 0;
      item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
      f |= Qt::ItemIsUserCheckable;
    }
    item->setFlags(f);
  }
}

QVariantList readEntries(const QListWidget* list, bool threeState) {
  QVariantList out;
  for (int i = 0; i < list->count(); ++i) {
    const QListWidgetItem* item = list->item(i);
    const QString kind = item->data(kIdKindRole).toString();
    QVariant id;
    if (kind == QLatin1String("N")) {
      id = VAL(item->whatsThis());
      const QMetaType type(item->data(kIdTypeRole).toInt());
      if (type.isValid()) id.convert(type);
    } else if (kind == QLatin1String("C")) {
      id = item->whatsThis();
    } else {
      continue;
    }
    const QVariant box = item->data(Qt::CheckStateRole);
    const Qt::CheckState state = box.isValid() ? Qt::CheckState(box.toInt()) : Qt::Unchecked;
    if (threeState) {
      const int s = state == Qt::PartiallyChecked ? -1 : state == Qt::Checked ? 1 : 0;
      out << QVariant(QVariantList{id, s});
    } else if (state == Qt::Checked) {
      out << id;
    }
  }
  return out;
}

QVariantList widgetList(const QList<QPointer<QWidget>>& widgets) {
  QVariantList l;
  for (const QPointer<QWidget>& w : widgets) l << QVariant::fromValue(w);
  return l;
}

// The row widget (editor or button) that holds the focus, or the focus
// widget itself: a date editor's or a combo box's inner line edit counts as
// its editor.
QString focusedName(const QDialog* dlg) {
  QWidget* f = QApplication::focusWidget();
  if (!f) return QString();
  for (QWidget* w = f; w && w != dlg; w = w->parentWidget()) {
    const QString n = w->objectName();
    if (n.startsWith(QLatin1String("EDIT_")) || n.startsWith(QLatin1String("BUTTON_"))) return n;
  }
  return f->objectName();
}

class SqDialog : public QDialog {
 public:
  SqDialog(const QList<SqKey>& keys, const SqEditors& editors) : keys_(keys), editors_(editors) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (!keys_.isEmpty() && DLG_FUNC_KEY(e, keys_, editors_)) {
      e->accept();
      return;
    }
    QDialog::keyPressEvent(e);
  }

 private:
  const QList<SqKey>& keys_;
  const SqEditors& editors_;
};

// Reads a row's editor by the type of the row's current value; nothing when
// the editor does not fit that type.
std::optional<QVariant> readEditor(const SqRow& row, Kind kind, QWidget* editor) {
  if (!editor) return std::nullopt;
  switch (kind) {
    case Kind::Number:
      if (auto* le = qobject_cast<QLineEdit*>(editor)) return QVariant(INTELI_VAL(le->text()));
      break;
    case Kind::Date:
      if (auto* de = qobject_cast<QDateEdit*>(editor)) {
        // A cleared row (the editor at its lowest date) stores the empty date.
        if (optionTrue(row.option) && de->date() == de->minimumDate()) return QVariant(QDate());
        return QVariant(DATE_FROM_QDATE(de->date()));
      }
      break;
    case Kind::Text:
      if (auto* pe = qobject_cast<QPlainTextEdit*>(editor)) return QVariant(pe->toPlainText());
      if (auto* le = qobject_cast<QLineEdit*>(editor)) return QVariant(le->text());
      break;
    case Kind::Logical:
      if (auto* cb = qobject_cast<QCheckBox*>(editor)) return QVariant(cb->isChecked());
      break;
    case Kind::Entries:
      if (auto* lw = qobject_cast<QListWidget*>(editor))
        return QVariant(readEntries(lw, row.option.typeId() == QMetaType::Bool));
      break;
    case Kind::Choice:
      if (auto* co = qobject_cast<QComboBox*>(editor)) {
        if (optionTrue(row.option)) return QVariant(co->currentText());
        return QVariant(co->currentIndex() + 1);
      }
      break;
    case Kind::None:
      break;
  }
  return std::nullopt;
}

}  // namespace

SqValue SQ_VAR(QVariant& v) {
  return {[&v] { return v; }, [&v](const QVariant& x) { v = x; }};
}
SqValue SQ_VAR(QString& v) {
  return {[&v] { return QVariant(v); }, [&v](const QVariant& x) { v = x.toString(); }};
}
SqValue SQ_VAR(double& v) {
  return {[&v] { return QVariant(v); }, [&v](const QVariant& x) { v = x.toDouble(); }};
}
SqValue SQ_VAR(QDate& v) {
  return {[&v] { return QVariant(v); }, [&v](const QVariant& x) { v = x.toDate(); }};
}
SqValue SQ_VAR(bool& v) {
  return {[&v] { return QVariant(v); }, [&v](const QVariant& x) { v = x.toBool(); }};
}

QList<QPointer<QWidget>> SQ_WIDGETS(const QString& key) {
  QList<QPointer<QWidget>> out;
  const QVariant v = MGLOBAL(key);
  if (v.typeId() != QMetaType::QVariantList) return out;
  for (const QVariant& e : v.toList()) out << e.value<QPointer<QWidget>>();
  return out;
}

void FUNC_BUTTON(const SqEditors& editors, int row) {
  if (row < 1 || row > editors.size()) return;
  if (auto* de = qobject_cast<QDateEdit*>(editors[row - 1].data())) de->setDate(de->minimumDate());
}

void BTN_BLOCK(const SqEditors& editors, const QList<SqRow>& rows, int row) {
  if (row < 1 || row > rows.size()) return;
  const std::optional<SqButton>& b = rows[row - 1].button;
  if (b && b->action) b->action(editors, row);
}

bool DLG_FUNC_KEY(QKeyEvent* event, const QList<SqKey>& keys, const SqEditors& editors) {
  for (const SqKey& k : keys) {
    if (k.key != event->key()) continue;
    QWidget* f = QApplication::focusWidget();
    if (!f || !k.action) return false;
    auto* dlg = qobject_cast<QDialog*>(f->window());
    return k.action(focusedName(dlg), editors);
  }
  return false;
}

bool SQ(const QList<SqRow>& rows, const SqIcon& icon, const std::optional<QFont>& font,
        const QString& title, const QList<SqKey>& keys) {
  QList<QPointer<QWidget>> labels, buttons;
  SqEditors editors;

  // The dialog with its caption, icon and font.
  SqDialog dlg(keys, editors);
  dlg.setWindowTitle(title);
  if (!icon.resource.isEmpty())
    dlg.setWindowIcon(QIcon(icon.resource));
  else if (icon.widget)
    dlg.setWindowIcon(icon.widget->windowIcon());
  if (font) dlg.setFont(*font);

  // Widths are in units of the dialog's font.
  const double unit = NPOINTSIZE(&dlg);
  auto* grid = new QGridLayout(&dlg);
  int line = 0, col = 0;
  bool firstTextDone = false;

  // One line per row: the label and an editor chosen by the value's type.
  for (int r = 1; r <= rows.size(); ++r) {
    const SqRow& row = rows[r - 1];
    auto* label = new QLabel(row.label, &dlg);
    QWidget* editor = nullptr;
    QPushButton* button = nullptr;
    const QVariant value = row.value ? row.value.get() : QVariant();
    const Kind kind = kindOf(value);

    auto minWidth = [&](QWidget* w) {
      if (row.minWidth) w->setMinimumWidth(int(*row.minWidth * unit));
    };
    auto rowButton = [&] {
      if (!row.button) return;
      button = new QPushButton(&dlg);
      if (!row.button->text.isEmpty()) button->setText(row.button->text);
      if (!row.button->icon.isEmpty()) button->setIcon(QIcon(row.button->icon));
      // The row is carried by the connection, never read from the focus.
      QObject::connect(button, &QPushButton::clicked, &dlg,
                       [&editors, &rows, r] { BTN_BLOCK(editors, rows, r); });
    };
    auto selectFirst = [&](auto* w) {
      if (firstTextDone) return;
      firstTextDone = true;
      w->selectAll();
    };

    switch (kind) {
      case Kind::Number: {
        auto* le = new QLineEdit(&dlg);
        le->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (row.mask) le->setInputMask(*row.mask);
        le->setText(STR(value.toDouble()).trimmed());
        minWidth(le);
        selectFirst(le);
        rowButton();
        editor = le;
        break;
      }
      case Kind::Date: {
        auto* de = new QDateEdit(&dlg);
        de->setCalendarPopup(true);
        de->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        if (value.toDate().isValid()) de->setDate(value.toDate());
        if (optionTrue(row.option)) {
          button = new QPushButton(&dlg);
          button->setIcon(QIcon(QStringLiteral(":/res/clear_left.png")));
          de->setSpecialValueText(QStringLiteral(" "));
          QObject::connect(button, &QPushButton::clicked, &dlg,
                           [&editors, r] { FUNC_BUTTON(editors, r); });
        } else {
          rowButton();
        }
        if (row.editingFinished)
          QObject::connect(de, &QDateEdit::editingFinished, &dlg, row.editingFinished);
        editor = de;
        break;
      }
      case Kind::Text: {
        if (optionTrue(row.option)) {
          auto* pe = new QPlainTextEdit(&dlg);
          pe->setTabChangesFocus(true);
          pe->setPlainText(TEXT_OF(value));
          minWidth(pe);
          selectFirst(pe);
          editor = pe;
        } else {
          auto* le = new QLineEdit(&dlg);
          if (row.mask) le->setInputMask(*row.mask);
          le->setText(TEXT_OF(value));
          minWidth(le);
          selectFirst(le);
          if (row.editingFinished)
            QObject::connect(le, &QLineEdit::editingFinished, &dlg, row.editingFinished);
          editor = le;
        }
        rowButton();
        break;
      }
      case Kind::Logical: {
        auto* cb = new QCheckBox(&dlg);
        cb->setChecked(value.toBool());
        rowButton();
        editor = cb;
        break;
      }
      case Kind::Entries: {
        auto* lw = new QListWidget(&dlg);
        if (font) lw->setFont(*font);
        fillEntries(lw, value.toList(), row.option.typeId() == QMetaType::Bool);
        minWidth(lw);
        rowButton();
        editor = lw;
        break;
      }
      case Kind::Choice: {
        auto* co = new QComboBox(&dlg);
        for (const QVariant& e : value.toList()) co->addItem(TEXT_OF(e), e);
        minWidth(co);
        if (optionTrue(row.option)) {
          co->setEditable(true);
          if (row.mask) co->setEditText(*row.mask);
        } else if (IS_NUMBER(row.option)) {
          const int n = row.option.toInt();
          co->setCurrentIndex(n >= 1 && n <= co->count() ? n - 1 : 0);
        } else if (co->count() > 0) {
          co->setCurrentIndex(0);
        }
        rowButton();
        editor = co;
        break;
      }
      case Kind::None:
        break;
    }
    if (editor && row.enabled && !*row.enabled) editor->setEnabled(false);

    // Placement.
    if (!row.sameLine) {
      ++line;
      col = 0;
    }
    grid->addWidget(label, line, col++);
    if (editor) {
      editor->setObjectName(QStringLiteral("EDIT_%1_%2_%3").arg(r).arg(line).arg(col));
      grid->addWidget(editor, line, col++);
    }
    if (button) {
      button->setObjectName(QStringLiteral("BUTTON_%1").arg(r));
      grid->addWidget(button, line, col++);
    }
    labels << label;
    editors << editor;
    buttons << button;
  }

  // Cancel and Ok under the rows, Ok the default.
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dlg);
  auto* ok = new QPushButton(QStringLiteral("Ok"), &dlg);
  ok->setDefault(true);
  QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
  QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
  grid->addWidget(cancel, line + 1, 0);
  grid->addWidget(ok, line + 1, 1);

  // The labels, editors and buttons are public while the dialog runs; Ok
  // writes each editor's value back to its row.
  MGlobalScope pubLabels(QStringLiteral("_SQ_oLABEL"), widgetList(labels));
  MGlobalScope pubEditors(QStringLiteral("_SQ_oEDIT"), widgetList(editors));
  MGlobalScope pubButtons(QStringLiteral("_SQ_oBUTTON"), widgetList(buttons));
  if (dlg.exec() != QDialog::Accepted) return false;
  for (int r = 1; r <= rows.size(); ++r) {
    const SqRow& row = rows[r - 1];
    if (!row.value) continue;
    const QVariant now = row.value.get();
    const std::optional<QVariant> read = readEditor(row, kindOf(now), editors[r - 1]);
    if (read && row.value.set) row.value.set(*read);
  }
  return true;
}

}  // namespace korvan
