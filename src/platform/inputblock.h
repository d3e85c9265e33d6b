#pragma once
// Dropping what the user does while the program waits on its main thread
// with the event loop running (for a process, a socket): mouse, keys, wheel,
// touch, context menus and window closes are eaten for the blocker's
// lifetime, so windows repaint and timers fire, yet no second action starts
// and no window goes away under the waiting caller.
#include <QObject>

namespace korvan::platform {

class InputBlocker : public QObject {
 public:
  InputBlocker();
  ~InputBlocker() override;
  InputBlocker(const InputBlocker&) = delete;
  InputBlocker& operator=(const InputBlocker&) = delete;
  bool eventFilter(QObject* watched, QEvent* e) override;
};

}  // namespace korvan::platform
