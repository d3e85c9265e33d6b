#pragma once
// The base of the work windows: a maximised sub-window of the main window's
// tabbed area with an optional table, the standard buttons and a search bar.
//
// A work window is made with new, then New(...), the subclass's POSTAVI(...)
// and PREGLED(area->activeSubWindow()). It owns its widgets; when its
// sub-window is destroyed it deletes itself, so hold it in a QPointer.
#include <QBrush>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

#include "ui/kolona.h"

class QGridLayout;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QVBoxLayout;
class QWidget;

namespace korvan {

class MyEWXML;

// A table column given by field name or by 1-based number.
struct KolonaRef {
  KolonaRef(int n) : number(n) {}
  KolonaRef(const QString& f) : field(f), byName(true) {}
  KolonaRef(const char* f) : field(QString::fromUtf8(f)), byName(true) {}
  int number = 0;
  QString field;
  bool byName = false;
};

class MyQTW : public QObject {
  Q_OBJECT
 public:
  MyQTW();
  ~MyQTW() override;

  // Stores the arguments, makes the fonts and the empty layout skeleton.
  MyQTW& New(QMainWindow* mainWnd, QMdiArea* area, QObject* server, const QFont& font,
             const QString& title);
  // Assembles the window after POSTAVI and shows it maximised in the area.
  void PREGLED(QMdiSubWindow* prev);
  // Runs bZAVRSI; unless destroyed, re-activates the previous sub-window and
  // closes this one. With destroyed true the sub-window is being deleted: its
  // widgets can still be read, but they go right after.
  void ZAVRSI(bool destroyed);
  // One table cell from a value and the column's descriptor; row is 0-based.
  // Answers the new cell (owned by the table), nullptr when the column does
  // not exist.
  QTableWidgetItem* POSTAVI_KOLONU(const QList<MyKOLONA>& kolone, const KolonaRef& column,
                                   const QVariant& value, int row,
                                   const QVariant& hidden = QVariant(),
                                   const std::optional<QBrush>& background = std::nullopt,
                                   const std::optional<QBrush>& foreground = std::nullopt,
                                   std::optional<int> alignment = std::nullopt,
                                   bool editable = false,
                                   const std::optional<QFont>& font = std::nullopt,
                                   QTableWidget* table = nullptr);
  // Double click on a table cell (0-based); subclasses may override.
  virtual void DBL_KLIK(int row, int column);
  // Column count, captions and widths of oTABELA from aKOLONE.
  void POSTAVI_KOLONE_OD_aKOLONE();
  // Hands the table to an export writer (the do-nothing writer when none is given).
  void EXPORT(const QString& subtitle, const QString& target, MyEWXML* writer = nullptr);
  void CURR_ITEM_CHANGED(QTableWidgetItem* current, QTableWidgetItem* previous);
  // The table's key filter: true when a key-table action consumed the key.
  bool FUNC_KEY(QKeyEvent* e);
  // "Izlaz (Esc)": asks bPRE_ESC, then ZAVRSI(false).
  void RADI_ESC();
  void TRAZI_PRVI();
  void TRAZI_SLEDECI();
  void IDI_NA_NADJEN();

  // A cell found by the search: its position, never the item itself.
  struct Hit {
    int row = 0;
    int column = 0;
    bool operator==(const Hit&) const = default;
  };

  QPointer<QMainWindow> oMainWnd;
  QPointer<QMdiArea> omdiAREA;
  QPointer<QObject> oSERVER;  // handed through; the base never reads it
  QFont oFont;
  QFont oFontBold;
  QFont oFontMali;
  QPointer<QMdiSubWindow> oWND;
  QPointer<QMdiSubWindow> oPREV_MDI;
  QPointer<QTableWidget> oTABELA;
  QPointer<QWidget> oDA;
  QPointer<QPushButton> obRESIZE_TO_CONTENTS;
  QPointer<QPushButton> obIZLAZ;
  // Layouts belong to oDA and die with it.
  QVBoxLayout* layV = nullptr;
  QHBoxLayout* layTASTERI = nullptr;
  QGridLayout* layG = nullptr;
  QGridLayout* layG2 = nullptr;
  QHBoxLayout* layTASTERI2 = nullptr;
  QHBoxLayout* layTASTERI3 = nullptr;
  QList<MyKOLONA> aKOLONE;
  QString cNAZIV;
  bool lSAKRIJ_VERTIKALU = false;
  bool lFONTMALI_TABELA = false;
  QStringList oVZAG;
  bool lIMA_RESIZE_TO_CONTENTS = true;
  bool lIMA_IZLAZ = true;
  std::function<void()> bODMAH_IZVRSI;
  std::function<void()> bIZVRSI_NA_KRAJU;
  std::function<void(QTableWidgetItem*, QTableWidgetItem*)> bCURR_ITEM_CHANGED;
  bool lSTRETCH_LAST = true;
  QPointer<QWidget> oTABELA_ISPOD;
  QPointer<QWidget> oTABELA_DESNO;
  QHBoxLayout* layTABELE = nullptr;
  QString cICO_RES;
  bool lIMA_TABELU = true;
  bool lAlternatingRowColors = false;
  QList<QPair<int, std::function<bool()>>> aTABELA_KEY_FUNC;
  bool lZATVOREN = false;
  std::function<void(int)> bHEAD_CLICKED;
  std::function<bool()> bPRE_ESC;
  std::function<void()> bZAVRSI;
  bool lSEP_HILJ = false;
  bool lBEZ_DECIM = false;
  bool lIMA_TRAZI = false;
  QHBoxLayout* layTRAZI = nullptr;
  QPointer<QLabel> olblTRAZI;
  QPointer<QLineEdit> oleTRAZI;
  QPointer<QPushButton> obTRAZI;
  QPointer<QPushButton> obSLEDECI;
  std::optional<QList<Hit>> qLIST_TRAZI;  // absent until F7 and after a text change
  int nDUZ_NADJENIH = 0;
  std::optional<int> nNADJEN;             // absent until the first hit
  std::function<bool(QKeyEvent*)> bWND_FUNC_KEY;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Makes the window's sub-window the active one of its area.
void VEC_OTVORENO(MyQTW* w);
// True when w is a live window that has not closed itself.
bool POSTOJI_OBJEKAT(const MyQTW* w);

// The table export's writer; this one writes nothing.
class MyEWXML {
 public:
  virtual ~MyEWXML() = default;
  virtual MyEWXML& New(const QString& title, const QVariant& second, const QString& target) {
    Q_UNUSED(title) Q_UNUSED(second) Q_UNUSED(target) return *this;
  }
  virtual void Head(const QString& text, const QString& align) { Q_UNUSED(text) Q_UNUSED(align) }
  virtual void TabColumn(const QString& caption, const QString& field, int width,
                         const QString& type, int length, int decimals) {
    Q_UNUSED(caption) Q_UNUSED(field) Q_UNUSED(width) Q_UNUSED(type) Q_UNUSED(length)
    Q_UNUSED(decimals)
  }
  virtual void Exec() {}
  virtual void BeginTab() {}
  virtual void EndTab() {}
  virtual void NewTabRow() {}
  virtual void Cell(int column, const QString& text) { Q_UNUSED(column) Q_UNUSED(text) }
};

}  // namespace korvan
