#pragma once
// A table cell that keeps its alignment and hidden tag (the WhatsThis text,
// a record number) in itself instead of the item's list of roles: each role
// set on a plain item grows that list, which costs as much as the text when
// a table of many rows is filled. It reads and writes like any
// QTableWidgetItem: a role set later replaces the kept value.
#include <QTableWidgetItem>
#include <optional>

namespace korvan {

class TableCell : public QTableWidgetItem {
 public:
  TableCell() = default;
  // Before the cell goes into a table: nothing is signalled.
  void preset(std::optional<int> alignment, const QString& tag);
  QVariant data(int role) const override;
  void setData(int role, const QVariant& value) override;
  QTableWidgetItem* clone() const override { return new TableCell(*this); }

 private:
  std::optional<int> alignment_;
  std::optional<QString> tag_;
};

}  // namespace korvan
