// The progress box: shape, stop by click and by Esc, and that it always closes.
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/frame.h"

namespace korvan {
namespace {

// A user's key press or click arrives as a queued event, not as a direct call.
void postEsc(QWidget* w) {
  QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
}
void postClick(QPushButton* b) { QMetaObject::invokeMethod(b, "click", Qt::QueuedConnection); }

TEST(MyFrame, PlaceholderBoxIsFramelessModalWithBlanksAndNoButton) {
  MyFRAME f(21);
  ASSERT_TRUE(f.oDlg);
  EXPECT_TRUE(f.oDlg->isVisible());
  EXPECT_TRUE(f.oDlg->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(f.oDlg->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(QApplication::activeModalWidget(), f.oDlg.data());
  EXPECT_EQ(f.oLabel->text(), QString(21, QLatin1Char(' ')));
  EXPECT_FALSE(f.obCANCEL);
  EXPECT_EQ(f.oFont.pointSize(), 12);
  EXPECT_FALSE(f.lPREKID);
}

TEST(MyFrame, DispShowsTheText) {
  MyFRAME f(QString::fromUtf8("Čitam..."), true);
  EXPECT_EQ(f.oLabel->text(), QString::fromUtf8("Čitam..."));
  f.Disp(QStringLiteral("    3/   10"));
  EXPECT_EQ(f.oLabel->text(), QStringLiteral("    3/   10"));
}

TEST(MyFrame, PrekidStopsOnlyAtDispAndTheBoxStaysUntilEnd) {
  MyFRAME f(10, true);
  ASSERT_TRUE(f.obCANCEL);
  EXPECT_EQ(f.obCANCEL->text(), QStringLiteral("Prekid"));
  postClick(f.obCANCEL);
  EXPECT_FALSE(f.lPREKID);  // nothing has run the events yet
  f.Disp(QStringLiteral("1/2"));
  EXPECT_TRUE(f.lPREKID);
  EXPECT_TRUE(f.oDlg->isVisible());
  QPointer<QDialog> dlg = f.oDlg;
  f.End();
  EXPECT_TRUE(!dlg || !dlg->isVisible());
  EXPECT_FALSE(f.oDlg);
}

TEST(MyFrame, EscWithStopButtonStopsAndHides) {
  MyFRAME f(10, true);
  postEsc(f.oDlg->focusWidget() ? f.oDlg->focusWidget() : f.oDlg.data());
  f.Disp(QStringLiteral("1/2"));
  EXPECT_TRUE(f.lPREKID);
  EXPECT_FALSE(f.oDlg->isVisible());
}

TEST(MyFrame, EscWithoutStopButtonHidesButDoesNotStop) {
  MyFRAME f(8);
  postEsc(f.oDlg);
  f.Disp(QStringLiteral("1/2"));
  EXPECT_FALSE(f.lPREKID);
  EXPECT_FALSE(f.oDlg->isVisible());
  f.Disp(QStringLiteral("2/2"));
  EXPECT_EQ(f.oLabel->text(), QStringLiteral("2/2"));
}

TEST(MyFrame, BoxClosesWhenItGoesOutOfScopeAndEndTwiceIsHarmless) {
  QPointer<QDialog> dlg;
  {
    MyFRAME f(QStringLiteral("Radim"), true);
    dlg = f.oDlg;
    ASSERT_TRUE(dlg && dlg->isVisible());
  }
  EXPECT_TRUE(!dlg || !dlg->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(dlg);

  MyFRAME g(5);
  g.End();
  g.End();
  g.Disp(QStringLiteral("posle"));  // no box left: nothing to show, no crash
  EXPECT_FALSE(g.oDlg);
}

TEST(MyFrame, StopAfterEndIsNotSeen) {
  MyFRAME f(10, true);
  QPointer<QPushButton> b = f.obCANCEL;
  f.End();
  if (b) postClick(b);
  QCoreApplication::processEvents();
  EXPECT_FALSE(f.lPREKID);
}

}  // namespace
}  // namespace korvan
