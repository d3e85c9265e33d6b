#pragma once
#include <QTest>
#include <QPushButton>
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

// The dialog as the user meets it: active, with the keyboard focus inside.
inline void whenActive(std::function<void(QWidget*)> step) {
  whenModal([step](QWidget* w) {
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w)) ADD_FAILURE() << "the dialog did not become active";
    step(w);
  });
}

// The dialog's push button with this caption, or nullptr.
inline QPushButton* button(QWidget* dlg, const QString& text) {
  for (QPushButton* b : dlg->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

}  // namespace korvan::test
