#pragma once
// The clipboard window's extraction engine, without widgets: field ranges
// marked in a pasted text ("R:r,K:c-R:r,K:c"), the header values and item
// lines cut out of it, and the marked view of it.
//
// A text is a grid of characters: rows are its lines (split at line feeds; a
// carriage return before the feed is not part of the line), columns are
// characters (code points, never bytes or UTF-16 units), both from 1. Every
// function returns values and shows nothing; bad positions are left out.
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace korvan::izclip {

// One importable field: its key, its label in the fields table, and whether
// it is a field of the item lines (else of the header).
struct Field {
  const char* key;
  const char* label;
  bool item;
};
// The 27 fields in table order: 16 header fields, then the 11 item fields.
const QList<Field>& fields();
// The field of that key; nullptr when none has it.
const Field* fieldOf(const QString& key);

// A complete range: start and end cell (the end cell belongs to it).
struct Range {
  int startRow = 0;
  int startColumn = 0;
  int endRow = 0;
  int endColumn = 0;
  QString key;
  bool operator==(const Range&) const = default;
  // The end lies before the start: the range cuts an empty value.
  bool backwards() const;
};

// "R:1,K:2-R:3,K:4".
QString positionText(int startRow, int startColumn, int endRow, int endColumn);
// The range of a position text: two parts at "-", each two pieces at ",",
// each piece's leading number after its first two characters. Absent when the
// shape is wrong or a number is 0, negative, not whole or too large.
std::optional<Range> parsePosition(const QString& text, const QString& key);
// The ranges of (key, position text) pairs, malformed ones left out, sorted
// by start row, then start column; ranges with the same start keep the order given.
QList<Range> rangesOf(const QList<QPair<QString, QString>>& positions);

// The cell of a position in a text (0 = before its first character): the
// row and the column of the character just after it, from 1; a column counts
// the characters since the line's start, whatever the display wraps.
struct Cell {
  int row = 0;
  int column = 0;
  bool operator==(const Cell&) const = default;
};
Cell cellAt(const QString& text, qsizetype position);

// The lines of a text: split at line feeds, a carriage return before a feed
// (or ending the text) dropped, trailing blank lines not counted.
QStringList linesOf(const QString& text);

// The header walk: on each line a range opens at its start cell when no field
// is open, and the open field closes at the first end cell of any range or at
// the line's end. A backwards range gives an empty value at its start cell.
// The (key, value) pairs in the order the fields closed; a range that opens
// nowhere gives no pair.
QList<QPair<QString, QString>> extractValues(const QStringList& lines, const QList<Range>& ranges);

// The same walk as markup: "<pre>", each line with its opened ranges in
// "<u><b>" ... "</b></u>" and "<br>" after it, "</pre>"; "<", ">" and "&"
// escaped, so the view's plain text is the lines themselves.
QString markedView(const QStringList& lines, const QList<Range>& ranges);

// The characters of a line from column first to column last (both included);
// fewer at the line's end, empty when last < first.
QString cut(const QString& line, int first, int last);

// The item lines: a line is one only when validation names at least one key
// and no validation field with a range rejects it (the line lies above the
// range's start row, or its cut reads 0). Each item line that has a range
// for at least one item field gives a row: item key -> its cut, untrimmed.
QList<QHash<QString, QString>> itemRows(const QStringList& lines, const QList<Range>& ranges,
                                        const QStringList& validation);

}  // namespace korvan::izclip

namespace korvan {

// The number in a text whose decimal mark may be "." or ",": with both, the
// later of the last point and the first comma is the decimal mark ("1,234.56"
// and "1.234,56" give 1234.56); a lone "," is the decimal mark ("-3,5" gives
// -3.5); the leading number is read, none gives 0 ("12 kom" gives 12,
// "1.234.567" gives 1.234).
double VISE_INTELI_VAL(const QString& text);

}  // namespace korvan
