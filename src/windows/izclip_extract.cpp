#include "windows/izclip_extract.h"

#include <algorithm>
#include <cmath>

#include "common/files.h"
#include "common/numbers.h"

namespace korvan::izclip {

const QList<Field>& fields() {
  static const QList<Field> all = {
      {"BRDOK", "Broj dokumenta", false},
      {"DATDOK", "Datum izdavanja", false},
      {"DATPROM", "Datum prometa dobara i usluga", false},
      {"VALUTA", "Valuta plaćanja", false},
      {"OPERATER", "Operater", false},
      {"NARUDZBENICA", "Narudžbenica", false},
      {"OTPREMNICA", "Otpremnica", false},
      {"UGOVOR", "Ugovor", false},
      {"KOMIT_NAZIV", "Naziv kupca", false},
      {"KOMIT_MESTO", "Mesto kupca", false},
      {"KOMIT_POST_BROJ", "Poštanski broj kupca", false},
      {"KOMIT_ADRESA", "Adresa kupca", false},
      {"KOMIT_PIB", "PIB kupca", false},
      {"KOMIT_MATBROJ", "Matični broj kupca", false},
      {"KOMIT_JBKJS", "JBKJS kupca", false},
      {"KOMIT_EMAIL", "E-mail kupca", false},
      {"ART_SIFRA", "Šifra robe/usluge", true},
      {"ART_NAZIV", "Naziv robe/usluge", true},
      {"ART_JMERE", "Jedinica mere", true},
      {"ART_BARKOD", "Barkod", true},
      {"KOLICINA", "Količina", true},
      {"CENB", "Cena bez PDV-a, bez rabata", true},
      {"VREDB", "Vrednost bez PDV-a, neumanjena za rabat", true},
      {"RABATP", "% rabata", true},
      {"STOPA", "% PDV-a", true},
      {"OSN", "Osnovica PDV-a, za ukupnu količinu", true},
      {"VREDP", "Vrednost sa PDV-om", true},
  };
  return all;
}

const Field* fieldOf(const QString& key) {
  for (const Field& f : fields())
    if (key == QLatin1String(f.key)) return &f;
  return nullptr;
}

bool Range::backwards() const {
  return endRow < startRow || (endRow == startRow && endColumn < startColumn);
}

QString positionText(int startRow, int startColumn, int endRow, int endColumn) {
  return QStringLiteral("R:%1,K:%2-R:%3,K:%4").arg(startRow).arg(startColumn).arg(endRow).arg(endColumn);
}

namespace {

// Far beyond any text a person pastes; larger numbers are not kept as int.
constexpr double kLargest = 1e9;

// The two numbers of one "R:r,K:c" part; 0 stands for a piece that gives none.
std::pair<int, int> cellOf(const QString& part) {
  const QStringList pieces = part.split(QLatin1Char(','));
  if (pieces.size() != 2) return {0, 0};
  auto number = [](const QString& piece) {
    const double v = VAL(piece.mid(2));
    // Negative, fractional or huge: the cell is not a cell.
    if (v < 1 || v > kLargest || v != std::floor(v)) return 0;
    return int(v);
  };
  return {number(pieces[0]), number(pieces[1])};
}

// A line as characters: code points, so a letter outside the BMP is one column.
using Chars = QList<uint>;
Chars charsOf(const QString& line) { return line.toUcs4(); }
QString textOf(const Chars& chars, qsizetype from, qsizetype n) {
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData() + from), n);
}

QString escaped(char32_t c) {
  switch (c) {
    case U'<': return QStringLiteral("&lt;");
    case U'>': return QStringLiteral("&gt;");
    case U'&': return QStringLiteral("&amp;");
    default: return QString::fromUcs4(&c, 1);
  }
}

// What a walk does at the events of the field walk.
struct WalkSink {
  virtual ~WalkSink() = default;
  virtual void open(const Range& r) = 0;
  virtual void empty(const Range& r) = 0;  // a backwards range at its start
  virtual void character(char32_t c) = 0;
  virtual void close() = 0;
  virtual void lineEnd() {}
};

void walk(const QStringList& lines, const QList<Range>& ranges, WalkSink& sink) {
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const int row = int(i) + 1;
    const Chars chars = charsOf(lines[i]);
    // Only ranges touching this row take part; the list stays sorted.
    QList<const Range*> starts, ends;
    for (const Range& r : ranges) {
      if (r.startRow == row) starts << &r;
      if (r.endRow == row) ends << &r;
    }
    bool open = false;
    for (qsizetype k = 0; k < chars.size(); ++k) {
      const int column = int(k) + 1;
      if (!open) {
        for (const Range* r : starts) {
          if (r->startColumn != column) continue;
          if (r->backwards()) {
            sink.empty(*r);
          } else {
            sink.open(*r);
            open = true;
          }
          break;
        }
      }
      sink.character(chars[k]);
      if (open && std::any_of(ends.begin(), ends.end(), [column](const Range* r) { return r->endColumn == column; })) {
        sink.close();
        open = false;
      }
    }
    if (open) sink.close();
    sink.lineEnd();
  }
}

}  // namespace

std::optional<Range> parsePosition(const QString& text, const QString& key) {
  const QStringList parts = text.split(QLatin1Char('-'));
  if (parts.size() != 2) return std::nullopt;
  const auto [r1, c1] = cellOf(parts[0]);
  const auto [r2, c2] = cellOf(parts[1]);
  if (r1 == 0 || c1 == 0 || r2 == 0 || c2 == 0) return std::nullopt;
  return Range{.startRow = r1, .startColumn = c1, .endRow = r2, .endColumn = c2, .key = key};
}

QList<Range> rangesOf(const QList<QPair<QString, QString>>& positions) {
  QList<Range> out;
  for (const auto& [key, text] : positions) {
    if (text.isEmpty()) continue;
    if (std::optional<Range> r = parsePosition(text, key)) out << *r;
  }
  std::stable_sort(out.begin(), out.end(), [](const Range& a, const Range& b) {
    return std::pair(a.startRow, a.startColumn) < std::pair(b.startRow, b.startColumn);
  });
  return out;
}

Cell cellAt(const QString& text, qsizetype position) {
  position = std::clamp<qsizetype>(position, 0, text.size());
  const QStringView before = QStringView(text).left(position);
  const qsizetype lineStart = before.lastIndexOf(QLatin1Char('\n')) + 1;
  const QStringView inLine = before.mid(lineStart);
  qsizetype characters = inLine.size();
  for (QChar c : inLine)
    if (c.isLowSurrogate()) --characters;
  return {.row = int(before.count(QLatin1Char('\n'))) + 1, .column = int(characters) + 1};
}

QStringList linesOf(const QString& text) {
  QStringList lines = GET_MEMO(text, nullptr, QStringLiteral("\n"));
  for (QString& l : lines)
    if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
  return lines;
}

QList<QPair<QString, QString>> extractValues(const QStringList& lines, const QList<Range>& ranges) {
  struct Values : WalkSink {
    QList<QPair<QString, QString>> out;
    QString key;
    Chars value;
    void open(const Range& r) override {
      key = r.key;
      value.clear();
    }
    void empty(const Range& r) override { out.append({r.key, QString()}); }
    void character(char32_t c) override {
      if (!key.isNull()) value << c;
    }
    void close() override {
      out.append({key, textOf(value, 0, value.size())});
      key = QString();
    }
  } sink;
  walk(lines, ranges, sink);
  return sink.out;
}

QString markedView(const QStringList& lines, const QList<Range>& ranges) {
  struct Marked : WalkSink {
    QString out = QStringLiteral("<pre>");
    void open(const Range&) override { out += QStringLiteral("<u><b>"); }
    void empty(const Range&) override {}
    void character(char32_t c) override { out += escaped(c); }
    void close() override { out += QStringLiteral("</b></u>"); }
    void lineEnd() override { out += QStringLiteral("<br>"); }
  } sink;
  walk(lines, ranges, sink);
  return sink.out + QStringLiteral("</pre>");
}

QString cut(const QString& line, int first, int last) {
  if (first < 1 || last < first) return QString();
  const Chars chars = charsOf(line);
  if (first > chars.size()) return QString();
  const qsizetype n = std::min<qsizetype>(last, chars.size()) - (first - 1);
  return textOf(chars, first - 1, n);
}

QList<QHash<QString, QString>> itemRows(const QStringList& lines, const QList<Range>& ranges,
                                        const QStringList& validation) {
  QList<QHash<QString, QString>> rows;
  if (validation.isEmpty()) return rows;
  auto rangeOf = [&ranges](const QString& key) -> const Range* {
    for (const Range& r : ranges)
      if (r.key == key) return &r;
    return nullptr;
  };
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const int row = int(i) + 1;
    const QString& line = lines[i];
    const bool rejected = std::any_of(validation.begin(), validation.end(), [&](const QString& key) {
      const Range* r = rangeOf(key);
      return r && (row < r->startRow || VISE_INTELI_VAL(cut(line, r->startColumn, r->endColumn)) == 0);
    });
    if (rejected) continue;
    QHash<QString, QString> values;
    for (const Field& f : fields()) {
      if (!f.item) continue;
      const QString key = QString::fromLatin1(f.key);
      if (const Range* r = rangeOf(key)) values.insert(key, cut(line, r->startColumn, r->endColumn));
    }
    if (!values.isEmpty()) rows << values;
  }
  return rows;
}

}  // namespace korvan::izclip

namespace korvan {

double VISE_INTELI_VAL(const QString& text) {
  const qsizetype lastPoint = text.lastIndexOf(QLatin1Char('.'));
  const qsizetype firstComma = text.indexOf(QLatin1Char(','));
  if (firstComma < 0) return VAL(text);
  if (lastPoint < 0) {
    QString t = text;
    return VAL(t.replace(QLatin1Char(','), QLatin1Char('.')));
  }
  if (lastPoint > firstComma) return XVAL(text);
  return E2VAL(text);
}

}  // namespace korvan
