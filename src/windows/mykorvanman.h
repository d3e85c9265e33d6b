#pragma once
// The e-invoice manager window "Upravljanje eFakturama": the company's
// outgoing or incoming e-invoices as the local store holds them, the actions
// on one of them (refresh, cancel, storno, accept, reject, show its files and
// attachments, delete the local row), downloads from the e-invoice system
// (all, only new, changed in a period), and saving and mailing into the
// folders of "Podešavanja aplikacije". Decisions without widgets live in
// windows/korvanman_model.h.
//
// Made like every work window: new, New(...), POSTAVI(...), PREGLED(...).
// Every call of the e-invoice system runs curl through the process layer,
// whose wait keeps the window painting.
#include <QDate>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <optional>

#include "einvoice/efmdbdbf.h"
#include "ui/stdqtw.h"

class QComboBox;
class QPushButton;

namespace korvan {

class MyKORVANMAN : public MyQTW {
  Q_OBJECT
 public:
  // The shell passes the key (API_KLJUC, or API_KLJUC_DEMO in test mode), the
  // message for a missing key and the company's tax number.
  void POSTAVI(const QString& apiKey, const QString& noKeyMessage, const QString& pib,
               const QVariant& server = QVariant());
  QString GETINI(const QString& key, const QString& section, const QString& def = QString()) const;
  bool PUTINI(const QString& key, const QString& section, const QString& value) const;
  void PROMENJEN_UI(int index);
  // Downloads the direction's ids and refreshes them (only those the store
  // lacks, or after a question all of them); ids in FALS are skipped.
  void PREUZMI_SVE(bool onlyNew);
  // Refills the table from the local store; a stopped fill keeps only the
  // rows filled.
  void POPUNI_TABELU();
  // Writes one of the selected invoice's files into TMP and opens it:
  // 1 its own PDF, 2 the system's PDF, 3 its XML; no choice asks.
  void PRIK_FAJL(std::optional<int> choice = std::nullopt);
  void DBL_KLIK(int row, int column) override;
  // Refreshing one invoice from the system into the store.
  enum class Osvezen { Jeste, NemaDokumenta, Greska };
  Osvezen AZU_JEDAN_INVOICE(qint64 id, const QString& key, bool testMode, const QString& pib);
  void AZU_SEL();
  void OTKAZI_SEL(bool reverse);
  void OPER_DOK();
  void PRIHV_ODBIJ_SEL(bool accept);
  void SALJI_MEJLOM();
  // Asks the changes of each day of a period and refreshes the invoices
  // named; the end date is remembered only when every day was read and every
  // refresh ran (or found no document).
  void PREUZMI_PERIOD();
  void UPIT_CUVAJ();
  // How saving went: every row written, stopped by the user, or failed.
  enum class Cuvanje { Uspelo, Prekinuto, Greska };
  // Saves both directions (incoming first) issued from start to end below
  // the saving folder; true, and the end date remembered, only when both
  // were saved whole.
  bool FUNC_CUVAJ(const QVariant& server, const QString& pib, bool multi, const QDate& start, const QDate& end);
  Cuvanje CUVAJ_UI(const QString& direction, const QString& folder, const QDate& start, const QDate& end,
                   const QVariant& server, bool multi, const QString& pib);
  void BRISI();
  void POSTAVI_OD_UI();
  void PRIK_ATTACH();

  // The selected row as the store knows it; absent after "Nema ništa selektovano!".
  std::optional<EfmdbSlog> SELEKTOVAN() const;

  QString cINIT_API_KLJUC;
  QString cKOMENT_API_KLJUC;
  QString cFIRMA_PIB;
  QString FN_INI;
  QPointer<QComboBox> ocmboUI;
  QPointer<QPushButton> obPREUZMI_NOVE, obPREUZMI_SVE, obPREUZMI_PERIOD, obAZU_SEL;
  QPointer<QPushButton> obSALJI_MEJLOM, obCUVAJ, obOSVEZI, obBRISI;
  QPointer<QPushButton> obOTKAZI_PRIHVATI, obSTORNIRAJ_ODBIJ;
  QPointer<QPushButton> obPRIK_ORIG_PDF, obPRIK_GENE_PDF, obPRIK_XML, obPRIK_ATTACH;
  QList<QVariantList> aTABELA;
  bool lIMA_ODOB = false;
  QString cUI;
  EfmPromene aMENJANO;
  bool lMULTI_FIRMA = false;
  QString cPRIK_FIRMA_PIB;
  QVariant oSERVER_EFM;  // handed to the store; always absent

 private:
  QString cUI_TABELE;  // the direction the table was filled for
  bool kljuc(QString& key) const;
  QPushButton* dugme(const QString& text, const QString& icon, const char* shortcut = nullptr);
};

}  // namespace korvan
