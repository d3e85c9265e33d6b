#include "support/cursorwatch.h"

#include <QCursor>
#include <QGuiApplication>

namespace korvan::test {

CursorAtFirstRequest::CursorAtFirstRequest(const Peer& peer) : peer_(peer) {
  poll_.setInterval(20);
  QObject::connect(&poll_, &QTimer::timeout, [this] {
    if (peer_.requests().isEmpty()) return;
    const QCursor* c = QGuiApplication::overrideCursor();
    shape_ = c ? int(c->shape()) : -2;
    poll_.stop();
  });
  poll_.start();
}

}  // namespace korvan::test
