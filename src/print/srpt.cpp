#include "print/srpt.h"

#include <algorithm>

#include "common/picture.h"
#include "print/measure.h"

namespace korvan::print {
namespace {

const QString kSingle = QStringLiteral("SINGLE");
const QString kOuter = QStringLiteral("OUTER");

QString textOf(const TextSource& s) {
  if (const auto* t = std::get_if<QString>(&s)) return *t;
  const auto& f = std::get<std::function<QString()>>(s);
  return f ? f() : QString();
}

double numberOf(const NumberSource& s) {
  if (const auto* n = std::get_if<double>(&s)) return *n;
  const auto& f = std::get<std::function<double()>>(s);
  return f ? f() : 0;
}

QString withoutLeadingBlanks(const QString& s) {
  qsizetype i = 0;
  while (i < s.size() && s[i] == QLatin1Char(' ')) ++i;
  return s.mid(i);
}

}  // namespace

SRPT::SRPT(const QString& fileName) : oSTXT(fileName) {}

bool SRPT::Exec(bool print) {
  layOut(row_, false);
  row_.clear();
  return print ? oSTXT.Print() : oSTXT.View();
}

void SRPT::TableBegin() {
  // Cells of a table that was never ended are drawn, not lost.
  layOut(row_, false);
  row_.clear();
  aKOLONE.clear();
  lTAB_IMA_ZAGLAVLJE = false;
  nBROJAC_KOLONA = 1;
  nBROJAC_REDOVA = 0;
  cOKVIR.clear();
  nOKVIR_SINGLE = 1;
  nOKVIR_OUTER = 2;
  aELE_KOLONE = Column{};
  aELE_CELL = Cell{};
  bTAB_EXTRA_ZAGLAVLJE = nullptr;
  ncRAZMAK_LEVO = 0;
  tableOpen_ = true;
}

void SRPT::TableExtraHeader(Action action) {
  bTAB_EXTRA_ZAGLAVLJE = std::move(action);
  lTAB_IMA_ZAGLAVLJE = true;
}

void SRPT::TableRepeatHead(bool on) {
  if (on) oSTXT.bSTA_KADA_SKOCI = [this] { printHead(); };
  else oSTXT.bSTA_KADA_SKOCI = nullptr;
}

void SRPT::printHead() {
  if (bTAB_EXTRA_ZAGLAVLJE) {
    bTAB_EXTRA_ZAGLAVLJE();
    ODREDI_X12_ZAGLAVLJA();
  } else {
    TAB_STD_ZAGLAVLJE();
  }
  oSTXT.nPRETH_TEXT_H = 0;
}

void SRPT::AddColumn(const Column& column) {
  aKOLONE.append(column);
  if (column.head) lTAB_IMA_ZAGLAVLJE = true;
}

void SRPT::ColumnHead(const TextSource& head) {
  aELE_KOLONE.head = head;
  lTAB_IMA_ZAGLAVLJE = true;
}

double SRPT::INIT_X1() { return measureExtent(readMeasure(ncRAZMAK_LEVO), oSTXT.nPAGE_W); }

double SRPT::widthOf(const Column& c) const {
  return measureExtent(readMeasure(c.width), oSTXT.nPAGE_W);
}

double SRPT::inset() const { return cOKVIR.trimmed().isEmpty() ? 0 : 2; }

void SRPT::ODREDI_X12_ZAGLAVLJA() {
  double x = INIT_X1();
  for (Column& c : aKOLONE) {
    c.left = x;
    c.right = x + widthOf(c);
    x = *c.right;
  }
}

void SRPT::HORIZONTALNA_LINIJA(bool outer) {
  if (cOKVIR.isEmpty()) return;
  oSTXT.BeginElement(QStringLiteral("LINE"));
  oSTXT.X1(QString::number(INIT_X1(), 'f', 6));  // a text: absolute
  oSTXT.X2(QStringLiteral("100%"));
  oSTXT.Y1();
  oSTXT.Y2();
  if (!outer) oSTXT.PenWidth(nOKVIR_SINGLE);
  else if (cOKVIR == kSingle) oSTXT.PenWidth(nOKVIR_SINGLE);
  else if (cOKVIR == kOuter) oSTXT.PenWidth(nOKVIR_OUTER);
  oSTXT.EndElement();
}

void SRPT::VERTIKALNE_LINIJE(bool outer) {
  if (cOKVIR.isEmpty()) return;
  const double rowH = oSTXT.nPRETH_TEXT_H;
  auto line = [&](const std::optional<double>& x, double pen) {
    oSTXT.BeginElement(QStringLiteral("LINE"));
    const QVariant at = x ? QVariant(*x) : QVariant();
    oSTXT.X1(at);
    oSTXT.X2(at);
    oSTXT.Y1();
    oSTXT.Y2(rowH);
    oSTXT.PenWidth(pen);
    oSTXT.EndElement();
  };
  const double kindWidth =
      cOKVIR == kSingle ? nOKVIR_SINGLE : cOKVIR == kOuter ? nOKVIR_OUTER : 1;
  for (qsizetype i = 0; i < aKOLONE.size(); ++i) {
    double pen = nOKVIR_SINGLE;
    if (outer) pen = kindWidth;
    else if (cOKVIR == kOuter && i == 0) pen = nOKVIR_OUTER;
    line(aKOLONE[i].left, pen);
  }
  if (!aKOLONE.isEmpty()) line(aKOLONE.back().right, kindWidth);
}

void SRPT::TAB_STD_ZAGLAVLJE() {
  double x = INIT_X1();
  const double in = inset();
  QList<Held> heads;
  for (Column& c : aKOLONE) {
    const double right = x + widthOf(c);
    heads.append({.content = c.head ? textOf(*c.head) : QString(),
                  .x1 = x + in,
                  .x2 = right - in,
                  .align = c.headAlign.value_or(c.align),
                  .font = false});
    c.left = x;
    c.right = right;
    x = right;
  }
  layOut(heads, true);
  VERTIKALNE_LINIJE(true);
  HORIZONTALNA_LINIJA(true);
  oSTXT.NewRow();
  HORIZONTALNA_LINIJA(true);
}

void SRPT::setUp(const Held& h) {
  if (h.image) {
    oSTXT.BeginElement(QStringLiteral("IMAGE_REGION"));
    oSTXT.ImageFile(h.content);
  } else {
    oSTXT.BeginElement(QStringLiteral("TEXT_REGION"));
    oSTXT.PlainText(h.content);
  }
  oSTXT.X1(h.x1);
  oSTXT.X2(h.x2);
  oSTXT.Y1();
  oSTXT.Y2();
  oSTXT.Align(h.align);
  if (h.font) {
    oSTXT.FontName(h.fontName);
    oSTXT.FontSize(h.fontSize);
    oSTXT.FontBold(h.bold);
  }
  oSTXT.BrushStyle(h.brush);
}

// The row's cells are measured first, so a row that would run past the
// page's bottom moves whole to the next page; then they are drawn in order,
// each through the painter's own rules.
void SRPT::layOut(const QList<Held>& row, bool header) {
  if (row.isEmpty()) return;
  double tallest = 0;
  for (const Held& h : row) {
    setUp(h);
    tallest = std::max(tallest, oSTXT.MeasureElement());
  }
  const double y = oSTXT.nY;
  if (y > 0 && (y >= oSTXT.nPAGE_H || y + tallest > oSTXT.nPAGE_H)) {
    if (header) {
      // The header draws its own top line, and must not print itself twice.
      const STXT::Action action = std::move(oSTXT.bSTA_KADA_SKOCI);
      oSTXT.bSTA_KADA_SKOCI = nullptr;
      oSTXT.NewPage();
      oSTXT.bSTA_KADA_SKOCI = action;
      oSTXT.lSKOCIO_NA_NOVU_STRANU = false;
    } else {
      oSTXT.NewPage();
    }
  }
  for (const Held& h : row) {
    setUp(h);
    oSTXT.EndElement();
  }
}

void SRPT::closeRow() {
  layOut(row_, false);
  row_.clear();
  if (oSTXT.lSKOCIO_NA_NOVU_STRANU) {
    HORIZONTALNA_LINIJA(false);  // the top line of a row that moved to a new page
    oSTXT.lSKOCIO_NA_NOVU_STRANU = false;
  }
  VERTIKALNE_LINIJE(false);
  oSTXT.NewRow();
  HORIZONTALNA_LINIJA(false);
}

void SRPT::AddCell(const Cell& cell) {
  if (aKOLONE.isEmpty()) return;
  if (nBROJAC_KOLONA < 1 || nBROJAC_KOLONA > aKOLONE.size()) nBROJAC_KOLONA = 1;
  if (nBROJAC_REDOVA == 0) {
    if (lTAB_IMA_ZAGLAVLJE) {
      printHead();
    } else {
      ODREDI_X12_ZAGLAVLJA();
      HORIZONTALNA_LINIJA(true);
    }
  }
  if (nBROJAC_KOLONA == 1) {
    if (nBROJAC_REDOVA != 0) closeRow();
    ++nBROJAC_REDOVA;
  }

  Held h;
  if (cell.text) {
    h.content = textOf(*cell.text);
  } else if (cell.value) {
    const double v = numberOf(*cell.value);
    h.content = withoutLeadingBlanks(cell.picture ? TRANSFORM(v, *cell.picture) : STR(v));
  } else if (cell.image) {
    h.image = true;
    h.content = *cell.image;
  }
  const Column& c = aKOLONE[nBROJAC_KOLONA - 1];
  h.x1 = c.left.value_or(0) + inset();
  h.x2 = c.right.value_or(0) - inset();
  h.align = cell.align.value_or(c.align);
  h.fontName = cell.fontName.value_or(QString());
  h.fontSize = cell.fontSize;
  h.bold = cell.bold.value_or(false);
  h.brush = cell.brushStyle.value_or(0);
  row_.append(h);

  if (++nBROJAC_KOLONA > aKOLONE.size()) nBROJAC_KOLONA = 1;
}

void SRPT::TableEnd() {
  if (!tableOpen_) return;
  tableOpen_ = false;
  layOut(row_, false);
  row_.clear();
  if (oSTXT.lSKOCIO_NA_NOVU_STRANU) {
    HORIZONTALNA_LINIJA(false);
    oSTXT.lSKOCIO_NA_NOVU_STRANU = false;
  }
  VERTIKALNE_LINIJE(false);
  oSTXT.NewRow();
  HORIZONTALNA_LINIJA(true);
}

}  // namespace korvan::print
