// The table builder over the recording surface. Page 550 x 710; a 12-point
// character is 6 wide, a line 14 high.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/recordingshell.h"
#include "print/srpt.h"
#include "support/print/recordingsurface.h"

// Readable failures.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace korvan::print {
namespace {

// A line as "h y x1-x2 pen" or "v x y1-y2 pen", with its page when not 0.
QString describe(const SurfaceOp& op) {
  QString d = op.from.y() == op.to.y()
                  ? QString("h %1 %2-%3 %4").arg(op.from.y()).arg(op.from.x()).arg(op.to.x()).arg(op.pen)
                  : QString("v %1 %2-%3 %4").arg(op.from.x()).arg(op.from.y()).arg(op.to.y()).arg(op.pen);
  if (op.from == op.to) d = QString("p %1,%2 %3").arg(op.from.x()).arg(op.from.y()).arg(op.pen);
  if (op.page) d += QString(" @%1").arg(op.page);
  return d;
}

class SrptTest : public ::testing::Test {
 protected:
  RecordingSurfaces surfaces;
  SRPT r;
  RecordingSurface& s = surfaces.last();

  // Three columns of 40, 15 and 45 per cent.
  void threeColumns(const QString& frame, bool heads) {
    r.TableBegin();
    r.TableFrame(frame);
    for (const char* w : {"40%", "15%", "45%"})
      r.AddColumn({.head = heads ? std::optional<TextSource>(QString("H")) : std::nullopt,
                   .width = w, .align = "L"});
  }
  // Opens the painter and puts its row at y.
  void at(double y) {
    r.oSTXT.BeginElement("NONE");
    r.oSTXT.nY = y;
  }
  void cells(int n) {
    for (int i = 1; i <= n; ++i) r.AddCell({.text = QString("c%1").arg(i)});
  }
  QStringList lines() const {
    QStringList out;
    for (const SurfaceOp& op : s.of(SurfaceOp::Line)) out << describe(op);
    return out;
  }
  // Every op in order, texts as "t <text>", lines described.
  QStringList order() const {
    QStringList out;
    for (const SurfaceOp& op : s.ops) {
      if (op.kind == SurfaceOp::Text) out << "t " + op.text + (op.page ? QString(" @%1").arg(op.page) : "");
      else if (op.kind == SurfaceOp::Line) out << describe(op);
      else if (op.kind == SurfaceOp::NewPage) out << "page";
    }
    return out;
  }
};

TEST_F(SrptTest, ColumnsSitEdgeToEdgeAndFramedCellsKeepTheirInset) {
  struct Case {
    const char* frame;
    QList<QPair<int, int>> x;  // each cell's text rectangle, left and right
  };
  const QList<Case> cases = {
      // Left and width are each cut to whole units.
      {"", {{0, 220}, {220, 302}, {302, 549}}},
      {"SINGLE", {{2, 218}, {222, 300}, {304, 547}}},
      {"   ", {{0, 220}, {220, 302}, {302, 549}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    s.ops.clear();
    threeColumns(c.frame, false);
    cells(3);
    r.TableEnd();
    EXPECT_DOUBLE_EQ(*r.aKOLONE[1].left, 220);
    EXPECT_DOUBLE_EQ(*r.aKOLONE[1].right, 302.5);
    EXPECT_DOUBLE_EQ(*r.aKOLONE[2].right, 550);
    const QList<SurfaceOp> texts = s.of(SurfaceOp::Text);
    ASSERT_EQ(texts.size(), 3);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(texts[i].rect.left(), c.x[i].first) << i;
      EXPECT_EQ(texts[i].rect.right() + 1, c.x[i].second) << i;
    }
  }
}

TEST_F(SrptTest, CellsFillColumnsRowByRow) {
  threeColumns("", false);
  cells(7);
  r.TableEnd();
  const QList<SurfaceOp> texts = s.of(SurfaceOp::Text);
  ASSERT_EQ(texts.size(), 7);
  const QList<QPoint> at = {{0, 0}, {220, 0}, {302, 0}, {0, 14}, {220, 14}, {302, 14}, {0, 28}};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(texts[i].rect.topLeft(), at[i]) << texts[i].text.toStdString();
  EXPECT_EQ(r.nBROJAC_REDOVA, 3);
  EXPECT_EQ(r.nBROJAC_KOLONA, 2);
  EXPECT_DOUBLE_EQ(r.oSTXT.nY, 42) << "the table closed under its last row";
  EXPECT_TRUE(lines().isEmpty()) << "frame \"\" rules nothing";
}

TEST_F(SrptTest, LineOrderAndPensOfASingleFrame) {
  threeColumns("SINGLE", true);
  r.TableFrameSingleWidth(0.4);
  r.TableFrameOuterWidth(2.9);
  cells(6);
  r.TableEnd();
  EXPECT_EQ(order(), (QStringList{
      "t H", "t H", "t H",
      "v 0 0-14 0", "v 220 0-14 0", "v 302 0-14 0", "v 550 0-14 0", "h 0 0-550 0",
      "h 14 0-550 0",
      "t c1", "t c2", "t c3",
      "v 0 14-28 0", "v 220 14-28 0", "v 302 14-28 0", "v 550 14-28 0", "h 28 0-550 0",
      "t c4", "t c5", "t c6",
      "v 0 28-42 0", "v 220 28-42 0", "v 302 28-42 0", "v 550 28-42 0", "h 42 0-550 0"}));
}

TEST_F(SrptTest, OuterAndOtherFramesUseTheirWidths) {
  struct Case {
    const char* frame;
    QStringList lines;
  };
  const QList<Case> cases = {
      {"OUTER",
       {"v 0 0-14 5", "v 220 0-14 5", "v 302 0-14 5", "v 550 0-14 5", "h 0 0-550 5", "h 14 0-550 5",
        "v 0 14-28 5", "v 220 14-28 3", "v 302 14-28 3", "v 550 14-28 5", "h 28 0-550 5"}},
      {"DOUBLE",
       {"v 0 0-14 1", "v 220 0-14 1", "v 302 0-14 1", "v 550 0-14 1", "h 0 0-550 1", "h 14 0-550 1",
        "v 0 14-28 3", "v 220 14-28 3", "v 302 14-28 3", "v 550 14-28 1", "h 28 0-550 1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    s.ops.clear();
    r.oSTXT.nY = 0;
    threeColumns(c.frame, true);
    r.TableFrameSingleWidth(3);
    r.TableFrameOuterWidth(5);
    cells(3);
    r.TableEnd();
    EXPECT_EQ(lines(), c.lines);
  }
}

TEST_F(SrptTest, WithoutHeadsATopLineAndLinesToThePageEdge) {
  r.TableBegin();
  r.TableFrame("SINGLE");
  r.TableSpaceLeft("10mm");
  r.AddColumn({.width = 100, .align = "R"});
  r.AddCell({.text = QString("x")});
  r.TableEnd();
  EXPECT_EQ(order(), (QStringList{"h 0 28-550 1", "t x", "v 28 0-14 1", "v 128 0-14 1",
                                  "h 14 28-550 1"}));
  EXPECT_EQ(s.of(SurfaceOp::Text)[0].flags & Qt::AlignRight, int(Qt::AlignRight));
}

TEST_F(SrptTest, ATableWithoutCells) {
  threeColumns("SINGLE", true);
  r.TableEnd();
  EXPECT_TRUE(s.of(SurfaceOp::Text).isEmpty()) << "no header without a cell";
  EXPECT_EQ(lines(), (QStringList{"p 0,0 1", "p 0,0 1", "p 0,0 1", "p 0,0 1", "h 0 0-550 1"}));
  s.ops.clear();
  threeColumns("", true);
  r.TableEnd();
  EXPECT_TRUE(s.ops.isEmpty());
}

TEST_F(SrptTest, EmptyHeadsMakeAOneLineHeader) {
  r.TableBegin();
  r.AddColumn({.head = QString(), .width = "100%", .align = "C"});
  r.AddCell({.text = QString("Račun br. 15/2022"), .fontSize = 12, .bold = true});
  r.TableEnd();
  const QList<SurfaceOp> texts = s.of(SurfaceOp::Text);
  ASSERT_EQ(texts.size(), 2);
  EXPECT_EQ(texts[0].text, "");
  EXPECT_EQ(texts[0].rect.height(), 14);
  EXPECT_EQ(texts[1].rect.top(), 14);
  EXPECT_TRUE(texts[1].font.bold());
}

TEST_F(SrptTest, HeadsUseTheCurrentFontAndTheirOwnAlignment) {
  r.DefaultFontName("Arial");
  r.TableBegin();
  r.AddColumn({.head = QString("Iznos"), .width = "50%", .align = "R", .headAlign = "C"});
  r.AddColumn({.head = [] { return QString("Opis"); }, .width = "50%", .align = "L"});
  r.AddCell({.value = 1234.5, .picture = "@E 999,999,999,999.99", .fontName = "Courier New"});
  r.AddCell({.value = [] { return 7.25; }});
  r.TableEnd();
  const QList<SurfaceOp> texts = s.of(SurfaceOp::Text);
  ASSERT_EQ(texts.size(), 4);
  EXPECT_EQ(texts[0].flags & 0xf, int(Qt::AlignHCenter));
  EXPECT_EQ(texts[1].text, "Opis");
  EXPECT_EQ(texts[1].flags & 0xf, int(Qt::AlignLeft));
  EXPECT_EQ(texts[2].text, "1.234,50");
  EXPECT_EQ(texts[2].font.family(), "Courier New");
  EXPECT_EQ(texts[2].flags & 0xf, int(Qt::AlignRight));
  EXPECT_EQ(texts[3].text, "7.25");
  EXPECT_EQ(texts[3].font.family(), "Arial") << "absent family: the default";
}

TEST_F(SrptTest, CellBuildersAndMarkupAsWritten) {
  QTemporaryDir dir;
  const QString png = dir.filePath("logo.png");
  QImage(50, 25, QImage::Format_RGB32).save(png);
  r.TableBegin();
  r.TableFrame("SINGLE");
  r.ColumnBegin();
  r.ColumnWidth(104);
  r.ColumnAlign("L");
  r.ColumnEnd();
  r.ColumnBegin();
  r.ColumnWidth("200");
  r.ColumnEnd();
  r.CellBegin();
  r.CellImage(png);
  r.CellEnd();
  r.CellBegin();
  r.CellText(QString("<b>x</b> & </td>"));
  r.CellAlign("R");
  r.CellFontSize(8);
  r.CellBrushStyle(Qt::Dense6Pattern);
  r.CellEnd();
  r.TableEnd();
  EXPECT_TRUE(s.of(SurfaceOp::Rich).isEmpty());
  ASSERT_EQ(s.of(SurfaceOp::Text).size(), 1);
  EXPECT_EQ(s.of(SurfaceOp::Text)[0].text, "<b>x</b> & </td>");
  EXPECT_EQ(s.of(SurfaceOp::Text)[0].font.pointSize(), 8);
  EXPECT_EQ(s.of(SurfaceOp::Text)[0].rect.height(), 50) << "as high as the row's image";
  ASSERT_EQ(s.of(SurfaceOp::Fill).size(), 1);
  ASSERT_EQ(s.of(SurfaceOp::Image).size(), 1);
  EXPECT_EQ(s.of(SurfaceOp::Image)[0].rect, QRect(2, 0, 100, 50)) << "scaled to the inner width";
  EXPECT_EQ(lines().last(), "h 50 0-550 1");
}

TEST_F(SrptTest, ARowThatWouldRunOffThePageMovesWhole) {
  threeColumns("SINGLE", false);
  s.sizes.insert("tall", QSize(10, 100));
  at(600);
  r.AddCell({.text = QString("a")});
  r.AddCell({.text = QString("b")});
  r.AddCell({.text = QString("c")});
  r.AddCell({.text = QString("d")});     // the row starts at 614,
  r.AddCell({.text = QString("tall")});  // above the bottom, and would end at 714
  r.AddCell({.text = QString("f")});
  r.TableEnd();
  EXPECT_EQ(order(), (QStringList{
      "h 600 0-550 1", "t a", "t b", "t c",
      "v 0 600-614 1", "v 220 600-614 1", "v 302 600-614 1", "v 550 600-614 1", "h 614 0-550 1",
      "page", "t d @1", "t tall @1", "t f @1", "h 0 0-550 1 @1",
      "v 0 0-100 1 @1", "v 220 0-100 1 @1", "v 302 0-100 1 @1", "v 550 0-100 1 @1",
      "h 100 0-550 1 @1"}));
  for (const SurfaceOp& op : s.of(SurfaceOp::Text)) EXPECT_LE(op.rect.bottom() + 1, 710);
}

TEST_F(SrptTest, ARowTallerThanAPageBreaksOnceAndStartsAtTheTop) {
  threeColumns("", false);
  s.sizes.insert("huge", QSize(10, 900));
  at(300);
  r.AddCell({.text = QString("huge")});
  r.AddCell({.text = QString("huge")});
  r.AddCell({.text = QString("x")});
  r.AddCell({.text = QString("huge")});
  r.TableEnd();
  EXPECT_EQ(s.of(SurfaceOp::NewPage).size(), 2);
  const QList<SurfaceOp> texts = s.of(SurfaceOp::Text);
  ASSERT_EQ(texts.size(), 4);
  EXPECT_EQ(texts[0].page, 1);
  EXPECT_EQ(texts[0].rect.top(), 0);
  EXPECT_EQ(texts[2].page, 1);
  EXPECT_EQ(texts[3].page, 2);
  EXPECT_EQ(texts[3].rect.top(), 0);
}

TEST_F(SrptTest, AHeaderThatWouldRunOffThePageMovesWithItsLines) {
  threeColumns("SINGLE", true);
  at(700);
  cells(3);
  r.TableEnd();
  EXPECT_EQ(order().mid(0, 6), (QStringList{"page", "t H @1", "t H @1", "t H @1", "v 0 0-14 1 @1",
                                            "v 220 0-14 1 @1"}));
  EXPECT_EQ(lines().count("h 14 0-550 1 @1"), 1) << "no second top line for the first row";
}

TEST_F(SrptTest, RepeatedHeaderGoesAboveTheMovedRow) {
  threeColumns("SINGLE", true);
  r.TableRepeatHead(true);
  s.sizes.insert("tall", QSize(10, 40));
  cells(3);
  r.oSTXT.nY = 680;
  r.AddCell({.text = QString("tall"), .bold = true});
  r.AddCell({.text = QString("e")});
  r.AddCell({.text = QString("f")});
  r.TableEnd();
  const QStringList o = order();
  const qsizetype page = o.indexOf("page");
  ASSERT_GT(page, 0);
  EXPECT_EQ(o.mid(page, 5), (QStringList{"page", "t H @1", "t H @1", "t H @1", "v 0 0-14 1 @1"}));
  const QList<SurfaceOp> texts = s.of(SurfaceOp::Text);
  const SurfaceOp& tall = texts[texts.size() - 3];
  EXPECT_EQ(tall.text, "tall");
  EXPECT_EQ(tall.page, 1);
  EXPECT_EQ(tall.rect.top(), 14) << "below the reprinted header";
  EXPECT_EQ(tall.rect.left(), 2);
  EXPECT_TRUE(tall.font.bold()) << "with its own settings";
  r.TableRepeatHead(false);
  EXPECT_FALSE(r.oSTXT.bSTA_KADA_SKOCI);
}

TEST_F(SrptTest, CallsOutsideTheOrderDoNothing) {
  r.AddCell({.text = QString("no columns")});
  r.TableEnd();
  EXPECT_TRUE(s.ops.isEmpty());
  r.TableBegin();
  r.AddColumn({.width = "100%"});
  r.AddCell({.text = QString("held")});
  EXPECT_TRUE(r.Exec(true)) << "cells of an open table are drawn before the end";
  EXPECT_EQ(s.of(SurfaceOp::Text).size(), 1);
  EXPECT_EQ(s.ends, 1);
}

// Exec without argument finishes and opens the file; with true it only finishes.
TEST_F(SrptTest, ExecOpensTheFileUnlessOnlyPrinting) {
  RecordingShell shell;
  QTemporaryDir dir;
  const QString pdf = dir.filePath("racun.pdf");
  for (bool print : {true, false}) {
    SCOPED_TRACE(print);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));  // stands for what the surface wrote
    f.close();
    SRPT q(pdf);
    q.TableBegin();
    q.AddColumn({.width = "100%"});
    q.AddCell({.text = QString("x")});
    q.TableEnd();
    EXPECT_TRUE(print ? q.Exec(true) : q.Exec());
    EXPECT_EQ(surfaces.last().ends, 1);
  }
  ASSERT_EQ(shell.calls.size(), 1);
  EXPECT_EQ(shell.calls[0].target, pdf);
}

}  // namespace
}  // namespace korvan::print
