#pragma once
// STXT, the page painter: lays out printed pages one element at a time on a
// page surface (a QPrinter, see surface.h) and ends in a PDF file or a print
// job. It keeps a page cursor (nX, nY), the height of the row being laid out
// (nPRETH_TEXT_H), the printable page size and one element under construction.
//
// Units: device units of the page rectangle, the printable area inside the
// margins, origin at its top-left corner (96 per inch). Positions, widths and
// advances are measures (measure.h): a number, "N%" of the page width (x) or
// height (y), "Nmm" (MM2PT of N, used as device units), another text by its
// leading number; a null QVariant is absent, any other kind is ignored.
//
// Order of use:
//   STXT p(SLOBODAN_FN-ready name);               // ".pdf" makes a PDF
//   p.PageMargins(5, 5, 5, 5, "mm"); p.DefaultFontName("Arial"); ...
//   p.BeginElement("TEXT_REGION"); p.Text("..."); p.X1("10mm"); p.X2("50%");
//   p.Y1(); p.Y2(); p.EndElement();               // measured, drawn, booked
//   p.NewRow();                                   // below the tallest element
//   if (!p.View()) { the PDF was not written }    // or Print()
// Page settings and the default font come before the first element; the font
// methods after it (the first BeginElement opens the surface). Element kinds:
// "TEXT" (across the page width at the cursor row), "TEXT_REGION" (inside
// x1..x2, y1..y2), "LINE", "IMAGE" (at the cursor, own size), "IMAGE_REGION"
// (scaled to x2 - x1); any other kind makes EndElement do nothing. Text,
// coordinates, alignment, image and font carry over from element to element.
// A text holding "</" is rich text (HTML, CR LF as line breaks) unless it was
// given through PlainText.
//
// Page breaks: a text element breaks when nY >= nPAGE_H, a text region when
// its y2 >= nPAGE_H (it moves to the top of the new page keeping its height);
// lines and images never break. After a break bSTA_KADA_SKOCI runs; the
// element under construction keeps its own settings and is placed below
// whatever the action drew.
//
// Failure: when the surface cannot begin (output folder missing, file not
// writable) nothing is drawn and Print / View answer false; so they do when
// the output cannot be completed. View opens nothing then, and an older file
// of the same name stays as it was. Calls outside the order above (a font
// method before the first element, a second Print, a line or region missing
// a coordinate, Print before any element) do nothing.
//
// GUI thread only. The object owns its surface.
#include <QFont>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "print/surface.h"

namespace korvan::print {

class STXT {
 public:
  using Action = std::function<void()>;

  // The surface comes from surfaceFactory(); with a file name, does what
  // FileName does. Reads the page size.
  explicit STXT(const QString& fileName = QString());
  ~STXT();
  STXT(const STXT&) = delete;
  STXT& operator=(const STXT&) = delete;

  // cFILENAME := the free output name SLOBODAN_FN makes of it, which becomes
  // the output file.
  void FileName(const QString& fileName);
  void PrinterName(const QString& name);
  // "P" portrait, "L" landscape; any other value leaves the page.
  void Orientation(const QString& orientation);
  // "A4" only; any other name leaves the paper.
  void PaperSize(const QString& paper);
  // unit "mm": millimetres; anything else (or absent): points.
  void PageMargins(double left, double top, double right, double bottom,
                   const QString& unit = QString());
  void DefaultFontName(const QString& family);
  void DefaultFontSize(double points);

  void BeginElement(const QString& kind);
  // Null: cDEF_FONT_NAME. A new font of that family at the current size;
  // bold, italic, underline and stretch back to normal.
  void FontName(const QString& family = QString());
  // Absent: nDEF_FONT_SIZE. Whole points.
  void FontSize(std::optional<double> points = std::nullopt);
  void FontBold(bool on);
  void FontItalic(bool on);
  void FontUnderline(bool on);
  // A Qt brush style filling a text region behind its text; 0 fills nothing.
  void BrushStyle(int style);
  void Text(const QString& text);
  // cTEXT := text, drawn as written even when it holds "</" (data, never
  // markup). Text or BeginElement ends that.
  void PlainText(const QString& text);
  // Measures, breaks the page when needed, draws and books the element.
  void EndElement();
  // The height the element under construction needs (its text, or its image
  // scaled to x2 - x1, and at least y2 - y1 for a region), measured as
  // EndElement would, without drawing, breaking or booking anything; 0 for a
  // line, an unknown kind, or before the surface is open.
  double MeasureElement();

  // Ends the output; false when it was not written (then or at the start).
  // A second call does nothing and answers as the first.
  bool Print();
  // Print, then opens the trimmed cFILENAME with the desktop's handler;
  // false, and nothing opened, when the output was not written.
  bool View();

  // mode: "A" absolute, "R" relative, null for the default of the value's
  // kind (relative for a number, absolute for a text), any other text as
  // "not the default".
  void NewRow(const QVariant& value = QVariant(), const QString& mode = QString());
  void SameRow(const QVariant& value = QVariant());
  double X1(const QVariant& value = QVariant());
  double X2(const QVariant& value = QVariant());
  double Y1(const QVariant& value = QVariant(), const QString& mode = QString());
  double Y2(const QVariant& value = QVariant(), const QString& mode = QString());
  void PenWidth(double width);
  void Align(const QString& align);
  void ImageFile(const QString& fileName);
  void NewPage();
  void Header(Action action);
  void SetStretch(int stretch);
  // 100 for a font whose stretch was never set.
  int GetStretch() const;
  // Runs the header action without drawing; nVISINA_HEAD := the row advance
  // it made. The cursor, the element and the font are put back.
  void ODREDI_VISINU_HEADERA();

  // True once the output could not be started or completed.
  bool failed() const { return failed_; }

  // Members callers read and write.
  QString cTIP;
  double nPAGE_H = 0;
  double nPAGE_W = 0;
  QFont oFONT;
  QString cFILENAME;
  QString cTEXT;
  std::optional<int> qBRUSH_STYLE;
  double nX = 0;
  double nY = 0;
  double nTEXT_W = 0;
  double nTEXT_H = 0;
  double nPRETH_TEXT_H = 0;
  double nPRETH_TEXT_W = 0;
  std::optional<double> nX1, nY1, nX2, nY2;
  std::optional<double> nPEN_WIDTH;
  QString cALIGN;
  QString cIMAGE_FN;
  QString cDEF_FONT_NAME = QStringLiteral("Courier New");
  double nDEF_FONT_SIZE = 12;
  bool lSKOCIO_NA_NOVU_STRANU = false;
  bool lDRAW = true;
  Action bHEAD;
  double nVISINA_HEAD = 0;
  Action bSTA_KADA_SKOCI;

 private:
  struct Element;
  struct Measured;

  void readPageSize();
  void takeFont();
  bool open();
  void pageBreak(bool region);
  void runBreakAction();
  double xValue(const QVariant& value, std::optional<double>& x);
  double yValue(const QVariant& value, const QString& mode, std::optional<double>& y);
  bool rich() const;
  QString html() const;
  struct Kept;
  Measured measure(int w, int h, int flags, bool keepIt);
  Measured measureText(bool keepIt);
  Measured measureRegion(bool keepIt);
  double imageHeight(const QImage& image) const;
  void endText();
  void endTextRegion();
  void endLine();
  void endImage();
  void endImageRegion();
  Element keep() const;
  void putBack(const Element& e, bool cursor);
  bool painting() const;

  std::unique_ptr<PageSurface> surface_;
  bool plain_ = false;
  bool opened_ = false;
  bool failed_ = false;
  bool ended_ = false;
  bool result_ = false;
  bool inAction_ = false;
  QFont given_;  // the font the surface has
  bool fontGiven_ = false;
  std::vector<Kept> kept_;
};

}  // namespace korvan::print
