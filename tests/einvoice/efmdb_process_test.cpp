// Another copy of the program on the same store: its row lock holds across
// processes. The child is this test program started again on one test.
#include "efmdb_fixture.h"

#include "common/dbf/dbftest.h"
#include "common/msg.h"
#include "support/scriptedpresenter.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QThread>

using namespace korvan;
using namespace korvan::efmdbtest;
using korvan::dbf::test::isChild;
using korvan::dbf::test::startChild;
using korvan::dbf::test::waitChild;

namespace {

void waitForFile(const QString& path) {
  for (int i = 0; i < 3000 && !QFileInfo::exists(path); ++i) QThread::msleep(10);
}

void touch(const QString& path) {
  QFile f(path);
  f.open(QIODevice::WriteOnly);
}

EfmZaglavlje header(qint64 id, const char* status) {
  EfmZaglavlje h(ZAG_BROJ);
  h[ZAG_ID] = id;
  h[ZAG_BRDOK] = "R-1";
  h[ZAG_STATUS] = status;
  return h;
}

// Updates invoice 42 inside a batch, so that its row stays locked, until STOP exists.
TEST(EfmdbChild, DISABLED_BatchHoldsARow) {
  if (!isChild()) GTEST_SKIP();
  ScriptedPresenter boxes;
  SET_APPPATH(qEnvironmentVariable("APP"));
  ASSERT_TRUE(EFMDB_OTVORI_BAZE());
  EfmPromene list;
  EFMDB_DODAJ_IZMENI({}, "U", header(42, "Seen"), list);
  touch(qEnvironmentVariable("READY"));
  waitForFile(qEnvironmentVariable("STOP"));
  EFMDB_ZATVORI_BAZE();
  EXPECT_TRUE(boxes.shown.isEmpty());
}

constexpr int kSharedIds = 200;

// Records new invoices 1..kSharedIds, one store open each, starting when GO exists.
TEST(EfmdbChild, DISABLED_RecordsTheSharedIds) {
  if (!isChild()) GTEST_SKIP();
  ScriptedPresenter boxes;
  SET_APPPATH(qEnvironmentVariable("APP"));
  touch(qEnvironmentVariable("READY"));
  // Both copies start within a millisecond or so of each other.
  const QString go = qEnvironmentVariable("GO");
  for (int i = 0; i < 300000 && !QFileInfo::exists(go); ++i) QThread::usleep(100);
  EfmPromene list;
  for (qint64 id = 1; id <= kSharedIds; ++id) EFMDB_DODAJ_IZMENI({}, "U", header(id, "Poslato"), list);
  EXPECT_EQ(boxes.texts(), QStringList());
}

TEST_F(Store, TwoCopiesRecordingTheSameNewIdsAtOnceLeaveOneRowPerId) {
  makeStore();
  const QString go = dir.filePath("go");
  QList<qint64> children;
  for (const char* who : {"a", "b"}) {
    const QString ready = dir.filePath(QString("ready-") + who);
    children << startChild("EfmdbChild.DISABLED_RecordsTheSharedIds", {"APP=" + GETAPPPATH(), "READY=" + ready, "GO=" + go});
    waitForFile(ready);
    ASSERT_TRUE(QFileInfo::exists(ready));
  }
  touch(go);
  for (qint64 child : children) EXPECT_EQ(waitChild(child), 0);
  QMap<QString, int> perId;
  for (const QStringList& r : rows("INVOICE", {"INV_ID"})) ++perId[r.first()];
  EXPECT_EQ(perId.size(), kSharedIds);
  for (auto it = perId.cbegin(); it != perId.cend(); ++it) EXPECT_EQ(it.value(), 1) << qPrintable(it.key());
}

TEST_F(Store, ARowLockedByAnotherCopyIsReportedAndWrittenOnceReleased) {
  EfmPromene list;
  EFMDB_DODAJ_IZMENI({}, "U", header(42, "Poslato"), list);
  const QString ready = dir.filePath("ready"), stop = dir.filePath("stop");
  const qint64 child =
      startChild("EfmdbChild.DISABLED_BatchHoldsARow", {"APP=" + GETAPPPATH(), "READY=" + ready, "STOP=" + stop});
  waitForFile(ready);
  ASSERT_TRUE(QFileInfo::exists(ready));

  list.clear();
  EFMDB_DODAJ_IZMENI({}, "U", header(42, "Odbijeno"), list);
  EXPECT_FALSE(EFMDB_BRISI({}, {1, "U", 42}));
  EXPECT_EQ(boxes.texts(), QStringList(2, ERR_LOCK()));
  EXPECT_EQ(waits, QList<double>(16, 0.5));
  EXPECT_TRUE(list.isEmpty());

  touch(stop);
  EXPECT_EQ(waitChild(child), 0);
  EXPECT_EQ(rows("INVOICE", {"STATUS"}), QList<QStringList>{{"Seen      "}});
  EFMDB_DODAJ_IZMENI({}, "U", header(42, "Odbijeno"), list);
  EXPECT_EQ(list, (EfmPromene{{42, EFM_IZMENJEN}}));
  EXPECT_EQ(rows("INVOICE", {"STATUS"}), QList<QStringList>{{"Odbijeno  "}});
  EXPECT_EQ(boxes.shown.size(), 2);
}

}  // namespace
