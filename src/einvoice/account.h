#pragma once
// The account every e-invoice call is made on: the API key that applies, test
// mode and the host, as one value. The program's account is read in one
// place (readEfmAccount); a missing key has one message (EFM_ERR_NEMA_KLJUCA).
#include <QString>

namespace korvan {

struct EfmAccount {
  QString apiKey;         // API_KLJUC, or API_KLJUC_DEMO in test mode
  bool testMode = false;  // calls go to "demo" + host
  QString host;           // the production host (EFM_HOST when read)
};

// The program's account: test mode from ISTEST(), the key of that mode from
// section Firma of aplik.ini (empty when none is entered), the host in force.
EfmAccount readEfmAccount();
// An account with the given key and mode on the host in force (EFM_HOST).
EfmAccount efmAccount(const QString& apiKey, bool testMode);

// "Nije unet 'API ključ' u opciji 'Podaci firme'!"
QString EFM_ERR_NEMA_KLJUCA();

}  // namespace korvan
