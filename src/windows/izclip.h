#pragma once
// The clipboard import window: an invoice copied as plain text is pasted into
// a pane, its fields are marked once as ranges of the text (stored in section
// "IZCLIP" of "aplik.ini"), and every later paste of the same layout is cut
// into header values and item rows, built into an e-invoice with a chosen PDF
// and sent. The cutting itself is windows/izclip_extract.h; this class holds
// the widgets and shows the boxes.
#include <QBrush>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "einvoice/myeracun.h"
#include "ui/stdqtw.h"
#include "windows/izclip_extract.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTextEdit;

namespace korvan {

// How a cell of the fields table is written besides its value and tag.
struct FieldCellLook {
  std::optional<QBrush> background;
  bool editable = false;
};

class MyIZCLIP : public MyQTW {
  Q_OBJECT
 public:
  // Builds the window; writes POSLEDNJI_KOJI.
  void POSTAVI();
  QString GETINI(const QString& key, const QString& section, const QString& def = QString()) const;
  // false after the write's own message.
  bool PUTINI(const QString& key, const QString& section, const QString& value) const;
  // The cursor and selection labels from the pane.
  void PRIKAZI_ROW_COL();
  // The cursor's row and column (from 1, counted in the text's own lines);
  // false when the pane has no cursor.
  bool IZRACUNAJ_ROW_COL(int& row, int& column) const;
  void POPUNI_otwTABELA_POLJA();
  // F2: the selection's position into the current field row.
  void UZMI_POZICIJE();
  // F4: the current field row's position and value cleared.
  void BRISI_POZICIJE();
  // The clipboard's text into the pane; false (after a message) when it holds none.
  bool PASTE_CLIP();
  // Writes every position and the validation list; false after the first
  // write that failed (its message shown, no more writes tried).
  bool ZAPAMTI();
  // Extract true: cuts the values and the item rows out of the text; false:
  // switches the marked view on or off.
  void OZNACI_POLJA(bool lExtract);
  void ODREDI_aPOZICIJE();
  void POSTAVI_VREDNOST(const QString& key, const QString& value);
  // The validation mark of the current field row toggled.
  void SET_MORA_NUM_KOLONA();
  void UZMI_MORA_NUM_KOLONA();
  bool PISI_MORA_NUM_KOLONA();
  void POPUNI_otwTABELA_STAVKI(const QStringList& lines);
  void PRIK_SAKRIJ();
  void URADI_PRIKAZ();
  // The record, or nullptr after a message.
  std::unique_ptr<MyERACUN> NAPRAVI_XML(bool lQuiet);
  void POSALJI_XML();
  bool IZABERI_PDF_FAJL();
  // A header value: the VREDNOST text of the row tagged key, as text ("C")
  // or read as dd.mm.yyyy ("D").
  QVariant VRATI_IZ_TABELE_POLJA(const QString& key, const QString& type) const;

  double nPOINTSIZE = 0;
  QString FN_INI;
  QPointer<QTableWidget> otwTABELA_POLJA;
  double nPOINTSIZE4TABELA = 0;
  QList<MyKOLONA> aKOLONE_POLJA;
  QPointer<QTableWidget> otwTABELA_STAVKI;
  QList<MyKOLONA> aKOLONE_STAVKI;
  QPointer<QLabel> olblTRENUTNI_ROW_COL, olblROW_STATIC, olblROW, olblCOL_STATIC, olblCOL;
  QPointer<QLabel> olblPOC_SEL_ROW_COL, olblPOC_SEL_ROW_STATIC, olblPOC_SEL_ROW, olblPOC_SEL_COL_STATIC,
      olblPOC_SEL_COL;
  QPointer<QLabel> olblKRAJ_SEL_ROW_COL, olblKRAJ_SEL_ROW_STATIC, olblKRAJ_SEL_ROW, olblKRAJ_SEL_COL_STATIC,
      olblKRAJ_SEL_COL;
  QPointer<QTextEdit> oteCLIP;
  bool lSELEKTOVANO = false;
  bool lPRVI_SELEKTOVANO = false;
  QPointer<QPushButton> obPASTE_CLIP, obUZMI_POZICIJE, obBRISI_POZICIJE, obZAPAMTI, obOZNACI_POLJA,
      obMORA_NUM_KOLONA, obPRIK_SAKRIJ, obPRAVI_XML, obSALJI_XML, obFAJL_PDF;
  QPointer<QLabel> olblFAJL_PDF;
  QPointer<QLineEdit> oleFAJL_PDF;
  QString cSEKCIJA = QStringLiteral("IZCLIP");
  QString cOLD_CLIP;
  QList<izclip::Range> aPOZICIJE;
  double nPOINTSIZE_MALI = 0;
  bool lEDIT_CLIP = true;
  QStringList aMORA_NUM_KOLONA;
  bool lPRIKAZANO = true;
  const QList<izclip::Field>& aSVA_POLJA = izclip::fields();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The pane's key filter: true for a key the pane must not get (every paste binding).
  bool oteCLIP_KEY(QKeyEvent* e);
  // Writes one cell of the fields table through the cell writer, tagged key.
  void setFieldCell(const char* column, const QString& value, int row, const QString& key, FieldCellLook look = {});
  // The row (from 0) of the last row tagged key; -1 when none.
  int rowOf(const QString& key) const;
  void buildFieldsTable();
  void buildItemsTable();
  void buildPane();
  void setMarkedButton();
};

}  // namespace korvan
