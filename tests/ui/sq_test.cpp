// The generic entry dialog, driven offscreen: placement and names, editors by
// value type, write-back on "Ok" only, row buttons, key table and registry.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointF>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "common/registry.h"
#include "modal.h"
#include "ui/kolona.h"
#include "ui/sq.h"

namespace korvan::test {
namespace {

template <typename T>
T* editor(QWidget* dlg, const QString& name) {
  T* w = dlg->findChild<T*>(name);
  EXPECT_NE(w, nullptr) << name.toStdString();
  return w;
}

// Grid line and column of a widget in the dialog's grid; (-1, -1) when absent.
QPair<int, int> cellOf(QWidget* dlg, QWidget* w) {
  auto* grid = qobject_cast<QGridLayout*>(dlg->layout());
  const int i = grid && w ? grid->indexOf(w) : -1;
  if (i < 0) return {-1, -1};
  int r, c, rs, cs;
  grid->getItemPosition(i, &r, &c, &rs, &cs);
  return {r, c};
}

QWidget* byLabel(QWidget* dlg, const QString& text) {
  for (QLabel* l : dlg->findChildren<QLabel*>())
    if (l->text() == text) return l;
  return nullptr;
}

void ok(QWidget* d) { button(d, QStringLiteral("Ok"))->click(); }

// Runs SQ with a step on the open dialog.
bool run(const QList<SqRow>& rows, std::function<void(QWidget*)> step, const QList<SqKey>& keys = {},
         const QString& title = QStringLiteral("Proba")) {
  whenActive(std::move(step));
  return SQ(rows, SqIcon(), std::nullopt, title, keys);
}

TEST(Sq, PlacementAndObjectNames) {
  QString s1 = QStringLiteral("a"), s2 = QStringLiteral("b"), s3 = QStringLiteral("c");
  double n = 5;
  const SqButton nbs{QStringLiteral("Preuzmi od NBS"), QStringLiteral(":/res/trazi.png"), {}};
  struct Place { QString what; int line, col; };  // a widget name or a label's text
  struct Case { const char* name; QList<SqRow> rows; QList<Place> places; };
  const QList<Case> cases = {
      {"two rows, a button on the first",
       {{.label = QStringLiteral("Naziv"), .value = SQ_VAR(s1), .minWidth = 40, .button = nbs},
        {.label = QStringLiteral("Mesto"), .value = SQ_VAR(s2)}},
       {{QStringLiteral("Naziv"), 1, 0}, {QStringLiteral("EDIT_1_1_1"), 1, 1}, {QStringLiteral("BUTTON_1"), 1, 2},
        {QStringLiteral("Mesto"), 2, 0}, {QStringLiteral("EDIT_2_2_1"), 2, 1},
        {QStringLiteral("Cancel"), 3, 0}, {QStringLiteral("Ok"), 3, 1}}},
      {"same line after label, editor and button",
       {{.label = QStringLiteral("Naziv"), .value = SQ_VAR(s1), .button = nbs},
        {.label = QStringLiteral("Broj"), .value = SQ_VAR(n), .sameLine = true},
        {.label = QStringLiteral("Dalje"), .value = SQ_VAR(s3)}},
       {{QStringLiteral("EDIT_1_1_1"), 1, 1}, {QStringLiteral("Broj"), 1, 3}, {QStringLiteral("EDIT_2_1_4"), 1, 4}, {QStringLiteral("EDIT_3_2_1"), 2, 1},
        {QStringLiteral("Ok"), 3, 1}}},
      {"first row on the same line starts at line 0; a label alone has no editor",
       {{.label = QStringLiteral("Prvi"), .value = SQ_VAR(s1), .sameLine = true},
        {.label = QStringLiteral("Samo natpis")},
        {.label = QStringLiteral("Nepoznat tip"), .value = {[] { return QVariant(QPointF(1, 2)); }, {}}},
        {.label = QStringLiteral("Bez vrednosti"), .value = {[] { return QVariant(); }, {}}}},
       {{QStringLiteral("Prvi"), 0, 0}, {QStringLiteral("EDIT_1_0_1"), 0, 1}, {QStringLiteral("Samo natpis"), 1, 0},
        {QStringLiteral("Nepoznat tip"), 2, 0}, {QStringLiteral("Bez vrednosti"), 3, 0},
        {QStringLiteral("Cancel"), 4, 0}}},
  };
  for (const Case& c : cases) {
    run(c.rows, [&](QWidget* d) {
      for (const Place& p : c.places) {
        QWidget* w = d->findChild<QWidget*>(p.what);
        if (!w) w = byLabel(d, p.what);
        if (!w) w = button(d, p.what);
        EXPECT_EQ(cellOf(d, w), qMakePair(p.line, p.col)) << c.name << ": " << p.what.toStdString();
      }
      // Editors exist exactly for the rows with a value of a known type.
      int edits = 0;
      for (QWidget* w : d->findChildren<QWidget*>())
        if (w->objectName().startsWith(QLatin1String("EDIT_"))) ++edits;
      int expected = 0;
      for (const Place& p : c.places)
        if (p.what.startsWith(QLatin1String("EDIT_"))) ++expected;
      EXPECT_EQ(edits, expected) << c.name;
      d->close();
    });
  }
}

TEST(Sq, EditorsByTypeAndTheirStart) {
  double broj = 1234.5;
  QString tekst = QStringLiteral("tekst"), drugi = QStringLiteral("drugi"), vise = QStringLiteral("red 1\nred 2");
  QDate datum(2023, 3, 5);
  bool da = true;
  const QList<SqRow> rows = {
      {.label = QStringLiteral("Broj"), .value = SQ_VAR(broj), .minWidth = 12},
      {.label = QStringLiteral("Tekst"), .value = SQ_VAR(tekst), .minWidth = 30,
       .button = SqButton{QString(), QStringLiteral(":/res/trazi.png"), {}}},
      {.label = QStringLiteral("Drugi"), .value = SQ_VAR(drugi), .enabled = false},
      {.label = QStringLiteral("Datum"), .value = SQ_VAR(datum)},
      {.label = QStringLiteral("Da"), .value = SQ_VAR(da)},
      {.label = QStringLiteral("Opis"), .value = SQ_VAR(vise), .option = true},
  };
  run(rows, [](QWidget* d) {
    const double unit = NPOINTSIZE(d);
    auto* num = editor<QLineEdit>(d, QStringLiteral("EDIT_1_1_1"));
    EXPECT_EQ(num->text(), QStringLiteral("1234.5"));
    EXPECT_EQ(num->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(num->minimumWidth(), int(12 * unit));
    EXPECT_EQ(num->selectedText(), QStringLiteral("1234.5"));  // only the first
    auto* txt = editor<QLineEdit>(d, QStringLiteral("EDIT_2_2_1"));
    EXPECT_EQ(txt->minimumWidth(), int(30 * unit));
    EXPECT_FALSE(txt->hasSelectedText());
    EXPECT_FALSE(editor<QLineEdit>(d, QStringLiteral("EDIT_3_3_1"))->hasSelectedText());
    EXPECT_FALSE(editor<QLineEdit>(d, QStringLiteral("EDIT_3_3_1"))->isEnabled());
    EXPECT_TRUE(txt->isEnabled());
    auto* b = editor<QPushButton>(d, QStringLiteral("BUTTON_2"));
    EXPECT_TRUE(b->text().isEmpty());
    EXPECT_EQ(cellOf(d, b), qMakePair(2, 2));
    auto* de = editor<QDateEdit>(d, QStringLiteral("EDIT_4_4_1"));
    EXPECT_TRUE(de->calendarPopup());
    EXPECT_EQ(de->displayFormat(), QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(de->text(), QStringLiteral("05.03.2023"));
    EXPECT_TRUE(editor<QCheckBox>(d, QStringLiteral("EDIT_5_5_1"))->isChecked());
    auto* pe = editor<QPlainTextEdit>(d, QStringLiteral("EDIT_6_6_1"));
    EXPECT_EQ(pe->toPlainText(), QStringLiteral("red 1\nred 2"));
    EXPECT_TRUE(pe->tabChangesFocus());
    d->close();
  });
}

TEST(Sq, OkWritesBackEveryTypeInRowOrder) {
  double broj = 1;
  QString tekst = QStringLiteral("staro"), vise = QStringLiteral("a");
  QDate datum(2023, 3, 5), prazan;
  bool da = false;
  QVariant izbor = QStringList{QString(), QStringLiteral("Da"), QStringLiteral("Ne")};
  QVariant slobodan = QVariantList{QStringLiteral("prvi"), QStringLiteral("drugi")};
  QStringList order;
  auto tracked = [&order](const QString& name, QVariant& v) {
    SqValue s = SQ_VAR(v);
    return SqValue{s.get, [&order, name, set = s.set](const QVariant& x) { order << name; set(x); }};
  };
  QVariant broj2 = 7, tekst2 = QStringLiteral("x");
  const QList<SqRow> rows = {
      {.label = QStringLiteral("Broj"), .value = SQ_VAR(broj)},
      {.label = QStringLiteral("Tekst"), .value = SQ_VAR(tekst)},
      {.label = QStringLiteral("Datum"), .value = SQ_VAR(datum)},
      {.label = QStringLiteral("Prazan datum"), .value = SQ_VAR(prazan)},
      {.label = QStringLiteral("Da"), .value = SQ_VAR(da)},
      {.label = QStringLiteral("Izbor"), .value = SQ_VAR(izbor), .option = 3},
      {.label = QStringLiteral("Slobodan"), .value = SQ_VAR(slobodan), .option = true,
       .mask = QStringLiteral("start")},
      {.label = QStringLiteral("Opis"), .value = SQ_VAR(vise), .option = true},
      {.label = QStringLiteral("B2"), .value = tracked(QStringLiteral("B2"), broj2)},
      {.label = QStringLiteral("T2"), .value = tracked(QStringLiteral("T2"), tekst2)},
  };
  const bool answered = run(rows, [](QWidget* d) {
    editor<QLineEdit>(d, QStringLiteral("EDIT_1_1_1"))->setText(QStringLiteral("1.234,56"));
    editor<QLineEdit>(d, QStringLiteral("EDIT_2_2_1"))->setText(QStringLiteral("novo"));
    editor<QDateEdit>(d, QStringLiteral("EDIT_3_3_1"))->setDate(QDate(2024, 2, 29));
    editor<QCheckBox>(d, QStringLiteral("EDIT_5_5_1"))->setChecked(true);
    auto* izbor = editor<QComboBox>(d, QStringLiteral("EDIT_6_6_1"));
    EXPECT_EQ(izbor->currentText(), QStringLiteral("Ne"));  // entry 3 at start
    izbor->setCurrentIndex(1);                               // "Da"
    auto* slobodan = editor<QComboBox>(d, QStringLiteral("EDIT_7_7_1"));
    EXPECT_TRUE(slobodan->isEditable());
    EXPECT_EQ(slobodan->currentText(), QStringLiteral("start"));
    editor<QPlainTextEdit>(d, QStringLiteral("EDIT_8_8_1"))->setPlainText(QStringLiteral("red\ndrugi"));
    editor<QLineEdit>(d, QStringLiteral("EDIT_9_9_1"))->setText(QStringLiteral("nije broj"));
    ok(d);
  });
  EXPECT_TRUE(answered);
  EXPECT_DOUBLE_EQ(broj, 1234.56);
  EXPECT_EQ(tekst, QStringLiteral("novo"));
  EXPECT_EQ(datum, QDate(2024, 2, 29));
  EXPECT_EQ(prazan, QDate(2000, 1, 1));  // untouched empty date
  EXPECT_TRUE(da);
  EXPECT_EQ(izbor.typeId(), QMetaType::Int);
  EXPECT_EQ(izbor.toInt(), 2);
  EXPECT_EQ(slobodan.toString(), QStringLiteral("start"));
  EXPECT_EQ(vise, QStringLiteral("red\ndrugi"));
  EXPECT_EQ(broj2.toDouble(), 0.0);  // what INTELI_VAL makes of it
  EXPECT_EQ(tekst2.toString(), QStringLiteral("x"));
  EXPECT_EQ(order, (QStringList{QStringLiteral("B2"), QStringLiteral("T2")}));
}

TEST(Sq, CancelEscAndCloseChangeNothing) {
  const QList<std::function<void(QWidget*)>> exits = {
      [](QWidget* d) { button(d, QStringLiteral("Cancel"))->click(); },
      [](QWidget* d) { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : d, Qt::Key_Escape); },
      [](QWidget* d) { d->close(); },
  };
  for (int i = 0; i < exits.size(); ++i) {
    double broj = 3;
    QString tekst = QStringLiteral("staro");
    bool da = false;
    QVariant izbor = QStringList{QStringLiteral("a"), QStringLiteral("b")};
    int sets = 0;
    const QList<SqRow> rows = {
        {.label = QStringLiteral("Broj"), .value = SQ_VAR(broj)},
        {.label = QStringLiteral("Tekst"), .value = SQ_VAR(tekst)},
        {.label = QStringLiteral("Da"), .value = SQ_VAR(da)},
        {.label = QStringLiteral("Izbor"), .value = SQ_VAR(izbor)},
        {.label = QStringLiteral("Brojac"), .value = {[] { return QVariant(1); }, [&sets](const QVariant&) { ++sets; }}},
    };
    const bool answered = run(rows, [&](QWidget* d) {
      editor<QLineEdit>(d, QStringLiteral("EDIT_1_1_1"))->setText(QStringLiteral("99"));
      editor<QLineEdit>(d, QStringLiteral("EDIT_2_2_1"))->setText(QStringLiteral("novo"));
      editor<QCheckBox>(d, QStringLiteral("EDIT_3_3_1"))->setChecked(true);
      editor<QComboBox>(d, QStringLiteral("EDIT_4_4_1"))->setCurrentIndex(1);
      exits[i](d);
    });
    EXPECT_FALSE(answered) << i;
    EXPECT_EQ(broj, 3) << i;
    EXPECT_EQ(tekst, QStringLiteral("staro")) << i;
    EXPECT_FALSE(da) << i;
    EXPECT_EQ(izbor.toStringList(), (QStringList{QStringLiteral("a"), QStringLiteral("b")})) << i;
    EXPECT_EQ(sets, 0) << i;
  }
}

TEST(Sq, EnterInASingleLineEditorConfirms) {
  QString tekst = QStringLiteral("a");
  const bool answered = run({{.label = QStringLiteral("T"), .value = SQ_VAR(tekst)}}, [](QWidget* d) {
    auto* le = editor<QLineEdit>(d, QStringLiteral("EDIT_1_1_1"));
    le->setFocus();
    le->setText(QStringLiteral("b"));
    QTest::keyClick(le, Qt::Key_Return);
  });
  EXPECT_TRUE(answered);
  EXPECT_EQ(tekst, QStringLiteral("b"));
}

TEST(Sq, ListsOfEntriesPlainAndThreeState) {
  struct Case {
    const char* name;
    QVariantList entries;
    QVariant option;
    std::function<void(QListWidget*)> act;
    QVariantList stored;
  };
  const QVariantList plain = {QVariantList{1, QStringLiteral("a"), false}, QVariantList{2, QStringLiteral("b"), true}};
  const QVariantList three = {QVariantList{1, QStringLiteral("a"), -1}, QVariantList{2, QStringLiteral("b"), 1}};
  auto space = [](int row) {
    return [row](QListWidget* l) {
      l->setFocus();
      l->setCurrentRow(row);
      QTest::keyClick(l, Qt::Key_Space);
    };
  };
  const QList<Case> cases = {
      {"plain, unchanged", plain, QVariant(), {}, {2}},
      {"plain, a checked", plain, QVariant(), space(0), {1, 2}},
      {"three-state, unchanged", three, false, {}, {QVariantList{1, -1}, QVariantList{2, 1}}},
      {"three-state, partial clicked becomes checked", three, true, space(0),
       {QVariantList{1, 1}, QVariantList{2, 1}}},
      {"three-state, checked clicked becomes unchecked", three, true, space(1),
       {QVariantList{1, -1}, QVariantList{2, 0}}},
      {"text ids; an entry without a check has no box",
       {QVariantList{QStringLiteral("K1"), QStringLiteral("a"), 0}, QVariantList{QStringLiteral("K2"), QStringLiteral("b")},
        QVariantList{QPointF(), QStringLiteral("no id"), 1}},
       true, {},
       {QVariantList{QStringLiteral("K1"), 0}, QVariantList{QStringLiteral("K2"), 0}}},
  };
  for (const Case& c : cases) {
    QVariant v = c.entries;
    const bool answered = run({{.label = QStringLiteral("Lista"), .value = SQ_VAR(v), .option = c.option}},
                              [&](QWidget* d) {
                                auto* l = editor<QListWidget>(d, QStringLiteral("EDIT_1_1_1"));
                                ASSERT_EQ(l->count(), c.entries.size()) << c.name;
                                EXPECT_EQ(l->item(1)->text(), QStringLiteral("b")) << c.name;
                                if (c.act) c.act(l);
                                ok(d);
                              });
    EXPECT_TRUE(answered) << c.name;
    EXPECT_EQ(v.toList(), c.stored) << c.name;
  }
}

TEST(Sq, EntryItemsKeepTheirIdsAndBoxes) {
  QVariant v = QVariantList{QVariantList{7, QStringLiteral("sedam"), 1}, QVariantList{QStringLiteral("X"), QStringLiteral("iks")}};
  run({{.label = QStringLiteral("Lista"), .value = SQ_VAR(v), .option = false}}, [](QWidget* d) {
    auto* l = editor<QListWidget>(d, QStringLiteral("EDIT_1_1_1"));
    EXPECT_EQ(l->item(0)->whatsThis(), QStringLiteral("         7"));
    EXPECT_EQ(l->item(0)->checkState(), Qt::Checked);
    EXPECT_FALSE(l->item(0)->flags() & Qt::ItemIsUserTristate);
    EXPECT_FALSE(l->item(0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(l->item(1)->whatsThis(), QStringLiteral("X"));
    EXPECT_FALSE(l->item(1)->data(Qt::CheckStateRole).isValid());
    d->close();
  });
}

TEST(Sq, ChoiceListStartsAndEmptyList) {
  struct Case { const char* name; QVariant option; QString start; int stored; };
  const QList<Case> cases = {
      {"entry 3 of 3", 3, QStringLiteral("Ne"), 3},
      {"no option: the first", QVariant(), QString(), 1},
      {"out of range: the first", 9, QString(), 1},
  };
  for (const Case& c : cases) {
    QVariant v = QStringList{QString(), QStringLiteral("Da"), QStringLiteral("Ne")};
    run({{.label = QStringLiteral("Izbor"), .value = SQ_VAR(v), .option = c.option}}, [&](QWidget* d) {
      EXPECT_EQ(editor<QComboBox>(d, QStringLiteral("EDIT_1_1_1"))->currentText(), c.start) << c.name;
      ok(d);
    });
    EXPECT_EQ(v.toInt(), c.stored) << c.name;
  }
  QVariant empty = QVariantList{};
  run({{.label = QStringLiteral("Prazno"), .value = SQ_VAR(empty)}}, ok);
  EXPECT_EQ(empty.typeId(), QMetaType::Int);
  EXPECT_EQ(empty.toInt(), 0);
}

TEST(Sq, DateClearButtonStoresTheEmptyDate) {
  QDate d1(2023, 3, 5);
  run({{.label = QStringLiteral("Datum"), .value = SQ_VAR(d1), .option = true}}, [](QWidget* d) {
    auto* clear = editor<QPushButton>(d, QStringLiteral("BUTTON_1"));
    EXPECT_TRUE(clear->text().isEmpty());
    auto* de = editor<QDateEdit>(d, QStringLiteral("EDIT_1_1_1"));
    clear->click();
    EXPECT_EQ(de->text(), QStringLiteral(" "));
    ok(d);
  });
  EXPECT_TRUE(d1.isNull());
}

TEST(Sq, EditingFinishedOfDateAndSingleLineText) {
  QString t = QStringLiteral("a");
  QDate dt(2023, 1, 1);
  QStringList finished;
  const QList<SqRow> rows = {
      {.label = QStringLiteral("T"), .value = SQ_VAR(t), .editingFinished = [&] { finished << QStringLiteral("T"); }},
      {.label = QStringLiteral("D"), .value = SQ_VAR(dt), .editingFinished = [&] { finished << QStringLiteral("D"); }},
  };
  run(rows, [&](QWidget* d) {
    auto* le = editor<QLineEdit>(d, QStringLiteral("EDIT_1_1_1"));
    auto* de = editor<QDateEdit>(d, QStringLiteral("EDIT_2_2_1"));
    le->setFocus();
    QTest::keyClick(le, Qt::Key_B);
    de->setFocus();  // leaving the text editor finishes its editing
    QTest::keyClick(de, Qt::Key_Up);
    le->setFocus();
    EXPECT_EQ(finished, (QStringList{QStringLiteral("T"), QStringLiteral("D")}));
    d->close();
  });
}

TEST(Sq, RowButtonsKnowTheirRowAndActOnTheEditors) {
  QString naziv = QStringLiteral("Firma"), mesto, pib;
  QList<int> clickedRows;
  auto fill = [&](const SqEditors& e, int row) {
    clickedRows << row;
    qobject_cast<QLineEdit*>(e[1].data())->setText(QStringLiteral("Beograd"));
    qobject_cast<QLineEdit*>(e[2].data())->setText(QStringLiteral("100000001"));
  };
  auto paste = [&](const SqEditors& e, int row) {
    clickedRows << row;
    qobject_cast<QLineEdit*>(e[row - 1].data())->setText(QStringLiteral("nalepljeno"));
  };
  const QList<SqRow> rows = {
      {.label = QStringLiteral("Naziv"), .value = SQ_VAR(naziv),
       .button = SqButton{QStringLiteral("Preuzmi od NBS"), QStringLiteral(":/res/trazi.png"), fill}},
      {.label = QStringLiteral("Mesto"), .value = SQ_VAR(mesto)},
      {.label = QStringLiteral("PIB"), .value = SQ_VAR(pib), .button = SqButton{QStringLiteral("Nanesi"), QString(), paste}},
  };
  const bool answered = run(rows, [](QWidget* d) {
    // The focus stays in another row's editor: the row comes from the button.
    editor<QLineEdit>(d, QStringLiteral("EDIT_2_2_1"))->setFocus();
    editor<QPushButton>(d, QStringLiteral("BUTTON_3"))->click();
    EXPECT_EQ(editor<QLineEdit>(d, QStringLiteral("EDIT_3_3_1"))->text(), QStringLiteral("nalepljeno"));
    auto* nbs = editor<QPushButton>(d, QStringLiteral("BUTTON_1"));
    QTest::mouseClick(nbs, Qt::LeftButton);
    ok(d);
  });
  EXPECT_TRUE(answered);
  EXPECT_EQ(clickedRows, (QList<int>{3, 1}));
  EXPECT_EQ(naziv, QStringLiteral("Firma"));
  EXPECT_EQ(mesto, QStringLiteral("Beograd"));
  EXPECT_EQ(pib, QStringLiteral("100000001"));
}

TEST(Sq, KeyTableGetsTheFocusedRowAndConsumesOnlyWhenTrue) {
  QString t = QStringLiteral("a");
  QDate dt(2023, 1, 1);
  QVariant izbor = QStringList{QStringLiteral("x")};
  QStringList seen;
  const QList<SqKey> keys = {
      {Qt::Key_F5, [&](const QString& f, const SqEditors& e) {
         seen << f;
         qobject_cast<QLineEdit*>(e[0].data())->setText(QStringLiteral("F5"));
         return true;
       }},
      {Qt::Key_F5, [&](const QString&, const SqEditors&) { seen << QStringLiteral("second pair"); return true; }},
      {Qt::Key_Escape, [&](const QString& f, const SqEditors&) { seen << QStringLiteral("Esc ") + f; return false; }},
  };
  const QList<SqRow> rows = {
      {.label = QStringLiteral("T"), .value = SQ_VAR(t)},
      {.label = QStringLiteral("D"), .value = SQ_VAR(dt)},
      {.label = QStringLiteral("I"), .value = SQ_VAR(izbor), .option = true},
  };
  const bool answered = run(rows, [&](QWidget* d) {
    auto* le = editor<QLineEdit>(d, QStringLiteral("EDIT_1_1_1"));
    le->setFocus();
    QTest::keyClick(le, Qt::Key_F5, Qt::ShiftModifier);  // modifiers play no part
    auto* de = editor<QDateEdit>(d, QStringLiteral("EDIT_2_2_1"));
    de->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    editor<QComboBox>(d, QStringLiteral("EDIT_3_3_1"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    EXPECT_TRUE(d->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);  // not consumed: the dialog closes
  }, keys);
  EXPECT_FALSE(answered);
  EXPECT_EQ(seen, (QStringList{QStringLiteral("EDIT_1_1_1"), QStringLiteral("EDIT_2_2_1"),
                               QStringLiteral("EDIT_3_3_1"), QStringLiteral("Esc EDIT_3_3_1")}));
  EXPECT_EQ(t, QStringLiteral("a"));
}

QStringList names(const QList<QPointer<QWidget>>& ws) {
  QStringList out;
  for (const QPointer<QWidget>& w : ws) out << (w ? w->objectName() : QStringLiteral("-"));
  return out;
}

TEST(Sq, RegistryEntriesWhileRunningAndNested) {
  QString a = QStringLiteral("a"), b = QStringLiteral("b");
  QStringList outerSeen, innerSeen, afterInner;
  QStringList innerLabels;
  auto inner = [&](const SqEditors&, int) {
    const QList<SqRow> rows = {{.label = QStringLiteral("Unutra"), .value = SQ_VAR(b)}};
    whenActive([&](QWidget* d) {
      innerSeen = names(SQ_WIDGETS(QStringLiteral("_SQ_oEDIT")));
      for (const QPointer<QWidget>& l : SQ_WIDGETS(QStringLiteral("_SQ_oLABEL")))
        innerLabels << qobject_cast<QLabel*>(l.data())->text();
      ok(d);
    });
    SQ(rows);
    afterInner = names(SQ_WIDGETS(QStringLiteral("_SQ_oEDIT")));
  };
  const QList<SqRow> rows = {
      {.label = QStringLiteral("Spolja"), .value = SQ_VAR(a), .button = SqButton{QStringLiteral("Jos"), QString(), inner}},
      {.label = QStringLiteral("Natpis")},
  };
  run(rows, [&](QWidget* d) {
    outerSeen = names(SQ_WIDGETS(QStringLiteral("_SQ_oEDIT")));
    EXPECT_EQ(names(SQ_WIDGETS(QStringLiteral("_SQ_oBUTTON"))), (QStringList{QStringLiteral("BUTTON_1"), QStringLiteral("-")}));
    editor<QPushButton>(d, QStringLiteral("BUTTON_1"))->click();
    ok(d);
  });
  EXPECT_EQ(outerSeen, (QStringList{QStringLiteral("EDIT_1_1_1"), QStringLiteral("-")}));
  EXPECT_EQ(innerSeen, QStringList{QStringLiteral("EDIT_1_1_1")});
  EXPECT_EQ(innerLabels, QStringList{QStringLiteral("Unutra")});
  EXPECT_EQ(afterInner, outerSeen);
  for (const char* key : {"_SQ_oLABEL", "_SQ_oEDIT", "_SQ_oBUTTON"}) {
    const QVariant v = MGLOBAL(QString::fromLatin1(key));
    EXPECT_EQ(v.typeId(), QMetaType::QString) << key;
    EXPECT_EQ(v.toString(), QString()) << key;
  }
}

TEST(Sq, TitleIconFontAndMultiLineTab) {
  QString one = QStringLiteral("1"), two = QStringLiteral("2");
  QWidget owner;
  QPixmap pm(16, 16);
  pm.fill(Qt::red);
  owner.setWindowIcon(QIcon(pm));
  QFont f = QApplication::font();
  f.setPointSize(15);
  whenActive([&](QWidget* d) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Podaci firme"));
    EXPECT_EQ(d->font().pointSize(), 15);
    EXPECT_FALSE(d->windowIcon().isNull());
    auto* pe = editor<QPlainTextEdit>(d, QStringLiteral("EDIT_1_1_1"));
    pe->setFocus();
    QTest::keyClick(pe, Qt::Key_Tab);
    EXPECT_EQ(pe->toPlainText(), QStringLiteral("1"));
    EXPECT_EQ(QApplication::focusWidget(), editor<QLineEdit>(d, QStringLiteral("EDIT_2_2_1")));
    d->close();
  });
  SQ({{.label = QStringLiteral("Opis"), .value = SQ_VAR(one), .option = true},
      {.label = QStringLiteral("Dalje"), .value = SQ_VAR(two)}},
     &owner, f, QStringLiteral("Podaci firme"));
}

}  // namespace
}  // namespace korvan::test
