#include "common/letters.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {

// Sets the switch for one test and puts the old value back.
class Switch {
 public:
  explicit Switch(bool on) : before_(G_ISUTF8(on)) {}
  ~Switch() { G_ISUTF8(before_); }

 private:
  bool before_;
};

QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

}  // namespace

TEST(Letters, LetterFunctionsFollowTheSwitch) {
  const struct {
    QByteArray (*fn)();
    const char* utf8;
    const char* cp1250;
  } cases[] = {
      {L_C, "c48d", "e8"}, {L_CL, "c487", "e6"}, {L_D, "c491", "f0"}, {L_S, "c5a1", "9a"},
      {L_Z, "c5be", "9e"}, {U_C, "c48c", "c8"}, {U_CL, "c486", "c6"}, {U_D, "c490", "d0"},
      {U_S, "c5a0", "8a"}, {U_Z, "c5bd", "8e"}, {L_L, "c789", "6c6a"}, {L_N, "c78c", "6e6a"},
      {U_L, "c787", "4c4a"}, {U_N, "c78a", "4e4a"}, {L_X, "d19f", "649e"}, {U_X, "d08f", "448e"},
  };
  for (const auto& c : cases) {
    {
      Switch on(true);
      EXPECT_EQ(c.fn().toHex(), QByteArray(c.utf8));
    }
    {
      Switch off(false);
      EXPECT_EQ(c.fn().toHex(), QByteArray(c.cp1250));
    }
  }
}

TEST(Letters, SwitchReturnsThePreviousValue) {
  Switch keep(false);
  EXPECT_FALSE(G_ISUTF8());
  EXPECT_FALSE(G_ISUTF8(true));
  EXPECT_TRUE(G_ISUTF8());
  EXPECT_TRUE(G_ISUTF8(false));
  EXPECT_FALSE(G_ISUTF8());
}

TEST(Letters, Utf8ToCp1250) {
  Switch on(true);
  const struct {
    const char* in;
    bool cyr, ascii, yuscii;
    QByteArray out;
  } cases[] = {
      {"Đak Šećer", true, true, false, "DJak Secer"},
      {"Đak Šećer", true, true, true, "\\ak [e}er"},
      {"Đak Šećer", true, false, false, hex("d0616b208a65e66572")},
      {"\xC3\x90" "ak", true, true, false, "DJak"},  // U+00D0 is read as Đ
      {"\xC3\x90" "ak", true, false, false, hex("d0616b")},
      {"Љубав Џеп", true, true, false, "LJubav DZep"},
      {"Љубав Џеп", true, false, false, "LJubav D" + hex("8e") + "ep"},
      {"čćđšž ČĆĐŠŽ", true, false, true, "~}|{` ^]\\[@"},
      {"ǉ ǌ Ǉ Ǌ", true, false, false, "lj nj LJ NJ"},
      {"Ђорђе Ћирић", true, true, false, "DJordje Ciric"},
      {"Ђорђе", false, true, false, "Ђорђе"},      // Cyrillic kept when asked
      {"Џеп", false, true, false, "DZеп"},         // џ and Џ become Latin even then
      {"€ 12", true, false, false, "€ 12"},        // other characters keep their bytes
      {"a\xFF\xC5", true, false, false, "a\xFF\xC5"},  // malformed UTF-8 byte for byte
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UTF8TOCP1250(c.in, c.cyr, c.ascii, c.yuscii).toHex(), c.out.toHex()) << c.in;
  }
}

TEST(Letters, Utf8ToCp1250IsANoOpWhileTheSwitchIsOff) {
  Switch off(false);
  const QByteArray in = "Đak Šećer Љубав";
  EXPECT_EQ(UTF8TOCP1250(in, true, true, false), in);
}

TEST(Letters, Cp1250ToUtf8) {
  EXPECT_EQ(CP1250TOUTF8(hex("8096a68f")), QByteArray("€-ŽĆ"));
  EXPECT_EQ(CP1250TOUTF8(hex("d0616b208a65e66572")), QByteArray("Đak Šećer"));
  EXPECT_EQ(CP1250TOUTF8(hex("c8e8c6e6d0f08a9a8e9e")), QByteArray("ČčĆćĐđŠšŽž"));
  EXPECT_EQ(CP1250TOUTF8(hex("8a") + "ifra", {{"Šifra", "Code"}, {"Code", "Kod"}}), QByteArray("Kod"));
}

TEST(Letters, Utf8Cyr) {
  Switch on(true);
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"ID kupca", "ИД купца"},
      {"FISKALNI RAČUN", "ФИСКАЛНИ РАЧУН"},
      {"DŽEP", "ЏЕП"},
      {"džep", "џеп"},
      {"Džep", "Джеп"},
      {"dŽep", "дЖеп"},
      {"LJUBAV", "ЛЈУБАВ"},
      {"ǇUBAV", "ЉУБАВ"},
      {"ǌiva", "њива"},
      {"Đorđe Ćirić", "Ђорђе Ћирић"},
      {"\xC3\x90" "ak", "Ђак"},
      {"QWXY 12", "QWXY 12"},
      {"a\xFFz", "а\xFFз"},
  };
  for (const auto& c : cases) EXPECT_EQ(UTF8CYR(c.in), QByteArray(c.out)) << c.in;
  EXPECT_TRUE(G_ISUTF8()) << "the switch is as it was";
  EXPECT_EQ(CYR_TEXT(QString::fromUtf8("Šabac")), QString::fromUtf8("Шабац"));
}

TEST(Letters, CodePage852AndFolds) {
  Switch on(true);
  EXPECT_EQ(UTF8TOCP852("ČčĆćĐđŠšŽž\xC3\x90"), hex("ac9f8f86d1d0e6e7a6a7d1"));
  EXPECT_EQ(CP852TO1250(hex("ac9f8f86d1d0e6e7a6a7")), hex("c8e8c6e6d0f08a9a8e9e"));
  EXPECT_EQ(IZBACI_YU(hex("d0616b208a65e66572")), QByteArray("DJak Secer"));
  EXPECT_FALSE(IZBACI_YU(std::nullopt).has_value());
  EXPECT_EQ(PLAIN_TEXT(QString::fromUtf8("Đak Šećer Žarko Čačak \xC3\x90")), "DJak Secer Zarko Cacak DJ");
}

TEST(Letters, UpperAndLowerCaseWithTheFivePairs) {
  {
    Switch on(true);
    EXPECT_EQ(UPPER_1250("šećer đak žuč"), QByteArray("ŠEĆER ĐAK ŽUČ"));
    EXPECT_EQ(LOWER_1250("ŠEĆER ĐAK ŽUČ"), QByteArray("šećer đak žuč"));
  }
  Switch off(false);
  EXPECT_EQ(UPPER_1250(hex("9a65e66572")), hex("8a45c64552"));
  EXPECT_EQ(LOWER_1250(hex("8a45c64552")), hex("9a65e66572"));
}
