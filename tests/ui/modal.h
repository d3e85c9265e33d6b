#pragma once
// Drives a real modal dialog: once it is up, run a step on it. A dialog that
// the step leaves open is failed and closed, so that no test hangs.
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace korvan::test {

inline void whenModal(std::function<void(QWidget*)> step) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, tries, step] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) {
      if (++*tries > 500) {
        poll->stop();
        poll->deleteLater();
        ADD_FAILURE() << "no modal dialog appeared";
      }
      return;
    }
    poll->stop();
    poll->deleteLater();
    QPointer<QWidget> guard(w);
    step(w);
    QTimer::singleShot(3000, [guard] {
      if (guard && guard->isVisible() && QApplication::activeModalWidget() == guard) {
        ADD_FAILURE() << "the dialog stayed open";
        if (auto* d = qobject_cast<QDialog*>(guard.data())) d->reject();
      }
    });
  });
  poll->start();
}

}  // namespace korvan::test
