#pragma once
// Settings that the whole program needs. Each accessor returns the value held
// before the call and, when an argument is passed, stores it (an empty text
// and false included); no argument leaves the value unchanged.
#include <QString>

#include <optional>

namespace korvan {

bool G_LDORVATIK_APP(std::optional<bool> value = std::nullopt);               // false at start
QString G_CFOLDER_ER2APLIK(std::optional<QString> value = std::nullopt);      // "" at start
QString G_CFOLDER_ER4APLIK(std::optional<QString> value = std::nullopt);      // "" at start
QString G_CFOLDER_CUVANJE(std::optional<QString> value = std::nullopt);       // "" at start
QString G_CFOLDER_SALJI_MEJLOM(std::optional<QString> value = std::nullopt);  // "" at start
// The default intermediary of an invoice: 1, the national e-invoice system.
int G_NERACUNI_POSREDNIK(std::optional<int> value = std::nullopt);

// Placeholders of a multi-company mode that this program never enters.
template <typename... A>
void PUT_COMMON(A&&...) {}
template <typename... A>
void GET_COMMON(A&&...) {}
// Shows "Ne koristi se funkcija VRATI_POLJE !" and gives false.
bool VRATI_POLJE_MSG();
template <typename... A>
bool VRATI_POLJE(A&&...) {
  return VRATI_POLJE_MSG();
}

}  // namespace korvan
