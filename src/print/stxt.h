#pragma once
// STXT, the page painter: lays out printed pages one element at a time on a
// page surface (a QPrinter by default) and ends in a PDF file or a print job.
//
// Order of use: construct; page settings (FileName, PrinterName, Orientation,
// PaperSize, PageMargins) and the default font; then elements, each
// BeginElement, setters, EndElement, with NewRow / SameRow / NewPage between
// them; last Print or View, once. Positions are device units of the page
// rectangle (origin at its top-left corner). Calls outside that order (a font
// method before the first element, a second Print, a line missing a
// coordinate) do nothing.
//
// Failure: when the surface cannot begin (output folder missing, file not
// writable) nothing is drawn and Print / View answer false; so they do when
// the output cannot be completed. View opens nothing then, and an older file
// of the same name stays as it was.
//
// Not thread-safe: GUI thread only. The object owns its surface.
#include <QFont>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

#include "print/surface.h"

namespace korvan::print {

class STXT {
 public:
  using Action = std::function<void()>;

  // With a file name, does what FileName does. surface: null for the Qt one.
  explicit STXT(const QString& fileName = QString(), std::unique_ptr<PageSurface> surface = nullptr);
  ~STXT();
  STXT(const STXT&) = delete;
  STXT& operator=(const STXT&) = delete;

  // cFILENAME := the free output name SLOBODAN_FN makes of it.
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

  // Kinds: "TEXT", "TEXT_REGION", "LINE", "IMAGE", "IMAGE_REGION"; any other
  // makes EndElement do nothing. The first call opens the surface.
  void BeginElement(const QString& kind);
  void FontName(const QString& family = QString());
  void FontSize(std::optional<double> points = std::nullopt);
  void FontBold(bool on);
  void FontItalic(bool on);
  void FontUnderline(bool on);
  void BrushStyle(int style);
  void Text(const QString& text);
  // Measures, breaks the page when needed, draws and books the element.
  void EndElement();
  // The height the current text region or image region would take, without
  // drawing, breaking the page or booking anything; 0 for other kinds.
  double MeasureElement();

  // Ends the output; false when the output was not written.
  bool Print();
  // Print, then opens the trimmed cFILENAME through SHELLEXECUTE; false (and
  // nothing opened) when the output was not written.
  bool View();

  // Value: a number, a measure text, or null (absent); mode: "A" / "R" or
  // empty for the default of the value's kind.
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
  int GetStretch() const;
  // Runs the header action without drawing; nVISINA_HEAD := the row advance
  // it made. Every other kept value is put back.
  void ODREDI_VISINU_HEADERA();

  // True once the output could not be started or completed.
  bool failed() const { return failed_; }
  PageSurface& surface() { return *surface_; }

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
  void readPageSize();
  void takeFont();
  void pageBreak(bool region);
  double xValue(const QVariant& value, std::optional<double>& x);
  double yValue(const QVariant& value, const QString& mode, std::optional<double>& y);
  void endText();
  void endTextRegion();
  void endLine();
  void endImage(bool region);
  bool painting() const { return opened_ && !failed_ && !ended_; }

  std::unique_ptr<PageSurface> surface_;
  bool opened_ = false;
  bool failed_ = false;
  bool ended_ = false;
};

}  // namespace korvan::print
