#include "common/waitcursor.h"

#include <QApplication>

namespace korvan {

WaitCursor::WaitCursor(bool on) : on_(on) {
  if (on_) QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
  if (on_) QApplication::restoreOverrideCursor();
}

}  // namespace korvan
