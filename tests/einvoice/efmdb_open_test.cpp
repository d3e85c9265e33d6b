// Opening and closing the store, and the status words.
#include "efmdb_fixture.h"

#include "einvoice/efm_status.h"

#include <QFileInfo>

using namespace korvan;
using namespace korvan::efmdbtest;

namespace {

TEST(EfmStatus, KnownWordsAreTranslatedExactlyOthersPassUnchanged) {
  const struct {
    const char* word;
    const char* text;
  } cases[] = {{"Cancelled", "Otkazano"}, {"Rejected", "Odbijeno"}, {"Sent", "Poslato"},
               {"Seen", "Viđeno"},        {"Approved", "Odobreno"}, {"Storno", "Storno"},
               {"seen", "seen"},          {"Seen ", "Seen "},       {"Unknown", "Unknown"},
               {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(EFM_PREVEDI_STATUS(u8(c.word)), u8(c.text)) << c.word;
}

TEST_F(Store, OpenCreatesBothTablesWithTheirIndexAndCloseEndsBoth) {
  ASSERT_TRUE(EFMDB_OTVORI_BAZE());
  ASSERT_TRUE(dbf::isUsed("INVOICE"));
  ASSERT_TRUE(dbf::isUsed("FALS"));
  for (const char* name : {"INVOICE", "FALS"}) {
    dbf::Table& t = *dbf::area(name);
    EXPECT_EQ(t.tagCount(), 1) << name;
    EXPECT_EQ(t.tagName(1), name);
    EXPECT_EQ(t.tagExpression(1), "UI+INV_ID");
    EXPECT_EQ(t.order(), 1);
  }
  EXPECT_EQ(dbf::area("INVOICE")->structure(),
            dbf::Structure({{"UI", 'C', 1, 0},
                            {"INV_ID", 'C', 20, 0},
                            {"BRDOK", 'C', 30, 0},
                            {"TIPDOK", 'C', 10, 0},
                            {"STATUS", 'C', 10, 0},
                            {"KOMITENT", 'C', 40, 0},
                            {"IZNOS", 'N', 14, 2},
                            {"DATPROM", 'D', 8, 0},
                            {"DATIZD", 'D', 8, 0},
                            {"DATDOSP", 'D', 8, 0},
                            {"XML", 'M', 10, 0},
                            {"ODOBRENO", 'C', 2, 0},
                            {"NACINODOBR", 'C', 20, 0},
                            {"RAZLOGODB", 'C', 30, 0}}));
  EXPECT_EQ(dbf::area("FALS")->structure(), dbf::Structure({{"UI", 'C', 1, 0}, {"INV_ID", 'C', 20, 0}}));
  EXPECT_TRUE(EFMDB_OTVORI_BAZE());  // open already: stays open
  EFMDB_ZATVORI_BAZE();
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
  EXPECT_FALSE(dbf::isUsed("FALS"));
  EXPECT_TRUE(QFileInfo::exists(table("INVOICE.fpt")));
  EXPECT_TRUE(QFileInfo::exists(table("FALS.cdx")));
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Store, FalsThatCannotBeOpenedLeavesNothingOpen) {
  makeStore();
  auto holder = other("FALS", true);
  ASSERT_TRUE(holder);
  EXPECT_FALSE(EFMDB_OTVORI_BAZE());
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
  EXPECT_FALSE(dbf::isUsed("FALS"));
  EXPECT_EQ(boxes.texts(), QStringList{"BAZA FALS JE ZAKLJUCANA !\r\nNET_USE"});
  holder->close();
  EXPECT_TRUE(EFMDB_OTVORI_BAZE());
}

TEST_F(Store, AnOperationLeavesTheCallersWorkAreaCurrent) {
  makeStore();
  ASSERT_TRUE(dbf::useArea(table("FALS"), "DRUGA", false));
  EXPECT_FALSE(EFMDB_POSTOJI_INVOICE({}, "I", 5));
  EXPECT_EQ(dbf::currentAlias(), "DRUGA");
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
}

}  // namespace
