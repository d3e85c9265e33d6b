// The attachment dialog, driven through its real widgets with a scripted file chooser.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/apppath.h"
#include "common/presenter.h"
#include "einvoice/ui/dlgatt.h"
#include "einvoice/fixture.h"
#include "platform/shell.h"
#include "ui/windlg.h"
#include "support/scriptedpresenter.h"
#include "support/recordingshell.h"
#include "support/programfolder.h"

using namespace korvan;
using namespace korvan::test;

namespace {

class AttachDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.isValid());
    ASSERT_TRUE(src.isValid());
    dialogs.onRequest = [this](const FileDialogRequest& r) {
      ++chooserCalls;
      EXPECT_EQ(r.mode, FileDialogRequest::Open);
      EXPECT_EQ(r.title, "Izaberite fajl");
      EXPECT_EQ(r.nameFilters.value(0), "PDF fajlovi (*.pdf *.PDF)");
      const QString path = chosen.isEmpty() ? QString() : chosen.takeFirst();
      return path.isEmpty() ? QStringList() : QStringList{path};
    };
  }

  QString file(const QString& relative, const QByteArray& bytes) {
    const QString path = src.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFile(path, bytes);
    return path;
  }

  // Opens the dialog, runs the steps on it, then presses `close` (or Esc
  // when empty). The dialog is closed in every case so no test can hang.
  bool run(AttachList& list, bool protectFirst, bool editable, const QString& close,
           const std::function<void(QDialog&)>& steps) {
    QTimer::singleShot(0, [&] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!d) return;
      dialog = d;
      steps(*d);
      if (!d->isVisible()) return;
      if (QPushButton* b = buttonOf(*d, close)) b->click();
      else QTest::keyClick(d, Qt::Key_Escape);
      if (d->isVisible()) d->reject();
    });
    return DLG_ATTACH(nullptr, QFont(), list, protectFirst, editable);
  }

  static QPushButton* buttonOf(QDialog& d, const QString& text) {
    for (QPushButton* b : d.findChildren<QPushButton*>())
      if (b->text() == text) return b;
    return nullptr;
  }
  static QStringList buttonTexts(QDialog& d) {
    QStringList t;
    for (QPushButton* b : d.findChildren<QPushButton*>()) t << b->text();
    t.sort();
    return t;
  }
  // Shortcuts reach only the active window.
  static void activate(QDialog& d) {
    QApplication::setActiveWindow(&d);
    EXPECT_EQ(QApplication::activeWindow(), &d);
  }
  // A shortcut presses its button and releases it (clicks) a moment later.
  static void pressKey(QDialog& d, Qt::Key key) {
    QTest::keyClick(d.windowHandle(), key);
    QTest::qWait(250);
  }
  static QTableWidget& table(QDialog& d) { return *d.findChild<QTableWidget*>(); }
  static QStringList rows(QDialog& d) {
    QStringList r;
    for (int i = 0; i < table(d).rowCount(); ++i) r << table(d).item(i, 0)->text();
    return r;
  }
  static QString sizeText(QDialog& d) {
    for (QLabel* l : d.findChildren<QLabel*>())
      if (l->alignment() & Qt::AlignRight) return l->text();
    return "?";
  }
  static void click(QDialog& d, const QString& text) {
    QPushButton* b = buttonOf(d, text);
    ASSERT_TRUE(b) << text.toStdString();
    b->click();
  }

  static AttachEntry stored(const QString& name, const QByteArray& bytes) {
    return {name, QString::fromLatin1(bytes.toBase64()), std::nullopt};
  }

  TempProgramFolder app;
  QTemporaryDir src;
  QStringList chosen;
  int chooserCalls = 0;
  QDialog* dialog = nullptr;
  ScriptedPresenter boxes;
  RecordingShell opened;
  ScriptedFileDialogs dialogs;
};

TEST_F(AttachDialog, EditableLayoutAndSaveReturnsTheEditedCopy) {
  const QString a = file("a/Prilog.pdf", fakePdf("a"));
  chosen << a;
  AttachList list;
  QStringList texts, shown;
  QString size;
  const bool ok = run(list, false, true, "Zapamti", [&](QDialog& d) {
    texts = buttonTexts(d);
    EXPECT_EQ(d.windowTitle(), "Pregled fajlova");
    EXPECT_EQ(table(d).horizontalHeaderItem(0)->text(), "Naziv fajla");
    click(d, "Dodaj (F2)");
    shown = rows(d);
    size = sizeText(d);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(texts, (QStringList{QString::fromUtf8("Briši (F4)"), "Dodaj (F2)", "Odustani", "Pregledaj (F3)", "Zapamti"}));
  EXPECT_EQ(shown, QStringList{"Prilog.pdf"});
  EXPECT_EQ(size, "0 MB");
  ASSERT_EQ(list.size(), 1);
  EXPECT_EQ(list[0].name, "Prilog.pdf");
  EXPECT_EQ(list[0].content, QString::fromLatin1(fakePdf("a").toBase64()));
  EXPECT_EQ(list[0].path, a);
}

TEST_F(AttachDialog, SameNameFromAnotherFolderReplacesTheEntry) {
  const QString first = file("a/Spec.pdf", fakePdf("first"));
  const QString second = file("b/Spec.pdf", fakePdf("second"));
  chosen << first << second;
  AttachList list;
  QStringList shown;
  EXPECT_TRUE(run(list, false, true, "Zapamti", [&](QDialog& d) {
    click(d, "Dodaj (F2)");
    click(d, "Dodaj (F2)");
    shown = rows(d);
  }));
  EXPECT_EQ(shown, QStringList{"Spec.pdf"});
  ASSERT_EQ(list.size(), 1);
  EXPECT_EQ(list[0].path, second);
  EXPECT_EQ(list[0].content, QString::fromLatin1(fakePdf("second").toBase64()));
}

TEST_F(AttachDialog, SizeLabelCountsExistingSourceFilesInMegabytes) {
  const QString big = file("big.pdf", fakePdf() + QByteArray(1572864, 'x'));
  AttachList list{{"big.pdf", "", big}, {"gone.pdf", "", src.filePath("gone.pdf")}, stored("s.pdf", fakePdf())};
  QString size;
  run(list, true, true, "Odustani", [&](QDialog& d) { size = sizeText(d); });
  EXPECT_EQ(size, "1.5 MB");
  AttachList storedOnly{stored("s.pdf", fakePdf())};
  run(storedOnly, true, false, "Zatvori", [&](QDialog& d) { size = sizeText(d); });
  EXPECT_EQ(size, "");
}

TEST_F(AttachDialog, DeleteAsksAndTheProtectedFirstEntryStays) {
  AttachList list{stored("racun.pdf", fakePdf("0")), stored("b.pdf", fakePdf("1")), stored("c.pdf", fakePdf("2"))};
  boxes.onShow = [](const Box& b) { return b.kind == BoxKind::YesNo ? 1 : 0; };  // Yes to deleting
  QStringList after;
  EXPECT_TRUE(run(list, true, true, "Zapamti", [&](QDialog& d) {
    click(d, QString::fromUtf8("Briši (F4)"));  // nothing selected
    table(d).selectRow(0);
    click(d, QString::fromUtf8("Briši (F4)"));  // protected
    table(d).selectRow(1);
    click(d, QString::fromUtf8("Briši (F4)"));
    after = rows(d);
    table(d).selectRow(1);
    click(d, "Pregledaj (F3)");  // the former third entry
  }));
  EXPECT_EQ(boxes.texts(), (QStringList{QString::fromUtf8("Nema ništa selektovano!"),
                                        QString::fromUtf8("Ne može da se briše vizuelizacija računa!"),
                                        QString::fromUtf8("Da li sigurno brišete fajl b.pdf ?")}));
  EXPECT_EQ(after, (QStringList{"racun.pdf", "c.pdf"}));
  ASSERT_EQ(opened.calls.size(), 1);
  EXPECT_TRUE(opened.calls[0].target.endsWith("/c.pdf"));
  EXPECT_EQ(readFile(opened.calls[0].target), fakePdf("2"));
  EXPECT_EQ(list.size(), 2);
}

TEST_F(AttachDialog, WithoutProtectionEveryEntryCanGoAndNoKeepsIt) {
  AttachList list{stored("racun.pdf", fakePdf())};
  boxes.answers = {0, 1};  // No, then Yes
  QStringList afterNo, afterYes;
  EXPECT_TRUE(run(list, false, true, "Zapamti", [&](QDialog& d) {
    table(d).selectRow(0);
    click(d, QString::fromUtf8("Briši (F4)"));
    afterNo = rows(d);
    table(d).selectRow(0);
    click(d, QString::fromUtf8("Briši (F4)"));
    afterYes = rows(d);
  }));
  EXPECT_EQ(afterNo, QStringList{"racun.pdf"});
  EXPECT_EQ(afterYes, QStringList{});
  EXPECT_TRUE(list.isEmpty());
}

TEST_F(AttachDialog, CancelAndEscLeaveTheCallersListExactlyAsItWas) {
  chosen << file("n.pdf", fakePdf("n"));
  const AttachList before{stored("racun.pdf", fakePdf()), {"x.pdf", "eA==", src.filePath("x.pdf")}};
  AttachList list = before;
  boxes.answers = {1};
  EXPECT_FALSE(run(list, false, true, "Odustani", [&](QDialog& d) {
    click(d, "Dodaj (F2)");
    table(d).selectRow(0);
    click(d, QString::fromUtf8("Briši (F4)"));
  }));
  EXPECT_EQ(list, before);
  EXPECT_FALSE(run(list, false, true, "", [&](QDialog& d) { click(d, "Dodaj (F2)"); }));
  EXPECT_EQ(list, before);
}

TEST_F(AttachDialog, ReadOnlyShowsAndOpensOnly) {
  AttachList list{stored("a.pdf", fakePdf())};
  QStringList texts;
  EXPECT_TRUE(run(list, true, false, "Zatvori", [&](QDialog& d) {
    texts = buttonTexts(d);
    activate(d);
    pressKey(d, Qt::Key_F2);
    table(d).selectRow(0);
    pressKey(d, Qt::Key_F4);
    pressKey(d, Qt::Key_F3);
  }));
  EXPECT_EQ(texts, (QStringList{"Pregledaj (F3)", "Zatvori"}));
  EXPECT_EQ(chooserCalls, 0);
  EXPECT_EQ(boxes.shown.size(), 0);
  EXPECT_EQ(list.size(), 1);
  EXPECT_EQ(opened.calls.size(), 1);
}

TEST_F(AttachDialog, FunctionKeysRunTheButtons) {
  chosen << file("k.pdf", fakePdf("k"));
  AttachList list;
  boxes.answers = {1};
  QStringList afterAdd;
  EXPECT_TRUE(run(list, false, true, "Zapamti", [&](QDialog& d) {
    activate(d);
    pressKey(d, Qt::Key_F2);
    afterAdd = rows(d);
    activate(d);  // the progress box of "Dodaj" took the focus for a moment
    table(d).selectRow(0);
    pressKey(d, Qt::Key_F3);
    pressKey(d, Qt::Key_F4);
  }));
  EXPECT_EQ(chooserCalls, 1);
  EXPECT_EQ(afterAdd, QStringList{"k.pdf"});
  EXPECT_EQ(opened.calls.size(), 1);
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Da li sigurno brišete fajl k.pdf ?")});
  EXPECT_TRUE(list.isEmpty());
}

TEST_F(AttachDialog, UnreadableOrForeignFilesAreReportedAndNotAdded) {
  chosen << src.filePath("nema.pdf") << src.path() << file("slika.bmp", "BM not allowed");
  AttachList list;
  EXPECT_TRUE(run(list, false, true, "Zapamti", [&](QDialog& d) {
    click(d, "Dodaj (F2)");
    click(d, "Dodaj (F2)");
    click(d, "Dodaj (F2)");
  }));
  EXPECT_TRUE(list.isEmpty());
  ASSERT_EQ(boxes.shown.size(), 3);
  EXPECT_TRUE(boxes.shown[0].text.startsWith(QString::fromUtf8("Greška pri čitanju fajla!\n")));
  EXPECT_TRUE(boxes.shown[1].text.startsWith(QString::fromUtf8("Greška pri čitanju fajla!\n")));
  EXPECT_TRUE(boxes.shown[2].text.startsWith(QString::fromUtf8("Fajl nije dozvoljenog tipa!")));
}

TEST_F(AttachDialog, NamesFromReceivedDocumentsStayInsideTmp) {
  const QString tmp = QFileInfo(app.filePath("TMP")).absoluteFilePath();
  AttachList list{stored("../../../evil.pdf", fakePdf("e")), stored("..\\..\\win.pdf", fakePdf("w")),
                  stored("..", fakePdf()), stored("", fakePdf()), stored("a/", fakePdf()),
                  stored(QString("bad\nname.pdf"), fakePdf())};
  run(list, true, false, "Zatvori", [&](QDialog& d) {
    for (int r = 0; r < list.size(); ++r) {
      table(d).selectRow(r);
      click(d, "Pregledaj (F3)");
    }
  });
  ASSERT_EQ(opened.calls.size(), 2);
  for (const auto& c : opened.calls) {
    const QString canonical = QFileInfo(c.target).canonicalFilePath();
    EXPECT_TRUE(canonical.startsWith(QFileInfo(tmp).canonicalFilePath() + "/PRILOZI-")) << c.target.toStdString();
  }
  EXPECT_TRUE(opened.calls[0].target.endsWith("/evil.pdf"));
  EXPECT_TRUE(opened.calls[1].target.endsWith("/win.pdf"));
  EXPECT_FALSE(QFile::exists(app.filePath("evil.pdf")));
  EXPECT_FALSE(QFile::exists(QFileInfo(app.path()).absolutePath() + "/evil.pdf"));
  EXPECT_EQ(boxes.count(BoxKind::Warning), 4);
  EXPECT_EQ(QFile(ATTACH_VIEW_DIR()).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
            QFile::Permissions());
}

TEST_F(AttachDialog, ViewDecodesReferencesAndReusesItsPrivateFolder) {
  QDir().mkpath(app.filePath("TMP"));
  // Folders of earlier runs: one others may read (not taken), one ours alone.
  const QString open = app.filePath("TMP/PRILOZI-aaaaaa"), own = app.filePath("TMP/PRILOZI-bbbbbb");
  ASSERT_TRUE(QDir().mkpath(open) && QDir().mkpath(own));
  QFile::setPermissions(open, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                  QFile::ExeOther);
  QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QByteArray pdf = fakePdf("stored") + QByteArray(200, 'x');
  QString b64 = QString::fromLatin1(pdf.toBase64());
  b64.insert(76, "&#13;\n").insert(20, "&#x0D;");
  AttachList list{{"prilog.pdf", b64, std::nullopt}};
  run(list, true, false, "Zatvori", [&](QDialog& d) {
    table(d).selectRow(0);
    click(d, "Pregledaj (F3)");
  });
  ASSERT_EQ(opened.calls.size(), 1);
  EXPECT_EQ(QFileInfo(opened.calls[0].target).canonicalFilePath(), QFileInfo(own + "/prilog.pdf").canonicalFilePath());
  QFile f(opened.calls[0].target);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), pdf);
  EXPECT_EQ(QDir(app.filePath("TMP")).entryList({"PRILOZI-*"}, QDir::Dirs).size(), 2) << "no new folder";
}

TEST(AttachNames, SafeNameTable) {
  const std::pair<QString, QString> cases[] = {
      {"Racun.pdf", "Racun.pdf"}, {"../x.pdf", "x.pdf"}, {"a\\b\\c.pdf", "c.pdf"}, {"/etc/passwd", "passwd"},
      {"..", ""},                 {".", ""},             {"", ""},                  {"dir/", ""},
      {"a\tb.pdf", ""},           {QString("a") + QChar(0) + "b", ""},              {QString::fromUtf8("Račun 7.pdf"), QString::fromUtf8("Račun 7.pdf")},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ATTACH_SAFE_NAME(in), out) << in.toStdString();
}

}  // namespace
