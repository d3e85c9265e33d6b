#include "print/qtsurface.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QTextDocument>
#include <QTextOption>

#include <cstdio>

namespace korvan::print {
namespace {

// A PDF ends in "%%EOF" (and a line end); a file cut short by a full disk
// does not.
bool completePdf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly) || f.size() < 16) return false;
  if (f.read(5) != "%PDF-") return false;
  f.seek(f.size() - 8);
  return f.read(8).contains("%%EOF");
}

// One document set-up for measuring and drawing, so both see the same lines.
void setUpDocument(QTextDocument& doc, QPaintDevice* device, const QFont& font, int width,
                   int flags, const QString& html) {
  doc.documentLayout()->setPaintDevice(device);
  doc.setDefaultFont(font);
  QTextOption option(Qt::Alignment(flags) & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask));
  option.setWrapMode((flags & Qt::TextWordWrap) ? QTextOption::WordWrap : QTextOption::NoWrap);
  doc.setDefaultTextOption(option);
  doc.setDocumentMargin(0);
  doc.setTextWidth(width);
  doc.setHtml(html);
}

}  // namespace

QtSurface::QtSurface() : printer_(QPrinter::ScreenResolution) {
  printer_.setResolution(96);
  printer_.setPageSize(QPageSize(QPageSize::A4));
}

QtSurface::~QtSurface() {
  if (painter_.isActive()) painter_.end();
  dropPart();
}

void QtSurface::dropPart() {
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

void QtSurface::setPrinterName(const QString& name) {
  printer_.setPrinterName(name);
  // A real printer takes the job; no PDF is renamed into place then.
  if (printer_.outputFormat() != QPrinter::PdfFormat) {
    finalPath_.clear();
    partPath_.clear();
  }
}

void QtSurface::setLandscape(bool landscape) {
  printer_.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void QtSurface::setA4() { printer_.setPageSize(QPageSize(QPageSize::A4)); }

void QtSurface::setMargins(const QMarginsF& margins, bool millimetres) {
  printer_.setPageMargins(margins, millimetres ? QPageLayout::Millimeter : QPageLayout::Point);
}

QSizeF QtSurface::pageSize() { return printer_.pageRect(QPrinter::DevicePixel).size(); }

bool QtSurface::begin() {
  if (painter_.isActive()) return true;
  // The rename would replace a read-only file; that file is not ours to replace.
  const QFileInfo existing(finalPath_);
  if (!finalPath_.isEmpty() && existing.exists() && (!existing.isFile() || !existing.isWritable()))
    return false;
  if (!painter_.begin(&printer_)) {
    dropPart();
    return false;
  }
  return true;
}

bool QtSurface::end() {
  if (!painter_.isActive()) return false;
  const bool ended = painter_.end();
  if (partPath_.isEmpty()) return ended;
  // rename() replaces the older file in one step.
  const bool ok = ended && completePdf(partPath_) &&
                  std::rename(QFile::encodeName(partPath_).constData(),
                              QFile::encodeName(finalPath_).constData()) == 0;
  if (!ok) dropPart();
  return ok;
}

void QtSurface::setFont(const QFont& font) {
  if (painter_.isActive()) painter_.setFont(font);
}

QSize QtSurface::measureText(const QRect& box, int flags, const QString& text) {
  if (!painter_.isActive()) return {};
  // Qt measures an empty text as 0 x 0; it stands for one line of the font.
  if (text.isEmpty())
    return QSize(0, painter_.boundingRect(box, flags, QStringLiteral(" ")).height());
  return painter_.boundingRect(box, flags, text).size();
}

QSize QtSurface::measureRich(int width, int flags, const QString& html) {
  if (!painter_.isActive()) return {};
  QTextDocument doc;
  setUpDocument(doc, &printer_, painter_.font(), width, flags, html);
  return QSize(int(doc.idealWidth()), int(doc.size().height()));
}

void QtSurface::drawText(const QRect& rect, int flags, const QString& text) {
  if (painter_.isActive()) painter_.drawText(rect, flags, text);
}

void QtSurface::drawRich(const QRect& rect, int flags, const QString& html) {
  if (!painter_.isActive()) return;
  QTextDocument doc;
  setUpDocument(doc, &printer_, painter_.font(), rect.width(), flags, html);
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
