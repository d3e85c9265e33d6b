#include "support/print/recordingsurface.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace korvan::print {
namespace {

int lineHeight(const QFont& f) { return f.pointSize() + 2; }
double charWidth(const QFont& f) { return f.pointSize() / 2.0; }

QSize model(const QFont& font, int width, bool wrap, const QString& text) {
  const double cw = charWidth(font);
  int lines = 0;
  double widest = 0;
  for (const QString& para : text.split(QLatin1Char('\n'))) {
    double line = 0;
    ++lines;
    for (const QString& word : para.split(QLatin1Char(' '))) {
      const double w = word.size() * cw;
      const double withGap = line > 0 ? line + cw + w : w;
      if (wrap && line > 0 && withGap > width) {
        widest = std::max(widest, line);
        ++lines;
        line = w;
      } else {
        line = withGap;
      }
    }
    widest = std::max(widest, line);
  }
  return QSize(int(std::ceil(widest)), lines * lineHeight(font));
}

}  // namespace

bool RecordingSurface::begin() {
  ++begins;
  return beginAnswer;
}

bool RecordingSurface::end() {
  ++ends;
  return endAnswer;
}

QSize RecordingSurface::measureText(const QRect& box, int flags, const QString& text) {
  ++measures;
  if (sizes.contains(text)) return sizes.value(text);
  if (text.isEmpty()) return QSize(0, lineHeight(font));
  return model(font, box.width(), flags & Qt::TextWordWrap, text);
}

QSize RecordingSurface::measureRich(int width, int flags, const QString& html) {
  ++measures;
  if (sizes.contains(html)) return sizes.value(html);
  QString plain = html;
  plain.replace(QRegularExpression(QStringLiteral("<br\\s*/?>")), QStringLiteral("\n"));
  plain.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
  return model(font, width, flags & Qt::TextWordWrap, plain);
}

void RecordingSurface::record(SurfaceOp op) {
  op.page = currentPage;
  op.font = font;
  ops.append(op);
}

void RecordingSurface::drawText(const QRect& rect, int flags, const QString& text) {
  record({.kind = SurfaceOp::Text, .rect = rect, .flags = flags, .text = text});
}

void RecordingSurface::drawRich(const QRect& rect, int flags, const QString& html) {
  record({.kind = SurfaceOp::Rich, .rect = rect, .flags = flags, .text = html});
}

void RecordingSurface::fill(const QRect& rect, int brushStyle) {
  record({.kind = SurfaceOp::Fill, .rect = rect, .brush = brushStyle});
}

void RecordingSurface::drawLine(const QPoint& from, const QPoint& to, int penWidth) {
  record({.kind = SurfaceOp::Line, .from = from, .to = to, .pen = penWidth});
}

void RecordingSurface::drawImage(const QRect& target, const QImage&) {
  record({.kind = SurfaceOp::Image, .rect = target});
}

void RecordingSurface::newPage() {
  ++currentPage;
  record({.kind = SurfaceOp::NewPage});
}

QList<SurfaceOp> RecordingSurface::of(SurfaceOp::Kind kind) const {
  QList<SurfaceOp> out;
  for (const SurfaceOp& op : ops)
    if (op.kind == kind) out.append(op);
  return out;
}

RecordingSurfaces::RecordingSurfaces(QSizeF page) : page(page), previous_(&surfaceFactory()) {
  setSurfaceFactory(this);
}

RecordingSurfaces::~RecordingSurfaces() { setSurfaceFactory(previous_); }

std::unique_ptr<PageSurface> RecordingSurfaces::makeSurface() {
  auto s = std::make_unique<RecordingSurface>(page);
  made.append(s.get());
  return s;
}

}  // namespace korvan::print
