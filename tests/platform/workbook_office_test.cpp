// The workbook layer with the real office suite: the fixture workbooks read
// in all three kinds and compared with what openpyxl reads, the first-sheet
// PDF, failures, and nothing left behind.
#include "platform/workbook_office.h"
#include "workbook_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvan::platform;
using namespace korvan::wbtest;

namespace {

const QString kFixtures = QStringLiteral(KORVAN_SOURCE_DIR "/tests/fixtures/workbooks");

// Skips where the office suite is missing; in CI a missing office is a failure.
#define REQUIRE_OFFICE()                                                            \
  do {                                                                              \
    if (!officeAvailable()) {                                                       \
      if (qEnvironmentVariable("CI") == "true")                                     \
        FAIL() << "the office suite or the workbook helper is missing in CI";       \
      GTEST_SKIP() << "the office suite (soffice) or the workbook helper is missing"; \
    }                                                                               \
  } while (0)

QByteArray run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
  return p.readAllStandardOutput();
}

class Office : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp_.isValid());
    // A folder with blanks, a Serbian letter and characters that mean something
    // in a URL: paths reach the office as URLs.
    work_ = tmp_.filePath(QString::fromUtf8("Računi #2 100% 2022"));
    profiles_ = tmp_.filePath("profiles");
    ASSERT_TRUE(QDir().mkpath(work_));
    ASSERT_TRUE(QDir().mkpath(profiles_));
    options_.profileRoot = profiles_;
  }

  QString copy(const QString& fixture, const QString& as) {
    const QString to = work_ + "/" + as;
    EXPECT_TRUE(QFile::copy(kFixtures + "/" + fixture, to)) << fixture.toStdString();
    return to;
  }

  // Nothing of the office is left: no process, no profile, no lock file.
  void expectNothingLeft() {
    EXPECT_TRUE(waitUntilGone(profiles_).empty()) << "an office process survived";
    EXPECT_TRUE(QDir(profiles_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty())
        << "a profile was left";
    EXPECT_TRUE(lockFiles(work_).isEmpty()) << lockFiles(work_).join(',').toStdString();
  }

  QTemporaryDir tmp_;
  QString work_, profiles_;
  OfficeOptions options_;
};

// What openpyxl reads from the fixture .xlsx (the .xls and .ods were saved
// from the same workbook).
QJsonArray openpyxlReads() {
  const QByteArray out = run("/usr/bin/python3", {kFixtures + "/read.py", kFixtures + "/invoice.xlsx", "J18"});
  return QJsonDocument::fromJson(out).array();
}

class OfficeKinds : public Office, public ::testing::WithParamInterface<const char*> {};

TEST_P(OfficeKinds, ReadsAsOpenpyxlDoesAndExportsOnlyTheFirstSheet) {
  REQUIRE_OFFICE();
  const QJsonArray expected = openpyxlReads();
  if (expected.isEmpty()) {
    if (qEnvironmentVariable("CI") == "true") FAIL() << "python3-openpyxl is missing in CI";
    GTEST_SKIP() << "/usr/bin/python3 with openpyxl is missing";
  }
  const QString ext = GetParam();
  const QString book = copy("invoice." + ext, "faktura 15." + ext);

  std::unique_ptr<Workbook> wb = OfficeBackend(options_).open(book);
  EXPECT_TRUE(lockFiles(work_).isEmpty()) << "lock file while open";

  std::vector<CellPos> pos;
  for (const QJsonValue& v : expected) pos.push_back({v[0].toInt(), v[1].toInt()});
  const std::vector<Cell> got = wb->cells(pos);  // one exchange for all
  ASSERT_EQ(got.size(), pos.size());
  for (size_t i = 0; i < got.size(); ++i) {
    const QJsonArray e = expected[static_cast<qsizetype>(i)].toArray();
    const Cell& c = got[i];
    const QString at = QString("column %1 row %2").arg(e[0].toInt()).arg(e[1].toInt());
    SCOPED_TRACE(at.toStdString());
    EXPECT_EQ(static_cast<int>(c.kind), e[2].toInt());
    const QString type = e[3].toString();
    if (type == "empty") {
      EXPECT_EQ(c.type, ValueType::Empty);
      EXPECT_FALSE(c.value.isValid());
      EXPECT_TRUE(c.shown.isEmpty());
    } else if (type == "text") {
      EXPECT_EQ(c.type, ValueType::Text);
      EXPECT_EQ(c.value, QVariant(e[4].toString()));
      EXPECT_EQ(c.shown, e[4].toString());
    } else if (type == "number") {
      EXPECT_EQ(c.type, ValueType::Number);
      EXPECT_DOUBLE_EQ(c.number, e[4].toDouble());
      EXPECT_EQ(c.value.typeId(), QMetaType::Double);
      EXPECT_DOUBLE_EQ(c.value.toDouble(), e[4].toDouble());
    } else if (type == "date") {
      EXPECT_EQ(c.type, ValueType::Date);
      EXPECT_EQ(c.value, QVariant(QDate::fromString(e[4].toString(), Qt::ISODate)));
    } else if (type == "datetime") {
      EXPECT_EQ(c.type, ValueType::DateTime);
      EXPECT_EQ(c.value, QVariant(QDateTime::fromString(e[4].toString(), Qt::ISODate)));
    } else {
      ADD_FAILURE() << "unknown type " << type.toStdString();
    }
  }

  // Cell by cell (the helper's other way of reading) gives the same.
  for (size_t i = 0; i < pos.size(); ++i) {
    const Cell one = wb->cell(pos[i].column, pos[i].row);
    SCOPED_TRACE(QString("column %1 row %2").arg(pos[i].column).arg(pos[i].row).toStdString());
    EXPECT_EQ(one.kind, got[i].kind);
    EXPECT_EQ(one.type, got[i].type);
    EXPECT_EQ(one.shown, got[i].shown);
    EXPECT_EQ(one.value, got[i].value);
    EXPECT_DOUBLE_EQ(one.number, got[i].number);
  }

  // The cells the reads of an invoice rest on, as they are shown.
  const std::vector<Cell> key = wb->cells({{1, 1}, {1, 10}, {5, 13}, {6, 16}, {3, 15}, {4, 15}});
  EXPECT_EQ(key[0].shown, "30.11.2022");
  EXPECT_EQ(key[1].kind, CellKind::Formula);  // a text formula is its text, not 0
  EXPECT_EQ(key[1].value, QVariant(QString::fromUtf8("Račun 15/2022")));
  EXPECT_EQ(key[2].shown, "5%");
  EXPECT_EQ(key[3].shown, "10%");
  EXPECT_EQ(key[4].value, QVariant("2,5"));
  EXPECT_EQ(key[5].value, QVariant("1.5"));

  EXPECT_EQ(wb->usedRows(), 17);

  // A position off the sheet is an error of that read only.
  try {
    wb->cell(-1, 0);
    ADD_FAILURE() << "no error";
  } catch (const WorkbookError& e) {
    EXPECT_EQ(e.operation, "getCellByPosition");
    EXPECT_EQ(e.arguments, QStringList({"-1", "0"}));
    EXPECT_FALSE(e.lastError.isEmpty());
  }
  EXPECT_EQ(wb->cell(1, 0).value, QVariant("15/2022"));

  // The PDF replaces an older one and holds the first sheet only.
  const QString pdf = work_ + "/faktura 15.pdf";
  {
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  wb->exportFirstSheetPdf(pdf);
  QFile f(pdf);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.read(4), "%PDF");
  const QString text = QString::fromUtf8(run("pdftotext", {pdf, "-"}));
  if (text.isEmpty()) {
    ADD_FAILURE_AT(__FILE__, __LINE__) << "pdftotext (poppler-utils) gave nothing";
  } else {
    EXPECT_TRUE(text.contains("Olovka"));
    EXPECT_TRUE(text.contains(QString::fromUtf8("Preduzeće Ćirić d.o.o.")));
    EXPECT_FALSE(text.contains("SAMO NA DRUGOM LISTU")) << "the second sheet was exported";
  }
  EXPECT_THROW(wb->exportFirstSheetPdf(work_ + "/nema/x.pdf"), WorkbookError);
  EXPECT_FALSE(QFileInfo::exists(work_ + "/nema"));

  wb->close();
  wb->close();
  EXPECT_THROW(wb->cell(0, 0), WorkbookError);
  expectNothingLeft();
  EXPECT_EQ(QDir(work_).entryList(QDir::Files | QDir::Hidden).size(), 2) << "only the workbook and its PDF";
}

INSTANTIATE_TEST_SUITE_P(Workbooks, OfficeKinds, ::testing::Values("xlsx", "xls", "ods"));

// Texts that are awkward for the pipe or the office read the same in one
// exchange as cell by cell, exactly as they were written.
TEST_F(Office, AwkwardTextsComeThroughWhole) {
  REQUIRE_OFFICE();
  const QString book = copy("odd.xls", "neobicno.xls");
  std::unique_ptr<Workbook> wb = OfficeBackend(options_).open(book);
  const QStringList texts = {"tab\there",
                             "tab\tand\nline",
                             "line 1\nline 2",
                             QString::fromUtf8("smile \U0001F600 clef \U0001D11E"),
                             QString(20000, 'x'),
                             "#DIV/0!",
                             "  padded  ",
                             "quote \" back \\ end",
                             QString::fromUtf8("Ćirić")};
  std::vector<CellPos> pos;
  for (int r = 0; r < texts.size(); ++r) pos.push_back({0, r});
  const std::vector<Cell> batch = wb->cells(pos);
  ASSERT_EQ(batch.size(), pos.size());
  for (int r = 0; r < texts.size(); ++r) {
    SCOPED_TRACE(r);
    const Cell one = wb->cell(0, r);
    for (const Cell& c : {batch[size_t(r)], one}) {
      EXPECT_EQ(c.type, r == 5 ? ValueType::Error : ValueType::Text);
      EXPECT_EQ(c.shown, texts[r]);
      EXPECT_EQ(c.value, QVariant(texts[r]));
    }
  }
  EXPECT_EQ(batch[5].kind, CellKind::Formula);  // an error result, shown as its text
  wb->close();
  expectNothingLeft();
}

TEST_F(Office, MissingAndCorruptWorkbooksFail) {
  REQUIRE_OFFICE();
  const QString corrupt = copy("corrupt.xlsx", "pokvaren.xlsx");
  for (const QString& path : {work_ + "/nema.ods", corrupt}) {
    SCOPED_TRACE(path.toStdString());
    try {
      OfficeBackend(options_).open(path);
      ADD_FAILURE() << "no error";
    } catch (const WorkbookError& e) {
      EXPECT_EQ(e.operation, "loadComponentFromURL");
      ASSERT_FALSE(e.arguments.isEmpty());
      EXPECT_EQ(e.arguments[0], QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
      EXPECT_FALSE(e.description.isEmpty());
    }
  }
  expectNothingLeft();
}

// The helper started as the client starts it, then orphaned: by the end of its
// input (the program quit) or by being killed. The office must not survive.
TEST_F(Office, OfficeEndsWhenTheHelperLosesItsCaller) {
  REQUIRE_OFFICE();
  for (bool kill : {false, true}) {
    SCOPED_TRACE(kill ? "killed" : "input closed");
    QProcess helper;
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.start(officeHelperPath(), {"--profile-root", profiles_});
    ASSERT_TRUE(helper.waitForStarted());
    while (!helper.canReadLine() && helper.waitForReadyRead(60000)) {
    }
    ASSERT_TRUE(helper.readLine().contains("\"ready\":true"));
    std::vector<qint64> office;
    for (qint64 pid : processesWith(profiles_))
      if (pid != helper.processId()) office.push_back(pid);
    ASSERT_FALSE(office.empty()) << "no office process found";
    if (kill) helper.kill();
    else helper.closeWriteChannel();
    EXPECT_TRUE(helper.waitForFinished(20000));
    for (qint64 pid : office) EXPECT_TRUE(waitUntilDead(pid, 5000)) << "office " << pid << " survived";
    if (!kill) {
      EXPECT_TRUE(QDir(profiles_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }
  }
}

}  // namespace
