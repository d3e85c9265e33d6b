#include "common/globals.h"

#include "common/presenter.h"
#include "support/scriptedpresenter.h"

#include <gtest/gtest.h>

using namespace korvan;

TEST(Globals, AccessorsReturnThePreviousValueAndStoreAnyGivenOne) {
  using Text = QString (*)(std::optional<QString>);
  for (Text g : {G_CFOLDER_ER2APLIK, G_CFOLDER_ER4APLIK, G_CFOLDER_CUVANJE, G_CFOLDER_SALJI_MEJLOM}) {
    const QString start = g(std::nullopt);
    EXPECT_EQ(g(QStringLiteral("/home/f/Fakture")), start);
    EXPECT_EQ(g(std::nullopt), "/home/f/Fakture") << "no argument changes nothing";
    EXPECT_EQ(g(QString()), "/home/f/Fakture");
    EXPECT_EQ(g(std::nullopt), "") << "an empty text is stored";
    g(start);
  }
  const bool dorvatik = G_LDORVATIK_APP();
  G_LDORVATIK_APP(true);
  EXPECT_TRUE(G_LDORVATIK_APP(false));
  EXPECT_FALSE(G_LDORVATIK_APP()) << "false is stored";
  G_LDORVATIK_APP(dorvatik);

  EXPECT_EQ(G_NERACUNI_POSREDNIK(), 1);
  EXPECT_EQ(G_NERACUNI_POSREDNIK(2), 1);
  EXPECT_EQ(G_NERACUNI_POSREDNIK(1), 2);
}

TEST(Globals, PlaceholdersOfTheMultiCompanyMode) {
  ScriptedPresenter boxes;
  PUT_COMMON(1, QStringLiteral("x"));
  GET_COMMON();
  EXPECT_FALSE(VRATI_POLJE(QStringLiteral("PIB")));
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].text, "Ne koristi se funkcija VRATI_POLJE !");
}
