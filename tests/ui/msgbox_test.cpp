// The real message boxes behind MSG and MSGYESNO, as the window framework
// installs them.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "common/msg.h"
#include "ui/libqt.h"

using namespace korvan;

namespace {

// The real boxes, driven by keys: Esc answers No, Enter takes the default Yes.
TEST(RealBoxes, KeysAnswerTheQuestionAndMsgIsCritical) {
  struct Seen {
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
  };
  auto press = [](int key, Seen* seen) {
    QTimer::singleShot(0, [key, seen] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen->title = box->windowTitle();
      seen->icon = box->icon();
      QTest::keyClick(box, static_cast<Qt::Key>(key));
    });
  };
  installUiDialogs();
  Seen seen;
  press(Qt::Key_Escape, &seen);
  EXPECT_FALSE(MSGYESNO("Da li?"));
  EXPECT_EQ(seen.title, "Pitanje");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  press(Qt::Key_Return, &seen);
  EXPECT_TRUE(MSGYESNO("Da li?"));
  press(Qt::Key_Return, &seen);
  EXPECT_FALSE(MSG("Greška"));
  EXPECT_EQ(seen.title, "Upozorenje");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  press(Qt::Key_Escape, &seen);
  MSGINFO("Info");
  EXPECT_EQ(seen.title, QString::fromUtf8("Obaveštenje"));
  EXPECT_EQ(seen.icon, QMessageBox::Information);
}

}  // namespace
