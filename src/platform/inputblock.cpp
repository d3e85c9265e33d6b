#include "platform/inputblock.h"

#include <QCoreApplication>
#include <QEvent>

namespace korvan::platform {

InputBlocker::InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
InputBlocker::~InputBlocker() { QCoreApplication::instance()->removeEventFilter(this); }

bool InputBlocker::eventFilter(QObject*, QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
    case QEvent::Close:
      e->ignore();
      return true;
    default:
      return false;
  }
}

}  // namespace korvan::platform
