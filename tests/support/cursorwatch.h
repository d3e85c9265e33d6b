#pragma once
// Notes the application's override cursor at the moment a peer has seen its
// first request. It watches from a timer of the event loop, so a wait that
// froze the loop is never seen at all.
#include <QTimer>

#include "support/peer.h"

namespace korvan::test {

class CursorAtFirstRequest {
 public:
  explicit CursorAtFirstRequest(const Peer& peer);
  CursorAtFirstRequest(const CursorAtFirstRequest&) = delete;
  CursorAtFirstRequest& operator=(const CursorAtFirstRequest&) = delete;
  // The cursor's shape (Qt::CursorShape); -1 while no request was seen, -2
  // when there was no override cursor.
  int shape() const { return shape_; }

 private:
  const Peer& peer_;
  QTimer poll_;
  int shape_ = -1;
};

}  // namespace korvan::test
