#pragma once
// The company's own data (the seller of every invoice) and the e-invoice API
// key, in section Firma of "aplik.ini", with a fill from the National Bank's
// register.
#include <QFont>

#include "ui/sq.h"

namespace korvan {

// The modal dialog "Podaci firme" over the eleven keys of section Firma (the
// API key under API_KLJUC_DEMO in test mode, API_KLJUC otherwise; the other
// one untouched). Cancel writes nothing; Ok writes the keys in row order as
// entered, OBVPDV as "T" or "F". A write that fails is reported once by the
// INI layer and the keys after it are not written.
void PODAFIRM(const QFont& font);

// The button "Preuzmi od NBS": asks for the PIB ("Podaci od NBS", starting
// from editor 5), looks it up by tax number in the sorted mode under the wait
// cursor and fills editors 1, 2, 4, 5, 6 and 9 (the newest account). A failed
// lookup shows its error text, a page without a name "Ne postoje podaci na
// sajtu NBS!"; then the editors stay as they were. Writes nothing.
void PREUZ_NBS(const SqEditors& editors, const QFont& font);

}  // namespace korvan
