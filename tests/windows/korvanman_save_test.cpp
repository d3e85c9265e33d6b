// The manager's saving of a period and preparing for mail: the trees
// written, byte for byte, and what each way of ending does to the remembered
// date and the messages.
#include <QDirIterator>
#include <QLabel>
#include <QTimer>
#include <map>

#include "windows/korvanman_fixture.h"

namespace korvan::test {
namespace {

using Tree = std::map<QString, QByteArray>;

// Every file below the folder by its relative path.
Tree tree(const QString& folder) {
  Tree out;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString p = it.next();
    out[QDir(folder).relativeFilePath(p)] = readFile(p);
  }
  return out;
}

class Save : public KorvanmanTest {
 protected:
  void SetUp() override {
    KorvanmanTest::SetUp();
    saveTo = dir.filePath("arhiva");
    mailTo = dir.filePath("mejl");
  }
  // Runs "Sačuvaj u folder (F9)" over the period.
  void save(MyKORVANMAN* w, const QDate& from, const QDate& to, QList<QDate>* offered = nullptr) {
    answerDates(from, to, offered);
    w->obCUVAJ->click();
  }
  QString saved() const { return u8s("Ulazni i izlazni dokumenti su sačuvani u folderu\n") + G_CFOLDER_CUVANJE(); }
  QString saveTo, mailTo;
};

TEST_F(Save, APeriodOfBothDirectionsByteForByte) {
  store("I", 7001, sentUbl(), u8s("Đorđević d.o.o."), QDate(2023, 3, 5));
  store("U", 7002, purchaseEnvelope(7002), u8s("Čačak/Šabac\\Niš"), QDate(2023, 3, 6));
  store("U", 7003, purchaseEnvelope(7003), "Van perioda", QDate(2023, 4, 1));
  store("I", 7004, sentUbl(), "", QDate(2023, 3, 7));
  store("I", 7005, sentUbl(), "Bez datuma", QDate());
  // As an older program stored it: backslashes and no closing separator.
  G_CFOLDER_CUVANJE(QDir::toNativeSeparators(saveTo).replace('/', '\\'));
  MyKORVANMAN* w = open();
  QList<QDate> offered;
  save(w, QDate(2023, 3, 1), QDate(2023, 3, 31), &offered);
  EXPECT_EQ(offered, (QList<QDate>{QDate(2024, 3, 10), QDate(2024, 3, 10)}));
  const Tree want = {
      {"IZLAZNI/2023-03-05/7001 DJordjevic d.o.o..pdf", ownPdf()},
      {"IZLAZNI/2023-03-05/7001 DJordjevic d.o.o..xml", sentUbl()},
      {"IZLAZNI/2023-03-07/7004.pdf", ownPdf()},
      {"IZLAZNI/2023-03-07/7004.xml", sentUbl()},
      {"ULAZNI/2023-03-06/7002 Cacak-Sabac-Nis.pdf", ownPdf()},
      {"ULAZNI/2023-03-06/7002_generic Cacak-Sabac-Nis.pdf", systemPdf()},
      {"ULAZNI/2023-03-06/7002 Cacak-Sabac-Nis.xml", purchaseEnvelope(7002)},
  };
  EXPECT_EQ(tree(saveTo), want);
  EXPECT_EQ(boxes.texts(), QStringList{saved()});
  EXPECT_EQ(iniValue("POSL_CUVAJ_DAT2"), "31.03.2023");
  EXPECT_TRUE(calls().isEmpty()) << "saving fetches nothing";
  // The next save starts where this one ended.
  boxes.shown.clear();
  save(w, QDate(2023, 3, 31), QDate(2023, 3, 31), &offered);
  EXPECT_EQ(offered.value(0), QDate(2023, 3, 31));
}

TEST_F(Save, EndingsAndTheRememberedDate) {
  struct Case {
    const char* name;
    std::function<void(const QString& folder)> prepare;
    bool stop;
    QStringList shown;  // {} for the success message
    bool dateMoves;
    std::function<void(const Tree&)> check;
  };
  const QList<Case> cases = {
      {"an empty period makes no folder and succeeds", {}, false, {}, true,
       [&](const Tree& t) { EXPECT_TRUE(t.empty()); EXPECT_FALSE(QFileInfo::exists(saveTo)); }},
      {"a file where the incoming date folder goes stops all",
       [](const QString& f) {
         QDir().mkpath(f + "/ULAZNI");
         writeFile(f + "/ULAZNI/2023-03-06", "in the way");
       },
       false, {"Ne mogu da napravim folder %1/ULAZNI/2023-03-06"}, false,
       [](const Tree& t) {
         for (const auto& [path, bytes] : t) EXPECT_FALSE(path.startsWith("IZLAZNI")) << path.toStdString();
       }},
      {"a stop ends both directions without success", {}, true, {}, false,
       [](const Tree& t) {
         for (const auto& [path, bytes] : t) EXPECT_FALSE(path.startsWith("IZLAZNI")) << path.toStdString();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dbf::closeAllAreas();
    QDir(GETAPPPATH() + "BAZE").removeRecursively();
    QDir(saveTo).removeRecursively();
    const bool empty = QString(c.name).startsWith("an empty");
    if (!empty) {
      for (int id = 1; id <= 3; ++id) store("U", 7100 + id, purchaseEnvelope(7100 + id), "K", QDate(2023, 3, 6));
      store("I", 7001, sentUbl(), "K", QDate(2023, 3, 5));
    }
    if (c.prepare) c.prepare(saveTo);
    G_CFOLDER_CUVANJE(saveTo + "/");
    ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("KorvanMan", "POSL_CUVAJ_DAT2", "01.01.2023", ini));
    MyKORVANMAN* w = open();
    boxes.shown.clear();
    {
      std::optional<StopAt> stop;
      if (c.stop) stop.emplace("Ulazni          2/");
      save(w, QDate(2023, 3, 1), QDate(2023, 3, 31));
    }
    QStringList want;
    for (const QString& s : c.shown) want << s.arg(saveTo);
    EXPECT_EQ(boxes.texts(), c.shown.isEmpty() && !c.stop ? QStringList{saved()} : want);
    EXPECT_EQ(iniValue("POSL_CUVAJ_DAT2"), c.dateMoves ? "31.03.2023" : "01.01.2023");
    c.check(tree(saveTo));
    if (c.stop) EXPECT_EQ(tree(saveTo).size(), 3u) << "the first incoming invoice only";
    w->ZAVRSI(false);
  }
}

TEST_F(Save, FoldersThatAreNotSetAreNamed) {
  store("I", 7001, sentUbl(), "K");
  MyKORVANMAN* w = open();
  select(w, 7001);
  w->obCUVAJ->click();
  w->obSALJI_MEJLOM->click();
  const QString again = u8s("!\nUnesite ga u opciji 'Podešavanja aplikacije', pa ponovite...");
  EXPECT_EQ(boxes.texts(), QStringList({u8s("Nije podešen folder za čuvanje") + again,
                                        u8s("Nije podešen folder za slanje mejlom") + again}));
  EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_F(Save, MailingWritesTheSelectedInvoiceAndOpensItsFolder) {
  store("U", 7002, purchaseEnvelope(7002), u8s("Đorđević d.o.o."), QDate());
  store("U", 7003, purchaseEnvelope(7003), "<Kupac> | \"Jug\"", QDate(2023, 3, 6));
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("KorvanMan", "UI", "U", ini));
  G_CFOLDER_SALJI_MEJLOM(mailTo);
  MyKORVANMAN* w = open();
  w->obSALJI_MEJLOM->click();
  EXPECT_EQ(boxes.texts(), QStringList{u8s("Nema ništa selektovano!")});
  boxes.shown.clear();
  select(w, 7002);
  w->obSALJI_MEJLOM->click();
  select(w, 7003);
  w->obSALJI_MEJLOM->click();
  const Tree want = {
      {"ULAZNI/0000-00-00/7002 DJordjevic d.o.o..pdf", ownPdf()},
      {"ULAZNI/0000-00-00/7002_generic DJordjevic d.o.o..pdf", systemPdf()},
      {"ULAZNI/0000-00-00/7002 DJordjevic d.o.o..xml", purchaseEnvelope(7002)},
      {"ULAZNI/2023-03-06/7003 Kupac  Jug.pdf", ownPdf()},
      {"ULAZNI/2023-03-06/7003_generic Kupac  Jug.pdf", systemPdf()},
      {"ULAZNI/2023-03-06/7003 Kupac  Jug.xml", purchaseEnvelope(7003)},
  };
  EXPECT_EQ(tree(mailTo), want);
  ASSERT_EQ(shell.calls.size(), 2);
  EXPECT_EQ(shell.calls[0].op, "document");
  EXPECT_EQ(shell.calls[0].target, mailTo + "/ULAZNI/0000-00-00");
  EXPECT_EQ(shell.calls[1].target, mailTo + "/ULAZNI/2023-03-06");
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
  EXPECT_TRUE(calls().isEmpty());
}

}  // namespace
}  // namespace korvan::test
