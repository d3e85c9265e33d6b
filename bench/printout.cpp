// Free-entry printout figures for a 300-line invoice typed into the window
// (offscreen): NAPRAVI_PDF, split into the saves of the buyer and the
// articles that precede every printout and the layout, against the bare
// painter drawing the same texts and lines (as bench/layout does); the
// making of the printout's blocks from the grid. Best of several runs.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "barepainter.h"
#include "common/apppath.h"
#include "common/dbf/workarea.h"
#include "common/libdbf.h"
#include "support/scriptedpresenter.h"
#include "windows/slobun.h"
#include "windows/slobun_print.h"

using namespace korvan;
using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int lines = argc > 1 ? std::atoi(argv[1]) : 300;
  QTemporaryDir dir;
  SET_APPPATH(dir.path());
  QDir().mkpath(GETAPPPATH() + "TMP");
  ScriptedPresenter boxes;
  {
    QFile ini(FN_INI("aplik.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write(QByteArray("[Firma]\r\nNAZIV=Prodavac\r\nOBVPDV=T\r\n[SLOBUN]\r\nMAX_RED=") + QByteArray::number(lines) + "\r\n");
  }
  QMainWindow mw;
  auto* area = new QMdiArea;
  mw.setCentralWidget(area);
  auto* w = new MySLOBUN;
  w->New(&mw, area, nullptr, QApplication::font(), QStringLiteral("Slobodan unos"));
  w->POSTAVI(false);
  w->PREGLED(nullptr);
  w->oleBRDOK->setText(QStringLiteral("15"));
  w->oleKOMIT_PIB->setText(QStringLiteral("101112131"));
  w->oleKOMIT_NAZIV->setText(QStringLiteral("Kupac"));
  w->lPROGRAMSKI = true;
  for (int r = 1; r <= lines; ++r) {
    w->PISI_VREDNOST(QStringLiteral("ART_SIFRA"), QStringLiteral("A%1").arg(r), r);
    w->PISI_VREDNOST(QStringLiteral("ART_NAZIV"), QStringLiteral("Artikal broj %1").arg(r), r);
    w->PISI_VREDNOST(QStringLiteral("KOLICINA"), 1 + r % 7, r);
    w->PISI_VREDNOST(QStringLiteral("CENB"), 10.5 + r, r);
    w->PISI_VREDNOST(QStringLiteral("STOPA"), r % 3 ? 20.0 : 10.0, r);
    w->MENJAJ_ZAVISNE(r, QStringLiteral("CENB"));
  }
  w->lPROGRAMSKI = false;

  // First save appends every article, the second finds and overwrites them.
  auto t0 = Clock::now();
  w->ZAPAMTI_KOMIT();
  w->ZAPAMTI_ARTIKLE();
  std::printf("RESULT saves_new_ms %.1f\n", ms(t0));
  t0 = Clock::now();
  w->ZAPAMTI_KOMIT();
  w->ZAPAMTI_ARTIKLE();
  std::printf("RESULT saves_again_ms %.1f\n", ms(t0));

  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  print::bench::NotingFactory noting;
  print::setSurfaceFactory(&noting);
  if (w->NAPRAVI_PDF(true).isEmpty()) {
    std::fprintf(stderr, "the noted printout was not written\n");
    return 1;
  }
  print::setSurfaceFactory(nullptr);
  double bestSaves = 1e300, bestPrintout = 1e300, bestBare = 1e300;
  for (int i = 0; i < runs; ++i) {
    t0 = Clock::now();
    w->ZAPAMTI_KOMIT();
    w->ZAPAMTI_ARTIKLE();
    const double saves = ms(t0);
    t0 = Clock::now();
    if (w->NAPRAVI_PDF(true).isEmpty()) {
      std::fprintf(stderr, "the printout was not written\n");
      return 1;
    }
    const double printout = ms(t0);
    t0 = Clock::now();
    if (!print::bench::bare(dir.filePath("bare.pdf"), noting.drawn)) {
      std::fprintf(stderr, "the bare PDF was not written\n");
      return 1;
    }
    bestBare = std::min(bestBare, ms(t0));
    bestSaves = std::min(bestSaves, saves);
    bestPrintout = std::min(bestPrintout, printout);
  }
  // The printout saves again before it lays out: its layout is what is left.
  const double layout = std::max(0.0, bestPrintout - bestSaves);
  std::printf("RESULT printout_ms %.1f\n", bestPrintout);
  std::printf("RESULT saves_ms %.1f\n", bestSaves);
  std::printf("RESULT layout_ms %.1f\n", layout);
  std::printf("RESULT bare_ms %.1f\n", bestBare);
  std::printf("RESULT ratio %.2f\n", layout / bestBare);

  StampaUlaz in;
  in.godina = QStringLiteral("2022");
  in.broj = QStringLiteral("15");
  in.kolone = w->aKOLONE;
  t0 = Clock::now();
  for (int r = 0; r < w->oTABELA->rowCount(); ++r) {
    QStringList row;
    for (int c = 0; c < w->aKOLONE.size(); ++c) row << w->oTABELA->item(r, c)->text();
    in.redovi << row;
  }
  const Stampa s = SLOBUN_STAMPA(in);
  std::printf("RESULT blocks_ms %.2f\n", ms(t0));
  std::printf("RESULT printed_lines %lld\n", static_cast<long long>(s.blokovi[3].cells.size() / w->aKOLONE.size()));
  if (!boxes.shown.isEmpty()) std::fprintf(stderr, "boxes: %s\n", qPrintable(boxes.texts().join('|')));
  delete w->oWND.data();
  dbf::closeAllAreas();
  return boxes.shown.isEmpty() ? 0 : 1;
}
