#include "einvoice/account.h"

#include "common/apppath.h"
#include "common/ini.h"
#include "einvoice/curlcall.h"

namespace korvan {

EfmAccount readEfmAccount() {
  const bool test = ISTEST();
  const QString key = GETPRIVATEPROFILESTRING(QStringLiteral("Firma"),
                                              test ? QStringLiteral("API_KLJUC_DEMO") : QStringLiteral("API_KLJUC"),
                                              QString(), FN_INI(QStringLiteral("aplik.ini")));
  return efmAccount(key, test);
}

EfmAccount efmAccount(const QString& apiKey, bool testMode) {
  return EfmAccount{.apiKey = apiKey, .testMode = testMode, .host = EFM_HOST()};
}

QString EFM_ERR_NEMA_KLJUCA() { return QString::fromUtf8("Nije unet 'API ključ' u opciji 'Podaci firme'!"); }

}  // namespace korvan
