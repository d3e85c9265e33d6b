#include "ui/wraprow.h"

#include <QWidget>

#include <algorithm>

namespace korvan {

namespace {

// Spacers (a stretch, a fixed gap) only separate items on one line.
bool placed(QLayoutItem* item) { return !item->isEmpty() && !item->spacerItem(); }

}  // namespace

QSize WrapRow::minimumSize() const {
  QSize s;
  for (int i = 0; i < count(); ++i)
    if (QLayoutItem* item = itemAt(i); placed(item)) s = s.expandedTo(item->minimumSize());
  const QMargins m = contentsMargins();
  return s.isEmpty() ? QSize(0, 0) : s + QSize(m.left() + m.right(), m.top() + m.bottom());
}

int WrapRow::heightForWidth(int width) const { return arrange(QRect(0, 0, width, 0), false); }

void WrapRow::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);  // not the box's own placement: ours
  arrange(rect, true);
}

int WrapRow::arrange(const QRect& rect, bool apply) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  const int gap = std::max(spacing(), 0);
  int x = area.x(), y = area.y(), lineHeight = 0;
  bool any = false;
  for (int i = 0; i < count(); ++i) {
    QLayoutItem* item = itemAt(i);
    if (!placed(item)) continue;
    const QSize hint = item->sizeHint().expandedTo(item->minimumSize());
    const int w = std::min(hint.width(), std::max(area.width(), item->minimumSize().width()));
    if (any && x + w > area.x() + area.width()) {  // on to the next line
      x = area.x();
      y += lineHeight + gap;
      lineHeight = 0;
    }
    if (apply) item->setGeometry(QRect(QPoint(x, y), QSize(w, hint.height())));
    x += w + gap;
    lineHeight = std::max(lineHeight, hint.height());
    any = true;
  }
  const QMargins m = contentsMargins();
  return any ? y + lineHeight - rect.y() + m.bottom() : 0;
}

}  // namespace korvan
