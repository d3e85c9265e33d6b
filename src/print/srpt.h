#pragma once
// SRPT, the ruled-table report builder: lays out tables of cells, with
// optional ruling, on a page painter (STXT) that it owns. Several tables stack
// on one document; Exec finishes it.
//
// Order of use:
//   SRPT r;  r.FileName(name);  r.PageMargins(5, 5, 5, 5, "mm");  ...
//   r.TableBegin();  r.TableFrame("SINGLE");  r.TableFrameSingleWidth(0.4);
//   r.AddColumn({.head = "Naziv", .width = "21.74%", .align = "L"});  ...
//   r.AddCell({.text = "Roba", .fontSize = 8});  ...   // left to right, row by row
//   r.TableEnd();
//   r.oSTXT.NewRow("5mm", "R");                          // room between tables
//   ...
//   if (!r.Exec(true)) { the PDF was not written }; r.oSTXT.cFILENAME is its name
// A table has at least one column, each with a width; with a header (any
// column given a head, an empty text included) every column has a head.
// Every cell has a text, a value or an image.
//
// Frame kinds: "" draws no line and keeps no inset; "SINGLE" every line in the
// single width; "OUTER" the outer width for the table's top and closing lines,
// the header's lines and each body row's outermost verticals; any other text
// width 1 for those. Cells keep 2 units inside their column when framed (0
// for "" or blanks). Horizontal lines run from the table's left edge to the
// page's right edge.
//
// Rows: a row's cells are held until the row closes (the next row's first
// cell, or TableEnd); then they are measured, the page breaks before the row
// when its tallest cell would end below the page, and the row is drawn whole.
// A row taller than a page breaks at most once and starts at the top. The
// header row moves the same way. Cell and head texts are plain text: markup
// prints as written.
//
// Failure: no messages here; Exec answers false when the painter could not
// write the output (see stxt.h). Calls outside the order above do nothing.
//
// GUI thread only.
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <variant>

#include "print/stxt.h"

namespace korvan::print {

// A text, or an action that gives it when it is laid out.
using TextSource = std::variant<QString, std::function<QString()>>;
// A number, or an action that gives it when it is laid out.
using NumberSource = std::variant<double, std::function<double()>>;

struct Column {
  std::optional<TextSource> head;  // absent: no head
  QVariant width;                  // a measure (measure.h)
  QString align;                   // "L", "R" or "C"
  std::optional<QString> headAlign;  // absent: the cells' alignment
  std::optional<double> left;      // computed
  std::optional<double> right;     // computed
};

// Shown: its text when present, else its value, else its image.
struct Cell {
  std::optional<TextSource> text;
  std::optional<QString> align;      // absent: the column's
  std::optional<NumberSource> value;
  std::optional<QString> image;      // image file, scaled to the column's inner width
  std::optional<QString> picture;    // absent: the plain number form
  std::optional<QString> fontName;   // absent: the painter's default family
  std::optional<double> fontSize;    // absent: the painter's default size
  std::optional<bool> bold;          // absent: false
  std::optional<int> brushStyle;     // absent: 0, no fill
};

class SRPT {
 public:
  using Action = std::function<void()>;

  // The painter made with that file name.
  explicit SRPT(const QString& fileName = QString());

  void FileName(const QString& fileName) { oSTXT.FileName(fileName); }
  void Orientation(const QString& o) { oSTXT.Orientation(o); }
  void PaperSize(const QString& paper) { oSTXT.PaperSize(paper); }
  void PageMargins(double left, double top, double right, double bottom,
                   const QString& unit = QString()) {
    oSTXT.PageMargins(left, top, right, bottom, unit);
  }
  void DefaultFontName(const QString& family) { oSTXT.DefaultFontName(family); }
  void DefaultFontSize(double points) { oSTXT.DefaultFontSize(points); }
  // true: finished only; false: finished and opened. false when not written.
  bool Exec(bool print = false);

  void TableBegin();
  void TableFrame(const QString& kind) { cOKVIR = kind; }
  void TableFrameSingleWidth(double w) { nOKVIR_SINGLE = w; }
  void TableFrameOuterWidth(double w) { nOKVIR_OUTER = w; }
  // Prints a custom header (through oSTXT, advancing the row itself) instead
  // of the standard one.
  void TableExtraHeader(Action action);
  // A measure: the table's left edge.
  void TableSpaceLeft(const QVariant& measure) { ncRAZMAK_LEVO = measure; }
  // true: the header is printed again at the top of every new page (stays
  // installed beyond TableEnd); false: nothing runs at a page break.
  void TableRepeatHead(bool on);
  void TableEnd();

  void AddColumn(const Column& column);
  void ColumnBegin() { aELE_KOLONE = Column{}; }
  void ColumnHead(const TextSource& head);
  void ColumnWidth(const QVariant& width) { aELE_KOLONE.width = width; }
  void ColumnAlign(const QString& align) { aELE_KOLONE.align = align; }
  void ColumnHeadAlign(const QString& align) { aELE_KOLONE.headAlign = align; }
  void ColumnEnd() { aKOLONE.append(aELE_KOLONE); }

  void AddCell(const Cell& cell);
  void CellBegin() { aELE_CELL = Cell{}; }
  void CellText(const TextSource& text) { aELE_CELL.text = text; }
  void CellValue(const NumberSource& value) { aELE_CELL.value = value; }
  void CellImage(const QString& fileName) { aELE_CELL.image = fileName; }
  void CellPict(const QString& picture) { aELE_CELL.picture = picture; }
  void CellAlign(const QString& align) { aELE_CELL.align = align; }
  void CellFontName(const QString& family) { aELE_CELL.fontName = family; }
  void CellFontSize(double points) { aELE_CELL.fontSize = points; }
  void CellFontBold(bool on) { aELE_CELL.bold = on; }
  void CellBrushStyle(int style) { aELE_CELL.brushStyle = style; }
  void CellEnd() { AddCell(aELE_CELL); }

  // The builder's own steps.
  void VERTIKALNE_LINIJE(bool outer);
  void HORIZONTALNA_LINIJA(bool outer);
  void TAB_STD_ZAGLAVLJE();
  void ODREDI_X12_ZAGLAVLJA();
  double INIT_X1();

  STXT oSTXT;
  QList<Column> aKOLONE;
  bool lTAB_IMA_ZAGLAVLJE = false;
  int nBROJAC_KOLONA = 1;
  int nBROJAC_REDOVA = 0;
  QString cOKVIR;
  double nOKVIR_SINGLE = 1;
  double nOKVIR_OUTER = 2;
  Column aELE_KOLONE;
  Cell aELE_CELL;
  Action bTAB_EXTRA_ZAGLAVLJE;
  QVariant ncRAZMAK_LEVO = 0;

 private:
  // A cell as it will be laid out: its kind, shown text or image, region and
  // font, fixed when the cell was added.
  struct Held {
    bool image = false;
    QString content;  // the text, or the image file
    double x1 = 0, x2 = 0;
    QString align;
    QString fontName;
    std::optional<double> fontSize;
    bool bold = false;
    int brush = 0;
    bool font = true;  // false: the painter's current font (header heads)
  };

  double inset() const;
  double widthOf(const Column& c) const;
  void setUp(const Held& h);
  void layOut(const QList<Held>& row, bool header);
  void closeRow();
  // The custom header (then the column positions) or the standard one; the
  // row height is 0 afterwards.
  void printHead();

  bool tableOpen_ = false;
  QList<Held> row_;
};

}  // namespace korvan::print
