#pragma once
// The register look-up as a dialog's button runs it: the PIB asked for in
// "Podaci od NBS", the look-up by tax number (all of the company's accounts,
// newest first) under the wait cursor, and the boxes of its failures. Used by
// the company data dialog and by the free entry window's buyer fill.
#include <QFont>
#include <QString>
#include <optional>

namespace korvan {

// What the register gave for a PIB; accounts one per line, newest first.
struct NbsFirma {
  QString pib;  // the PIB as entered
  QString name, place, address, registrationNumber, accounts;
};

// Asks for the PIB, starting from pib, and looks it up. nullopt when the
// dialog was cancelled or the PIB left empty (no box), after the look-up's
// own error text when it failed, and after "Ne postoje podaci na sajtu NBS!"
// when the page gave no name.
std::optional<NbsFirma> askRegister(const QString& pib, const QFont& font);

}  // namespace korvan
