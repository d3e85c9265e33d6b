#pragma once
// The receipt import of the free-entry window without widgets: how a scanned
// link's file name is shown, and the amounts of an invoice row made from a
// receipt item. The window's side (the dialogs, the fill of the fields and
// the grid) is windows/slobun_receipt.cpp.
#include <QString>

namespace korvan {

// The display text of an exchange-folder file name: a name made of year,
// month, day, hours, minutes and seconds joined by "_" ("2022_12_01_10_20_30.web")
// shows as "01.12.2022 10:20:30"; a name with a point but not six such parts
// shows up to its first point; a name without a point shows unchanged.
QString DAT_VREME_NORMAL(const QString& name);

// One invoice row from a receipt item, discount 0: the value with VAT is the
// item's line total, the base R2(total / (1 + rate/100)), the value before
// discount the base, the price R4(base / quantity), 0 for quantity 0. The
// item's own unit price plays no part.
struct ReceiptRowAmounts {
  double value = 0;
  double base = 0;
  double beforeDiscount = 0;
  double price = 0;
};
ReceiptRowAmounts receiptRowAmounts(double lineTotal, double rate, double quantity);

}  // namespace korvan
