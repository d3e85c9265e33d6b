#include "ui/tablecell.h"

namespace korvan {

void TableCell::preset(std::optional<int> alignment, const QString& tag) {
  alignment_ = alignment;
  if (!tag.isNull()) tag_ = tag;
}

QVariant TableCell::data(int role) const {
  if (role == Qt::TextAlignmentRole && alignment_) return *alignment_;
  if (role == Qt::WhatsThisRole && tag_) return *tag_;
  return QTableWidgetItem::data(role);
}

void TableCell::setData(int role, const QVariant& value) {
  // From now on the item's own list holds it (and the table hears of it).
  if (role == Qt::TextAlignmentRole) alignment_.reset();
  if (role == Qt::WhatsThisRole) tag_.reset();
  QTableWidgetItem::setData(role, value);
}

}  // namespace korvan
