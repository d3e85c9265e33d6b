#include "windows/slobun_grid.h"

#include <cmath>

#include "common/money.h"
#include "common/numbers.h"

namespace korvan {

QList<MyKOLONA> SLOBUN_KOLONE(bool lYT) {
  auto k = [](const char* f, const char* c, const char* t, int len, int dec) {
    return MyKOLONA::New(QString::fromLatin1(f), QString::fromUtf8(c), QString::fromLatin1(t), len, dec);
  };
  return {k("ART_SIFRA", "Šifra\nartikla", "C", lYT ? 20 : 10, 0),
          k("ART_NAZIV", "Naziv", "C", 30, 0),
          k("ART_BARKOD", "Barkod", "C", lYT ? 7 : 13, 0),
          k("ART_JMERE", "J.m.", "C", 5, 0),
          k("KOLICINA", "Količina", "N", 12, 3),
          k("CENB", "Cena bez\nPDV-a", "N", 12, 4),
          k("VREDB", "Vrednost\nbez PDV-a", "N", 14, 2),
          k("RABATP", "Rabat %", "N", 7, 2),
          k("STOPA", "PDV %", "N", 7, 2),
          k("OSN", "Osnovica\nPDV-a", "N", 14, 2),
          k("VREDP", "Vrednost\nsa PDV-om", "N", 14, 2)};
}

QString SLOBUN_PRIKAZ(const MyKOLONA& k, double value) {
  return TRANSFORM(value, FORMIRAJ_PICT(k.DUZ, k.DEC, true, false)).trimmed();
}

double SLOBUN_VREDNOST(const QString& shown) { return INTELI_VAL(shown); }

QString SLOBUN_NE_STAJE(const QList<MyKOLONA>& k, int row, int column) {
  const QString caption = column >= 0 && column < k.size() ? QString(k[column].NASLOV).replace('\n', ' ') : QString();
  return QString::fromUtf8("U %1. redu tabele, u koloni \"%2\", broj ne staje u prikaz (******)!").arg(row).arg(caption);
}

namespace {

// Reads and writes one row by field name, refusing asterisks on either side.
class RowMath {
 public:
  RowMath(const QList<MyKOLONA>& k, const QStringList& row, int rowNumber)
      : k_(k), row_(row), rowNumber_(rowNumber) {}

  double read(const char* field) {
    const int c = KOLONA_PO_POLJU(k_, QString::fromLatin1(field));
    if (c < 0 || c >= row_.size()) return 0;
    if (PICTURE_OVERFLOW(row_[c])) fail(c);
    return SLOBUN_VREDNOST(row_[c]);
  }
  void write(const char* field, double value) {
    const int c = KOLONA_PO_POLJU(k_, QString::fromLatin1(field));
    if (c < 0) return;
    const QString shown = SLOBUN_PRIKAZ(k_[c], value);
    if (PICTURE_OVERFLOW(shown)) fail(c);
    out_.writes.append({c, value, shown});
  }
  SlobunEdit result() {
    if (!out_.error.isEmpty()) out_.writes.clear();
    return out_;
  }

 private:
  void fail(int column) {
    if (out_.error.isEmpty()) out_.error = SLOBUN_NE_STAJE(k_, rowNumber_, column);
  }
  const QList<MyKOLONA>& k_;
  const QStringList& row_;
  int rowNumber_;
  SlobunEdit out_;
};

double R2(double v) { return ROUND(v, 2); }
double R4(double v) { return ROUND(v, 4); }

}  // namespace

SlobunEdit SLOBUN_ZAVISNE(const QList<MyKOLONA>& k, const QStringList& row, int rowNumber,
                          const QString& field) {
  RowMath m(k, row, rowNumber);
  const bool forward = field == u"KOLICINA" || field == u"CENB" || field == u"RABATP" || field == u"STOPA";
  const bool backward = field == u"VREDP" || field == u"OSN" || field == u"VREDB";
  if (!forward && !backward) return {};
  const double q = m.read("KOLICINA"), c = m.read("CENB"), r = m.read("RABATP"), s = m.read("STOPA");
  if (forward) {
    const double b = R2(q * c);
    const double o = R2(b * (1 - r / 100));
    const double v = R2(o * (1 + s / 100));
    m.write("VREDB", b);
    m.write("OSN", o);
    m.write("VREDP", v);
  } else if (field == u"VREDP") {
    const double v = m.read("VREDP");
    const double o = R2(DIV0(v, 1 + s / 100));
    const double b = R2(DIV0(o, 1 - r / 100));
    m.write("OSN", o);
    m.write("VREDB", b);
    m.write("CENB", R4(DIV0(b, q)));
  } else if (field == u"OSN") {
    const double o = m.read("OSN");
    const double b = R2(DIV0(o, 1 - r / 100));
    m.write("VREDB", b);
    m.write("CENB", R4(DIV0(b, q)));
    m.write("VREDP", R2(o * (1 + s / 100)));
  } else {
    const double b = m.read("VREDB");
    const double o = R2(b * (1 - r / 100));
    m.write("CENB", R4(DIV0(b, q)));
    m.write("OSN", o);
    m.write("VREDP", R2(o * (1 + s / 100)));
  }
  return m.result();
}

SlobunEdit SLOBUN_MENJANA(const QList<MyKOLONA>& k, const QStringList& row, int rowNumber,
                          int column, const QString& typed) {
  if (column < 0 || column >= k.size() || k[column].TIP != u"N") return {};
  const double value = SLOBUN_VREDNOST(typed);
  const QString shown = SLOBUN_PRIKAZ(k[column], value);
  if (PICTURE_OVERFLOW(shown) || PICTURE_OVERFLOW(typed)) return {{}, SLOBUN_NE_STAJE(k, rowNumber, column)};
  QStringList after = row;
  while (after.size() < k.size()) after.append(QString());
  after[column] = shown;
  SlobunEdit dependent = SLOBUN_ZAVISNE(k, after, rowNumber, k[column].POLJE);
  if (!dependent.error.isEmpty()) return dependent;
  dependent.writes.prepend({column, value, shown});
  return dependent;
}

QString SLOBUN_ZBIR_TEKST(double total) {
  return QStringLiteral("Ukupno: ") + TRANSFORM(total, QStringLiteral("@E 999,999,999,999.99"));
}

QString SLOBUN_ZBIR_TEKST(const QStringList& shownValues) {
  double total = 0;
  for (const QString& v : shownValues) {
    if (PICTURE_OVERFLOW(v)) return SLOBUN_ZBIR_TEKST(1e15);  // past the picture: asterisks
    total += SLOBUN_VREDNOST(v);
  }
  return SLOBUN_ZBIR_TEKST(total);
}

int SLOBUN_MAX_RED(const QString& text) {
  const double n = VAL(text);
  if (!std::isfinite(n) || n <= 0) return 0;
  return n >= 1000 ? 1000 : int(n);
}

double SLOBUN_STOPA(bool registered) { return registered ? 20 : 0; }

}  // namespace korvan
