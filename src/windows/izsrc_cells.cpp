#include "windows/izsrc_cells.h"

#include <QLineEdit>
#include <QRegularExpression>

#include "common/money.h"
#include "common/numbers.h"

namespace korvan {

using platform::Cell;
using platform::CellKind;
using platform::ValueType;
using platform::WorkbookError;

int KOLONA_OD_SLOVA(const QString& letters) {
  if (letters.isEmpty() || letters.size() > 4) return 0;
  int column = 0;
  for (const QChar ch : letters) {
    const QChar c = ch.toUpper();
    if (c < QLatin1Char('A') || c > QLatin1Char('Z')) return 0;
    column = column * 26 + (c.unicode() - 'A' + 1);
  }
  return column;
}

bool DOBAR_CEL(const QString& text, int& row, int& column) {
  if (text.trimmed().isEmpty()) return false;
  qsizetype start = text.size();
  while (start > 0 && text[start - 1] >= QLatin1Char('0') && text[start - 1] <= QLatin1Char('9')) --start;
  if (start == text.size()) return false;
  const QString digits = text.mid(start);
  bool ok = false;
  const qlonglong r = digits.toLongLong(&ok);
  // A row beyond any sheet stays beyond it, and the read reports the position.
  row = ok && r <= 1 << 30 ? int(r) : 1 << 30;
  column = KOLONA_OD_SLOVA(text.left(start));
  return true;
}

bool DOBAR_CEL(const QLineEdit* edit, int& row, int& column) {
  return edit && DOBAR_CEL(edit->text(), row, column);
}

void PROCENTUJ(double& value) {
  if (value < 1) value *= 100;
}

QDate IZSRC_DATUM(const QString& text) {
  static const QRegularExpression form(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})\\.?$"));
  const QRegularExpressionMatch m = form.match(text.trimmed());
  if (!m.hasMatch()) return {};
  const QDate d(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
  return d.isValid() ? d : QDate();
}

namespace {

QVariant emptyOf(const QString& type) {
  if (type == u"N") return 0.0;
  if (type == u"D") return QDate();
  return QString();
}

QString numberText(double v, bool noDecimals) {
  return noDecimals ? QString::number(ROUND(v, 0), 'f', 0) : QString::number(ROUND(v, 2), 'f', 2);
}

}  // namespace

QVariant OO_VALUE(const Cell& cell, const QString& type, bool noDecimals) {
  bool isText = false;
  double number = 0;
  QString text;
  switch (cell.kind) {
    case CellKind::Value:
    case CellKind::Formula:
      if (type == u"D" || (cell.kind == CellKind::Formula &&
                           (cell.type == ValueType::Text || cell.type == ValueType::Error))) {
        isText = true;
        text = cell.shown;
      } else {
        number = cell.number;
      }
      break;
    case CellKind::Text:
      isText = true;
      text = cell.shown;
      break;
    case CellKind::Empty:
      return emptyOf(type);
  }
  if (type == u"D") return IZSRC_DATUM(text);
  if (type == u"N") return isText ? INTELI_VAL(text) : number;
  return isText ? text : numberText(number, noDecimals);
}

QVariant XLS_CELL_VALUE(const Cell& cell, const QString& type, bool noDecimals) {
  const QVariant v = XLS_VAL(cell.value, type, noDecimals);
  return v.isValid() ? v : emptyOf(type);
}

std::optional<QDate> IZSRC_PERIOD(const QString& text) {
  const qsizetype dash = text.indexOf(QLatin1Char('-'));
  if (dash < 0) return std::nullopt;
  return IZSRC_DATUM(text.mid(dash + 1));
}

QString IZSRC_GRESKA(const WorkbookError& e) {
  QStringList quoted;
  for (const QString& a : e.arguments) quoted << QLatin1Char('"') + a + QLatin1Char('"');
  return e.lastError + QLatin1Char('\n') + e.operation + QLatin1Char('\n') + e.description +
         QLatin1Char('\n') + QLatin1Char('{') + quoted.join(QStringLiteral(", ")) + QLatin1Char('}');
}

void IzsrcSheet::prefetch(const std::vector<platform::CellPos>& positions) {
  cache_.clear();
  pending_.reset();
  if (positions.empty()) return;
  try {
    const std::vector<Cell> got = book_.cells(positions);
    if (got.size() != positions.size()) return;
    for (size_t i = 0; i < got.size(); ++i) cache_[{positions[i].column, positions[i].row}] = got[i];
  } catch (const WorkbookError& e) {
    pending_ = e;
  }
}

Cell IzsrcSheet::cell(int column, int row) {
  const auto it = cache_.find({column, row});
  if (it != cache_.end()) return it->second;
  try {
    Cell c = book_.cell(column, row);
    pending_.reset();
    return c;
  } catch (const WorkbookError&) {
    if (pending_) {
      const WorkbookError first = *pending_;
      pending_.reset();
      throw first;
    }
    throw;
  }
}

}  // namespace korvan
