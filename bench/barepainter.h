#pragma once
// The bare-painter baseline of the layout benchmarks: the Qt surface noting
// what it draws, and the same texts and lines drawn again straight with
// QPdfWriter + QPainter, without measuring.
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <memory>
#include <vector>

#include "print/qtsurface.h"

namespace korvan::print::bench {

struct Drawn {
  enum Kind { Text, Line, Page } kind;
  QRect rect;
  int flags = 0;
  QString text;
  QPoint from, to;
  int pen = 0;
  QFont font;
};

// The Qt surface, noting what it draws, so the bare run can draw the same.
class NotingSurface : public QtSurface {
 public:
  explicit NotingSurface(std::vector<Drawn>* out) : out_(out) {}
  void setFont(const QFont& f) override {
    font_ = f;
    QtSurface::setFont(f);
  }
  void drawText(const QRect& r, int flags, const QString& t) override {
    out_->push_back({.kind = Drawn::Text, .rect = r, .flags = flags, .text = t, .font = font_});
    QtSurface::drawText(r, flags, t);
  }
  void drawLine(const QPoint& a, const QPoint& b, int pen) override {
    out_->push_back({.kind = Drawn::Line, .from = a, .to = b, .pen = pen});
    QtSurface::drawLine(a, b, pen);
  }
  void newPage() override {
    out_->push_back({.kind = Drawn::Page});
    QtSurface::newPage();
  }

 private:
  std::vector<Drawn>* out_;
  QFont font_;
};

class NotingFactory : public SurfaceFactory {
 public:
  std::unique_ptr<PageSurface> makeSurface() override {
    return std::make_unique<NotingSurface>(&drawn);
  }
  std::vector<Drawn> drawn;
};

inline bool bare(const QString& pdf, const std::vector<Drawn>& drawn) {
  QPdfWriter writer(pdf);
  writer.setResolution(96);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
  QPainter p;
  if (!p.begin(&writer)) return false;
  for (const Drawn& d : drawn) {
    switch (d.kind) {
      case Drawn::Text:
        p.setFont(d.font);
        p.drawText(d.rect, d.flags, d.text);
        break;
      case Drawn::Line:
        p.setPen(QPen(Qt::black, d.pen));
        p.drawLine(d.from, d.to);
        break;
      case Drawn::Page:
        writer.newPage();
        break;
    }
  }
  return p.end();
}

}  // namespace korvan::print::bench
