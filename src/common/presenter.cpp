#include "common/presenter.h"

#include <QtGlobal>
#include <map>
#include <utility>

namespace korvan {
namespace {

std::map<BoxKind, BoxShower>& showers() {
  static std::map<BoxKind, BoxShower> s;
  return s;
}

class RealPresenter : public Presenter {
 public:
  int show(const Box& box) override {
    auto it = showers().find(box.kind);
    if (it != showers().end() && it->second) return it->second(box);
    // No dialogs installed (a program without the window framework): the
    // text goes to the error output and the answer is "none".
    qWarning("%s: %s", qUtf8Printable(box.title), qUtf8Printable(box.text));
    return 0;
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
