#include "einvoice/efm_status.h"

namespace korvan {

QString EFM_PREVEDI_STATUS(const QString& status) {
  static const struct {
    const char* word;
    const char* text;
  } kWords[] = {{"Cancelled", "Otkazano"}, {"Rejected", "Odbijeno"}, {"Sent", "Poslato"},
                {"Seen", "Viđeno"},        {"Approved", "Odobreno"}};
  for (const auto& w : kWords)
    if (status == QLatin1String(w.word)) return QString::fromUtf8(w.text);
  return status;
}

}  // namespace korvan
