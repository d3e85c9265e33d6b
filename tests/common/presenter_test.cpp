#include "common/presenter.h"
#include "common/msg.h"
#include "support/scriptedpresenter.h"

#include <gtest/gtest.h>

using namespace korvan;

TEST(ScriptedPresenter, RecordsBoxesAndAnswersInOrderThenDefault) {
  ScriptedPresenter p;
  p.answers = {1, 2};
  p.defaultAnswer = 7;
  EXPECT_EQ(presenter().show({BoxKind::YesNo, "Pitanje", "a"}), 1);
  EXPECT_EQ(presenter().show({BoxKind::Choice, "Izbor", "b"}), 2);
  EXPECT_EQ(presenter().show({BoxKind::Warning, "Upozorenje", "c"}), 7);
  EXPECT_EQ(p.texts(), (QStringList{"a", "b", "c"}));
  EXPECT_EQ(p.count(BoxKind::YesNo), 1);
}

TEST(ScriptedPresenter, NestedPresentersRestoreTheOuterOne) {
  ScriptedPresenter outer;
  {
    ScriptedPresenter inner;
    presenter().show({BoxKind::Info, "t", "inner"});
    EXPECT_EQ(inner.shown.size(), 1);
  }
  presenter().show({BoxKind::Info, "t", "outer"});
  ASSERT_EQ(outer.shown.size(), 1);
  EXPECT_EQ(outer.shown[0].text, "outer");
}

// A program without the window framework has no dialogs: a box is written to
// the error output and answers "none" at once instead of waiting on a window.
TEST(RealPresenterWithoutDialogs, ABoxAnswersNone) {
  EXPECT_EQ(presenter().show({BoxKind::YesNo, QStringLiteral("Pitanje"), QStringLiteral("Da li?")}), 0);
  EXPECT_FALSE(MSGYESNO(QStringLiteral("Da li?")));
}
