// The array browse dialog, driven as its callers use it: rows, descriptors,
// the search bar, double click, Ok and Esc.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "common/presenter.h"
#include "modal.h"
#include "ui/dbgarray.h"
#include "support/scriptedpresenter.h"

namespace korvan::test {
namespace {

QTableWidget* tableOf(QWidget* dlg) { return dlg->findChild<QTableWidget*>(); }

QString cell(QTableWidget* t, int r, int c) {
  const QTableWidgetItem* i = t->item(r, c);
  return i ? i->text() : QString();
}

// The buyer picker's shape: name, town, a number and a date.
const QList<MyKOLONA> kKupci = {
    MyKOLONA(QStringLiteral("NAZIV"), QStringLiteral("Naziv"), QStringLiteral("C"), 20),
    MyKOLONA(QStringLiteral("MESTO"), QStringLiteral("Mesto"), QStringLiteral("C"), 12),
    MyKOLONA(QStringLiteral("DUG"), QStringLiteral("Dug"), QStringLiteral("N"), 14, 2),
    MyKOLONA(QStringLiteral("DATUM"), QStringLiteral("Datum"), QStringLiteral("D"), 10),
};

QVariantList kupci() {
  return {
      QVariantList{QStringLiteral("Petar doo"), QStringLiteral("Beograd"), 1234567.5, QDate(2023, 3, 5)},
      QVariantList{QStringLiteral("Marko"), QStringLiteral("Novi Sad"), 0, QDate()},
      QVariantList{QString::fromUtf8("PETROVIĆ i sin"), QString::fromUtf8("Niš"), 12.0, QDate(2024, 1, 31)},
      QVariantList{QStringLiteral("Zoran"), QStringLiteral("Petrovac"), -5.25, QDate(2022, 12, 14)},
  };
}

class Browse : public ::testing::Test {
 protected:
  // The picker as every caller opens it, with a step run on the open dialog.
  int pick(QVariantList& data, const QList<MyKOLONA>& kolone, std::function<void(QWidget*)> step,
           bool keepWidths = true) {
    whenActive(std::move(step));
    return DISP_DEBUG_ARRAY(data, QApplication::font(), true, QStringLiteral("Izbor kupca"), kolone,
                            keepWidths, false, true);
  }
  static void press(Qt::Key key) {
    QWidget* f = QApplication::focusWidget();
    ASSERT_NE(f, nullptr);
    QTest::keyClick(f, key);
    QTest::qWait(150);  // a button's shortcut clicks after a short animation
  }
};

TEST_F(Browse, DoubleClickOkAndEscAnswerTheRow) {
  struct Case {
    const char* name;
    std::function<void(QWidget*)> step;
    int expected;
  };
  const QList<Case> cases = {
      {"double click on the third row",
       [](QWidget* d) {
         QTableWidget* t = tableOf(d);
         const QRect r = t->visualItemRect(t->item(2, 1));
         QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, r.center());
         QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, r.center());
       },
       3},
      {"Ok with the second row current",
       [](QWidget* d) {
         tableOf(d)->setCurrentCell(1, 2);
         button(d, QStringLiteral("Ok"))->click();
       },
       2},
      {"Esc with a current row",
       [](QWidget* d) {
         tableOf(d)->setCurrentCell(1, 0);
         tableOf(d)->setFocus();
         QTest::keyClick(tableOf(d), Qt::Key_Escape);
       },
       0},
      {"close button", [](QWidget* d) { d->close(); }, 0},
  };
  for (const Case& c : cases) {
    QVariantList data = kupci();
    EXPECT_EQ(pick(data, kKupci, c.step), c.expected) << c.name;
    EXPECT_EQ(data, kupci()) << c.name;
  }
}

TEST_F(Browse, WindowTitleLayoutAndMaximised) {
  QVariantList data = kupci();
  pick(data, kKupci, [](QWidget* d) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Izbor kupca"));
    EXPECT_TRUE(d->windowState() & Qt::WindowMaximized);
    for (const char* b : {"Ok", "Nađi (F7)", "Sledeći (F3)"})
      EXPECT_NE(button(d, QString::fromUtf8(b)), nullptr) << b;
    EXPECT_EQ(button(d, QString::fromUtf8("Nađi (F7)"))->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(button(d, QString::fromUtf8("Sledeći (F3)"))->shortcut(), QKeySequence(Qt::Key_F3));
    QTableWidget* t = tableOf(d);
    EXPECT_EQ(t->columnCount(), 4);
    EXPECT_EQ(t->rowCount(), 4);
    EXPECT_EQ(t->horizontalHeaderItem(2)->text(), QStringLiteral("Dug"));
    EXPECT_FALSE(t->horizontalHeader()->stretchLastSection());
    // From top to bottom: search field, table, Ok.
    auto* field = d->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    EXPECT_LT(field->mapTo(d, QPoint()).y(), t->mapTo(d, QPoint()).y());
    EXPECT_LT(t->mapTo(d, QPoint()).y(), button(d, QStringLiteral("Ok"))->mapTo(d, QPoint()).y());
    d->close();
  });
}

TEST_F(Browse, WidthsFromDescriptorsOrFittedToContents) {
  QVariantList data = kupci();
  data[0] = QVariantList{QStringLiteral("Preduzece sa veoma dugim imenom doo Beograd"),
                         QStringLiteral("BG"), 1.0, QDate(2023, 1, 1)};
  pick(data, kKupci, [](QWidget* d) {
    QTableWidget* t = tableOf(d);
    const double unit = NPOINTSIZE(t) * 0.75;
    for (int c = 0; c < kKupci.size(); ++c)
      EXPECT_EQ(t->columnWidth(c), SIRINA_KOLONE(kKupci[c], unit)) << c;
    d->close();
  });
  pick(data, kKupci, [](QWidget* d) {
    QTableWidget* t = tableOf(d);
    const double unit = NPOINTSIZE(t) * 0.75;
    QList<int> widths;
    for (int c = 0; c < t->columnCount(); ++c) widths << t->columnWidth(c);
    EXPECT_GT(widths[0], SIRINA_KOLONE(kKupci[0], unit));  // the long name fits
    t->resizeColumnsToContents();
    for (int c = 0; c < t->columnCount(); ++c) EXPECT_EQ(t->columnWidth(c), widths[c]) << c;
    d->close();
  }, false);
}

TEST_F(Browse, CellsByTypeAndReadOnlyWithoutTotals) {
  QVariantList data = kupci();
  data << QVariantList{QStringLiteral("Bez mesta")};  // a short row: empty cells
  pick(data, kKupci, [](QWidget* d) {
    QTableWidget* t = tableOf(d);
    EXPECT_EQ(cell(t, 0, 2), QStringLiteral("1.234.567,50"));
    EXPECT_EQ(cell(t, 1, 2), QString());  // zero shows blank
    EXPECT_EQ(cell(t, 3, 2), QStringLiteral("-5,25"));
    EXPECT_EQ(t->item(0, 2)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(cell(t, 0, 3), QStringLiteral("05.03.2023"));
    EXPECT_EQ(t->item(0, 3)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignVCenter));
    EXPECT_EQ(cell(t, 4, 0), QStringLiteral("Bez mesta"));
    for (int c = 1; c < 4; ++c) EXPECT_EQ(cell(t, 4, c), QString()) << c;
    for (int r = 0; r < t->rowCount(); ++r)
      for (int c = 0; c < t->columnCount(); ++c)
        if (const QTableWidgetItem* i = t->item(r, c)) {
          EXPECT_FALSE(i->flags() & Qt::ItemIsEditable) << r << "," << c;
        }
    d->close();
  });
}

TEST_F(Browse, TotalsColumnsAreEditableAndLogicalCellsCheckOnlyThere) {
  QList<MyKOLONA> kolone = {
      MyKOLONA(QStringLiteral("N"), QStringLiteral("Naziv"), QStringLiteral("C"), 10),
      MyKOLONA(QStringLiteral("K"), QStringLiteral("Kol"), QStringLiteral("N"), 8, 2),
      MyKOLONA(QStringLiteral("A"), QStringLiteral("Aktivan"), QStringLiteral("L"), 1),
      MyKOLONA(QStringLiteral("B"), QStringLiteral("Izabran"), QStringLiteral("L"), 1),
  };
  kolone[1].lTOTAL = true;
  kolone[3].lTOTAL = true;
  kolone[0].cALIGN = QStringLiteral("C");
  // One row of four cells, spelt so that every compiler reads one meaning.
  QVariantList data{QVariant(QVariantList{QStringLiteral("a"), 2.5, true, false})};
  pick(data, kolone, [](QWidget* d) {
    QTableWidget* t = tableOf(d);
    EXPECT_FALSE(t->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(t->item(0, 0)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignVCenter));
    EXPECT_TRUE(t->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(t->item(0, 2)->checkState(), Qt::Checked);
    EXPECT_FALSE(t->item(0, 2)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_EQ(t->item(0, 3)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(t->item(0, 3)->flags() & Qt::ItemIsUserCheckable);
    d->close();
  });
}

TEST_F(Browse, MemoOnOneLineWrappedAndRowsHeightened) {
  const QList<MyKOLONA> kolone = {
      MyKOLONA(QStringLiteral("KOD"), QStringLiteral("Kod"), QStringLiteral("C"), 30),
      MyKOLONA(QStringLiteral("OPIS"), QStringLiteral("Opis"), QStringLiteral("M"), 50),
  };
  const QString longText = QString::fromUtf8(
      "Poreski dužnik je primalac - obveznik PDV kojem je izvršen promet otpadaka i sekundarnih "
      "sirovina,\nkao i usluga koje su neposredno povezane sa tim dobrima, i tako dalje, i tako "
      "dalje,\r\nsve dok red ne postane mnogo duži od kolone");
  QVariantList data = {QVariantList{QStringLiteral("PDV-RS-10-2-1"), longText},
                       QVariantList{QStringLiteral("PDV-RS-11-1-1"), QStringLiteral("Kratko")}};
  const QVariantList before = data;
  const int got = pick(data, kolone, [&](QWidget* d) {
    QTableWidget* t = tableOf(d);
    const QString shown = cell(t, 0, 1);
    EXPECT_FALSE(shown.contains(QLatin1Char('\n')));
    EXPECT_FALSE(shown.contains(QLatin1Char('\r')));
    EXPECT_TRUE(shown.contains(QStringLiteral("sirovina, kao i usluga"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("dalje, sve dok"))) << shown.toStdString();
    EXPECT_TRUE(t->wordWrap());
    EXPECT_EQ(t->verticalHeader()->sectionResizeMode(0), QHeaderView::ResizeToContents);
    EXPECT_TRUE(t->horizontalHeader()->stretchLastSection());
    QTest::qWait(50);
    EXPECT_GT(t->rowHeight(0), t->rowHeight(1));
    t->setCurrentCell(0, 0);
    button(d, QStringLiteral("Ok"))->click();
  });
  EXPECT_EQ(got, 1);
  EXPECT_EQ(data, before);  // the caller's texts keep their line feeds
}

TEST_F(Browse, EmptyDataGivesAMessageAndNoDialog) {
  ScriptedPresenter sp;
  QVariantList none;
  EXPECT_EQ(DISP_DEBUG_ARRAY(none, std::nullopt, true, QStringLiteral("Izbor artikla"), kKupci, true,
                             false, true),
            0);
  EXPECT_EQ(DISP_DEBUG_ARRAY(none), 0);
  EXPECT_EQ(sp.texts(), (QStringList{QString::fromUtf8("Nema ništa za pregled!"),
                                     QStringLiteral("Prazan niz!")}));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The search bar is the work window's own search: the same script of keys
// and messages as there.
TEST_F(Browse, SearchWithF7AndF3) {
  ScriptedPresenter sp;
  QVariantList data = kupci();
  const int got = pick(data, kKupci, [&](QWidget* d) {
    QTableWidget* t = tableOf(d);
    auto* field = d->findChild<QLineEdit*>();
    auto type = [&](const QString& text) {
      field->setFocus();
      field->selectAll();
      field->insert(text);
    };
    auto at = [&](int r, int c) {
      EXPECT_EQ(t->currentRow(), r);
      EXPECT_EQ(t->currentColumn(), c);
      EXPECT_EQ(QApplication::focusWidget(), t);
    };
    type(QStringLiteral("pet"));
    press(Qt::Key_F7);
    at(0, 0);
    press(Qt::Key_F3);
    at(2, 0);
    press(Qt::Key_F3);
    at(3, 1);
    EXPECT_TRUE(sp.shown.isEmpty());
    press(Qt::Key_F3);
    ASSERT_EQ(sp.shown.size(), 1);
    EXPECT_EQ(sp.shown.last().text, QString::fromUtf8("Nema više!"));
    type(QString::fromUtf8("niš"));  // a new text: F3 starts over
    press(Qt::Key_F3);
    at(2, 1);
    type(QStringLiteral("nema ga"));
    press(Qt::Key_F7);
    ASSERT_EQ(sp.shown.size(), 2);
    EXPECT_EQ(sp.shown.last().text, QStringLiteral("Ne postoji!"));
    EXPECT_TRUE(d->isVisible());  // messages leave the dialog open
    t->setFocus();
    button(d, QStringLiteral("Ok"))->click();
  });
  EXPECT_EQ(got, 3);  // the row of the last hit
}

TEST_F(Browse, WithoutDescriptors) {
  // One-dimensional data, pick mode: plain text forms.
  QVariantList list = {QStringLiteral("jedan"), 12.5, QDate(2023, 3, 5), true};
  whenActive([](QWidget* d) {
    QTableWidget* t = tableOf(d);
    EXPECT_EQ(t->columnCount(), 1);
    EXPECT_EQ(cell(t, 0, 0), QStringLiteral("jedan"));
    EXPECT_EQ(cell(t, 1, 0), QStringLiteral("      12.5"));
    EXPECT_EQ(cell(t, 2, 0), QStringLiteral("05.03.2023"));
    EXPECT_EQ(cell(t, 3, 0), QString());
    EXPECT_TRUE(t->item(0, 0)->flags() & Qt::ItemIsEditable);
    d->close();
  });
  DISP_DEBUG_ARRAY(list, std::nullopt, true, QStringLiteral("Lista"));

  // The diagnostic view: its own title, every value shown, ragged rows safe.
  QVariantList rows = {QVariantList{1, QVariantList{QStringLiteral("a"), false}, QVariant()},
                       QVariantList{QStringLiteral("kratak")}};
  whenActive([](QWidget* d) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Debug array"));
    QTableWidget* t = tableOf(d);
    EXPECT_EQ(t->columnCount(), 3);
    EXPECT_EQ(cell(t, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(cell(t, 0, 1), QStringLiteral("{a, .F.}"));
    EXPECT_EQ(cell(t, 0, 2), QStringLiteral("NIL"));
    EXPECT_EQ(cell(t, 1, 0), QStringLiteral("kratak"));
    EXPECT_EQ(t->item(1, 1), nullptr);
    EXPECT_TRUE(t->horizontalHeader()->stretchLastSection());
    d->close();
  });
  DISP_DEBUG_ARRAY(rows);
}

TEST_F(Browse, EditModeWritesBackTheChangedCellsOnOkOnly) {
  QList<MyKOLONA> kolone = {
      MyKOLONA(QStringLiteral("N"), QStringLiteral("Naziv"), QStringLiteral("C"), 10),
      MyKOLONA(QStringLiteral("K"), QStringLiteral("Kol"), QStringLiteral("N"), 10, 2),
      MyKOLONA(QStringLiteral("D"), QStringLiteral("Datum"), QStringLiteral("D"), 10),
      MyKOLONA(QStringLiteral("L"), QStringLiteral("Da"), QStringLiteral("L"), 1),
      MyKOLONA(QStringLiteral("M"), QStringLiteral("Opis"), QStringLiteral("M"), 20),
  };
  for (MyKOLONA& k : kolone) k.lTOTAL = true;
  const QVariantList original = {
      QVariantList{QStringLiteral("a"), 1.239, QDate(2023, 1, 2), false, QStringLiteral("x\ny"),
                   QStringLiteral("beyond the columns")},
      QVariantList{QStringLiteral("b"), 2.0, QDate(), true, QStringLiteral("z")},
  };
  auto edit = [](QWidget* d) {
    QTableWidget* t = tableOf(d);
    t->item(0, 0)->setText(QStringLiteral("novo"));
    t->item(1, 1)->setText(QStringLiteral("1.234,5"));
    t->item(1, 2)->setText(QStringLiteral("31.12.2023"));
    t->item(0, 3)->setCheckState(Qt::Checked);
  };

  QVariantList data = original;
  whenActive([&](QWidget* d) {
    edit(d);
    d->close();
  });
  EXPECT_EQ(DISP_DEBUG_ARRAY(data, std::nullopt, false, QString(), kolone, false, true), 0);
  EXPECT_EQ(data, original);

  whenActive([&](QWidget* d) {
    edit(d);
    button(d, QStringLiteral("Ok"))->click();
  });
  EXPECT_EQ(DISP_DEBUG_ARRAY(data, std::nullopt, false, QString(), kolone, false, true), 1);
  QVariantList expected = original;
  QVariantList r0 = expected[0].toList(), r1 = expected[1].toList();
  r0[0] = QStringLiteral("novo");
  r0[3] = true;
  r1[1] = 1234.5;
  r1[2] = QDate(2023, 12, 31);
  expected[0] = r0;
  expected[1] = r1;
  EXPECT_EQ(data, expected);  // 1.239, "x\ny" and the sixth cell as they were
}

}  // namespace
}  // namespace korvan::test
