#pragma once
// The application's wait cursor for the lifetime of an object (when on).
namespace korvan {

class WaitCursor {
 public:
  explicit WaitCursor(bool on = true);
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool on_;
};

}  // namespace korvan
