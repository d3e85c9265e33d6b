// The search bar: F7 finds, F3 goes on, row by row over cell positions.
#include <QLineEdit>
#include <gtest/gtest.h>

#include "common/presenter.h"
#include "workwindow.h"
#include "support/scriptedpresenter.h"

namespace korvan::test {
namespace {

const QList<QStringList> kRows = {
    {QStringLiteral("Petar"), QStringLiteral("Beograd"), QStringLiteral("P-1")},
    {QStringLiteral("Marko"), QStringLiteral("Novi Sad"), QStringLiteral("M-2")},
    {QString::fromUtf8("PETROVIĆ Ana"), QString::fromUtf8("Niš"), QStringLiteral("pet-3")},
};

// One step of a script: type a new search text, or press F7 or F3; then the
// expected current cell, or the expected message.
struct Step {
  enum Op { Text, F7, F3 } op;
  QString text;      // Text: the new search text
  int row = -1;      // F7/F3: the expected current cell when no message
  int col = -1;
  QString message;   // F7/F3: the expected message ("" = none)
};

Step text(const char* t) { return {Step::Text, QString::fromUtf8(t)}; }
Step f7(int r, int c) { return {Step::F7, {}, r, c}; }
Step f3(int r, int c) { return {Step::F3, {}, r, c}; }
Step f7msg(const char* m) { return {Step::F7, {}, -1, -1, QString::fromUtf8(m)}; }
Step f3msg(const char* m) { return {Step::F3, {}, -1, -1, QString::fromUtf8(m)}; }

class Search : public WorkWindows {
 protected:
  Proba* openSearch() {
    Proba* w = open(QStringLiteral("Trazi"), [](Proba& p) { p.lIMA_TRAZI = true; });
    w->fill(kRows);
    return w;
  }
  // Runs a script in a fresh window, through the real keys.
  void run(const QList<Step>& script, const char* name) {
    Proba* w = openSearch();
    ScriptedPresenter sp;
    for (int i = 0; i < script.size(); ++i) {
      const Step& s = script[i];
      const std::string where = std::string(name) + ", step " + std::to_string(i + 1);
      if (s.op == Step::Text) {
        w->oleTRAZI->setFocus();
        w->oleTRAZI->selectAll();
        w->oleTRAZI->insert(s.text);  // as typed (key clicks know only ASCII)
        continue;
      }
      w->oTABELA->setCurrentCell(-1, -1);
      const qsizetype before = sp.shown.size();
      if (!QApplication::focusWidget()) w->oleTRAZI->setFocus();
      press(s.op == Step::F7 ? Qt::Key_F7 : Qt::Key_F3);
      if (!s.message.isEmpty()) {
        ASSERT_EQ(sp.shown.size(), before + 1) << where;
        EXPECT_EQ(sp.shown.last().text, s.message) << where;
        EXPECT_EQ(sp.shown.last().title, QStringLiteral("Upozorenje")) << where;
      } else {
        EXPECT_EQ(sp.shown.size(), before) << where << ": " << sp.texts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(w->oTABELA->currentRow(), s.row) << where;
        EXPECT_EQ(w->oTABELA->currentColumn(), s.col) << where;
        EXPECT_EQ(QApplication::focusWidget(), w->oTABELA.data()) << where;
      }
    }
  }
};

TEST_F(Search, ScriptsOfKeys) {
  struct Script { const char* name; QList<Step> steps; };
  const QList<Script> scripts = {
      {"hits in table order, past the end, F7 again",
       {text("pet"), f7(0, 0), f3(2, 0), f3(2, 2), f3msg("Nema više!"), f3msg("Nema više!"), f7(0, 0),
        f3(2, 0)}},
      {"ignoring case, Serbian letters too",
       {text("IĆ a"), f7(2, 0), text("niš"), f7(2, 1), text("NIŠ"), f7(2, 1)}},
      {"F3 before F7 searches",
       {text("sad"), f3(1, 1), f3msg("Nema više!")}},
      {"a changed text starts afresh at its first hit",
       {text("pet"), f7(0, 0), f3(2, 0), text("-"), f3(0, 2), f3(1, 2), f3(2, 2), f3msg("Nema više!")}},
      {"no hit in a window that never found anything",
       {text("xyz"), f7msg("Ne postoji!"), f3msg("Ne postoji!"), f3msg("Ne postoji!")}},
      {"no hit after an earlier success",
       {text("marko"), f7(1, 0), text("xyz"), f7msg("Ne postoji!"), f3msg("Nema više!")}},
      {"no hit after a changed text, F3",
       {text("marko"), f7(1, 0), text("xyz"), f3msg("Ne postoji!"), f3msg("Nema više!")}},
  };
  for (const Script& s : scripts) run(s.steps, s.name);
}

TEST_F(Search, HitInHiddenColumnMovesRightOrLeftAtTheEnd) {
  Proba* w = openSearch();
  ScriptedPresenter sp;
  w->oTABELA->setColumnHidden(0, true);
  w->oleTRAZI->setText(QStringLiteral("marko"));
  w->TRAZI_PRVI();
  EXPECT_EQ(w->oTABELA->currentRow(), 1);
  EXPECT_EQ(w->oTABELA->currentColumn(), 1);
  w->oTABELA->setColumnHidden(0, false);
  w->oTABELA->setColumnHidden(3, true);  // the last column
  w->fill({{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("skriven")}});
  w->oleTRAZI->setText(QStringLiteral("skriven"));
  w->TRAZI_PRVI();
  EXPECT_EQ(w->oTABELA->currentRow(), 0);
  EXPECT_EQ(w->oTABELA->currentColumn(), 2);
  EXPECT_TRUE(sp.shown.isEmpty());
}

TEST_F(Search, F3AfterTheTableWasRefilledStartsAfreshWithoutCrashing) {
  struct Case {
    QList<QStringList> refill;
    int row, col;
    QString message;
    const char* what;
  };
  const QList<Case> cases = {
      {{}, -1, -1, QStringLiteral("Ne postoji!"), "emptied"},
      {{{QStringLiteral("x")}}, -1, -1, QStringLiteral("Ne postoji!"), "fewer rows, no hit"},
      {{{QStringLiteral("abc"), QStringLiteral("Petrovac")}}, 0, 1, QString(), "fewer rows, a new hit"},
      {{{QStringLiteral("a")}, {QStringLiteral("b")}, {QStringLiteral("c"), QStringLiteral("d")},
        {QStringLiteral("pet")}},
       3, 0, QString(), "other rows at the old places"},
  };
  for (const Case& c : cases) {
    Proba* w = openSearch();
    ScriptedPresenter sp;
    w->oleTRAZI->setText(QStringLiteral("pet"));
    w->TRAZI_PRVI();
    ASSERT_EQ(w->oTABELA->currentRow(), 0) << c.what;
    w->fill(c.refill);
    w->oTABELA->setCurrentCell(-1, -1);
    w->TRAZI_SLEDECI();
    if (c.message.isEmpty()) {
      EXPECT_TRUE(sp.shown.isEmpty()) << c.what;
      EXPECT_EQ(w->oTABELA->currentRow(), c.row) << c.what;
      EXPECT_EQ(w->oTABELA->currentColumn(), c.col) << c.what;
    } else {
      EXPECT_EQ(sp.texts(), QStringList{c.message}) << c.what;
    }
    w->TRAZI_SLEDECI();  // and once more: still no crash
    w->RADI_ESC();
    settle();
  }
}

TEST_F(Search, HitsAreCellPositionsAndTheirCount) {
  Proba* w = openSearch();
  w->oleTRAZI->setText(QStringLiteral("pet"));
  EXPECT_FALSE(w->qLIST_TRAZI.has_value());
  EXPECT_FALSE(w->nNADJEN.has_value());
  w->TRAZI_PRVI();
  ASSERT_TRUE(w->qLIST_TRAZI.has_value());
  EXPECT_EQ(*w->qLIST_TRAZI, (QList<MyQTW::Hit>{{0, 0}, {2, 0}, {2, 2}}));
  EXPECT_EQ(w->nDUZ_NADJENIH, 3);
  EXPECT_EQ(w->nNADJEN, 0);
  w->oleTRAZI->setText(QStringLiteral("pe"));
  EXPECT_FALSE(w->qLIST_TRAZI.has_value());
  EXPECT_EQ(w->nNADJEN, 0);  // kept: it tells "Nema više!" from "Ne postoji!"
}

}  // namespace
}  // namespace korvan::test
