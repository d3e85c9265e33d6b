#include "common/presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <map>
#include <utility>

namespace korvan {
namespace {

std::map<BoxKind, BoxShower>& showers() {
  static std::map<BoxKind, BoxShower> s;
  return s;
}

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

class RealPresenter : public Presenter {
 public:
  int show(const Box& box) override {
    auto it = showers().find(box.kind);
    if (it != showers().end() && it->second) return it->second(box);
    if (!qApp) return 0;  // no application yet: nothing can be shown
    if (box.kind == BoxKind::Choice) {
      // Fallback until the choice dialog is installed: a message box with the buttons.
      QMessageBox mb(QMessageBox::Question, box.title, box.text);
      QList<QAbstractButton*> bs;
      for (const QString& b : box.buttons) bs << mb.addButton(b, QMessageBox::ActionRole);
      mb.exec();
      const int i = bs.indexOf(mb.clickedButton());
      return i < 0 ? 0 : i + 1;
    }
    return showMessageBox(box);
  }
};

RealPresenter& realPresenter() {
  static RealPresenter p;
  return p;
}

Presenter* current = nullptr;

}  // namespace

Presenter& presenter() { return current ? *current : realPresenter(); }
Presenter* setPresenter(Presenter* p) { return std::exchange(current, p); }
void setBoxShower(BoxKind kind, BoxShower shower) { showers()[kind] = std::move(shower); }

}  // namespace korvan
