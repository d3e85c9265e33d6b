// Table engine figures on 100,000 records with INVOICE's structure and the
// key "UI+INV_ID": append with its key, exact seek, full scan in index order,
// and python3-dbfread's scan of the same file.
#include "common/dbf/table.h"
#include "invoice_table.h"

#include <QCoreApplication>
#include <QDate>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace korvan::dbf;
using Clock = std::chrono::steady_clock;

namespace {

double since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  QTemporaryDir dir;
  const QString path = dir.path() + "/INVOICE";
  auto t0 = Clock::now();
  const std::vector<int> ids = korvan::bench::buildInvoice(path, n);
  if (ids.empty()) return 1;
  const double append = since(t0);
  std::printf("records: %d (shared open, key UI+INV_ID)\n", n);
  QRandomGenerator rng(7);
  auto key = [](int id) { return korvan::bench::invoiceKey(id); };
  auto t = Table::open(path, false);
  t->setOrder(1);
  std::printf("append with its key: %.1f us per record\n", append * 1e6 / n);

  std::vector<QString> probes;
  for (int i = 0; i < 100000; ++i) {
    const int j = int(rng.bounded(n));
    probes.push_back(QString(j % 4 ? "I" : "U") + key(ids[size_t(j)]));
  }
  t0 = Clock::now();
  int found = 0;
  for (const QString& k : probes) found += t->seek(k);
  const double seek = since(t0);
  std::printf("exact seek: %.2f us (%d of %zu found)\n", seek * 1e6 / double(probes.size()), found, probes.size());

  t0 = Clock::now();
  int rows = 0;
  double sum = 0;
  for (t->top(); !t->eof(); t->skip()) {
    sum += t->value(7).toDouble();
    rows += !t->raw(2).isEmpty();
  }
  const double scan = since(t0);
  std::printf("full scan in index order: %.1f ms (%d records, sum %.2f)\n", scan * 1e3, rows, sum);
  t->close();

  const auto [records, dbfread] = korvan::bench::dbfreadRun(path + ".dbf");
  if (records < 0) return 0;
  std::printf("python3-dbfread scan: %.1f ms (%d records)\n", dbfread, records);
  std::printf("engine scan is %.0f times faster than dbfread\n", dbfread / (scan * 1e3));
  return 0;
}
