// Replacing a file as a whole, with and without the disk sync: the same
// result either way, and a failed write leaves the old file and no leftovers.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/savefile.h"

using namespace korvan::platform;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

class SaveFile : public ::testing::TestWithParam<DiskSync> {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  // Everything in the folder but the names given: a temporary file left behind.
  QStringList others(const QStringList& expected) const {
    QStringList names = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& e : expected) names.removeAll(e);
    return names;
  }
  QTemporaryDir dir;
};

TEST_P(SaveFile, ReplacesTheWholeFileAndKeepsItsMode) {
  const QString path = dir.filePath("a.xml");
  ASSERT_TRUE(saveFileAtomically(path, "old and longer", nullptr, GetParam()));
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
  int code = -1;
  EXPECT_TRUE(saveFileAtomically(path, "new", &code, GetParam()));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(readAll(path), "new");
  const QFile::Permissions modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                      QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::WriteOther | QFile::ExeOther;
  EXPECT_EQ(QFile::permissions(path) & modeBits, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
  EXPECT_EQ(others({"a.xml"}), QStringList());
}

TEST_P(SaveFile, AFailedWriteReportsWhyAndLeavesNothing) {
  struct Case {
    const char* name;
    QString path;
    int errorCode;
  };
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  const Case cases[] = {
      {"a missing folder", dir.filePath("nema/a.xml"), ENOENT},
      {"a folder in the way", dir.filePath("folder"), EISDIR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int code = 0;
    EXPECT_FALSE(saveFileAtomically(c.path, "x", &code, GetParam()));
    EXPECT_EQ(code, c.errorCode);
    EXPECT_EQ(others({"folder"}), QStringList());
  }
}

INSTANTIATE_TEST_SUITE_P(BothWays, SaveFile, ::testing::Values(DiskSync::Sync, DiskSync::NoDiskSync),
                         [](const auto& info) {
                           return std::string(info.param == DiskSync::Sync ? "Synced" : "NotSynced");
                         });

}  // namespace
