// The small GUI helpers beside the dialogs.
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

#include "common/dates.h"
#include "ui/libqt.h"

namespace korvan {
namespace {

TEST(LibQt, DateFromQDateKeepsDayMonthYear) {
  EXPECT_EQ(DTOC(DATE_FROM_QDATE(QDate(2023, 3, 5))), QStringLiteral("05.03.2023"));
  EXPECT_EQ(DATE_FROM_QDATE(QDate(1999, 12, 31)), QDate(1999, 12, 31));
  // A year the two-digit rule would move stays as it is.
  EXPECT_EQ(DATE_FROM_QDATE(QDate(45, 1, 2)), QDate(45, 1, 2));
  EXPECT_TRUE(DATE_FROM_QDATE(QDate()).isNull());
}

TEST(LibQt, DisabledTextTakesTheActiveTextColour) {
  const QPalette saved = QApplication::palette();
  QPalette p = saved;
  p.setColor(QPalette::Active, QPalette::Text, QColor(10, 20, 30));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(200, 200, 200));
  QApplication::setPalette(p);
  PODESI_PALETU_DISABLED(qApp);
  EXPECT_EQ(QApplication::palette().color(QPalette::Disabled, QPalette::Text), QColor(10, 20, 30));
  QLineEdit e;
  e.setDisabled(true);
  EXPECT_EQ(e.palette().color(QPalette::Disabled, QPalette::Text), QColor(10, 20, 30));
  QApplication::setPalette(saved);

  QLineEdit w;
  QPalette wp = w.palette();
  wp.setColor(QPalette::Active, QPalette::Text, QColor(1, 2, 3));
  w.setPalette(wp);
  PODESI_PALETU_DISABLED(&w);
  EXPECT_EQ(w.palette().color(QPalette::Disabled, QPalette::Text), QColor(1, 2, 3));
}

TEST(LibQt, CssChangesFontSizeAndBackground) {
  QLineEdit e;
  QFont f = e.font();
  f.setPointSize(11);
  e.setFont(f);
  CSS_PROMENI_BOJU(&e);
  EXPECT_EQ(e.styleSheet(), QStringLiteral("font: 11pt"));
  CSS_PROMENI_BOJU(&e, QStringLiteral("yellow"));
  EXPECT_EQ(e.styleSheet(), QStringLiteral("font: 11pt;background-color: yellow"));
}

TEST(LibQt, MdiPresentComparesObjectNames) {
  QMdiArea area;
  auto* sw = area.addSubWindow(new QWidget);
  sw->setObjectName(QStringLiteral("KORVANMAN"));
  QWidget probe;
  probe.setObjectName(QStringLiteral("KORVANMAN"));
  EXPECT_TRUE(MDI_JE_PRISUTAN(&probe, &area));
  probe.setObjectName(QStringLiteral("IZSRC"));
  EXPECT_FALSE(MDI_JE_PRISUTAN(&probe, &area));
  EXPECT_FALSE(MDI_JE_PRISUTAN(nullptr, &area));
  EXPECT_FALSE(MDI_JE_PRISUTAN(&probe, nullptr));
}

}  // namespace
}  // namespace korvan
