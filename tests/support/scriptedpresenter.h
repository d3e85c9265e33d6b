#pragma once
// A presenter for tests: records every box and answers from a queue (when the
// answers run out, defaultAnswer). Installs itself for its lifetime and puts
// the presenter before it back at the end, so they nest.
#include <QList>
#include <QStringList>
#include <functional>

#include "common/presenter.h"

namespace korvan {

class ScriptedPresenter : public Presenter {
 public:
  ScriptedPresenter();
  ~ScriptedPresenter() override;
  ScriptedPresenter(const ScriptedPresenter&) = delete;
  ScriptedPresenter& operator=(const ScriptedPresenter&) = delete;
  int show(const Box& box) override;

  QList<Box> shown;
  QList<int> answers;
  int defaultAnswer = 0;
  // Optional hook run for each box before answering (may return an answer >= 0).
  std::function<int(const Box&)> onShow;

  QStringList texts() const;
  int count(BoxKind kind) const;

 private:
  Presenter* previous_ = nullptr;
};

}  // namespace korvan
