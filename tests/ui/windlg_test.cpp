// File dialogs: the scripted runner for the wrappers' rules, and the real
// QFileDialog driven offscreen.
#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "modal.h"
#include "ui/izbfajla.h"
#include "ui/windlg.h"

namespace korvan::test {
namespace {

const FileFilters kPdf = {{QStringLiteral("PDF fajlovi"), QStringLiteral("*.pdf")}};
const FileFilters kXls = {{QStringLiteral("Pre Excel 2007"), QStringLiteral("*.xls")},
                          {QStringLiteral("Excel 2007 ili noviji"), QStringLiteral("*.xlsx")},
                          {QStringLiteral("Excel binarni fajlovi"), QStringLiteral("*.xlsb")}};

TEST(FilterPatterns, BothCasesAndSeparators) {
  struct Case { QString in; QStringList out; };
  const QList<Case> cases = {
      {QStringLiteral("*.pdf"), {QStringLiteral("*.pdf"), QStringLiteral("*.PDF")}},
      {QStringLiteral("*.PDF"), {QStringLiteral("*.pdf"), QStringLiteral("*.PDF")}},
      {QStringLiteral("*.xls;*.xlsx"),
       {QStringLiteral("*.xls"), QStringLiteral("*.XLS"), QStringLiteral("*.xlsx"), QStringLiteral("*.XLSX")}},
      {QStringLiteral(" *.txt ; *.csv "),
       {QStringLiteral("*.txt"), QStringLiteral("*.TXT"), QStringLiteral("*.csv"), QStringLiteral("*.CSV")}},
      {QStringLiteral("*.*"), {QStringLiteral("*")}},
      {QStringLiteral("*.123"), {QStringLiteral("*.123")}},
      {QString(), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(FILTER_PATTERNS(c.in), c.out) << c.in.toStdString();
}

TEST(FilterPatterns, MatchFilesOfEitherCaseOnACaseSensitiveDisk) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* n : {"a.pdf", "B.PDF", "c.txt", "d.pdf.txt"}) {
    QFile f(dir.filePath(QString::fromUtf8(n)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QStringList found = QDir(dir.path()).entryList(FILTER_PATTERNS(QStringLiteral("*.pdf")),
                                                  QDir::Files | QDir::CaseSensitive);
  found.sort();
  EXPECT_EQ(found, (QStringList{QStringLiteral("B.PDF"), QStringLiteral("a.pdf")}));
}

TEST(WinDlgGetFile, SingleChoiceAnswersTextAndAsksForAnExistingPdf) {
  ScriptedFileDialogs fd;
  fd.answers = {{QStringLiteral("/home/a/racun 1.pdf")}, {}};
  const QVariant chosen = WINDLG_GETFILE(kPdf, QStringLiteral("Izaberite fajl"), QString(), false, true);
  EXPECT_EQ(chosen.typeId(), QMetaType::QString);
  EXPECT_EQ(chosen.toString(), QDir::toNativeSeparators(QStringLiteral("/home/a/racun 1.pdf")));
  const QVariant cancelled = WINDLG_GETFILE(kPdf, QStringLiteral("Izaberite fajl"), QString(), false, true);
  EXPECT_EQ(cancelled.typeId(), QMetaType::QString);
  EXPECT_EQ(cancelled.toString(), QString());

  ASSERT_EQ(fd.requests.size(), 2);
  const FileDialogRequest& r = fd.requests.first();
  EXPECT_EQ(r.mode, FileDialogRequest::Open);
  EXPECT_EQ(r.title, QStringLiteral("Izaberite fajl"));
  EXPECT_EQ(r.folder, QString());
  EXPECT_EQ(r.nameFilters, QStringList{QStringLiteral("PDF fajlovi (*.pdf *.PDF)")});
}

TEST(WinDlgGetFile, MultipleChoiceAnswersEveryChosenPath) {
  QStringList seventy;
  for (int i = 1; i <= 70; ++i) seventy << QStringLiteral("/tmp/f%1.pdf").arg(i);
  struct Case { const char* name; QStringList answer; };
  const QList<Case> cases = {
      {"two in the root folder", {QStringLiteral("/a.pdf"), QStringLiteral("/b.pdf")}},
      {"one", {QStringLiteral("/tmp/x.pdf")}},
      {"seventy", seventy},
      {"cancelled", {}},
  };
  for (const Case& c : cases) {
    ScriptedFileDialogs fd;
    fd.answers = {c.answer};
    const QVariant chosen = WINDLG_GETFILE(kPdf, QStringLiteral("Izaberite fajl"),
                                           QStringLiteral("/tmp"), true);
    EXPECT_EQ(chosen.typeId(), QMetaType::QStringList) << c.name;
    QStringList expected;
    for (const QString& p : c.answer) expected << QDir::toNativeSeparators(p);
    EXPECT_EQ(chosen.toStringList(), expected) << c.name;
    ASSERT_EQ(fd.requests.size(), 1) << c.name;
    EXPECT_EQ(fd.requests[0].mode, FileDialogRequest::OpenMany) << c.name;
    EXPECT_EQ(fd.requests[0].folder, QStringLiteral("/tmp")) << c.name;
  }
}

TEST(WinDlgGetFile, NoFiltersAndTheCurrentFolderStays) {
  QTemporaryDir other;
  ASSERT_TRUE(other.isValid());
  const QString before = QDir::currentPath();
  ScriptedFileDialogs fd;
  // A dialog that moves the current folder (as a platform dialog may).
  fd.onRequest = [&](const FileDialogRequest&) {
    QDir::setCurrent(other.path());
    return QStringList{other.filePath(QStringLiteral("x.pdf"))};
  };
  for (bool keep : {true, false}) {
    WINDLG_GETFILE({}, QString(), QString(), false, keep);
    EXPECT_EQ(QDir::currentPath(), before) << keep;
  }
  ASSERT_EQ(fd.requests.size(), 2);
  EXPECT_TRUE(fd.requests[0].nameFilters.isEmpty());
}

TEST(WinDlgPutFile, DefaultNameAndCancel) {
  ScriptedFileDialogs fd;
  fd.answers = {{QStringLiteral("/tmp/izlaz.xml")}, {}};
  EXPECT_EQ(WINDLG_PUTFILE(kPdf, QStringLiteral("Snimi"), QString(), true, QStringLiteral("racun.pdf")),
            QDir::toNativeSeparators(QStringLiteral("/tmp/izlaz.xml")));
  EXPECT_EQ(WINDLG_PUTFILE(kPdf), QString());
  ASSERT_EQ(fd.requests.size(), 2);
  EXPECT_EQ(fd.requests[0].mode, FileDialogRequest::Save);
  EXPECT_EQ(fd.requests[0].defaultName, QStringLiteral("racun.pdf"));
}

TEST(IzborFajla, OneFilterOfAllPatternsAndTypedNames) {
  ScriptedFileDialogs fd;
  fd.answers = {{QStringLiteral("/home/a/novi fajl.xlsx")}, {}};
  const std::optional<QString> typed = IZBOR_FAJLA(kXls, QStringLiteral("Izaberite fajl"));
  ASSERT_TRUE(typed.has_value());
  EXPECT_EQ(*typed, QDir::toNativeSeparators(QStringLiteral("/home/a/novi fajl.xlsx")));
  EXPECT_FALSE(IZBOR_FAJLA(kXls, QStringLiteral("Izaberite fajl")).has_value());

  ASSERT_EQ(fd.requests.size(), 2);
  EXPECT_EQ(fd.requests[0].mode, FileDialogRequest::AnyFile);
  EXPECT_EQ(fd.requests[0].title, QStringLiteral("Izaberite fajl"));
  EXPECT_EQ(fd.requests[0].nameFilters,
            QStringList{QStringLiteral("*.xls *.XLS *.xlsx *.XLSX *.xlsb *.XLSB")});
}

// The real dialog, offscreen.
class RealFileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (const char* n : {"a.pdf", "B.PDF", "c.txt"}) {
      QFile f(dir.filePath(QString::fromUtf8(n)));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
  }
  // The names the dialog's file list shows once its folder is read.
  static QStringList shownNames(QFileDialog* d) {
    auto* view = d->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    if (!view) return {};
    QStringList names;
    (void)QTest::qWaitFor([&] {
      names.clear();
      const QModelIndex root = view->rootIndex();
      for (int i = 0; i < view->model()->rowCount(root); ++i)
        names << view->model()->index(i, 0, root).data().toString();
      return names.size() >= 2;
    }, 5000);
    names.sort();
    return names;
  }
  QTemporaryDir dir;
};

TEST_F(RealFileDialog, GetFileShowsPdfOfEitherCaseAndAnswersTheChosenOne) {
  QStringList shown;
  QStringList filters;
  whenActive([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(d, nullptr);
    filters = d->nameFilters();
    shown = shownNames(d);
    auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(QStringLiteral("B.PDF"));  // as typed
    static_cast<QDialog*>(d)->accept();  // as the dialog's own button does
  });
  const QVariant chosen = WINDLG_GETFILE(kPdf, QStringLiteral("Izaberite fajl"), dir.path(), false, true);
  EXPECT_EQ(filters, QStringList{QStringLiteral("PDF fajlovi (*.pdf *.PDF)")});
  EXPECT_EQ(shown, (QStringList{QStringLiteral("B.PDF"), QStringLiteral("a.pdf")}));
  EXPECT_EQ(chosen.toString(), QDir::toNativeSeparators(dir.filePath(QStringLiteral("B.PDF"))));
}

TEST_F(RealFileDialog, IzborFajlaTakesATypedNewNameAndCancelAnswersNothing) {
  whenActive([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Izaberite fajl"));
    EXPECT_EQ(d->fileMode(), QFileDialog::AnyFile);
    auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(dir.filePath(QStringLiteral("novi.xlsx")));
    static_cast<QDialog*>(d)->accept();  // as the dialog's own button does
  });
  FileFilters xlsx = {{QStringLiteral("Excel"), QStringLiteral("*.xlsx")}};
  const std::optional<QString> typed = IZBOR_FAJLA(xlsx, QStringLiteral("Izaberite fajl"));
  ASSERT_TRUE(typed.has_value());
  EXPECT_EQ(*typed, QDir::toNativeSeparators(dir.filePath(QStringLiteral("novi.xlsx"))));
  EXPECT_FALSE(QFile::exists(*typed));

  whenActive([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(IZBOR_FAJLA(xlsx, QStringLiteral("Izaberite fajl")).has_value());
}

TEST_F(RealFileDialog, FolderModeAnswersAFolder) {
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("izlaz")));
  whenActive([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(d->testOption(QFileDialog::ShowDirsOnly));
    d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(dir.filePath(QStringLiteral("izlaz")));
    static_cast<QDialog*>(d)->accept();
  });
  FileDialogRequest r;
  r.mode = FileDialogRequest::Folder;
  r.folder = dir.path();
  EXPECT_EQ(runFileDialog(r), QStringList{dir.filePath(QStringLiteral("izlaz"))});
}

}  // namespace
}  // namespace korvan::test
