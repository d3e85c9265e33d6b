#include "print/qtsurface.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QTextDocument>
#include <QTextOption>

#include <cstdio>

namespace korvan::print {

QtSurface::QtSurface() : printer_(QPrinter::ScreenResolution) {
  printer_.setResolution(96);
  printer_.setPageSize(QPageSize(QPageSize::A4));
}

QtSurface::~QtSurface() {
  if (painter_.isActive()) painter_.end();
  if (!partPath_.isEmpty()) QFile::remove(partPath_);
}

void QtSurface::setOutputFile(const QString& path) {
  if (path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
    const QFileInfo fi(path);
    finalPath_ = path;
    partPath_ = fi.dir().filePath(QLatin1Char('.') + fi.fileName() + QLatin1String(".part"));
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(partPath_);
  } else {
    finalPath_.clear();
    partPath_.clear();
    printer_.setOutputFileName(path);
  }
}

void QtSurface::setPrinterName(const QString& name) { printer_.setPrinterName(name); }

void QtSurface::setLandscape(bool landscape) {
  printer_.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void QtSurface::setA4() { printer_.setPageSize(QPageSize(QPageSize::A4)); }

void QtSurface::setMargins(const QMarginsF& margins, bool millimetres) {
  printer_.setPageMargins(margins, millimetres ? QPageLayout::Millimeter : QPageLayout::Point);
}

QSize QtSurface::pageSize() {
  const QRectF r = printer_.pageRect(QPrinter::DevicePixel);
  return QSize(int(r.width()), int(r.height()));
}

bool QtSurface::begin() {
  if (!painter_.begin(&printer_)) {
    if (!partPath_.isEmpty()) QFile::remove(partPath_);
    return false;
  }
  return true;
}

bool QtSurface::end() {
  if (!painter_.isActive()) return false;
  if (!painter_.end()) {
    if (!partPath_.isEmpty()) QFile::remove(partPath_);
    return false;
  }
  if (partPath_.isEmpty()) return true;
  // rename() replaces the older file in one step.
  const bool ok = std::rename(QFile::encodeName(partPath_).constData(),
                              QFile::encodeName(finalPath_).constData()) == 0;
  if (!ok) QFile::remove(partPath_);
  return ok;
}

void QtSurface::setFont(const QFont& font) {
  if (painter_.isActive()) painter_.setFont(font);
}

QSize QtSurface::measureText(const QRect& box, int flags, const QString& text) {
  if (!painter_.isActive()) return {};
  if (text.isEmpty()) return QSize(0, QFontMetrics(painter_.font(), &printer_).height());
  return painter_.boundingRect(box, flags, text).size();
}

namespace {

// One document for measuring and drawing, so both see the same lines.
void setUpDocument(QTextDocument& doc, const QFont& font, int width, int flags,
                   const QString& html) {
  doc.setDefaultFont(font);
  QTextOption option;
  option.setAlignment(Qt::Alignment(flags & 0xff));
  if (flags & Qt::TextWordWrap) option.setWrapMode(QTextOption::WordWrap);
  doc.setDefaultTextOption(option);
  doc.setDocumentMargin(0);
  doc.setTextWidth(width);
  doc.setHtml(html);
}

}  // namespace

QSize QtSurface::measureRich(int width, int flags, const QString& html) {
  if (!painter_.isActive()) return {};
  QTextDocument doc;
  doc.documentLayout()->setPaintDevice(&printer_);
  setUpDocument(doc, painter_.font(), width, flags, html);
  const QSizeF s = doc.size();
  return QSize(int(doc.idealWidth()), int(s.height()));
}

void QtSurface::drawText(const QRect& rect, int flags, const QString& text) {
  if (painter_.isActive()) painter_.drawText(rect, flags, text);
}

void QtSurface::drawRich(const QRect& rect, int flags, const QString& html) {
  if (!painter_.isActive()) return;
  QTextDocument doc;
  doc.documentLayout()->setPaintDevice(&printer_);
  setUpDocument(doc, painter_.font(), rect.width(), flags, html);
  painter_.save();
  painter_.translate(rect.topLeft());
  doc.drawContents(&painter_);
  painter_.restore();
}

void QtSurface::fill(const QRect& rect, int brushStyle) {
  if (!painter_.isActive()) return;
  const QPen pen = painter_.pen();
  painter_.setPen(Qt::NoPen);
  painter_.fillRect(rect, Qt::BrushStyle(brushStyle));
  painter_.setPen(pen);
}

void QtSurface::drawLine(const QPoint& from, const QPoint& to, int penWidth) {
  if (!painter_.isActive()) return;
  const QPen pen = painter_.pen();
  painter_.setPen(QPen(Qt::black, penWidth, Qt::SolidLine));
  painter_.drawLine(from, to);
  painter_.setPen(pen);
}

void QtSurface::drawImage(const QRect& target, const QImage& image) {
  if (painter_.isActive()) painter_.drawImage(target, image);
}

void QtSurface::newPage() {
  if (painter_.isActive()) printer_.newPage();
}

}  // namespace korvan::print
