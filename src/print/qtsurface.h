#pragma once
// The page surface on a QPrinter in screen-resolution mode at 96 dpi, so a
// layout never depends on the display; A4 unless told otherwise.
//
// A PDF is written beside its final name (".<name>.part" in the same folder)
// and renamed into place by end(), so a viewer holding the older file never
// sees a torn or half-written one. begin() answers false when the output
// cannot be started (folder missing or not writable, an existing file that is
// read-only); end() answers false when the file could not be completed or
// renamed. In both cases the older file stays as it was and no part file is
// left behind.
#include <QPainter>
#include <QPrinter>

#include "print/surface.h"

namespace korvan::print {

class QtSurface : public PageSurface {
 public:
  QtSurface();
  ~QtSurface() override;

  void setOutputFile(const QString& path) override;
  void setPrinterName(const QString& name) override;
  void setLandscape(bool landscape) override;
  void setA4() override;
  void setMargins(const QMarginsF& margins, bool millimetres) override;
  QSizeF pageSize() override;
  bool begin() override;
  bool end() override;
  void setFont(const QFont& font) override;
  QSize measureText(const QRect& box, int flags, const QString& text) override;
  QSize measureRich(int width, int flags, const QString& html) override;
  void drawText(const QRect& rect, int flags, const QString& text) override;
  void drawRich(const QRect& rect, int flags, const QString& html) override;
  void fill(const QRect& rect, int brushStyle) override;
  void drawLine(const QPoint& from, const QPoint& to, int penWidth) override;
  void drawImage(const QRect& target, const QImage& image) override;
  void newPage() override;

 private:
  void dropPart();

  QPrinter printer_;
  QPainter painter_;
  QString finalPath_;  // the PDF's own name; the printer writes partPath_
  QString partPath_;
};

}  // namespace korvan::print
