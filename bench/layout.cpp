// Page layout figures: a framed 11-column table of 300 rows (one row in ten
// wraps onto two lines) laid out by the table builder into a PDF, against a
// bare QPdfWriter + QPainter drawing the same texts and lines into the same
// rectangles without measuring. Best of several runs each.
#include <QApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "print/qtsurface.h"
#include "print/srpt.h"

using namespace korvan::print;
using Clock = std::chrono::steady_clock;

namespace {

struct Drawn {
  enum Kind { Text, Line, Page } kind;
  QRect rect;
  int flags = 0;
  QString text;
  QPoint from, to;
  int pen = 0;
  QFont font;
};

// The Qt surface, noting what it draws, so the bare run can draw the same.
class NotingSurface : public QtSurface {
 public:
  explicit NotingSurface(std::vector<Drawn>* out) : out_(out) {}
  void setFont(const QFont& f) override {
    font_ = f;
    QtSurface::setFont(f);
  }
  void drawText(const QRect& r, int flags, const QString& t) override {
    out_->push_back({.kind = Drawn::Text, .rect = r, .flags = flags, .text = t, .font = font_});
    QtSurface::drawText(r, flags, t);
  }
  void drawLine(const QPoint& a, const QPoint& b, int pen) override {
    out_->push_back({.kind = Drawn::Line, .from = a, .to = b, .pen = pen});
    QtSurface::drawLine(a, b, pen);
  }
  void newPage() override {
    out_->push_back({.kind = Drawn::Page});
    QtSurface::newPage();
  }

 private:
  std::vector<Drawn>* out_;
  QFont font_;
};

class NotingFactory : public SurfaceFactory {
 public:
  std::unique_ptr<PageSurface> makeSurface() override {
    return std::make_unique<NotingSurface>(&drawn);
  }
  std::vector<Drawn> drawn;
};

double since(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

bool layout(const QString& pdf, int rows) {
  SRPT r(pdf);
  r.PageMargins(5, 5, 5, 5, "mm");
  r.DefaultFontName("Arial");
  r.DefaultFontSize(10);
  r.TableBegin();
  r.TableFrame("SINGLE");
  r.TableFrameSingleWidth(0.4);
  r.TableFrameOuterWidth(0.8);
  const char* widths[] = {"4%", "22%", "6%", "8%", "10%", "8%", "8%", "8%", "8%", "8%", "10%"};
  for (int c = 0; c < 11; ++c)
    r.AddColumn({.head = QString("Kolona\n%1").arg(c + 1), .width = widths[c],
                 .align = c == 1 ? "L" : "R"});
  for (int i = 1; i <= rows; ++i) {
    for (int c = 0; c < 11; ++c) {
      QString text;
      if (c == 0) text = QString::number(i);
      else if (c == 1) text = i % 10 ? QString("Artikal %1").arg(i)
                                     : QString("Artikal %1 sa dugim nazivom koji prelazi u drugi red").arg(i);
      else text = QString::number(i * 12.5 + c, 'f', 2).replace('.', ',');
      r.AddCell({.text = text, .fontSize = 8});
    }
  }
  r.TableEnd();
  return r.Exec(true);
}

bool bare(const QString& pdf, const std::vector<Drawn>& drawn) {
  QPdfWriter writer(pdf);
  writer.setResolution(96);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
  QPainter p;
  if (!p.begin(&writer)) return false;
  for (const Drawn& d : drawn) {
    switch (d.kind) {
      case Drawn::Text:
        p.setFont(d.font);
        p.drawText(d.rect, d.flags, d.text);
        break;
      case Drawn::Line:
        p.setPen(QPen(Qt::black, d.pen));
        p.drawLine(d.from, d.to);
        break;
      case Drawn::Page:
        writer.newPage();
        break;
    }
  }
  return p.end();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int rows = argc > 1 ? std::atoi(argv[1]) : 300;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  QTemporaryDir dir;

  NotingFactory noting;
  setSurfaceFactory(&noting);
  if (!layout(dir.filePath("noted.pdf"), rows)) {
    std::fprintf(stderr, "the noted layout was not written\n");
    return 1;
  }
  setSurfaceFactory(nullptr);
  const auto pages = std::count_if(noting.drawn.begin(), noting.drawn.end(),
                                   [](const Drawn& d) { return d.kind == Drawn::Page; }) + 1;

  double best = 1e300, bestBare = 1e300;
  for (int i = 0; i < runs; ++i) {
    auto t0 = Clock::now();
    if (!layout(dir.filePath("layout.pdf"), rows)) {
      std::fprintf(stderr, "the layout was not written\n");
      return 1;
    }
    best = std::min(best, since(t0));
    t0 = Clock::now();
    if (!bare(dir.filePath("bare.pdf"), noting.drawn)) {
      std::fprintf(stderr, "the bare PDF was not written\n");
      return 1;
    }
    bestBare = std::min(bestBare, since(t0));
  }
  std::printf("RESULT pages %lld\n", static_cast<long long>(pages));
  std::printf("RESULT layout_ms %.1f\n", best);
  std::printf("RESULT bare_ms %.1f\n", bestBare);
  std::printf("RESULT ratio %.2f\n", best / bestBare);
  return 0;
}
