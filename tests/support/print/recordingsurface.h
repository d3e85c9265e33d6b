#pragma once
// A page surface that records what the painter draws instead of drawing it,
// with a simple measuring model, and the factory that hands it to every page
// painter made while it lives.
//
// Measuring: a character is half the point size wide, a line is the point size
// + 2 high; with word wrap, words go onto the next line when the box is too
// narrow (a single word wider than the box stays whole). `sizes` fixes the
// measured size of given texts. An empty text is one line high.
#include <QHash>
#include <QList>
#include <QMarginsF>

#include "print/surface.h"

namespace korvan::print {

struct SurfaceOp {
  enum Kind { Text, Rich, Fill, Line, Image, NewPage };
  Kind kind = Text;
  int page = 0;      // 0 for the first page
  QRect rect;        // text, rich text, fill, image
  QPoint from, to;   // line
  int flags = 0;     // text flags
  int pen = 0;       // line width
  int brush = 0;     // fill style
  QString text;      // text, or the HTML of rich text
  QFont font;        // the font in force
};

class RecordingSurface : public PageSurface {
 public:
  explicit RecordingSurface(QSizeF page) : page(page) {}

  void setOutputFile(const QString& path) override { outputFile = path; }
  void setPrinterName(const QString& name) override { printerName = name; }
  void setLandscape(bool on) override { landscape = on; }
  void setA4() override { ++a4; }
  void setMargins(const QMarginsF& m, bool mm) override {
    margins = m;
    millimetres = mm;
  }
  QSizeF pageSize() override { return page; }
  bool begin() override;
  bool end() override;
  void setFont(const QFont& f) override { font = f; }
  QSize measureText(const QRect& box, int flags, const QString& text) override;
  QSize measureRich(int width, int flags, const QString& html) override;
  void drawText(const QRect& rect, int flags, const QString& text) override;
  void drawRich(const QRect& rect, int flags, const QString& html) override;
  void fill(const QRect& rect, int brushStyle) override;
  void drawLine(const QPoint& from, const QPoint& to, int penWidth) override;
  void drawImage(const QRect& target, const QImage& image) override;
  void newPage() override;

  QList<SurfaceOp> of(SurfaceOp::Kind kind) const;

  QSizeF page;
  bool beginAnswer = true;
  bool endAnswer = true;
  QHash<QString, QSize> sizes;

  QString outputFile, printerName;
  bool landscape = false;
  int a4 = 0;
  QMarginsF margins;
  bool millimetres = false;
  QFont font;
  int begins = 0, ends = 0, measures = 0;
  int currentPage = 0;
  QList<SurfaceOp> ops;

 private:
  void record(SurfaceOp op);
};

// Installs itself for its lifetime and puts the factory before it back at the
// end, so they nest; every page painter made meanwhile draws on a new
// RecordingSurface of the given page size.
class RecordingSurfaces : public SurfaceFactory {
 public:
  explicit RecordingSurfaces(QSizeF page = QSizeF(550, 710));
  ~RecordingSurfaces() override;
  std::unique_ptr<PageSurface> makeSurface() override;
  // The surface made last (owned by its painter, valid while it lives).
  RecordingSurface& last() { return *made.back(); }

  QSizeF page;
  QList<RecordingSurface*> made;

 private:
  SurfaceFactory* previous_;
};

}  // namespace korvan::print
