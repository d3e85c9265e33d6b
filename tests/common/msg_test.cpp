#include "common/msg.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/presenter.h"
#include "common/registry.h"
#include "support/scriptedpresenter.h"
#include "support/programfolder.h"

using namespace korvan;

namespace {

class MessageLog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
  }
  void TearDown() override {
    MGLOBAL("MSG2LOG", "");
  }
  QByteArray log() const {
    QFile f(dir.filePath("LOG/MSG.TXT"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  test::TempProgramFolder dir;
  ScriptedPresenter boxes;
};

TEST_F(MessageLog, OffUnlessMsg2LogIsExactlyT) {
  for (const char* v : {"", "t", "T ", "F", "TRUE"}) {
    MGLOBAL("MSG2LOG", v);
    EXPECT_FALSE(MSG("tiho"));
  }
  EXPECT_EQ(boxes.count(BoxKind::Warning), 5);
  EXPECT_TRUE(log().isEmpty());
}

TEST_F(MessageLog, MsgWritesOneStampedLineWhenOn) {
  MGLOBAL("MSG2LOG", "T");
  EXPECT_FALSE(MSG(QString::fromUtf8("Slog je zaključan !")));
  MSGSTOP("drugi");
  MSGINFO("nije u logu");
  ASSERT_EQ(boxes.shown.size(), 3);
  EXPECT_EQ(boxes.shown[0].title, "Upozorenje");
  const QStringList lines = QString::fromUtf8(log()).split("\r\n");
  ASSERT_EQ(lines.size(), 3);  // two lines and the empty rest after the last CR LF
  const QRegularExpression stamp(R"(^\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d (.*)$)");
  EXPECT_EQ(stamp.match(lines[0]).captured(1), QString::fromUtf8("Slog je zaključan !"));
  EXPECT_EQ(stamp.match(lines[1]).captured(1), "drugi");
  EXPECT_TRUE(lines[2].isEmpty());
}

TEST_F(MessageLog, AnUnwritableLogLosesTheLineQuietly) {
  QFile blocker(dir.filePath("LOG"));  // a file where the folder should be
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  MGLOBAL("MSG2LOG", "T");
  EXPECT_FALSE(MSG("x"));
  EXPECT_EQ(boxes.shown.size(), 1);
}

TEST(Boxes, TitlesKindsAndAnswers) {
  ScriptedPresenter boxes;
  boxes.answers = {1, 0, 2};
  EXPECT_TRUE(MSGYESNO("Da?"));
  EXPECT_FALSE(MSGYESNO("Da?"));
  EXPECT_EQ(MSGYESNOCANCEL("?"), 65536);
  MSGINFO("i");
  ASSERT_EQ(boxes.shown.size(), 4);
  EXPECT_EQ(boxes.shown[0].title, "Pitanje");
  EXPECT_EQ(boxes.shown[0].kind, BoxKind::YesNo);
  EXPECT_EQ(boxes.shown[3].title, QString::fromUtf8("Obaveštenje"));
  EXPECT_EQ(ERR_LOCK(), QString::fromUtf8("Slog je zaključan !"));
  EXPECT_EQ(ERR_ADD(), QString::fromUtf8("Ne može se dodati slog !"));
}

}  // namespace
