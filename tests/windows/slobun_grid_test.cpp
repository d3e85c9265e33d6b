// The free-entry line grid's recomputation, on rows of shown texts.
#include <gtest/gtest.h>

#include "common/picture.h"
#include "windows/slobun_grid.h"

using namespace korvan;

namespace {

const QList<MyKOLONA>& kolone() {
  static const QList<MyKOLONA> k = SLOBUN_KOLONE(false);
  return k;
}

int col(const char* field) { return KOLONA_PO_POLJU(kolone(), QString::fromLatin1(field)); }

// One grid row as the window holds it: texts by column, edits applied as the
// window applies them.
struct Row {
  QStringList cells = QStringList(11, QString());
  QStringList lastWrites;  // fields of the last edit, in write order
  QString lastError;

  Row& type(const char* field, const QString& text) {
    const SlobunEdit e = SLOBUN_MENJANA(kolone(), cells, 1, col(field), text);
    lastError = e.error;
    lastWrites.clear();
    for (const SlobunCell& c : e.writes) {
      cells[c.column] = c.shown;
      lastWrites << kolone()[c.column].POLJE;
    }
    return *this;
  }
  QString operator[](const char* field) const { return cells[col(field)]; }
};

struct Typed {
  const char* field;
  const char* text;
};

struct Expected {
  const char* field;
  const char* shown;
};

struct Case {
  const char* name;
  QList<Typed> typed;
  QList<Expected> shown;
};

TEST(SlobunGrid, RowsRecomputeFromWhatWasTyped) {
  const QList<Typed> base = {{"KOLICINA", "2"}, {"CENB", "100"}, {"RABATP", "10"}, {"STOPA", "20"}};
  auto with = [&](QList<Typed> more) {
    QList<Typed> all = base;
    all += more;
    return all;
  };
  const Case cases[] = {
      {"forward with discount", base,
       {{"VREDB", "200,00"}, {"OSN", "180,00"}, {"VREDP", "216,00"}, {"KOLICINA", "2,000"}, {"CENB", "100,0000"}}},
      {"2 x 100 at 10 %", {{"KOLICINA", "2"}, {"CENB", "100"}, {"STOPA", "10"}},
       {{"VREDB", "200,00"}, {"OSN", "200,00"}, {"VREDP", "220,00"}}},
      {"2 x 100 at 20 %", {{"KOLICINA", "2"}, {"CENB", "100"}, {"STOPA", "20"}},
       {{"VREDB", "200,00"}, {"OSN", "200,00"}, {"VREDP", "240,00"}}},
      {"240 into the value with VAT", with({{"VREDP", "240"}}),
       {{"OSN", "200,00"}, {"VREDB", "222,22"}, {"CENB", "111,1100"}, {"KOLICINA", "2,000"},
        {"RABATP", "10,00"}, {"STOPA", "20,00"}}},
      {"100 into the base", with({{"OSN", "100"}}),
       {{"VREDB", "111,11"}, {"CENB", "55,5550"}, {"VREDP", "120,00"}}},
      {"value before discount typed", with({{"VREDB", "300"}}),
       {{"CENB", "150,0000"}, {"OSN", "270,00"}, {"VREDP", "324,00"}}},
      {"a changed rate goes forward from the price again", with({{"VREDP", "240"}, {"STOPA", "10"}}),
       {{"VREDB", "222,22"}, {"OSN", "200,00"}, {"VREDP", "220,00"}, {"CENB", "111,1100"}}},
      {"thousands with points", {{"CENB", "1.234,5"}}, {{"CENB", "1234,5000"}}},
      {"thousands with commas", {{"CENB", "1,234.5"}}, {{"CENB", "1234,5000"}}},
      {"a quantity with a point", {{"KOLICINA", "1.5"}}, {{"KOLICINA", "1,500"}}},
      {"zero shows empty", {{"KOLICINA", "0"}}, {{"KOLICINA", ""}, {"VREDB", ""}, {"VREDP", ""}}},
      {"quantity 0, value typed", {{"STOPA", "20"}, {"VREDP", "120"}},
       {{"OSN", "100,00"}, {"VREDB", "100,00"}, {"CENB", ""}}},
      {"discount 100, value typed", {{"KOLICINA", "2"}, {"RABATP", "100"}, {"STOPA", "20"}, {"VREDP", "120"}},
       {{"OSN", "100,00"}, {"VREDB", ""}, {"CENB", ""}}},
      {"half cent: 1 x 1,005", {{"KOLICINA", "1"}, {"CENB", "1,005"}}, {{"VREDB", "1,01"}, {"OSN", "1,01"}}},
      {"half cent: 2 x 10,005", {{"KOLICINA", "2"}, {"CENB", "10,005"}}, {{"VREDB", "20,01"}, {"VREDP", "20,01"}}},
      {"negative line", {{"KOLICINA", "-1"}, {"CENB", "100"}, {"STOPA", "20"}},
       {{"VREDB", "-100,00"}, {"VREDP", "-120,00"}}},
      {"text column changes no amount", {{"KOLICINA", "2"}, {"CENB", "5"}, {"ART_NAZIV", "12"}},
       {{"VREDB", "10,00"}, {"OSN", "10,00"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Row r;
    for (const Typed& t : c.typed) {
      r.type(t.field, QString::fromUtf8(t.text));
      ASSERT_TRUE(r.lastError.isEmpty()) << t.field << ": " << r.lastError.toStdString();
    }
    for (const Expected& e : c.shown) EXPECT_EQ(r[e.field], QString::fromUtf8(e.shown)) << e.field;
  }
}

TEST(SlobunGrid, EachRuleWritesInItsOrder) {
  const QList<std::pair<const char*, QStringList>> cases = {
      {"KOLICINA", {"KOLICINA", "VREDB", "OSN", "VREDP"}},
      {"RABATP", {"RABATP", "VREDB", "OSN", "VREDP"}},
      {"VREDP", {"VREDP", "OSN", "VREDB", "CENB"}},
      {"OSN", {"OSN", "VREDB", "CENB", "VREDP"}},
      {"VREDB", {"VREDB", "CENB", "OSN", "VREDP"}},
      {"ART_SIFRA", {}},
  };
  for (const auto& [field, order] : cases) {
    SCOPED_TRACE(field);
    Row r;
    r.type("KOLICINA", "3").type("CENB", "7");
    r.type(field, "5");
    EXPECT_EQ(r.lastWrites, order);
  }
  // A field that is no amount recomputes nothing.
  EXPECT_TRUE(SLOBUN_ZAVISNE(kolone(), QStringList(11, "1"), 1, "ART_NAZIV").writes.isEmpty());
}

TEST(SlobunGrid, ValuesThatDoNotFitUndoTheEdit) {
  const QString refusal = QString::fromUtf8("U 1. redu tabele, u koloni \"%1\", broj ne staje u prikaz (******)!");
  struct Overflow {
    const char* name;
    QList<Typed> before;
    Typed edit;
    const char* caption;
  };
  const Overflow cases[] = {
      {"typed quantity too long", {}, {"KOLICINA", "123456789012"}, "Količina"},
      {"computed value too long", {{"KOLICINA", "99999999"}}, {"CENB", "9999999"}, "Vrednost bez PDV-a"},
      {"backward price too long", {{"KOLICINA", "0,001"}}, {"VREDB", "99999999"}, "Cena bez PDV-a"},
  };
  for (const Overflow& c : cases) {
    SCOPED_TRACE(c.name);
    Row r;
    for (const Typed& t : c.before) r.type(t.field, t.text);
    const QStringList before = r.cells;
    r.type(c.edit.field, c.edit.text);
    EXPECT_EQ(r.lastError, refusal.arg(QString::fromUtf8(c.caption)));
    EXPECT_TRUE(r.lastWrites.isEmpty());
    EXPECT_EQ(r.cells, before) << "nothing of a refused edit is written";
  }

  // A row that already shows asterisks (an import) is never computed from 0.
  QStringList shown(11, QString());
  shown[col("CENB")] = "*********";
  const SlobunEdit e = SLOBUN_MENJANA(kolone(), shown, 4, col("KOLICINA"), "2");
  EXPECT_EQ(e.error, QString::fromUtf8("U 4. redu tabele, u koloni \"Cena bez PDV-a\", broj ne staje u prikaz (******)!"));
  EXPECT_TRUE(e.writes.isEmpty());
}

TEST(SlobunGrid, ColumnsTotalsAndRowCounts) {
  const QList<MyKOLONA> free = SLOBUN_KOLONE(false), yt = SLOBUN_KOLONE(true);
  ASSERT_EQ(free.size(), 11);
  int sum = 0;
  for (const MyKOLONA& k : free) sum += k.DUZ;
  EXPECT_EQ(sum, 138);
  EXPECT_EQ(free[col("ART_JMERE")].DUZ, 5);
  EXPECT_EQ(yt[col("ART_SIFRA")].DUZ, 20);
  EXPECT_EQ(yt[col("ART_BARKOD")].DUZ, 7);
  EXPECT_EQ(free[col("ART_SIFRA")].DUZ, 10);
  EXPECT_EQ(free[col("ART_BARKOD")].DUZ, 13);

  EXPECT_EQ(SLOBUN_PRIKAZ(free[col("STOPA")], 20), "20,00");
  EXPECT_EQ(SLOBUN_PRIKAZ(free[col("STOPA")], 0), "");
  EXPECT_EQ(SLOBUN_PRIKAZ(free[col("VREDP")], 99999999999.99), "99999999999,99");
  EXPECT_EQ(SLOBUN_PRIKAZ(free[col("VREDP")], 100000000000.0), "***********,**");

  EXPECT_EQ(SLOBUN_ZBIR_TEKST(0), "Ukupno: " + QString(14, ' ') + "0,00");
  EXPECT_EQ(SLOBUN_ZBIR_TEKST(1234567.891), "Ukupno: " + QString(6, ' ') + "1.234.567,89");
  EXPECT_EQ(SLOBUN_ZBIR_TEKST(QStringList{"216,00", "", "-16,00"}), SLOBUN_ZBIR_TEKST(200));
  // A value showing asterisks makes the sum unknown, never a sum without it.
  const QString unknown = SLOBUN_ZBIR_TEKST(QStringList{"216,00", "**************"});
  EXPECT_TRUE(PICTURE_OVERFLOW(unknown)) << unknown.toStdString();
  EXPECT_FALSE(unknown.contains("216"));

  const QList<std::pair<const char*, int>> rows = {{"20", 20}, {"5", 5},       {"", 0},
                                                   {"abc", 0}, {"-3", 0},      {"1000", 1000},
                                                   {"99999999999", 1000},      {"7.9", 7}};
  for (const auto& [text, n] : rows) EXPECT_EQ(SLOBUN_MAX_RED(text), n) << text;
  EXPECT_EQ(SLOBUN_STOPA(true), 20);
  EXPECT_EQ(SLOBUN_STOPA(false), 0);
}

}  // namespace
