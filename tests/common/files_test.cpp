#include "common/files.h"

#include "common/apppath.h"
#include "common/presenter.h"
#include "support/scriptedpresenter.h"
#include "support/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <vector>

using namespace korvan;

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

void touch(const QString& path, const QByteArray& bytes = "x") {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  f.write(bytes);
}

// Holds a file the way another copy of the program holds an open table.
class Held {
 public:
  explicit Held(const QString& path) {
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR);
    struct flock fl {};
    fl.l_type = F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0x7FFFFFFE;
    fl.l_len = 1;
    ok_ = fd_ >= 0 && ::fcntl(fd_, F_OFD_SETLK, &fl) == 0;
  }
  ~Held() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return ok_; }

 private:
  int fd_ = -1;
  bool ok_ = false;
};

// A program folder of its own for each test.
class ProgramFolder : public ::testing::Test {
 protected:
  QString app(const QString& name) const { return GETAPPPATH() + name; }

  test::TempProgramFolder dir;
  ScriptedPresenter boxes;

 private:
};

}  // namespace

TEST(GetMemo, SplitsLines) {
  const struct {
    QString text;
    QString delimiter;
    QStringList lines;
  } cases[] = {
      {"a\r\n\r\nb\r\n\r\n", "\r\n", {"a", "", "b"}},
      {"", "\r\n", {}},
      {" \t\r\n ", "\r\n", {}},
      {"a\r\nb", "\r\n", {"a", "b"}},
      {"a\r\n   ", "\r\n", {"a"}},
      {"a\r\nb\r\n", "\n", {"a\r", "b\r"}},
      {"a\rb\r\n", "\r\n", {"a\rb"}},
      {"x||y||", "||", {"x", "y"}},
  };
  for (const auto& c : cases) {
    int count = -1;
    EXPECT_EQ(GET_MEMO(c.text, &count, c.delimiter), c.lines) << c.text.toStdString();
    EXPECT_EQ(count, c.lines.size());
  }
  QList<QPair<int, int>> calls;
  GET_MEMO("a\r\nb\r\nc", nullptr, "\r\n", [&](int n, int total) { calls << qMakePair(n, total); });
  EXPECT_EQ(calls, (QList<QPair<int, int>>{{1, 2}, {2, 2}, {3, 2}}));
  EXPECT_EQ(PUT_MEMO({"a", "b"}), "a\r\nb\r\n");
  EXPECT_EQ(PUT_MEMO({}), "");
}

TEST_F(ProgramFolder, ReadMemoCapsAndReportsMissingFiles) {
  const QString big = app("big.txt");
  touch(big, QByteArray(200000, 'z'));
  EXPECT_EQ(READ_MEMO(big).size(), 122880);
  EXPECT_EQ(READ_MEMO(big, 100).size(), 100) << "a small chunk reads one chunk";
  QByteArray whole;
  ASSERT_TRUE(READ_FILE(big, &whole));
  EXPECT_EQ(whole.size(), 200000);

  // A letter lying across the cap is not cut in two.
  const QString across = app("across.txt");
  touch(across, QByteArray(122879, 'a') + "Šxyz");
  const QString text = READ_MEMO(across);
  EXPECT_EQ(text.size(), 122879);
  EXPECT_FALSE(text.contains(QChar(0xFFFD)));

  touch(app("s.txt"), "Račun\r\n");
  EXPECT_EQ(READ_MEMO(app("s.txt")), u("Račun\r\n"));
  EXPECT_TRUE(boxes.shown.isEmpty());

  EXPECT_EQ(READ_MEMO(app("nema.txt")), "");
  EXPECT_FALSE(READ_FILE(app("nema.txt"), &whole));
  EXPECT_EQ(READ_TEXT(app("nema.txt")), "");
  ASSERT_EQ(boxes.shown.size(), 3);
  EXPECT_EQ(boxes.shown[0].text, "NE POSTOJI DOKUMENT " + app("nema.txt"));
  EXPECT_FALSE(READ_FILE(app("nema.txt"), &whole, true));
  EXPECT_EQ(boxes.shown.size(), 3) << "quiet shows nothing";
}

TEST_F(ProgramFolder, WriteMemoReportsEveryFailure) {
  ASSERT_TRUE(WRITE_MEMO(app("out.txt"), u("Šifra\r\n")));
  QByteArray back;
  ASSERT_TRUE(READ_FILE(app("out.txt"), &back));
  EXPECT_EQ(back, "Šifra\r\n");
  ASSERT_TRUE(WRITE_MEMO(app("out.txt"), "kraće"));
  ASSERT_TRUE(READ_FILE(app("out.txt"), &back));
  EXPECT_EQ(back, "kraće");

  EXPECT_FALSE(WRITE_MEMO(app("nema/out.txt"), "x"));
  ASSERT_TRUE(QDir().mkdir(app("folder")));
  EXPECT_FALSE(WRITE_MEMO(app("folder"), "x"));
  ASSERT_EQ(boxes.shown.size(), 2);
  EXPECT_EQ(boxes.shown[0].text, u("GREŠKA 2 KOD PISANJA FAJLA ") + app("nema/out.txt"));
  EXPECT_EQ(boxes.shown[1].text, u("GREŠKA 21 KOD PISANJA FAJLA ") + app("folder"));
}

TEST_F(ProgramFolder, FreeOutputNames) {
  ASSERT_TRUE(QDir().mkpath(app("Moji dokumenti/a.b")));
  const QString folder = app("Moji dokumenti/");
  const QString racun = folder + u("Račun 12.pdf");

  EXPECT_EQ(SLOBODAN_FN(racun), racun) << "without BEZSPACE.!!! the name stays";
  touch(app("BEZSPACE.!!!"));
  EXPECT_EQ(SLOBODAN_FN(racun), folder + "Racun_12.pdf") << "folders above keep their blanks";
  EXPECT_EQ(SLOBODAN_FN(folder + u("Đak.pdf")), folder + "DJak.pdf");

  touch(folder + "Racun_12.pdf");
  EXPECT_EQ(SLOBODAN_FN(racun), folder + "Racun_12.pdf") << "an existing file nobody holds is free";
  Held viewer(folder + "Racun_12.pdf");
  ASSERT_TRUE(viewer.ok());
  EXPECT_EQ(SLOBODAN_FN(racun), folder + "Racun_122.pdf");

  // The companion must be free too.
  touch(folder + "Racun_122.xml");
  Held companion(folder + "Racun_122.xml");
  ASSERT_TRUE(companion.ok());
  EXPECT_EQ(SLOBODAN_FN(racun, "xml"), folder + "Racun_123.pdf");

  // The extension comes from the file name only.
  EXPECT_EQ(SLOBODAN_FN(folder + "a.b/izvod"), folder + "a.b/izvod");
  touch(folder + "a.b/izvod");
  Held izvod(folder + "a.b/izvod");
  EXPECT_EQ(SLOBODAN_FN(folder + "a.b/izvod"), folder + "a.b/izvod2");

  // None free up to 99: the name with 99.
  std::vector<std::unique_ptr<Held>> all;
  touch(folder + "x.pdf");
  all.push_back(std::make_unique<Held>(folder + "x.pdf"));
  for (int n = 2; n <= 99; ++n) {
    touch(folder + "x" + QString::number(n) + ".pdf");
    all.push_back(std::make_unique<Held>(folder + "x" + QString::number(n) + ".pdf"));
  }
  EXPECT_EQ(SLOBODAN_FN(folder + "x.pdf"), folder + "x99.pdf");
}

TEST_F(ProgramFolder, MarkersAreTestedAtEachCall) {
  EXPECT_FALSE(ISTEST());
  touch(app("TEST.!!!"));
  EXPECT_TRUE(ISTEST());
  QFile::remove(app("TEST.!!!"));
  EXPECT_FALSE(ISTEST());
  touch(app("test.!!!"));
  EXPECT_TRUE(ISTEST()) << "letter case of a copied marker does not matter";
  EXPECT_EQ(FN_INI("aplik.ini"), dir.path() + "/aplik.ini");
}

TEST_F(ProgramFolder, FindsExistingFilesIgnoringCase) {
  ASSERT_TRUE(QDir().mkpath(app("BAZE")));
  touch(app("BAZE/INVOICE.DBF"));
  EXPECT_EQ(FIND_FILE(app("baze/invoice.dbf")), app("BAZE/INVOICE.DBF"));
  EXPECT_EQ(FIND_FILE(app("baze\\Invoice.Dbf")), app("BAZE/INVOICE.DBF"));
  EXPECT_EQ(FIND_FILE(app("baze/fals.dbf")), app("BAZE/fals.dbf")) << "the existing folder is used";
  EXPECT_EQ(FIND_FILE(app("nema/x.dbf")), app("nema/x.dbf"));
}

TEST_F(ProgramFolder, MakesFolders) {
  EXPECT_TRUE(PRAVI_DIR(app("TMP")));
  EXPECT_TRUE(PRAVI_DIR(app("TMP")));
  EXPECT_TRUE(PRAVI_DIR_FULL("IZLAZNI\\2022-12-14/PDF", app("")));
  EXPECT_TRUE(QFileInfo(app("IZLAZNI/2022-12-14/PDF")).isDir());
  touch(app("file"));
  EXPECT_FALSE(PRAVI_DIR(app("file"))) << "a file of that name stays a file";
}

TEST_F(ProgramFolder, ExclusiveOpen) {
  EXPECT_FALSE(MOZE_EXCLUSIVE(app("nema.pdf")));
  touch(app("a.pdf"));
  EXPECT_TRUE(MOZE_EXCLUSIVE(app("a.pdf")));
  {
    Held h(app("a.pdf"));
    ASSERT_TRUE(h.ok());
    EXPECT_FALSE(MOZE_EXCLUSIVE(app("a.pdf")));
  }
  EXPECT_TRUE(MOZE_EXCLUSIVE(app("a.pdf")));
}

TEST_F(ProgramFolder, SmallFileOperations) {
  ASSERT_TRUE(QDir().mkpath(app("t/sub")));
  touch(app("t/a.txt"));
  touch(app("t/b.XML"));
  touch(app("t/noext"));
  touch(app("t/sub/c.pdf"));

  QStringList names;
  for (const DirEntry& e : DIRECTORY2(app("t/*.TXT"))) names << e.name;
  EXPECT_EQ(names, QStringList{"a.txt"});
  names.clear();
  for (const DirEntry& e : DIRECTORY2(app("t/*"), "D")) names << e.name + e.attributes;
  EXPECT_EQ(names, (QStringList{"a.txt", "b.XML", "noext", "subD"}));

  EXPECT_TRUE(MATCH_FILE("a.txt", {"*.xml"}));
  EXPECT_FALSE(MATCH_FILE("b.XML", {"*.xml"}));
  EXPECT_FALSE(MATCH_FILE("noext", {}));
  QStringList list;
  GET_FILES(app("t/"), list, {"*.xml"});
  EXPECT_EQ(list, (QStringList{app("t/a.txt"), app("t/sub/"), app("t/sub/c.pdf")}));
  list.clear();
  GET_FILES(app("t/"), list, {}, true);
  EXPECT_EQ(list, (QStringList{app("t/a.txt"), app("t/b.XML"), app("t/sub/c.pdf")}));

  touch(app("t/lines"), "prvi\r\ndrugi\nkraj");
  QFile f(app("t/lines"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(READLN(f), "prvi");
  EXPECT_EQ(READLN(f, "\n"), "drugi");
  EXPECT_EQ(READLN(f), "kraj");

  ASSERT_TRUE(COPYFILE(app("t/a.txt"), app("t/copy.txt")));
  EXPECT_TRUE(QFile::exists(app("t/copy.txt")));
  EXPECT_FALSE(COPYFILE(app("t/nema"), app("t/x")));
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].text,
            "Greska pri kopiranju !\n" + app("t/nema") + "\n" + app("t/x") + "\nPonovite ...");
  EXPECT_FALSE(COPYFILE(app("t/nema"), app("t/x"), nullptr, true));
  EXPECT_EQ(boxes.shown.size(), 1);

  XDEL(app("t/"));
  EXPECT_FALSE(QFile::exists(app("t/sub/c.pdf")));
  EXPECT_TRUE(QFile::exists(app("t/noext")));
  touch(app("t/d.tmp"));
  BRISI_TMPREZ({app("t/d.tmp"), app("t/never")});
  EXPECT_FALSE(QFile::exists(app("t/d.tmp")));
}

// Names the file system allows: quotes and backslashes are letters of a name.
TEST_F(ProgramFolder, BackslashNamesFromTheFileSystemRoundTripThroughEveryHelper) {
  const QString folder = app(u("'single' \"double\" \\back\\slash"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString xml = folder + u("/ra\\čun.xml");
  const QString txt = xml + ".txt";

  ASSERT_TRUE(WRITE_MEMO_BYTES(xml, "<Invoice/>"));
  ASSERT_TRUE(WRITE_MEMO(txt, u("odgovor")));
  EXPECT_TRUE(QFileInfo(xml).isFile()) << "written beside, not into a folder made of the name";
  EXPECT_FALSE(QFileInfo::exists(app("'single' \"double\" /back/slash")));
  EXPECT_EQ(FIND_FILE(xml), xml);
  EXPECT_EQ(FIND_FILE(folder + u("/RA\\ČUN.XML")), xml) << "letter case still ignored";
  QByteArray bytes;
  ASSERT_TRUE(READ_FILE(xml, &bytes));
  EXPECT_EQ(bytes, "<Invoice/>");
  EXPECT_EQ(READ_MEMO(txt), u("odgovor"));
  EXPECT_EQ(READ_MEMO_BYTES(xml), "<Invoice/>");
  EXPECT_TRUE(MOZE_EXCLUSIVE(xml));
  ASSERT_TRUE(COPYFILE(xml, xml + ".bak", nullptr, true));
  EXPECT_TRUE(QFileInfo(xml + ".bak").isFile());
  ASSERT_TRUE(PRAVI_DIR(folder + u("/pod\\folder")));
  EXPECT_TRUE(QFileInfo(folder + u("/pod\\folder")).isDir());
  QStringList names;
  for (const DirEntry& e : DIRECTORY2(folder + u("/*.xml"))) names << e.name;
  EXPECT_EQ(names, QStringList{u("ra\\čun.xml")});
  QStringList list;
  GET_FILES(folder + "/", list, {}, true);
  EXPECT_TRUE(list.contains(xml)) << list.join(", ").toStdString();
  XDEL(folder);
  EXPECT_FALSE(QFileInfo::exists(xml));
  EXPECT_TRUE(boxes.shown.isEmpty());
}

// Windows-style names the program reads from its INI files still find their files.
TEST_F(ProgramFolder, WindowsStyleNamesStillReadBackslashAsSeparator) {
  ASSERT_TRUE(QDir().mkpath(app("PDF/2024")));
  ASSERT_TRUE(WRITE_MEMO_BYTES(app("PDF\\2024\\a.pdf"), "%PDF"));
  EXPECT_TRUE(QFileInfo(app("PDF/2024/a.pdf")).isFile());
  QByteArray bytes;
  ASSERT_TRUE(READ_FILE(app("PDF\\2024\\a.pdf"), &bytes));
  EXPECT_EQ(bytes, "%PDF");
  EXPECT_EQ(FIND_FILE(app("pdf\\2024\\A.PDF")), app("PDF/2024/a.pdf"));
}
