#pragma once
// The spreadsheet import window: one invoice read from a workbook (header
// cells and a range of line rows), its PDF twin and attachment list, made
// into an e-invoice and sent. One class serves the Excel kind ("IZXLS") and
// the office-suite kind ("IZODS").
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "einvoice/attachment.h"
#include "einvoice/myeracun.h"
#include "ui/stdqtw.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace korvan {

class IzsrcSheet;

namespace platform {
class Workbook;
class WorkbookBackend;
}

class MyIZSRC : public MyQTW {
  Q_OBJECT
 public:
  // Lets the office go that the window's reads kept running.
  ~MyIZSRC() override;
  // Builds the window of one kind: false the Excel kind, true the office-suite kind.
  void POSTAVI(bool lOds);
  // Chooses the workbook (false) or the PDF (true); true when a file was taken.
  bool IZABERI_FAJL(bool lPdf);
  // Reads the chosen workbook into the fields and the line table; with
  // lSkipPdfOffer false, offers to export the workbook as its PDF at the end.
  void PREPOZNAJ_VREDNOSTI(bool lSkipPdfOffer);
  QString GETINI(const QString& key, const QString& section, const QString& def = QString()) const;
  bool PUTINI(const QString& key, const QString& section, const QString& value) const;
  // Builds the document; the record, or nullptr after a message.
  std::unique_ptr<MyERACUN> NAPRAVI_XML(bool lSend);
  // One settings row: a label, the cell-address edit (read from the INI) and,
  // when value is given, the value's line edit.
  void DODAJ_OBJEKAT(QPointer<QLabel>& label, const QString& caption, QPointer<QLineEdit>& address,
                     const QString& iniKey, QPointer<QLineEdit>* value = nullptr);
  // Writes the 29 settings keys of the window kind's section; false after
  // the first write that failed (its message shown).
  bool ZAPAMTI();
  void POPUNI_TABELU(IzsrcSheet& sheet);
  void PRIK_SAKRIJ();
  void URADI_PRIKAZ();
  void AUTO_POSTAVI_PDF_FAJL();
  void PROBAJ_SNIMI_KAO_PDF(const QString& sourcePath, platform::Workbook& book);
  // The value of one cell, row and column 1-based, type "C", "N" or "D".
  QVariant UZMI_CEL(IzsrcSheet& sheet, int row, int column, const QString& type,
                    bool lNoDecimals = false);
  void POSALJI_XML();
  void PRILOZI();
  // Loads aATTACH from the workbook's ".att" list; attPath gets the list's path.
  bool AUTO_UCITAJ_ATT(QString& attPath);

  // "XLS" or "ODS": the kind's name in messages.
  QString VRSTA() const { return lODS ? QStringLiteral("ODS") : QStringLiteral("XLS"); }

  double nPOINTSIZE = 0;
  QString FN_INI;
  QPointer<QLabel> olblFAJL_SRC;
  QPointer<QLineEdit> oleFAJL_SRC;
  QString cFAJL_SRC;
  QPointer<QLabel> olblFAJL_PDF;
  QPointer<QLineEdit> oleFAJL_PDF;
  QString cFAJL_PDF;
  QPointer<QLabel> olblCEL, olblVAL, olblCEL2, olblVAL2;
  // The field grid scrolls in here, so that the line table keeps its rows on
  // a small screen; it is never taller than the fields shown.
  QPointer<QScrollArea> oscrPOLJA;

  QPointer<QLabel> olblBRDOK, olblDATDOK, olblDATPROM, olblVALUTA, olblOPERATER, olblNARUDZBENICA,
      olblOTPREMNICA, olblUGOVOR, olblKOMIT_NAZIV, olblKOMIT_MESTO, olblKOMIT_POST_BROJ,
      olblKOMIT_ADRESA, olblKOMIT_PIB, olblKOMIT_MATBROJ, olblKOMIT_JBKJS, olblKOMIT_EMAIL;
  QPointer<QLineEdit> oleCEL_BRDOK, oleCEL_DATDOK, oleCEL_DATPROM, oleCEL_VALUTA, oleCEL_OPERATER,
      oleCEL_NARUDZBENICA, oleCEL_OTPREMNICA, oleCEL_UGOVOR, oleCEL_KOMIT_NAZIV, oleCEL_KOMIT_MESTO,
      oleCEL_KOMIT_POST_BROJ, oleCEL_KOMIT_ADRESA, oleCEL_KOMIT_PIB, oleCEL_KOMIT_MATBROJ,
      oleCEL_KOMIT_JBKJS, oleCEL_KOMIT_EMAIL;
  QPointer<QLineEdit> oleBRDOK, oleOPERATER, oleNARUDZBENICA, oleOTPREMNICA, oleUGOVOR,
      oleKOMIT_NAZIV, oleKOMIT_MESTO, oleKOMIT_POST_BROJ, oleKOMIT_ADRESA, oleKOMIT_PIB,
      oleKOMIT_MATBROJ, oleKOMIT_JBKJS, oleKOMIT_EMAIL;
  QPointer<QDateEdit> odteDATDOK, odteDATPROM, odteVALUTA;

  QPointer<QLabel> olblTAX_CAT;
  QPointer<QComboBox> ocmboTAX_CAT;
  QPointer<QLabel> olblTAX_EXEM;
  QPointer<QPushButton> obTAX_eXEM;

  QPointer<QLabel> olblPOC_RED, olblKRAJ_RED;
  QPointer<QLineEdit> olePOC_RED, oleKRAJ_RED;
  QPointer<QLabel> olblART_SIFRA, olblART_NAZIV, olblART_JMERE, olblART_BARKOD, olblKOLICINA,
      olblCENB, olblVREDB, olblRABATP, olblSTOPA, olblOSN, olblVREDP;
  QPointer<QLineEdit> oleART_SIFRA, oleART_NAZIV, oleART_JMERE, oleART_BARKOD, oleKOLICINA,
      oleCENB, oleVREDB, oleRABATP, oleSTOPA, oleOSN, oleVREDP;

  QPointer<QPushButton> obFAJL_SRC, obFAJL_PDF, obRELOAD, obPRIK_SAKRIJ, obZAPAMTI, obPRILOZI,
      obPRAVI_XML, obSALJI_XML;

  bool lPRIKAZANO = true;
  bool lODS = false;
  QString cSEKCIJA = QStringLiteral("IZXLS");
  bool lFIRMA_OBVPDV = false;
  AttachList aATTACH;
  // The fields and the table hold a whole read of cFAJL_SRC: false from the
  // moment another workbook is taken, and after a read that failed part-way,
  // until a read of the workbook succeeds. Building and sending wait for it.
  bool lUCITANO = false;
  // The workbook backend held while the window is open, so that a second
  // read finds the office of the first still running.
  platform::WorkbookBackend* oENGINE = nullptr;

 private:
  void readHeader(IzsrcSheet& sheet);
  void takeWorkbook(const QString& path);
  void setPdf(const QString& path);
};

// True when the source's last write (to the second) is later than the PDF's;
// false when either file is missing.
bool STARIJI_PDF(const QString& source, const QString& pdf);
// The text shown in the path fields: the path as it is.
QString FILE4DISP(const QString& path);
// The workbook's folder and name (up to its last point) with another extension
// (".pdf", ".att"), found in whatever letter case it exists.
QString IZSRC_TWIN(const QString& workbook, const QString& extension);

}  // namespace korvan
