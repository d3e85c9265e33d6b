#pragma once
// A button row that wraps: a horizontal box layout (items added, counted and
// found as in any QHBoxLayout) whose items go on as many lines as the width
// needs, each line left to right in the order added. Its minimum width is
// the widest item, so a row of many buttons never makes its window wider
// than the screen; its height follows the width (height for width).
#include <QHBoxLayout>

namespace korvan {

class WrapRow : public QHBoxLayout {
 public:
  using QHBoxLayout::QHBoxLayout;

  QSize minimumSize() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  int minimumHeightForWidth(int width) const override { return heightForWidth(width); }
  void setGeometry(const QRect& rect) override;

 private:
  // Lays the visible items out in rect (when apply) and returns the height used.
  int arrange(const QRect& rect, bool apply) const;
};

}  // namespace korvan
