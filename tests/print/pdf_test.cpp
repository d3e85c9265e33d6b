// Real PDFs through the Qt surface, read back with poppler's tools: page
// size and count, where every word landed, fonts, and output that could not
// be written.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "support/recordingshell.h"
#include "print/srpt.h"

namespace korvan::print {
namespace {

struct Word {
  double x1, y1, x2, y2;
  int page;
  QString text;
};

QString run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return QString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

QList<Word> words(const QString& pdf) {
  QList<Word> out;
  const QString html = run("pdftotext", {"-bbox", pdf, "-"});
  static const QRegularExpression tag(
      R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  int page = -1;
  for (auto it = tag.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    if (m.captured(0) == "<page ") {
      ++page;
      continue;
    }
    out.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                m.captured(4).toDouble(), page, m.captured(5)});
  }
  return out;
}

int pages(const QString& pdf) {
  const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(run("pdfinfo", {pdf}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

class PdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SET_APPPATH(dir.path());
    for (const char* tool : {"pdfinfo", "pdftotext", "pdffonts"})
      ASSERT_FALSE(QStandardPaths::findExecutable(tool).isEmpty()) << tool << " (poppler-utils)";
  }
  QString path(const QString& name) const { return dir.filePath(name); }
  // A file of that name holding "older".
  QString older(const QString& name) const {
    QFile f(path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("older");
    return f.fileName();
  }

  QTemporaryDir dir;
};

// A framed table of 200 rows, 5 mm margins: A4 pages, each word inside the
// margins and inside its column, the right column's words ending at its edge.
TEST_F(PdfTest, TableStaysInsideMarginsAndColumns) {
  const QString pdf = path("tabela.pdf");
  SRPT r(pdf);
  r.PageMargins(5, 5, 5, 5, "mm");
  r.DefaultFontName("Arial");
  r.DefaultFontSize(10);
  r.TableBegin();
  r.TableFrame("SINGLE");
  r.AddColumn({.head = "Naziv", .width = "40%", .align = "L"});
  r.AddColumn({.head = "Iznos", .width = "15%", .align = "R"});
  r.AddColumn({.head = "Napomena", .width = "45%", .align = "L"});
  for (int i = 1; i <= 200; ++i) {
    r.AddCell({.text = QString("Račun čćžšđ ČĆŽŠĐ %1").arg(i)});
    r.AddCell({.value = i * 10.5, .picture = "@E 999,999.99"});
    r.AddCell({.text = i % 10 ? QString("kratko") : QString("dugačak opis koji prelazi u drugi red "
                                                            "jer je širi od svoje kolone na strani")});
  }
  r.TableEnd();
  const double w = r.oSTXT.nPAGE_W;
  EXPECT_NEAR(w, (210 - 10) / 25.4 * 96, 1);
  EXPECT_NEAR(r.oSTXT.nPAGE_H, (297 - 10) / 25.4 * 96, 1);
  ASSERT_TRUE(r.Exec(true));
  EXPECT_EQ(r.oSTXT.cFILENAME, pdf);
  EXPECT_FALSE(QFile::exists(path(".tabela.pdf.part")));

  const QString info = run("pdfinfo", {pdf});
  EXPECT_TRUE(info.contains("(A4)")) << info.toStdString();
  const int n = pages(pdf);
  EXPECT_GE(n, 3);

  const double pt = 0.75, margin = 5 * 72 / 25.4, tolerance = 0.6;
  const QList<Word> all = words(pdf);
  ASSERT_FALSE(all.isEmpty());
  int serbian = 0, amounts = 0, lastPage = 0;
  for (const Word& wd : all) {
    SCOPED_TRACE(wd.text.toStdString());
    lastPage = std::max(lastPage, wd.page);
    EXPECT_GE(wd.x1, margin - tolerance);
    EXPECT_LE(wd.x2, 595.28 - margin + tolerance);
    EXPECT_GE(wd.y1, margin - tolerance);
    EXPECT_LE(wd.y2, 841.89 - margin + tolerance) << "below the bottom margin";
    const double x = (wd.x1 + wd.x2) / 2 - margin;
    if (wd.text == "čćžšđ") {
      ++serbian;
      EXPECT_LT(wd.x2 - margin, (0.40 * w - 2) * pt + tolerance);
    }
    if (wd.text.contains(',') && x > 0.40 * w * pt && x < 0.55 * w * pt) {
      ++amounts;
      EXPECT_NEAR(wd.x2 - margin, (0.55 * w - 2) * pt, 1.5) << "right-aligned in its column";
    }
    if (wd.text == "kolone") {
      EXPECT_GT(wd.x1 - margin, (0.55 * w + 2) * pt - tolerance);
    }
  }
  EXPECT_EQ(serbian, 200);
  EXPECT_EQ(amounts, 200);
  EXPECT_EQ(lastPage + 1, n);
}

TEST_F(PdfTest, FontsAreEmbeddedAndResolvedToLiberation) {
  const QString pdf = path("fontovi.pdf");
  STXT p(pdf);
  p.PageMargins(10, 10, 10, 10, "mm");
  p.DefaultFontName("Arial");
  p.BeginElement("TEXT");
  p.Text("Arial tekst");
  p.EndElement();
  p.NewRow();
  p.FontName("Courier New");
  p.Text("Courier tekst");
  p.Align("R");
  p.EndElement();
  ASSERT_TRUE(p.Print());
  const QString fonts = run("pdffonts", {pdf});
  EXPECT_TRUE(fonts.contains("LiberationSans")) << fonts.toStdString();
  EXPECT_TRUE(fonts.contains("LiberationMono")) << fonts.toStdString();
  for (const QString& line : fonts.split('\n').mid(2)) {
    if (line.trimmed().isEmpty()) continue;
    EXPECT_TRUE(line.contains(QRegularExpression(R"(\s+yes\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+\s*$)")))
        << "not embedded: " << line.toStdString();
  }
  // "R" ends at the right margin.
  double right = 0;
  for (const Word& w : words(pdf))
    if (w.text == "tekst") right = std::max(right, w.x2);
  EXPECT_NEAR(right, 595.28 - 10 * 72 / 25.4, 1.5);
}

TEST_F(PdfTest, RichTextAndEmptyTextMeasureTheirLines) {
  const QString pdf = path("bogat.pdf");
  STXT p(pdf);
  p.BeginElement("TEXT_REGION");
  p.Text("");
  p.X1("0");
  p.X2("300");
  p.Y1("0");
  p.Y2("0");
  const double line = p.MeasureElement();
  EXPECT_GT(line, 10) << "an empty text is one line high";
  p.Text("X");
  EXPECT_DOUBLE_EQ(p.MeasureElement(), line);
  p.Text("<b>Zbir</b>\r\nDrugi red");
  p.EndElement();
  EXPECT_GE(p.nTEXT_H, 2 * line - 1) << "CR LF counts in the measured height";
  ASSERT_TRUE(p.Print());
  QList<Word> ws = words(pdf);
  ASSERT_EQ(ws.size(), 3);
  EXPECT_EQ(ws[0].text, "Zbir");
  EXPECT_GT(ws[1].y1, ws[0].y2 - 1) << "on the next line";
}

// Qt's own layout: a region's text wraps at word boundaries inside x2 - x1,
// and a word wider than the region widens its rectangle.
TEST_F(PdfTest, RegionTextWrapsAndALongWordWidensTheRegion) {
  const QString pdf = path("region.pdf");
  STXT p(pdf);
  p.BeginElement("TEXT_REGION");
  p.Text("X");
  p.X1("100");
  p.X2("160");
  p.Y1("0");
  p.Y2("0");
  const double line = p.MeasureElement();
  p.Text("jedan dva tri četiri pet");
  p.EndElement();
  EXPECT_GE(p.nTEXT_H, 3 * line) << "wrapped onto several lines";
  EXPECT_LE(p.nTEXT_W, 60);
  p.NewRow();
  p.Y1();
  p.Y2();
  p.Text("Najdugačkijareččč");
  p.EndElement();
  EXPECT_GT(p.nTEXT_W, 60);
  EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_W, 60);
  ASSERT_TRUE(p.Print());
  double right = 0;
  for (const Word& w : words(pdf))
    if (w.text == "Najdugačkijareččč") right = w.x2;
  EXPECT_GT(right, 160 * 0.75) << "drawn whole, past the region's right edge";
}

TEST_F(PdfTest, AnOutputThatCannotBeWrittenIsReported) {
  RecordingShell shell;
  // A missing folder.
  {
    SRPT r(path("nema/racun.pdf"));
    r.TableBegin();
    r.AddColumn({.width = "100%"});
    r.AddCell({.text = QString("x")});
    r.TableEnd();
    EXPECT_FALSE(r.Exec());
  }
  EXPECT_FALSE(QFile::exists(path("nema/racun.pdf")));
  // An older file whose new version cannot be started beside it.
  const QString old = older("racun.pdf");
  QFile f(old);
  ASSERT_TRUE(QDir(dir.path()).mkdir(".racun.pdf.part"));
  {
    STXT p(old);
    p.BeginElement("TEXT");
    p.Text("novo");
    p.EndElement();
    EXPECT_TRUE(p.failed());
    EXPECT_FALSE(p.View());
  }
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "older");
  EXPECT_TRUE(shell.calls.isEmpty());
}

// A painter dropped before Print leaves the older file and no part file.
TEST_F(PdfTest, AnUnfinishedOutputLeavesTheOlderFile) {
  const QString pdf = older("racun.pdf");
  QFile f(pdf);
  {
    STXT p(pdf);
    p.BeginElement("TEXT");
    p.Text("novo");
    p.EndElement();
    EXPECT_TRUE(QFile::exists(path(".racun.pdf.part")));
  }
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "older");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"racun.pdf"});
}

TEST_F(PdfTest, AWrittenFileReplacesTheOlderAndIsOpened) {
  RecordingShell shell;
  const QString pdf = older("racun.pdf");
  QFile f(pdf);
  STXT p(pdf);
  p.BeginElement("TEXT");
  p.Text("novo");
  p.EndElement();
  ASSERT_TRUE(p.View());
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().startsWith("%PDF-"));
  ASSERT_EQ(shell.calls.size(), 1);
  EXPECT_EQ(shell.calls[0].target, pdf);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"racun.pdf"});
}

TEST_F(PdfTest, TheBezspaceMarkerGivesAPlainName) {
  QFile marker(path("BEZSPACE.!!!"));
  ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
  marker.close();
  STXT p(path("Račun 15.pdf"));
  EXPECT_EQ(p.cFILENAME, path("Racun_15.pdf"));
  p.Orientation("L");
  EXPECT_GT(p.nPAGE_W, p.nPAGE_H);
  p.BeginElement("TEXT");
  p.Text("Račun");
  p.EndElement();
  ASSERT_TRUE(p.Print());
  EXPECT_EQ(pages(path("Racun_15.pdf")), 1);
  const QList<Word> ws = words(path("Racun_15.pdf"));
  ASSERT_EQ(ws.size(), 1);
  EXPECT_EQ(ws[0].text, "Račun");
}

}  // namespace
}  // namespace korvan::print
