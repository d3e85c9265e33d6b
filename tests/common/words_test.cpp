#include "common/words.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {

struct WordsCase {
  double amount;
  const char* words;
};

class Slovima : public ::testing::TestWithParam<WordsCase> {};

TEST_P(Slovima, SpellsDinars) {
  EXPECT_EQ(SLOVIMA(GetParam().amount), QString::fromUtf8(GetParam().words)) << GetParam().amount;
}

INSTANTIATE_TEST_SUITE_P(Table, Slovima, ::testing::Values(
    WordsCase{0, "NULA dinara 00/100"}, WordsCase{0.5, "NULA dinara 50/100"},
    WordsCase{1, "JEDAN dinar 00/100"}, WordsCase{2, "DVA dinara 00/100"},
    WordsCase{11, "JEDANAEST dinara 00/100"}, WordsCase{21, "DVADESETJEDAN dinar 00/100"},
    WordsCase{100, "STO dinara 00/100"}, WordsCase{111, "STOJEDANAEST dinara 00/100"},
    WordsCase{1000, "JEDNAHILJADA dinara 00/100"}, WordsCase{1001, "JEDNAHILJADAJEDAN dinar 00/100"},
    WordsCase{2000, "DVEHILJADE dinara 00/100"}, WordsCase{5000, "PETHILJADA dinara 00/100"},
    WordsCase{11000, "JEDANAESTHILJADA dinara 00/100"},
    WordsCase{21000, "DVADESETJEDNAHILJADA dinara 00/100"},
    WordsCase{44000, "ČETRDESETČETIRIHILJADE dinara 00/100"},
    WordsCase{112000, "STODVANAESTHILJADA dinara 00/100"},
    WordsCase{1234.56, "JEDNAHILJADADVESTOTRIDESETČETIRI dinara 56/100"},
    WordsCase{1000000, "JEDANMILION dinara 00/100"}, WordsCase{2000000, "DVAMILIONA dinara 00/100"},
    WordsCase{5000000, "PETMILIONA dinara 00/100"},
    WordsCase{1001000, "JEDANMILIONJEDNAHILJADA dinara 00/100"},
    WordsCase{1000000000, "JEDNAMILIJARDA dinara 00/100"},
    WordsCase{3000000000.0, "TRIMILIJARDE dinara 00/100"},
    WordsCase{12000000000.0, "DVANAESTMILIJARDI dinara 00/100"},
    WordsCase{967.89, "DEVETSTOŠEZDESETSEDAM dinara 89/100"},
    WordsCase{650.01, "ŠESTOPEDESET dinara 01/100"}, WordsCase{1.005, "JEDAN dinar 01/100"},
    WordsCase{19.999, "DVADESET dinara 00/100"}, WordsCase{-21.5, "DVADESETJEDAN dinar 50/100"},
    WordsCase{999999999999.99,
              "DEVETSTODEVEDESETDEVETMILIJARDIDEVETSTODEVEDESETDEVETMILIONA"
              "DEVETSTODEVEDESETDEVETHILJADADEVETSTODEVEDESETDEVET dinara 99/100"}));

TEST(SlovimaOptions, ForeignCurrencyAndNoCurrency) {
  EXPECT_EQ(SLOVIMA(2000000000, true), "DVEMILIJARDE EUR 00/100");
  EXPECT_EQ(SLOVIMA(1, true, "USD"), "JEDAN USD 00/100");
  EXPECT_EQ(SLOVIMA(15, false, "EUR", true), "PETNAEST");
  EXPECT_EQ(SLOVIMA(0, false, "EUR", true), "NULA");
}

TEST(SlovimaOptions, TrillionsAreWrittenAsDigits) {
  EXPECT_EQ(SLOVIMA(1000000000000.0), "1000000000000 dinara 00/100");
}

}  // namespace
