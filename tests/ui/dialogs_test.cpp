// QALERT, LEPI_QALERT and MSGLINK, scripted and as real dialogs.
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "common/presenter.h"
#include "modal.h"
#include "platform/shell.h"
#include "ui/lepiqale.h"
#include "ui/libqt.h"
#include "ui/msglink.h"
#include "support/scriptedpresenter.h"
#include "support/recordingshell.h"

namespace korvan {
namespace {

using test::whenModal;

QPushButton* buttonWithText(QWidget* dlg, const QString& text) {
  for (QPushButton* b : dlg->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

// Esc as a user presses it: to the widget with the focus, from where it
// travels up to the dialog.
void pressEsc(QWidget* dlg) {
  QWidget* target = dlg->focusWidget() ? dlg->focusWidget() : dlg;
  QTest::keyClick(target, Qt::Key_Escape);
}

const QList<QAlertButton> kPdfButtons = {
    {QString::fromUtf8("Nema veze, koristi stariji PDF fajl"), 0},
    {QStringLiteral("Bez PDF fajla"), 0},
    {QString::fromUtf8("Obriši stari PDF fajl"), 1},
};

class RealDialogs : public ::testing::Test {
 protected:
  void SetUp() override { installUiDialogs(); }
};

TEST_F(RealDialogs, QalertAnswersTheClickedButtonInListOrder) {
  for (int i = 0; i < kPdfButtons.size(); ++i) {
    QString title;
    whenModal([&](QWidget* w) {
      title = w->windowTitle();
      QPushButton* b = buttonWithText(w, kPdfButtons[i].text);
      ASSERT_NE(b, nullptr);
      QTest::mouseClick(b, Qt::LeftButton);
    });
    EXPECT_EQ(QALERT(QStringLiteral("PDF fajl je STARIJI od izvornog fajla!"), kPdfButtons), i + 1)
        << "button " << i + 1;
    EXPECT_EQ(title, QStringLiteral("Izbor"));
  }
}

TEST_F(RealDialogs, QalertButtonsStandInListOrderWhateverTheRoles) {
  const QList<QList<QAlertButton>> sets = {
      kPdfButtons,
      {{QStringLiteral("A"), 2}, {QStringLiteral("B"), 1}, {QStringLiteral("C"), 0}, {QStringLiteral("D"), 5}},
  };
  for (const auto& list : sets) {
    QList<int> xs;
    whenModal([&](QWidget* w) {
      for (const QAlertButton& b : list) {
        QPushButton* p = buttonWithText(w, b.text);
        ASSERT_NE(p, nullptr);
        xs << p->mapTo(w, QPoint(0, 0)).x();
      }
      pressEsc(w);
    });
    EXPECT_EQ(QALERT(QStringLiteral("Redosled"), list), 0);
    ASSERT_EQ(xs.size(), list.size());
    for (int i = 1; i < xs.size(); ++i) EXPECT_LT(xs[i - 1], xs[i]) << list[i].text.toStdString();
  }
}

// Qt would click a lone reject-role button on Esc or on the close button;
// here that button deletes a file, so both must answer 0.
TEST_F(RealDialogs, QalertEscAndCloseAnswerZeroWhateverTheRoles) {
  const QList<QList<QAlertButton>> sets = {
      kPdfButtons,
      {{QString::fromUtf8("Obriši stari PDF fajl"), 1}},
      {{QStringLiteral("Da"), 0}},
      {{QStringLiteral("A"), 1}, {QStringLiteral("B"), 1}},
  };
  for (const auto& buttons : sets) {
    whenModal([](QWidget* w) { pressEsc(w); });
    EXPECT_EQ(QALERT(QStringLiteral("Esc"), buttons), 0) << buttons.size() << " buttons, Esc";
    whenModal([](QWidget* w) { w->close(); });
    EXPECT_EQ(QALERT(QStringLiteral("Zatvori"), buttons), 0) << buttons.size() << " buttons, close";
  }
}

TEST_F(RealDialogs, QalertTakesIconFromParentFontAndQuestionIcon) {
  QWidget parent;
  QPixmap px(16, 16);
  px.fill(Qt::red);
  parent.setWindowIcon(QIcon(px));
  QFont font(QStringLiteral("DejaVu Sans"), 15);
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QColor iconColour;
  int pointSize = 0;
  whenModal([&](QWidget* w) {
    auto* mb = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(mb, nullptr);
    icon = mb->icon();
    iconColour = mb->windowIcon().pixmap(16, 16).toImage().pixelColor(8, 8);
    pointSize = mb->font().pointSize();
    pressEsc(w);
  });
  QALERT(QStringLiteral("Pitanje?"), kPdfButtons, &parent, font);
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(iconColour, QColor(Qt::red));
  EXPECT_EQ(pointSize, 15);
}

TEST_F(RealDialogs, LepiQalertAnswersValueOrPositionAndZeroWhenClosed) {
  QTemporaryDir dir;
  const QString png = dir.filePath(QStringLiteral("ikona.png"));
  QImage img(8, 8, QImage::Format_ARGB32);
  img.fill(Qt::blue);
  ASSERT_TRUE(img.save(png));

  const QList<LepiEntry> plain = {{QString::fromUtf8("Otkaži dokument"), {}, png, {}},
                                  {QStringLiteral("Storniraj dokument")},
                                  {QStringLiteral("Odustani")}};
  const QList<LepiEntry> valued = {{QStringLiteral("Prvi"), {}, QString(), 10},
                                   {QStringLiteral("Drugi"), {}, QString(), 20},
                                   {QString::fromUtf8("Treći")}};
  struct Case {
    QList<LepiEntry> entries;
    std::function<void(QWidget*)> step;
    int expected;
    const char* what;
  };
  auto click = [](const QString& t) {
    return [t](QWidget* w) {
      QPushButton* b = buttonWithText(w, t);
      ASSERT_NE(b, nullptr) << t.toStdString();
      QTest::mouseClick(b, Qt::LeftButton);
    };
  };
  const QList<Case> cases = {
      {plain, click(QStringLiteral("Storniraj dokument")), 2, "position without value"},
      {plain, click(QStringLiteral("Odustani")), 3, "last position"},
      {valued, click(QStringLiteral("Drugi")), 20, "value"},
      {valued, click(QString::fromUtf8("Treći")), 3, "position beside values"},
      {plain, [](QWidget* w) { pressEsc(w); }, 0, "Esc"},
      {valued, [](QWidget* w) { w->close(); }, 0, "close button"},
  };
  for (const Case& c : cases) {
    whenModal(c.step);
    EXPECT_EQ(LEPI_QALERT(QStringLiteral("Izaberite opciju"), c.entries), c.expected) << c.what;
  }
}

TEST_F(RealDialogs, LepiQalertShowsTextThenButtonsInOrderWithIcons) {
  QTemporaryDir dir;
  const QString png = dir.filePath(QStringLiteral("ikona.png"));
  QImage img(8, 8, QImage::Format_ARGB32);
  img.fill(Qt::blue);
  ASSERT_TRUE(img.save(png));
  QStringList order;
  QString title, labelText;
  bool firstHasIcon = false, secondHasIcon = true;
  whenModal([&](QWidget* w) {
    title = w->windowTitle();
    QLayout* lay = w->layout();
    ASSERT_NE(lay, nullptr);
    for (int i = 0; i < lay->count(); ++i) {
      QWidget* x = lay->itemAt(i)->widget();
      if (auto* l = qobject_cast<QLabel*>(x)) {
        order << QStringLiteral("label");
        labelText = l->text();
        EXPECT_EQ(l->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
      } else if (auto* b = qobject_cast<QPushButton*>(x)) {
        order << b->text();
      }
    }
    firstHasIcon = !buttonWithText(w, QStringLiteral("Jedan"))->icon().availableSizes().isEmpty();
    secondHasIcon = !buttonWithText(w, QStringLiteral("Dva"))->icon().isNull();
    w->close();
  });
  LEPI_QALERT(QStringLiteral("Izaberite fajl"),
              {{QStringLiteral("Jedan"), {}, png, {}}, {QStringLiteral("Dva")}},
              IconSource(png), QFont(QStringLiteral("DejaVu Sans"), 13));
  EXPECT_EQ(title, QStringLiteral("Izbor"));
  EXPECT_EQ(labelText, QStringLiteral("Izaberite fajl"));
  EXPECT_EQ(order, (QStringList{QStringLiteral("label"), QStringLiteral("Jedan"), QStringLiteral("Dva")}));
  EXPECT_TRUE(firstHasIcon);
  EXPECT_FALSE(secondHasIcon);
}

TEST_F(RealDialogs, MsglinkShowsRichTextOpensTheLinkThroughTheShellAndOkCloses) {
  RecordingShell rec;
  const QString folder = QString::fromUtf8("/tmp/Računi 2023/a#b;$(touch x)");
  const QString text = QStringLiteral("Napravljen je XML fajl:<br>") +
                       LINK_NA_FAJL(folder, folder + QStringLiteral("/r&1.xml"));
  QString title;
  bool rich = false, okIsDefault = false;
  whenModal([&](QWidget* w) {
    title = w->windowTitle();
    auto* label = w->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    rich = label->textFormat() == Qt::RichText && !label->openExternalLinks();
    const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    const QString target = href.match(label->text()).captured(1).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    emit label->linkActivated(target);
    QPushButton* ok = buttonWithText(w, QStringLiteral("Ok"));
    ASSERT_NE(ok, nullptr);
    okIsDefault = ok->isDefault();
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  MSGLINK(QStringLiteral("Napravljen je XML"), QStringLiteral(":/res/korvan.png"), std::nullopt, text);
  EXPECT_EQ(title, QStringLiteral("Napravljen je XML"));
  EXPECT_TRUE(rich);
  EXPECT_TRUE(okIsDefault);
  ASSERT_EQ(rec.calls.size(), 1);
  EXPECT_EQ(rec.calls[0].op, QStringLiteral("document"));
  EXPECT_EQ(rec.calls[0].target, folder);
}

TEST(Msglink, LinkToFileEscapesTextAndRoundTripsThePath) {
  const QString path = QString::fromUtf8("/tmp/Šifre <i>&\"x\"/100% a#b");
  const QString visible = QStringLiteral("C:\\<b>R&D</b> \"1\"");
  const QString html = LINK_NA_FAJL(path, visible);
  QTextDocument doc;
  doc.setHtml(html);
  EXPECT_EQ(doc.toPlainText(), visible);
  const QRegularExpression href(QStringLiteral("^<a href=\"([^\"]*)\">"));
  const auto m = href.match(html);
  ASSERT_TRUE(m.hasMatch()) << html.toStdString();
  QString target = m.captured(1);
  target.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
      .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
      .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
      .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  EXPECT_TRUE(target.startsWith(QStringLiteral("file:///")));
  EXPECT_EQ(QUrl(target).toLocalFile(), path);
}

TEST(Msglink, ScriptedBoxCarriesTitleAndText) {
  ScriptedPresenter sp;
  MSGLINK(QStringLiteral("Naslov"), QString(), std::nullopt, QStringLiteral("<b>x</b>"));
  ASSERT_EQ(sp.shown.size(), 1);
  EXPECT_EQ(sp.shown[0].kind, BoxKind::Link);
  EXPECT_EQ(sp.shown[0].title, QStringLiteral("Naslov"));
  EXPECT_EQ(sp.shown[0].text, QStringLiteral("<b>x</b>"));
}

TEST(Msglink, LinksOpenOnlyForFilesAndWebAndFailuresAreReported) {
  struct Case {
    QString link;
    bool shellAnswers;
    bool opened;
    QString op;      // "" = the shell is not asked
    QString target;
    QString message;  // "" = no message
  };
  const QList<Case> cases = {
      {QStringLiteral("file:///tmp/a%20b"), true, true, QStringLiteral("document"), QStringLiteral("/tmp/a b"), {}},
      {QStringLiteral("https://example.com/x?a=1"), true, true, QStringLiteral("url"), QStringLiteral("https://example.com/x?a=1"), {}},
      {QStringLiteral("file:///tmp/nema"), false, false, QStringLiteral("document"), QStringLiteral("/tmp/nema"),
       QStringLiteral("Ne mogu da otvorim: /tmp/nema")},
      {QStringLiteral("javascript:alert(1)"), true, false, {}, {}, QStringLiteral("Link nije dozvoljen: javascript:alert(1)")},
      {QStringLiteral("smb://server/share"), true, false, {}, {}, QStringLiteral("Link nije dozvoljen: smb://server/share")},
  };
  for (const Case& c : cases) {
    ScriptedPresenter sp;
    RecordingShell rec;
    rec.result = c.shellAnswers;
    EXPECT_EQ(OTVORI_LINK(c.link), c.opened) << c.link.toStdString();
    if (c.op.isEmpty()) {
      EXPECT_TRUE(rec.calls.isEmpty()) << c.link.toStdString();
    } else {
      ASSERT_EQ(rec.calls.size(), 1) << c.link.toStdString();
      EXPECT_EQ(rec.calls[0].op, c.op);
      EXPECT_EQ(rec.calls[0].target, c.target);
    }
    EXPECT_EQ(sp.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.link.toStdString();
  }
}

TEST(Qalert, ScriptedBoxHasTitleButtonsAndAnswersOnlyExistingButtons) {
  ScriptedPresenter sp;
  sp.answers = {2, 7, 0};
  EXPECT_EQ(QALERT(QStringLiteral("Tekst"), kPdfButtons), 2);
  EXPECT_EQ(QALERT(QStringLiteral("Tekst"), kPdfButtons), 0);
  EXPECT_EQ(QALERT(QStringLiteral("Tekst"), kPdfButtons), 0);
  ASSERT_EQ(sp.shown.size(), 3);
  EXPECT_EQ(sp.shown[0].kind, BoxKind::Choice);
  EXPECT_EQ(sp.shown[0].title, QStringLiteral("Izbor"));
  EXPECT_EQ(sp.shown[0].buttons.size(), 3);
  EXPECT_EQ(sp.shown[0].buttons[2], QString::fromUtf8("Obriši stari PDF fajl"));
}

TEST(LepiQalert, ScriptedAnswerMapsToValue) {
  ScriptedPresenter sp;
  sp.answers = {1, 2, 3, 0};
  const QList<LepiEntry> e = {{QStringLiteral("a"), {}, QString(), 5}, {QStringLiteral("b")}};
  EXPECT_EQ(LEPI_QALERT(QStringLiteral("x"), e), 5);
  EXPECT_EQ(LEPI_QALERT(QStringLiteral("x"), e), 2);
  EXPECT_EQ(LEPI_QALERT(QStringLiteral("x"), e), 0);  // no third entry
  EXPECT_EQ(LEPI_QALERT(QStringLiteral("x"), e), 0);
  EXPECT_EQ(sp.shown[0].title, QStringLiteral("Izbor"));
  EXPECT_EQ(sp.shown[0].buttons, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

}  // namespace
}  // namespace korvan
