#pragma once
// The application object whose event dispatch catches what an event handler
// throws and sends it down the fatal path of the error handler.
#include <QApplication>

namespace korvan {

class MyApplication : public QApplication {
 public:
  MyApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace korvan
