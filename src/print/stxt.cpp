#include "print/stxt.h"

#include <QFileInfo>
#include <QImage>

#include <algorithm>

#include "common/files.h"
#include "common/numbers.h"
#include "platform/shell.h"
#include "print/measure.h"

namespace korvan::print {
namespace {

const QString kText = QStringLiteral("TEXT");
const QString kTextRegion = QStringLiteral("TEXT_REGION");
const QString kLine = QStringLiteral("LINE");
const QString kImage = QStringLiteral("IMAGE");
const QString kImageRegion = QStringLiteral("IMAGE_REGION");

int regionFlags(const QString& align) {
  int flags = kBaseTextFlags;
  if (align == QLatin1String("L")) flags |= Qt::AlignLeft;
  else if (align == QLatin1String("R")) flags |= Qt::AlignRight;
  else if (align == QLatin1String("C")) flags |= Qt::AlignHCenter;
  return flags | Qt::AlignVCenter;
}

// Whole device units, fractions dropped.
int cut(double v) { return int(v); }

}  // namespace

// The element under construction and the font, as kept around an action that
// draws through this same object.
struct STXT::Element {
  QString tip, text, align, image;
  bool plain = false;
  std::optional<int> brush;
  std::optional<double> x1, y1, x2, y2, pen;
  QFont font;
  double textW = 0, textH = 0;
  double x = 0, y = 0, rowH = 0, rowW = 0;
};

struct STXT::Measured {
  double w = 0;
  double h = 0;
};

// MeasureElement keeps what it measured, so that EndElement of the same
// element (same text, font, flags and box) takes it instead of measuring again.
struct STXT::Kept {
  bool rich;
  int flags, w, h;
  QString text;
  QFont font;
  QSize size;
};

STXT::STXT(const QString& fileName) : surface_(surfaceFactory().makeSurface()) {
  if (!fileName.isEmpty()) FileName(fileName);
  readPageSize();
}

STXT::~STXT() = default;

void STXT::readPageSize() {
  const QSizeF s = surface_->pageSize();
  nPAGE_W = s.width();
  nPAGE_H = s.height();
}

void STXT::takeFont() {
  if (!painting() || (fontGiven_ && given_ == oFONT)) return;
  surface_->setFont(oFONT);
  given_ = oFONT;
  fontGiven_ = true;
}

bool STXT::painting() const { return opened_ && !failed_ && !ended_; }

// The printer takes page settings only before painting starts.
void STXT::FileName(const QString& fileName) {
  if (opened_) return;
  cFILENAME = SLOBODAN_FN(fileName);
  surface_->setOutputFile(cFILENAME);
}

void STXT::PrinterName(const QString& name) {
  if (opened_) return;
  surface_->setPrinterName(name);
  readPageSize();
}

void STXT::Orientation(const QString& orientation) {
  if (opened_) return;
  if (orientation == QLatin1String("P")) surface_->setLandscape(false);
  else if (orientation == QLatin1String("L")) surface_->setLandscape(true);
  readPageSize();
}

void STXT::PaperSize(const QString& paper) {
  if (opened_) return;
  if (paper == QLatin1String("A4")) surface_->setA4();
  readPageSize();
}

void STXT::PageMargins(double left, double top, double right, double bottom, const QString& unit) {
  if (opened_) return;
  surface_->setMargins(QMarginsF(left, top, right, bottom), unit == QLatin1String("mm"));
  readPageSize();
}

void STXT::DefaultFontName(const QString& family) { cDEF_FONT_NAME = family; }
void STXT::DefaultFontSize(double points) { nDEF_FONT_SIZE = points; }

bool STXT::open() {
  opened_ = true;
  readPageSize();
  oFONT = QFont(cDEF_FONT_NAME);
  if (cut(nDEF_FONT_SIZE) > 0) oFONT.setPointSize(cut(nDEF_FONT_SIZE));
  oFONT.setWeight(QFont::Normal);
  oFONT.setItalic(false);
  if (!surface_->begin()) {
    failed_ = true;
    return false;
  }
  readPageSize();
  takeFont();
  nX = nY = 0;
  nPRETH_TEXT_H = nPRETH_TEXT_W = 0;
  return true;
}

void STXT::BeginElement(const QString& kind) {
  cTIP = kind;
  if (!opened_) open();
  if (kind == kLine) nPEN_WIDTH = 1;
  if (kind == kTextRegion) cALIGN = QStringLiteral("L");
  qBRUSH_STYLE.reset();
  plain_ = false;
}

void STXT::FontName(const QString& family) {
  if (!painting()) return;
  const int size = oFONT.pointSize();
  oFONT = QFont(family.isEmpty() ? cDEF_FONT_NAME : family);
  if (size > 0) oFONT.setPointSize(size);
  takeFont();
}

void STXT::FontSize(std::optional<double> points) {
  if (!painting()) return;
  const int size = cut(points.value_or(nDEF_FONT_SIZE));
  if (size > 0) oFONT.setPointSize(size);
  takeFont();
}

void STXT::FontBold(bool on) {
  if (!painting()) return;
  oFONT.setBold(on);
  takeFont();
}

void STXT::FontItalic(bool on) {
  if (!painting()) return;
  oFONT.setItalic(on);
  takeFont();
}

void STXT::FontUnderline(bool on) {
  if (!painting()) return;
  oFONT.setUnderline(on);
  takeFont();
}

void STXT::SetStretch(int stretch) {
  if (!painting()) return;
  oFONT.setStretch(stretch);
  takeFont();
}

int STXT::GetStretch() const {
  const int s = oFONT.stretch();
  return s == QFont::AnyStretch ? 100 : s;
}

void STXT::BrushStyle(int style) { qBRUSH_STYLE = style; }

void STXT::Text(const QString& text) {
  cTEXT = text;
  plain_ = false;
}

void STXT::PlainText(const QString& text) {
  cTEXT = text;
  plain_ = true;
}

void STXT::PenWidth(double width) { nPEN_WIDTH = width; }
void STXT::Align(const QString& align) { cALIGN = align; }
void STXT::ImageFile(const QString& fileName) { cIMAGE_FN = fileName; }
void STXT::Header(Action action) { bHEAD = std::move(action); }

bool STXT::rich() const { return !plain_ && cTEXT.contains(QLatin1String("</")); }

QString STXT::html() const {
  QString h = cTEXT;
  h.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
  return h;
}

STXT::Measured STXT::measure(int w, int h, int flags, bool keepIt) {
  const bool r = rich();
  for (auto it = kept_.begin(); it != kept_.end(); ++it) {
    if (it->rich == r && it->flags == flags && it->w == w && it->h == h && it->text == cTEXT &&
        it->font == oFONT) {
      const QSize s = it->size;
      if (!keepIt) kept_.erase(it);
      return {double(s.width()), double(s.height())};
    }
  }
  const QSize s = r ? surface_->measureRich(w, flags, html())
                    : surface_->measureText(QRect(0, 0, w, h), flags, cTEXT);
  if (keepIt) {
    if (kept_.size() >= 64) kept_.clear();
    kept_.push_back({r, flags, w, h, cTEXT, oFONT, s});
  }
  return {double(s.width()), double(s.height())};
}

STXT::Measured STXT::measureText(bool keepIt) {
  return measure(cut(nPAGE_W), cut(nPAGE_H), kBaseTextFlags, keepIt);
}

// Needs all four corners.
STXT::Measured STXT::measureRegion(bool keepIt) {
  const double w = *nX1 == *nX2 ? nPAGE_W : std::max(0.0, *nX2 - *nX1);
  const double h = *nY1 == *nY2 ? nPAGE_H : std::max(0.0, *nY2 - *nY1);
  return measure(cut(w), cut(h), regionFlags(cALIGN), keepIt);
}

// The image scaled to the region's width keeps its proportions; an image that
// does not load, or a region without width, has no height.
double STXT::imageHeight(const QImage& image) const {
  const double w = *nX2 - *nX1;
  if (image.isNull() || image.width() <= 0 || w <= 0) return 0;
  return w * image.height() / image.width();
}

double STXT::MeasureElement() {
  if (!painting()) return 0;
  const bool corners = nX1 && nX2 && nY1 && nY2;
  if (cTIP == kText) return measureText(true).h;
  if (cTIP == kTextRegion && corners) return std::max(*nY2 - *nY1, measureRegion(true).h);
  if (cTIP == kImageRegion && corners)
    return std::max(*nY2 - *nY1, imageHeight(QImage(cIMAGE_FN)));
  if (cTIP == kImage) return QImage(cIMAGE_FN).height();
  return 0;
}

void STXT::EndElement() {
  if (!painting()) return;
  if (cTIP == kText) endText();
  else if (cTIP == kTextRegion) endTextRegion();
  else if (cTIP == kLine) endLine();
  else if (cTIP == kImage) endImage();
  else if (cTIP == kImageRegion) endImageRegion();
}

void STXT::endText() {
  const Measured m = measureText(false);
  nTEXT_W = m.w;
  nTEXT_H = m.h;
  if (nY >= nPAGE_H) pageBreak(false);
  double x = nX;
  if (cALIGN == QLatin1String("R")) x = nPAGE_W - nTEXT_W;
  else if (cALIGN == QLatin1String("C")) x = (nPAGE_W - nTEXT_W) / 2;
  const QRect rect(cut(x), cut(nY), cut(nTEXT_W), cut(nTEXT_H));
  if (lDRAW) {
    if (rich()) surface_->drawRich(rect, kBaseTextFlags, html());
    else surface_->drawText(rect, kBaseTextFlags, cTEXT);
  }
  nPRETH_TEXT_H = std::max(nPRETH_TEXT_H, nTEXT_H);
  nPRETH_TEXT_W = nTEXT_W;
}

void STXT::endTextRegion() {
  if (!nX1 || !nX2 || !nY1 || !nY2) return;
  const int flags = regionFlags(cALIGN);
  const Measured m = measureRegion(false);
  nTEXT_W = m.w;
  nTEXT_H = m.h;
  if (*nY2 >= nPAGE_H) pageBreak(true);
  const double x1 = *nX1, x2 = *nX2, y1 = *nY1, y2 = *nY2;
  const QRect rect(cut(x1), cut(y1), cut(std::max(x2 - x1, nTEXT_W)),
                   cut(std::max({nPRETH_TEXT_H, y2 - y1, nTEXT_H})));
  if (lDRAW) {
    if (rich()) {
      surface_->drawRich(rect, flags, html());
    } else {
      if (qBRUSH_STYLE && *qBRUSH_STYLE != 0) surface_->fill(rect, *qBRUSH_STYLE);
      surface_->drawText(rect, flags, cTEXT);
    }
  }
  nPRETH_TEXT_W = x2 - x1;
  nPRETH_TEXT_H = std::max({nPRETH_TEXT_H, y2 - y1, nTEXT_H});
}

void STXT::endLine() {
  if (!nX1 || !nX2 || !nY1 || !nY2 || !lDRAW) return;
  const int pen = std::max(0, cut(nPEN_WIDTH.value_or(1)));
  surface_->drawLine(QPoint(cut(*nX1), cut(*nY1)), QPoint(cut(*nX2), cut(*nY2)), pen);
}

void STXT::endImage() {
  const QImage image(cIMAGE_FN);
  if (image.isNull() || !lDRAW) return;
  surface_->drawImage(QRect(cut(nX), cut(nY), image.width(), image.height()), image);
}

void STXT::endImageRegion() {
  if (!nX1 || !nX2 || !nY1 || !nY2) return;
  const QImage image(cIMAGE_FN);
  const double w = *nX2 - *nX1;
  const double h = imageHeight(image);
  if (lDRAW && h > 0)
    surface_->drawImage(QRect(cut(*nX1), cut(*nY1), cut(w), cut(std::max(*nY2 - *nY1, h))), image);
  nPRETH_TEXT_H = std::max({nPRETH_TEXT_H, *nY2 - *nY1, h});
}

// While nothing is drawn (header measuring) a break only moves the cursor:
// no real page is added and the page-break action does not run.
void STXT::pageBreak(bool region) {
  if (lDRAW) {
    surface_->newPage();
    lSKOCIO_NA_NOVU_STRANU = true;
  }
  nX = nY = 0;
  if (region) {
    *nY2 -= *nY1;
    *nY1 = 0;
  }
  if (!lDRAW) return;
  runBreakAction();
  if (region) {
    const double h = *nY2 - *nY1;
    *nY1 = nY;
    *nY2 = nY + h;
  }
}

// The action draws through this object; the element under construction gets
// its own settings back afterwards. A break inside the action does not run
// it again.
void STXT::runBreakAction() {
  if (!bSTA_KADA_SKOCI || inAction_) return;
  const Element e = keep();
  inAction_ = true;
  const Action action = bSTA_KADA_SKOCI;  // the action may replace itself
  action();
  inAction_ = false;
  putBack(e, false);
}

void STXT::NewPage() {
  if (!painting()) return;
  nX = nY = 0;
  if (lDRAW) {
    surface_->newPage();
    lSKOCIO_NA_NOVU_STRANU = true;
  }
  if (nY1) {
    if (nY2) *nY2 -= *nY1;
    *nY1 = 0;
  }
  if (lDRAW) runBreakAction();
}

STXT::Element STXT::keep() const {
  Element e;
  e.tip = cTIP;
  e.text = cTEXT;
  e.align = cALIGN;
  e.image = cIMAGE_FN;
  e.plain = plain_;
  e.brush = qBRUSH_STYLE;
  e.x1 = nX1;
  e.y1 = nY1;
  e.x2 = nX2;
  e.y2 = nY2;
  e.pen = nPEN_WIDTH;
  e.font = oFONT;
  e.textW = nTEXT_W;
  e.textH = nTEXT_H;
  e.x = nX;
  e.y = nY;
  e.rowH = nPRETH_TEXT_H;
  e.rowW = nPRETH_TEXT_W;
  return e;
}

void STXT::putBack(const Element& e, bool cursor) {
  cTIP = e.tip;
  cTEXT = e.text;
  cALIGN = e.align;
  cIMAGE_FN = e.image;
  plain_ = e.plain;
  qBRUSH_STYLE = e.brush;
  nX1 = e.x1;
  nY1 = e.y1;
  nX2 = e.x2;
  nY2 = e.y2;
  nPEN_WIDTH = e.pen;
  oFONT = e.font;
  nTEXT_W = e.textW;
  nTEXT_H = e.textH;
  if (cursor) {
    nX = e.x;
    nY = e.y;
    nPRETH_TEXT_H = e.rowH;
    nPRETH_TEXT_W = e.rowW;
  }
  takeFont();
}

void STXT::ODREDI_VISINU_HEADERA() {
  if (!bHEAD) return;
  const bool drawing = lDRAW;
  lDRAW = false;
  const Element e = keep();
  bHEAD();
  nVISINA_HEAD = nY - e.y;
  putBack(e, true);
  lDRAW = drawing;
}

bool STXT::Print() {
  if (ended_) return result_;
  if (!opened_) return false;
  ended_ = true;
  result_ = !failed_ && surface_->end();
  if (!result_) failed_ = true;
  return result_;
}

bool STXT::View() {
  const bool ending = opened_ && !ended_;
  const bool ok = Print();
  if (!ending || !ok) return ok;
  const QFileInfo file(cFILENAME.trimmed());
  if (file.isFile()) platform::shell().openDocument(file.absoluteFilePath());
  return ok;
}

// Measures ------------------------------------------------------------------

double STXT::xValue(const QVariant& value, std::optional<double>& x) {
  const Measure m = readMeasure(value);
  switch (m.kind) {
    case MeasureKind::Absent: x = nX; break;
    case MeasureKind::Number: x = nX + m.n; break;
    case MeasureKind::Percent: x = nPAGE_W * m.n / 100; break;
    case MeasureKind::Millimetres: x = MM2PT(m.n); break;
    case MeasureKind::Text: x = m.n; break;
    case MeasureKind::Ignored: break;
  }
  return x.value_or(0);
}

double STXT::yValue(const QVariant& value, const QString& mode, std::optional<double>& y) {
  const Measure m = readMeasure(value);
  const bool absolute = mode.isNull() ? m.kind != MeasureKind::Number : mode == QLatin1String("A");
  const bool relative = mode.isNull() ? m.kind == MeasureKind::Number : mode == QLatin1String("R");
  switch (m.kind) {
    case MeasureKind::Absent: y = absolute ? nY : y.value_or(0) + nY; break;
    case MeasureKind::Number: y = relative ? nY + m.n : m.n; break;
    case MeasureKind::Percent: y = nPAGE_H * m.n / 100; break;
    case MeasureKind::Millimetres: y = absolute ? MM2PT(m.n) : nY + MM2PT(m.n); break;
    case MeasureKind::Text: y = absolute ? m.n : nY + m.n; break;
    case MeasureKind::Ignored: break;
  }
  return y.value_or(0);
}

double STXT::X1(const QVariant& value) { return xValue(value, nX1); }
double STXT::X2(const QVariant& value) { return xValue(value, nX2); }
double STXT::Y1(const QVariant& value, const QString& mode) { return yValue(value, mode, nY1); }
double STXT::Y2(const QVariant& value, const QString& mode) { return yValue(value, mode, nY2); }

void STXT::NewRow(const QVariant& value, const QString& mode) {
  const Measure m = readMeasure(value);
  const bool absolute = mode.isNull() ? m.kind != MeasureKind::Number : mode == QLatin1String("A");
  const bool relative = mode.isNull() ? m.kind == MeasureKind::Number : mode == QLatin1String("R");
  switch (m.kind) {
    case MeasureKind::Absent:
      nY += nPRETH_TEXT_H;
      nPRETH_TEXT_H = 0;
      break;
    case MeasureKind::Number:
      nY = relative ? nY + m.n : m.n;
      break;
    case MeasureKind::Percent:
    case MeasureKind::Millimetres:
    case MeasureKind::Text: {
      const double amount = measureExtent(m, nPAGE_H);
      nY = absolute ? amount : nY + amount;
      break;
    }
    case MeasureKind::Ignored:
      break;
  }
  nX = 0;
}

void STXT::SameRow(const QVariant& value) {
  const Measure m = readMeasure(value);
  switch (m.kind) {
    case MeasureKind::Absent: nX += nPRETH_TEXT_W; break;
    case MeasureKind::Number: nX += m.n; break;
    case MeasureKind::Percent:
    case MeasureKind::Millimetres:
    case MeasureKind::Text: nX = measureExtent(m, nPAGE_W); break;
    case MeasureKind::Ignored: break;
  }
}

}  // namespace korvan::print
