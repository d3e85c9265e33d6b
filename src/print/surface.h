#pragma once
// What the page painter draws on: the printer's page set-up, measuring and the
// drawing primitives, in device units of the page rectangle (origin at its
// top-left corner). Coordinates arrive already cut to whole units.
//
// Every new page painter takes its surface from the factory in force:
// QtSurface (qtsurface.h, on a QPrinter) unless a test installed a recording
// one (tests/support/print/recordingsurface.h).
#include <QFont>
#include <QImage>
#include <QMarginsF>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <memory>

namespace korvan::print {

// Qt text flags: word wrap plus include trailing spaces.
constexpr int kBaseTextFlags = 134221824;

class PageSurface {
 public:
  virtual ~PageSurface() = default;

  // Page set-up; only before begin(). setOutputFile with a name ending in
  // ".pdf" makes PDF output.
  virtual void setOutputFile(const QString& path) = 0;
  virtual void setPrinterName(const QString& name) = 0;
  virtual void setLandscape(bool landscape) = 0;
  virtual void setA4() = 0;
  virtual void setMargins(const QMarginsF& margins, bool millimetres) = 0;
  // Width and height of the page rectangle (the printable area inside the
  // margins) in device units, as the printer states them.
  virtual QSizeF pageSize() = 0;

  // Opens painting; false when the output cannot be started (nothing is
  // drawn then).
  virtual bool begin() = 0;
  // Ends painting; false when the output could not be completed.
  virtual bool end() = 0;

  virtual void setFont(const QFont& font) = 0;
  // The text's bounding box laid out with the flags in box; an empty text is
  // one line of the current font high.
  virtual QSize measureText(const QRect& box, int flags, const QString& text) = 0;
  // The size of the rich text (HTML) laid out at the given width, from the
  // same document that drawRich draws.
  virtual QSize measureRich(int width, int flags, const QString& html) = 0;
  virtual void drawText(const QRect& rect, int flags, const QString& text) = 0;
  // Rich text laid out at rect's width, drawn from rect's top-left corner.
  virtual void drawRich(const QRect& rect, int flags, const QString& html) = 0;
  // Fills rect with a Qt brush pattern, without an outline.
  virtual void fill(const QRect& rect, int brushStyle) = 0;
  // A solid black line of the whole pen width (0: the thinnest line).
  virtual void drawLine(const QPoint& from, const QPoint& to, int penWidth) = 0;
  virtual void drawImage(const QRect& target, const QImage& image) = 0;
  virtual void newPage() = 0;
};

class SurfaceFactory {
 public:
  virtual ~SurfaceFactory() = default;
  virtual std::unique_ptr<PageSurface> makeSurface() = 0;
};

// The factory in force (the Qt one unless a test installed another).
SurfaceFactory& surfaceFactory();
// Installs f (not owned); nullptr puts the Qt factory back.
void setSurfaceFactory(SurfaceFactory* f);

}  // namespace korvan::print
