#include "common/waitcursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace korvan {

WaitCursor::WaitCursor(bool on) : on_(on) {
  if (on_) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor() {
  if (on_) QGuiApplication::restoreOverrideCursor();
}

}  // namespace korvan
