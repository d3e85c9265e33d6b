#include "ui/libqt.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>

#include "common/presenter.h"
#include "ui/dialogs_detail.h"
#include "ui/lepiqale.h"
#include "ui/msglink.h"

namespace korvan {

namespace detail {
namespace {
const DialogDetails* pending = nullptr;
}

PendingDetails::PendingDetails(DialogDetails d) : details_(std::move(d)), previous_(pending) {
  pending = &details_;
}
PendingDetails::~PendingDetails() {
  if (pending == &details_) pending = previous_;
}

const DialogDetails* takePendingDetails() {
  const DialogDetails* d = pending;
  pending = nullptr;
  return d;
}
}  // namespace detail

namespace {

// The fixed kinds as message boxes.
int showMessageBox(const Box& box) {
  QMessageBox::Icon icon = QMessageBox::Critical;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton def = QMessageBox::Ok;
  switch (box.kind) {
    case BoxKind::Info: icon = QMessageBox::Information; break;
    case BoxKind::YesNo:
      icon = QMessageBox::Question;
      buttons = QMessageBox::Yes | QMessageBox::No;
      def = QMessageBox::Yes;
      break;
    case BoxKind::YesNoCancel:
      icon = QMessageBox::Question;
      buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      def = QMessageBox::Yes;
      break;
    default: break;
  }
  QMessageBox mb(icon, box.title, box.text, buttons);
  mb.setDefaultButton(def);
  if (box.kind == BoxKind::YesNo) mb.setEscapeButton(QMessageBox::No);
  if (box.kind == BoxKind::YesNoCancel) mb.setEscapeButton(QMessageBox::Cancel);
  const int r = mb.exec();
  switch (box.kind) {
    case BoxKind::YesNo: return r == QMessageBox::Yes ? 1 : 0;
    case BoxKind::YesNoCancel: return r == QMessageBox::Yes ? 1 : r == QMessageBox::No ? 2 : 0;
    default: return 0;
  }
}

// A message box that Esc and the close button leave with no choice. Qt would
// otherwise click the box's escape button, found by role (a lone reject-role
// button), and that may be a destructive choice.
class AlertBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;
 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->matches(QKeySequence::Cancel)) {
      reject();
      return;
    }
    QMessageBox::keyPressEvent(e);
  }
  void closeEvent(QCloseEvent* e) override { QDialog::closeEvent(e); }
};

int showAlert(const Box& box, const detail::DialogDetails* d) {
  AlertBox mb(QMessageBox::Question, box.title, box.text);
  if (d && !d->windowIcon.isNull()) mb.setWindowIcon(d->windowIcon);
  if (d && d->font) mb.setFont(*d->font);
  // One role for all: the box would otherwise order the buttons by role and
  // could put a deleting choice between the safe ones. Esc and close are
  // handled above, so the roles decide nothing else.
  QList<QAbstractButton*> buttons;
  for (const QString& text : box.buttons) buttons << mb.addButton(text, QMessageBox::AcceptRole);
  if (box.defaultButton > 0 && box.defaultButton <= buttons.size())
    mb.setDefaultButton(qobject_cast<QPushButton*>(buttons[box.defaultButton - 1]));
  int answer = 0;
  QObject::connect(&mb, &QMessageBox::buttonClicked, &mb,
                   [&](QAbstractButton* b) { answer = int(buttons.indexOf(b)) + 1; });
  mb.exec();
  return answer;
}

int showChoice(const Box& box) {
  const detail::DialogDetails* d = detail::takePendingDetails();
  if (d && d->lepi) return detail::showLepiDialog(box, *d);
  return showAlert(box, d);
}

}  // namespace

int QALERT(const QString& text, const QList<QAlertButton>& buttons, QWidget* parent,
           const std::optional<QFont>& font) {
  Box box{BoxKind::Choice, QStringLiteral("Izbor"), text};
  detail::DialogDetails d;
  for (const QAlertButton& b : buttons) {
    box.buttons << b.text;
    d.roles << b.role;
  }
  if (parent) d.windowIcon = parent->windowIcon();
  d.font = font;
  detail::PendingDetails keep(std::move(d));
  const int answer = presenter().show(box);
  return answer >= 1 && answer <= buttons.size() ? answer : 0;
}

void installUiDialogs() {
  for (const BoxKind k : {BoxKind::Warning, BoxKind::Info, BoxKind::YesNo, BoxKind::YesNoCancel, BoxKind::Error})
    setBoxShower(k, showMessageBox);
  setBoxShower(BoxKind::Choice, showChoice);
  setBoxShower(BoxKind::Link, detail::showLinkDialog);
}

QDate DATE_FROM_QDATE(const QDate& d) {
  return d.isValid() ? QDate(d.year(), d.month(), d.day()) : QDate();
}

void PODESI_PALETU_DISABLED(QObject* object) {
  auto fix = [](QPalette p) {
    p.setColor(QPalette::Disabled, QPalette::Text, p.color(QPalette::Active, QPalette::Text));
    return p;
  };
  if (auto* w = qobject_cast<QWidget*>(object))
    w->setPalette(fix(w->palette()));
  else if (qobject_cast<QApplication*>(object))
    QApplication::setPalette(fix(QApplication::palette()));
}

void CSS_PROMENI_BOJU(QWidget* w, const QString& colour) {
  if (!w) return;
  QString css = QStringLiteral("font: ") + QString::number(w->font().pointSize()) +
                QStringLiteral("pt");
  if (!colour.isEmpty()) css += QStringLiteral(";background-color: ") + colour;
  w->setStyleSheet(css);
}

bool MDI_JE_PRISUTAN(const QWidget* w, const QMdiArea* area) {
  if (!w || !area) return false;
  for (const QMdiSubWindow* s : area->subWindowList())
    if (s && s->objectName() == w->objectName()) return true;
  return false;
}

}  // namespace korvan
