#pragma once
// The free invoice entry window: one outgoing invoice typed by hand (header,
// buyer, VAT category and exemption, and a line grid that recomputes
// itself), built into an e-invoice and sent. Two modes, fixed for the
// window's life: free entry (lYT false) and entry from a workbook (lYT true).
//
// Buyers and articles are remembered in BAZE/KOMIT and BAZE/ART
// (windows/slobun_tables.h); the grid's arithmetic is windows/slobun_grid.h.
#include <QPointer>
#include <QString>
#include <memory>

#include "einvoice/attachment.h"
#include "einvoice/myeracun.h"
#include "ui/stdqtw.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace korvan {

namespace platform {
class WorkbookBackend;
}
struct ReceiptItem;

class MySLOBUN : public MyQTW {
  Q_OBJECT
 public:
  void POSTAVI(bool lYt);
  QString GETINI(const QString& key, const QString& section, const QString& def = QString()) const;
  bool PUTINI(const QString& key, const QString& section, const QString& value) const;
  // A label and a line edit; the edit starts with text and, with an INI key,
  // writes its text under that key of cSEKCIJA whenever editing finishes.
  void DODAJ_OBJEKAT(QPointer<QLabel>& label, const QString& caption, QPointer<QLineEdit>& edit,
                     const QString& text = QString(), const QString& iniKey = QString());

  // The grid (1-based row numbers).
  void POPUNI_TABELU(bool lFirst);
  void MENJANA_CELIJA(int row, int column);
  void MENJAJ_ZAVISNE(int row, const QString& field);
  void AZU_ZBIR();
  QString VRATI_STR_VREDNOST(const QString& field, int row) const;
  double VRATI_NUM_VREDNOST(const QString& field, int row) const;
  void PISI_VREDNOST(const QString& field, const QVariant& value, int row);

  // Builds the document; the record, or nullptr when it stopped.
  std::unique_ptr<MyERACUN> NAPRAVI_XML(bool lQuiet);
  void POSALJI_XML();
  // The printout; the name of the file written, or an empty text.
  QString NAPRAVI_PDF(bool lPrint);
  void PRILOZI();

  // The tables.
  void ZAPAMTI_KOMIT();
  void ZAPAMTI_ARTIKLE();
  bool OTVORI_KOMIT(bool& opened);
  bool OTVORI_ART(bool& opened);
  void IZABERI_KOMIT();
  void IZABERI_ART();

  // The imports (windows/slobun_imports.cpp). IMP_YT replaces the lines by
  // those of a workbook of the fixed layout (a read that fails before its
  // first line leaves them as they were); KOMIT_IZ_CLIPB copies parts of the
  // clipboard's text into the buyer's fields, UZMI_SEL_CLIPB one part;
  // KOMIT_OD_NBS fills the buyer from the register by PIB. The office that
  // the first workbook read starts is held for the window's life.
  ~MySLOBUN() override;
  void IMP_YT();
  void KOMIT_IZ_CLIPB();
  void UZMI_SEL_CLIPB(QLineEdit* edit, QTextEdit* pane);
  void KOMIT_OD_NBS();
  platform::WorkbookBackend* oENGINE = nullptr;
  // The fiscal receipt import (windows/slobun_receipt.cpp). DEKODIRAJ_PURS
  // asks for the link (starting with link) and the item marks, reads the
  // page, asks for confirmation and writes it into the window: true when
  // written. UPIT_POPUNI: true when the user accepts. PREUZMI_QUMIR: a link
  // picked from the exchange folder, then DEKODIRAJ_PURS with it.
  bool DEKODIRAJ_PURS(const QString& link = QString());
  bool UPIT_POPUNI(const QString& buyerId, const QString& buyerJbkjs, const QDate& date, double total,
                   const QList<ReceiptItem>& items);
  void POPUNI_IZ_DEKOD(const QString& buyerId, const QString& buyerJbkjs, const QList<ReceiptItem>& items,
                       const QDate& date);
  void PREUZMI_QUMIR();

  // "<year> <number>" as a file name in TMP: the typed texts made harmless.
  QString IME_FAJLA() const;
  // The first grid cell that shows asterisks, as the refusal to print or
  // build; empty when there is none.
  QString NE_STAJE() const;

  double nPOINTSIZE = 0;
  QString FN_INI;
  QString cSEKCIJA = QStringLiteral("SLOBUN");
  QPointer<QPushButton> obQUMIR, obDEKOD_PURS, obPRAVI_PDF, obPRILOZI, obIMP_YT;
  QPointer<QPushButton> obPRAVI_XML, obSALJI_XML;
  QPointer<QLabel> olblGODINA, olblBRDOK, olblDATDOK, olblMESTO_IZD, olblDATPROM, olblMESTO_PROM, olblVALUTA,
      olblOPERATER, olblNARUDZBENICA, olblOTPREMNICA, olblUGOVOR, olblNAPOMENA;
  QPointer<QLineEdit> oleGODINA, oleBRDOK, oleMESTO_IZD, oleMESTO_PROM, oleOPERATER, oleNARUDZBENICA,
      oleOTPREMNICA, oleUGOVOR, oleNAPOMENA;
  QPointer<QDateEdit> odteDATDOK, odteDATPROM, odteVALUTA;
  QPointer<QPushButton> obIZBOR_KOMIT, obKOMIT_IZ_CLIPB, obKOMIT_OD_NBS;
  QPointer<QLabel> olblKOMIT_PIB, olblKOMIT_NAZIV, olblKOMIT_MESTO, olblKOMIT_POST_BROJ, olblKOMIT_ADRESA,
      olblKOMIT_MATBROJ, olblKOMIT_JBKJS, olblKOMIT_EMAIL;
  QPointer<QLineEdit> oleKOMIT_PIB, oleKOMIT_NAZIV, oleKOMIT_MESTO, oleKOMIT_POST_BROJ, oleKOMIT_ADRESA,
      oleKOMIT_MATBROJ, oleKOMIT_JBKJS, oleKOMIT_EMAIL;
  QPointer<QLabel> olblTAX_CAT;
  QPointer<QComboBox> ocmboTAX_CAT;
  QPointer<QLabel> olblTAX_EXEM;
  QPointer<QPushButton> obTAX_EXEM;
  QPointer<QPushButton> obIZBOR_ART;
  bool lPROGRAMSKI = false;
  bool lFIRMA_OBVPDV = false;
  AttachList aATTACH;
  bool lYT = false;

 private:
  // The printout; refused when a check stopped it (after its message).
  QString printout(bool lPrint, bool& refused);
  QStringList rowTexts(int row) const;
  void writeCell(int column, double value, const QString& shown, int row);
};

}  // namespace korvan
