#include "support/scriptedpresenter.h"

namespace korvan {

ScriptedPresenter::ScriptedPresenter() : previous_(setPresenter(this)) {}
ScriptedPresenter::~ScriptedPresenter() {
  if (&presenter() == this) setPresenter(previous_);
}

int ScriptedPresenter::show(const Box& box) {
  shown << box;
  if (onShow) {
    const int r = onShow(box);
    if (r >= 0) return r;
  }
  return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
}

QStringList ScriptedPresenter::texts() const {
  QStringList t;
  for (const Box& b : shown) t << b.text;
  return t;
}

int ScriptedPresenter::count(BoxKind kind) const {
  int n = 0;
  for (const Box& b : shown) n += b.kind == kind;
  return n;
}

}  // namespace korvan
