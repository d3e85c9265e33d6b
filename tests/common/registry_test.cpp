#include "common/registry.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace korvan;

namespace {

TEST(Registry, StoresReplacesAndAppends) {
  EXPECT_EQ(MGLOBAL("REG_K"), QVariant(QString()));
  EXPECT_EQ(MGLOBAL("REG_K", "a"), QVariant(QString()));
  EXPECT_EQ(MGLOBAL("REG_K", "b", true), QVariant("a"));
  EXPECT_EQ(MGLOBAL("REG_K"), QVariant("ab"));
  EXPECT_EQ(MGLOBAL("REG_K", 5), QVariant("ab"));
  EXPECT_EQ(MGLOBAL("REG_K"), QVariant(5));
  // Keys are compared without surrounding blanks.
  MGLOBAL("  REG_T  ", "x");
  EXPECT_EQ(MGLOBAL("REG_T"), QVariant("x"));
  MGLOBAL("REG_T ", "y");
  EXPECT_EQ(MGLOBAL("REG_T"), QVariant("y"));
}

TEST(Registry, AppendJoinsLists) {
  MGLOBAL("REG_L", QVariantList{1});
  MGLOBAL("REG_L", 2, true);
  MGLOBAL("REG_L", QVariantList{3, 4}, true);
  EXPECT_EQ(MGLOBAL("REG_L").toList(), (QVariantList{1, 2, 3, 4}));
}

TEST(Registry, NestedUseKeepsTheOuterEntry) {
  const QString key = "_SQ_oLABEL";
  {
    MGlobalScope outer(key, QStringList{"outer"});
    EXPECT_EQ(MGLOBAL(key).toStringList(), QStringList{"outer"});
    {
      MGlobalScope inner(key, QStringList{"inner"});
      EXPECT_EQ(MGLOBAL(key).toStringList(), QStringList{"inner"});
      MGLOBAL(key, QStringList{"inner2"});  // a set inside changes only the inner value
    }
    EXPECT_EQ(MGLOBAL(key).toStringList(), QStringList{"outer"});
  }
  EXPECT_EQ(MGLOBAL(key), QVariant(QString()));
  MGLOBAL_POP(key);  // a pop without a push changes nothing
  MGLOBAL(key, "kept");
  MGLOBAL_POP(key);
  EXPECT_EQ(MGLOBAL(key), QVariant("kept"));
  MGLOBAL_PUSH(key, "pushed");
  MGLOBAL_POP(key);
  EXPECT_EQ(MGLOBAL(key), QVariant("kept"));
}

}  // namespace
