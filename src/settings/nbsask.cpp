#include "settings/nbsask.h"

#include <QWidget>

#include "common/msg.h"
#include "common/waitcursor.h"
#include "settings/preuznbs.h"
#include "ui/sq.h"

namespace korvan {

std::optional<NbsFirma> askRegister(const QString& pib, const QFont& font) {
  NbsFirma f;
  f.pib = pib;
  if (!SQ({{.label = QStringLiteral("PIB"), .value = SQ_VAR(f.pib)}}, QStringLiteral(":/res/trazi.png"), font,
          QStringLiteral("Podaci od NBS")) ||
      f.pib.isEmpty())
    return std::nullopt;
  QString error;
  bool ok = false;
  {
    const WaitCursor cursor;
    ok = PREUZMI_NBS(f.pib, f.name, f.address, f.place, f.accounts, f.registrationNumber, false, error, true);
  }
  if (!ok) {
    MSG(error);
    return std::nullopt;
  }
  if (f.name.isEmpty()) {
    MSG(NBS_ERR_NEMA());
    return std::nullopt;
  }
  return f;
}

}  // namespace korvan
