#include "common/ini.h"

#include "common/presenter.h"
#include "support/scriptedpresenter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvan;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

class IniFile : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString file = dir.filePath("aplik.ini");
  ScriptedPresenter boxes;
};

struct ReadCase {
  const char* what;
  QByteArray content;
  const char* section;
  const char* key;
  QString expected;  // "<def>" stands for the default
};

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

TEST_F(IniFile, ReadsLikeTheWindowsProfileFunctions) {
  const QByteArray big(1500, 'x');
  const QByteArray cutBeforeS = QByteArray(1022, 'a') + "\xC5\xA0";  // 1,024 bytes, Š at the cut
  const ReadCase cases[] = {
      {"blanks around =", "[Config]\r\n  POSLEDNJI_KOJI   =   CLIP  \r\n", "Config", "POSLEDNJI_KOJI", "CLIP"},
      {"tabs around =", "[Config]\r\nK\t=\tV\t\r\n", "Config", "K", "V"},
      {"letter case of section and key", "[config]\r\nposlednji_koji=ODS\r\n", "CONFIG", "Poslednji_Koji", "ODS"},
      {"blanks inside the brackets", "[ Config ]\r\nK=V\r\n", "Config", "K", "V"},
      {"double quotes removed once", "[A]\r\nK=\"  a b  \"\r\n", "A", "K", "  a b  "},
      {"single quotes removed", "[A]\r\nK='x'\r\n", "A", "K", "x"},
      {"only one pair removed", "[A]\r\nK=\"\"x\"\"\r\n", "A", "K", "\"x\""},
      {"unmatched quote kept", "[A]\r\nK=\"x\r\n", "A", "K", "\"x"},
      {"duplicate section: the first wins", "[A]\r\nK=1\r\n[B]\r\nK=2\r\n[a]\r\nK=3\r\nL=4\r\n", "A", "K", "1"},
      {"duplicate section: the second is not read", "[A]\r\nK=1\r\n[a]\r\nL=4\r\n", "A", "L", "<def>"},
      {"duplicate key: the first wins", "[A]\r\nK=1\r\nk=2\r\n", "A", "K", "1"},
      {"key without =", "[A]\r\nK\r\nL=2\r\n", "A", "K", "<def>"},
      {"line after a key without =", "[A]\r\nK\r\nL=2\r\n", "A", "L", "2"},
      {"empty value reads as the default", "[A]\r\nK=\r\n", "A", "K", "<def>"},
      {"blank value reads as the default", "[A]\r\nK=   \r\n", "A", "K", "<def>"},
      {"missing key", "[A]\r\nK=1\r\n", "A", "X", "<def>"},
      {"missing section", "[A]\r\nK=1\r\n", "B", "K", "<def>"},
      {"key of another section", "[A]\r\nK=1\r\n[B]\r\n", "B", "K", "<def>"},
      {"key before any section", "K=1\r\n[A]\r\n", "A", "K", "<def>"},
      {"comment line is no key", "[A]\r\n;K=1\r\n#L=2\r\n", "A", ";K", "<def>"},
      {"1,500-byte value gives 1,023 bytes", "[A]\r\nK=" + big + "\r\n", "A", "K", QString(1023, 'x')},
      {"cut never splits a letter", "[A]\r\nK=" + cutBeforeS + "\r\n", "A", "K", QString(1022, 'a')},
      {"value ending in Š", "[A]\r\nK=ŠOŠ\r\n", "A", "K", u("ŠOŠ")},
      {"Š between blanks", "[A]\r\nK= Š \r\n", "A", "K", u("Š")},
      {"LF line ends", "[A]\nK=1\nL=2\n", "A", "L", "2"},
      {"CR LF line ends", "[A]\r\nK=1\r\nL=2\r\n", "A", "L", "2"},
      {"no line end at the end", "[A]\r\nK=1", "A", "K", "1"},
      {"BOM before the first section", "\xEF\xBB\xBF[Config]\r\nK=V\r\n", "Config", "K", "V"},
      {"= inside the value", "[A]\r\nK=a=b\r\n", "A", "K", "a=b"},
      {"UTF-8 value", "[Firma]\r\nNAZIV=Đorđe Ćirić\r\n", "Firma", "NAZIV", u("Đorđe Ćirić")},
  };
  for (const ReadCase& c : cases) {
    writeAll(file, c.content);
    const QString got = GETPRIVATEPROFILESTRING(c.section, c.key, "<def>", file);
    EXPECT_EQ(got, c.expected) << c.what;
  }
  EXPECT_EQ(GETPRIVATEPROFILESTRING("A", "K", "dflt", dir.filePath("none.ini")), "dflt");
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(IniFile, WritesKeepEveryOtherLineInPlace) {
  writeAll(file,
           "; company settings\n"
           "[Config]\n"
           "POSLEDNJI_KOJI = XLS\n"
           "; the style\n"
           "STYLE=fusion\n"
           "\n"
           "[Firma]\n"
           "PIB=100200300\n");
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("config", "poslednji_koji", "CLIP", file));
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("Config", "IMA_SLOBUN", "T", file));
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("IZXLS", "CELIJA", "B2", file));
  EXPECT_EQ(readAll(file),
            "; company settings\r\n"
            "[Config]\r\n"
            "POSLEDNJI_KOJI=CLIP\r\n"
            "; the style\r\n"
            "STYLE=fusion\r\n"
            "IMA_SLOBUN=T\r\n"
            "\r\n"
            "[Firma]\r\n"
            "PIB=100200300\r\n"
            "\r\n"
            "[IZXLS]\r\n"
            "CELIJA=B2\r\n");

  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("Config", "STYLE", std::nullopt, file));
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("Firma", std::nullopt, std::nullopt, file));
  EXPECT_EQ(readAll(file),
            "; company settings\r\n"
            "[Config]\r\n"
            "POSLEDNJI_KOJI=CLIP\r\n"
            "; the style\r\n"
            "IMA_SLOBUN=T\r\n"
            "\r\n"
            "[IZXLS]\r\n"
            "CELIJA=B2\r\n");
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(IniFile, RoundTripsValuesAndRemovals) {
  const QString longValue = QString::fromUtf8("Račun ") + QString(1200, 'y');
  const struct {
    const char* key;
    QString value;
    QString readBack;
  } cases[] = {
      {"PALETA", "         1", "1"},
      {"NAZIV", u("Šećer i so d.o.o."), u("Šećer i so d.o.o.")},
      {"PRAZNO", "", "<def>"},
      {"DUG", longValue, QString::fromUtf8(longValue.toUtf8().left(1023))},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("Config", c.key, c.value, file)) << c.key;
    EXPECT_EQ(GETPRIVATEPROFILESTRING("Config", c.key, "<def>", file), c.readBack) << c.key;
  }
  EXPECT_TRUE(readAll(file).contains("PRAZNO=\r\n"));
  ASSERT_TRUE(DELINIENTRY("Config", "NAZIV", file));
  EXPECT_EQ(GETPRIVATEPROFILESTRING("Config", "NAZIV", "<def>", file), "<def>");
  EXPECT_TRUE(DELINIENTRY("Config", "NOT_THERE", file));
  ASSERT_TRUE(DELINISECTION("CONFIG", file));
  EXPECT_EQ(readAll(file), "");
  EXPECT_TRUE(DELINISECTION("Config", dir.filePath("missing.ini")));
  EXPECT_FALSE(QFile::exists(dir.filePath("missing.ini")));
}

TEST_F(IniFile, RemovingASectionRemovesEveryCopyOfIt) {
  writeAll(file, "[A]\r\nK=1\r\n[B]\r\nL=2\r\n[a]\r\nK=3\r\n");
  ASSERT_TRUE(DELINISECTION("A", file));
  EXPECT_EQ(readAll(file), "[B]\r\nL=2\r\n");
}

TEST_F(IniFile, FindsAndWritesAFileNamedInOtherLetterCase) {
  const QString upper = dir.filePath("APLIK.INI");
  writeAll(upper, "[Config]\r\nSTYLE=windows\r\n");
  EXPECT_EQ(GETPRIVATEPROFILESTRING("Config", "STYLE", "", file), "windows");
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("Config", "STYLE", "fusion", file));
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_EQ(readAll(upper), "[Config]\r\nSTYLE=fusion\r\n");
}

TEST_F(IniFile, RefusesALineBreakInAValueAndReportsIt) {
  writeAll(file, "[Firma]\r\nRACUN=1\r\n");
  for (const char* bad : {"a\nb", "a\r\nb", "a\r"}) {
    boxes.shown.clear();
    EXPECT_FALSE(WRITEPRIVATEPROFILESTRING("Firma", "RACUN", bad, file));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Warning);
    EXPECT_TRUE(boxes.shown[0].text.contains("novi red"));
  }
  EXPECT_FALSE(WRITEPRIVATEPROFILESTRING("Firma", "A=B", "x", file));
  EXPECT_FALSE(WRITEPRIVATEPROFILESTRING("", "K", "x", file));
  EXPECT_EQ(readAll(file), "[Firma]\r\nRACUN=1\r\n");
}

TEST_F(IniFile, AFailedWriteIsReportedAndNotDone) {
  const QString inMissingFolder = dir.filePath("nema/aplik.ini");
  EXPECT_FALSE(WRITEPRIVATEPROFILESTRING("Config", "K", "V", inMissingFolder));
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].text, u("GREŠKA 2 KOD PISANJA FAJLA ") + inMissingFolder);

  // The INI path is a folder: nothing can replace it.
  const QString folder = dir.filePath("folder.ini");
  ASSERT_TRUE(QDir().mkdir(folder));
  EXPECT_FALSE(WRITEPRIVATEPROFILESTRING("Config", "K", "V", folder));
  ASSERT_EQ(boxes.shown.size(), 2);
  EXPECT_TRUE(boxes.shown[1].text.contains("KOD PISANJA FAJLA"));
  EXPECT_TRUE(QFileInfo(folder).isDir());
}
