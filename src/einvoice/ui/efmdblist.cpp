#include "einvoice/ui/efmdblist.h"

#include "ui/frame.h"

namespace korvan {

QList<QVariantList> EFMDB_PUNI_TABELA(const QVariant&, const QString& ui, const QString&) {
  if (ui.isEmpty()) return {};
  MyFRAME box(10, true);
  QList<QVariantList> rows = efmdbRows(ui, [&box](int row) {
    if (box.Due()) box.Disp(QString::fromUtf8("Očitavam bazu... ") + QString::number(row).rightJustified(8, ' '));
    return !box.lPREKID;
  });
  box.End();
  return rows;
}

}  // namespace korvan
