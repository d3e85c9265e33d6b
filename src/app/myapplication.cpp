#include "app/myapplication.h"

#include "app/myerror.h"

namespace korvan {

bool MyApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    fatalException(std::current_exception());
  }
}

}  // namespace korvan
