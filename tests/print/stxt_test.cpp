// The page painter over the recording surface: positions, breaks, fonts and
// the order of use. Page 550 x 710; a 12-point character is 6 wide, a line 14.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/recordingshell.h"
#include "print/stxt.h"
#include "support/print/recordingsurface.h"

namespace korvan::print {
namespace {

class StxtTest : public ::testing::Test {
 protected:
  RecordingSurfaces surfaces;
  STXT p;
  RecordingSurface& s = surfaces.last();
  QTemporaryDir dir;

  // An empty file, standing for what a surface would have written.
  QString existing(const QString& name) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    return f.fileName();
  }

  void region(const QString& text, double x1, double x2, double y1, double y2) {
    p.BeginElement("TEXT_REGION");
    p.Text(text);
    p.X1(QString::number(x1));
    p.X2(QString::number(x2));
    p.Y1(QString::number(y1));
    p.Y2(QString::number(y2));
    p.EndElement();
  }
};

TEST_F(StxtTest, CoordinateForms) {
  p.BeginElement("TEXT");
  p.nX = 100;
  p.nY = 200;
  struct Case {
    const char* name;
    QVariant value;
    const char* mode;
    double y1;  // expected Y1
  };
  EXPECT_DOUBLE_EQ(p.X1(20), 120);
  EXPECT_DOUBLE_EQ(p.X1("20"), 20);
  EXPECT_DOUBLE_EQ(p.X1("10%"), 55);
  EXPECT_NEAR(p.X1("10mm"), 28.346, 1e-9);
  EXPECT_DOUBLE_EQ(p.X1(), 100);
  EXPECT_DOUBLE_EQ(p.X1(QVariant(true)), 100) << "true/false is ignored";
  EXPECT_DOUBLE_EQ(p.X2("5mm%"), 27.5) << "\"%\" is tested before \"mm\"";

  const QList<Case> cases = {
      {"percent, relative mode", "10%", "R", 71},
      {"number, absolute", 15, "A", 15},
      {"number, other mode", 15, "X", 15},
      {"number, default relative", 15, nullptr, 215},
      {"text, other mode", "15", "R", 215},
      {"text, default absolute", "15", nullptr, 15},
      {"mm, default absolute", "5mm", nullptr, 14.173},
      {"mm, relative", "5mm", "R", 214.173},
      {"absent, absolute", QVariant(), nullptr, 200},
      {"date is ignored", QDate(2022, 1, 1), nullptr, 200},
      {"absent, relative: kept value below the cursor", QVariant(), "R", 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(p.Y1(c.value, c.mode ? QString(c.mode) : QString()), c.y1, 1e-9);
  }
}

TEST_F(StxtTest, RowAdvanceForms) {
  p.BeginElement("TEXT_REGION");
  for (double h : {10, 25, 15}) {
    s.sizes.insert(QString::number(h), QSize(10, int(h)));
    region(QString::number(h), 0, 100, 0, 0);
  }
  p.nX = 40;
  p.NewRow();
  EXPECT_DOUBLE_EQ(p.nY, 25);
  EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_H, 0);
  EXPECT_DOUBLE_EQ(p.nX, 0);

  p.nPRETH_TEXT_H = 7;
  struct Case {
    const char* name;
    QVariant value;
    const char* mode;
    double y;
  };
  const QList<Case> cases = {
      {"5mm relative", "5mm", "R", 25 + 14.173},
      {"number", 30, nullptr, 25 + 30},
      {"number absolute", 30, "A", 30},
      {"half the page", "50%", nullptr, 355},
      {"per cent added", "10%", "R", 25 + 71},
      {"text absolute", "40", nullptr, 40},
      {"ignored", QVariant(false), nullptr, 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    p.nY = 25;
    p.nX = 40;
    p.NewRow(c.value, c.mode ? QString(c.mode) : QString());
    EXPECT_NEAR(p.nY, c.y, 1e-9);
    EXPECT_DOUBLE_EQ(p.nX, 0);
    EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_H, 7) << "only the bare form closes the row";
  }
}

TEST_F(StxtTest, SameRowMovesAlongTheRowOnly) {
  p.BeginElement("TEXT");
  p.Text("abcd");  // 24 wide
  p.EndElement();
  p.nY = 50;
  p.SameRow();
  EXPECT_DOUBLE_EQ(p.nX, 24);
  p.SameRow(6);
  EXPECT_DOUBLE_EQ(p.nX, 30);
  p.SameRow("10%");
  EXPECT_DOUBLE_EQ(p.nX, 55);
  p.SameRow("10mm");
  EXPECT_NEAR(p.nX, 28.346, 1e-9);
  p.SameRow("7");
  EXPECT_DOUBLE_EQ(p.nX, 7);
  p.SameRow(QDate(2022, 1, 1));
  EXPECT_DOUBLE_EQ(p.nX, 7);
  EXPECT_DOUBLE_EQ(p.nY, 50);
  EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_H, 14);
}

TEST_F(StxtTest, TextBreaksOnlyWhenTheRowIsOnTheBottomEdge) {
  p.BeginElement("TEXT");
  p.Text("one");
  p.nY = 709;
  p.EndElement();
  ASSERT_EQ(s.of(SurfaceOp::Text).size(), 1);
  EXPECT_EQ(s.of(SurfaceOp::Text)[0].rect, QRect(0, 709, 18, 14)) << "drawn, though it runs past";
  EXPECT_FALSE(p.lSKOCIO_NA_NOVU_STRANU);

  p.nY = 710;
  p.nX = 30;
  p.EndElement();
  ASSERT_EQ(s.of(SurfaceOp::Text).size(), 2);
  EXPECT_EQ(s.of(SurfaceOp::Text)[1].page, 1);
  EXPECT_EQ(s.of(SurfaceOp::Text)[1].rect, QRect(0, 0, 18, 14));
  EXPECT_TRUE(p.lSKOCIO_NA_NOVU_STRANU);
}

TEST_F(StxtTest, RegionBreaksOnItsBottomAndKeepsItsHeight) {
  region("a", 10, 100, 700, 720);
  ASSERT_EQ(s.of(SurfaceOp::NewPage).size(), 1);
  EXPECT_DOUBLE_EQ(*p.nY1, 0);
  EXPECT_DOUBLE_EQ(*p.nY2, 20);
  EXPECT_EQ(s.of(SurfaceOp::Text)[0].page, 1);
  EXPECT_EQ(s.of(SurfaceOp::Text)[0].rect, QRect(10, 0, 90, 20));

  p.NewRow();
  region("b", 10, 100, 709, 709);
  EXPECT_EQ(s.of(SurfaceOp::Text)[1].page, 1) << "one unit above the edge stays";
  region("c", 10, 100, 710, 710);
  EXPECT_EQ(s.of(SurfaceOp::Text)[2].page, 2);
  EXPECT_EQ(s.of(SurfaceOp::Text)[2].rect.top(), 0);
}

TEST_F(StxtTest, AlignmentOfTextAndRegions) {
  p.BeginElement("TEXT");
  p.Text("abcdefghij");  // 60 wide
  p.nX = 100;
  struct Case {
    const char* align;
    int x;
  };
  for (const Case& c : QList<Case>{{"R", 490}, {"C", 245}, {"L", 100}, {"", 100}, {"x", 100}}) {
    SCOPED_TRACE(c.align);
    p.Align(c.align);
    p.EndElement();
    EXPECT_EQ(s.ops.back().rect.left(), c.x);
    EXPECT_EQ(s.ops.back().flags, kBaseTextFlags);
  }
  struct Flags {
    const char* align;
    int flags;
  };
  for (const Flags& c : QList<Flags>{{"L", 134221824 + 1 + 128}, {"R", 134221824 + 2 + 128},
                                     {"C", 134221824 + 4 + 128}, {"x", 134221824 + 128}}) {
    SCOPED_TRACE(c.align);
    p.BeginElement("TEXT_REGION");
    p.Align(c.align);
    p.X1("0");
    p.X2("100");
    p.Y1("0");
    p.Y2("0");
    p.EndElement();
    EXPECT_EQ(s.ops.back().flags, c.flags);
  }
}

TEST_F(StxtTest, RegionRectangleAndBookkeeping) {
  // A word wider than the region widens the rectangle; the row never shrinks.
  s.sizes.insert("long", QSize(130, 14));
  region("long", 10, 60, 100, 100);
  EXPECT_EQ(s.ops.back().rect, QRect(10, 100, 130, 14));
  EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_W, 50);
  s.sizes.insert("tall", QSize(20, 40));
  region("tall", 60, 160, 100, 100);
  region("short", 160, 200, 100, 100);
  EXPECT_EQ(s.ops.back().rect.height(), 40) << "never lower than the row so far";
  EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_H, 40);
  region("box", 0, 50, 300, 330);
  EXPECT_EQ(s.ops.back().rect.height(), 40);

  // Fractions are cut, not rounded.
  p.BeginElement("TEXT_REGION");
  p.Text("x");
  p.X1("10.9");
  p.X2("50.7");
  p.Y1("20.99");
  p.Y2("20.99");
  p.EndElement();
  EXPECT_EQ(s.ops.back().rect.topLeft(), QPoint(10, 20));
}

// What MeasureElement measured is taken by EndElement of the same element
// only; a changed text or font is measured afresh.
TEST_F(StxtTest, AMeasuredElementIsNotMeasuredAgainUnlessItChanged) {
  p.BeginElement("TEXT_REGION");
  p.Text("abc");
  p.X1("0");
  p.X2("100");
  p.Y1("0");
  p.Y2("0");
  EXPECT_DOUBLE_EQ(p.MeasureElement(), 14);
  const int measured = s.measures;
  p.EndElement();
  EXPECT_EQ(s.measures, measured);
  p.MeasureElement();
  p.FontSize(20);
  p.EndElement();
  EXPECT_EQ(s.ops.back().rect.height(), 22);
  p.MeasureElement();
  p.Text("abc abc abc abc abc abc abc abc");
  p.EndElement();
  EXPECT_EQ(s.ops.back().rect.height(), 88) << "four lines of 20 points";
}

TEST_F(StxtTest, BrushFillsBehindPlainRegionText) {
  p.BeginElement("TEXT_REGION");
  p.BrushStyle(Qt::Dense4Pattern);
  p.Text("x");
  p.X1("0");
  p.X2("50");
  p.Y1("0");
  p.Y2("0");
  p.EndElement();
  ASSERT_EQ(s.of(SurfaceOp::Fill).size(), 1);
  EXPECT_EQ(s.of(SurfaceOp::Fill)[0].brush, int(Qt::Dense4Pattern));
  EXPECT_EQ(s.of(SurfaceOp::Fill)[0].rect, s.of(SurfaceOp::Text)[0].rect);
  p.BeginElement("TEXT_REGION");  // the brush does not carry over
  p.EndElement();
  p.BrushStyle(0);
  p.EndElement();
  EXPECT_EQ(s.of(SurfaceOp::Fill).size(), 1);
  EXPECT_EQ(s.of(SurfaceOp::Text).size(), 3);
}

TEST_F(StxtTest, PenWidthsAreCutAndLinesNeedEveryCoordinate) {
  struct Case {
    double pen;
    int width;
  };
  for (const Case& c : QList<Case>{{0.4, 0}, {2.9, 2}, {1, 1}}) {
    p.BeginElement("LINE");
    p.PenWidth(c.pen);
    p.X1("0");
    p.X2("100%");
    p.Y1("10.5");
    p.Y2("10.5");
    p.EndElement();
    EXPECT_EQ(s.ops.back().pen, c.width) << c.pen;
    EXPECT_EQ(s.ops.back().to, QPoint(550, 10));
  }
  STXT fresh;
  RecordingSurface& t = surfaces.last();
  fresh.BeginElement("LINE");
  fresh.X1("0");
  fresh.X2("10");
  fresh.Y1("0");
  fresh.EndElement();
  EXPECT_TRUE(t.ops.isEmpty()) << "a line without y2 draws nothing";
  EXPECT_DOUBLE_EQ(*fresh.nPEN_WIDTH, 1) << "a line's default width";
}

TEST_F(StxtTest, FontMethods) {
  p.FontBold(true);  // before the first element: nothing, no crash
  EXPECT_EQ(s.begins, 0);
  p.DefaultFontName("Arial");
  p.DefaultFontSize(10.7);
  p.BeginElement("TEXT");
  EXPECT_EQ(s.font.family(), "Arial");
  EXPECT_EQ(s.font.pointSize(), 10);
  p.FontSize(12.6);
  p.FontBold(true);
  p.FontItalic(true);
  p.FontUnderline(true);
  p.SetStretch(150);
  EXPECT_EQ(p.GetStretch(), 150);
  EXPECT_TRUE(s.font.bold() && s.font.italic() && s.font.underline());
  EXPECT_EQ(s.font.pointSize(), 12);
  p.FontName("Courier New");
  EXPECT_EQ(s.font.family(), "Courier New");
  EXPECT_EQ(s.font.pointSize(), 12) << "the size stays";
  EXPECT_FALSE(s.font.bold() || s.font.italic() || s.font.underline());
  EXPECT_EQ(p.GetStretch(), 100);
  p.FontName();
  p.FontSize();
  EXPECT_EQ(s.font.family(), "Arial");
  EXPECT_EQ(s.font.pointSize(), 10);
}

TEST_F(StxtTest, RichTextOnlyWithAClosingTag) {
  p.BeginElement("TEXT");
  p.Text("a < b");
  p.EndElement();
  p.Text("<b>x\r\ny</b>");
  p.EndElement();
  p.PlainText("<i>data</i>");
  p.EndElement();
  ASSERT_EQ(s.of(SurfaceOp::Rich).size(), 1);
  EXPECT_EQ(s.of(SurfaceOp::Rich)[0].text, "<b>x<br>y</b>");
  EXPECT_EQ(s.of(SurfaceOp::Rich)[0].rect.height(), 28) << "CR LF counts in the height";
  ASSERT_EQ(s.of(SurfaceOp::Text).size(), 2);
  EXPECT_EQ(s.of(SurfaceOp::Text)[0].text, "a < b");
  EXPECT_EQ(s.of(SurfaceOp::Text)[1].text, "<i>data</i>");
}

TEST_F(StxtTest, ImagesAtTheCursorAndScaledToTheRegion) {
  const QString png = dir.filePath("i.png");
  QImage(40, 20, QImage::Format_RGB32).save(png);
  p.BeginElement("IMAGE");
  p.ImageFile(png);
  p.nX = 5;
  p.nY = 7;
  p.EndElement();
  EXPECT_EQ(s.ops.back().rect, QRect(5, 7, 40, 20));
  EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_H, 0);

  p.BeginElement("IMAGE_REGION");
  p.X1("10");
  p.X2("110");
  p.Y1("50");
  p.Y2("50");
  EXPECT_DOUBLE_EQ(p.MeasureElement(), 50);
  p.EndElement();
  EXPECT_EQ(s.ops.back().rect, QRect(10, 50, 100, 50));
  EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_H, 50);

  const int drawn = s.of(SurfaceOp::Image).size();
  p.nPRETH_TEXT_H = 0;
  p.X2("10");  // no width
  p.EndElement();
  p.X2("110");
  p.ImageFile(dir.filePath("missing.png"));
  p.EndElement();
  EXPECT_EQ(s.of(SurfaceOp::Image).size(), drawn);
  EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_H, 0);
  p.BeginElement("CIRCLE");
  p.EndElement();
  EXPECT_EQ(s.of(SurfaceOp::Image).size(), drawn);
}

TEST_F(StxtTest, HeaderMeasuringPutsEverythingBack) {
  p.BeginElement("TEXT_REGION");
  p.Text("kept");
  p.X1("1");
  p.X2("2");
  p.Y1("3");
  p.Y2("4");
  p.Align("C");
  p.FontBold(true);
  p.nX = 12;
  p.nY = 100;
  p.nPRETH_TEXT_H = 9;
  p.nPRETH_TEXT_W = 8;
  p.nTEXT_W = 7;
  p.nTEXT_H = 6;
  p.Header([&] {
    p.BeginElement("LINE");
    p.PenWidth(3);
    p.FontName("Arial");
    p.Text("head");
    p.X1("100");
    p.Y1("200");
    p.EndElement();
    p.BeginElement("TEXT");
    p.EndElement();
    p.NewRow();
    p.NewRow(20);
  });
  const int before = s.ops.size();
  p.ODREDI_VISINU_HEADERA();
  EXPECT_EQ(s.ops.size(), before) << "nothing drawn";
  EXPECT_DOUBLE_EQ(p.nVISINA_HEAD, 34);
  EXPECT_EQ(p.cTIP, "TEXT_REGION");
  EXPECT_EQ(p.cTEXT, "kept");
  EXPECT_EQ(p.cALIGN, "C");
  EXPECT_DOUBLE_EQ(*p.nX1, 1);
  EXPECT_DOUBLE_EQ(*p.nY1, 3);
  EXPECT_DOUBLE_EQ(*p.nX2, 2);
  EXPECT_DOUBLE_EQ(*p.nY2, 4);
  EXPECT_FALSE(p.nPEN_WIDTH.has_value());
  EXPECT_DOUBLE_EQ(p.nX, 12);
  EXPECT_DOUBLE_EQ(p.nY, 100);
  EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_H, 9);
  EXPECT_DOUBLE_EQ(p.nPRETH_TEXT_W, 8);
  EXPECT_DOUBLE_EQ(p.nTEXT_W, 7);
  EXPECT_DOUBLE_EQ(p.nTEXT_H, 6);
  EXPECT_TRUE(p.oFONT.bold());
  EXPECT_TRUE(s.font.bold()) << "the surface has the kept font again";
  EXPECT_TRUE(p.lDRAW);
}

TEST_F(StxtTest, BreakActionRunsOnNewPageAndTheElementKeepsItsSettings) {
  p.bSTA_KADA_SKOCI = [&] {
    p.BeginElement("TEXT_REGION");
    p.Text("head");
    p.FontBold(true);
    p.X1("0");
    p.X2("550");
    p.Y1();
    p.Y2();
    p.EndElement();
    p.NewRow();
  };
  region("cell", 10, 90, 705, 715);
  const QList<SurfaceOp> texts = s.of(SurfaceOp::Text);
  ASSERT_EQ(texts.size(), 2);
  EXPECT_EQ(texts[0].text, "head");
  EXPECT_EQ(texts[1].text, "cell");
  EXPECT_EQ(texts[1].page, 1);
  EXPECT_EQ(texts[1].rect, QRect(10, 14, 80, 14)) << "below the header, its own height";
  EXPECT_FALSE(texts[1].font.bold());

  p.NewPage();
  EXPECT_EQ(s.of(SurfaceOp::NewPage).size(), 2);
  EXPECT_EQ(s.of(SurfaceOp::Text).size(), 3);
  EXPECT_TRUE(p.lSKOCIO_NA_NOVU_STRANU);
}

TEST_F(StxtTest, OutOfOrderCallsDoNothing) {
  EXPECT_FALSE(p.Print()) << "nothing was ever drawn";
  EXPECT_EQ(s.ends, 0);
  p.NewPage();
  EXPECT_TRUE(s.ops.isEmpty());
  p.BeginElement("TEXT");
  p.EndElement();
  p.Orientation("L");  // too late
  EXPECT_FALSE(s.landscape);
  EXPECT_TRUE(p.Print());
  EXPECT_TRUE(p.Print());
  EXPECT_EQ(s.ends, 1);
  p.BeginElement("TEXT");
  p.EndElement();
  p.FontBold(true);
  EXPECT_EQ(s.of(SurfaceOp::Text).size(), 1);
}

TEST_F(StxtTest, PageSettingsGoToTheSurface) {
  p.Orientation("l");
  EXPECT_FALSE(s.landscape);
  p.Orientation("L");
  EXPECT_TRUE(s.landscape);
  p.PaperSize("Letter");
  EXPECT_EQ(s.a4, 0);
  p.PaperSize("A4");
  EXPECT_EQ(s.a4, 1);
  p.PageMargins(1, 2, 3, 4);
  EXPECT_FALSE(s.millimetres);
  p.PageMargins(5, 5, 5, 5, "mm");
  EXPECT_TRUE(s.millimetres);
  EXPECT_EQ(s.margins, QMarginsF(5, 5, 5, 5));
  p.PrinterName("lp0");
  EXPECT_EQ(s.printerName, "lp0");
  s.page = QSizeF(700, 400);
  p.Orientation("P");
  EXPECT_DOUBLE_EQ(p.nPAGE_W, 700) << "read again after a setting";
}

TEST_F(StxtTest, AFailedStartDrawsNothingAndOpensNothing) {
  RecordingShell shell;
  const QString pdf = existing("r.pdf");
  STXT q(pdf);
  RecordingSurface& t = surfaces.last();
  t.beginAnswer = false;
  q.BeginElement("TEXT");
  q.Text("x");
  q.EndElement();
  EXPECT_TRUE(q.failed());
  EXPECT_TRUE(t.ops.isEmpty());
  EXPECT_FALSE(q.View());
  EXPECT_TRUE(shell.calls.isEmpty());

  STXT r(pdf);
  RecordingSurface& u = surfaces.last();
  u.endAnswer = false;
  r.BeginElement("TEXT");
  EXPECT_FALSE(r.View()) << "an output that could not be completed";
  EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_F(StxtTest, ViewOpensTheTrimmedName) {
  RecordingShell shell;
  const QString pdf = existing("r.pdf");
  STXT q(pdf);
  EXPECT_EQ(surfaces.last().outputFile, pdf);
  q.cFILENAME = "  " + pdf + " ";
  q.BeginElement("TEXT");
  EXPECT_TRUE(q.View());
  ASSERT_EQ(shell.calls.size(), 1);
  EXPECT_EQ(shell.calls[0].op, "document");
  EXPECT_EQ(shell.calls[0].target, pdf);
  EXPECT_TRUE(q.View());
  EXPECT_EQ(shell.calls.size(), 1) << "the second View does nothing";
}

}  // namespace
}  // namespace korvan::print
