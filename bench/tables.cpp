// Table engine figures on 100,000 records with INVOICE's structure and the
// key "UI+INV_ID": append with its key, exact seek, full scan in index order,
// and python3-dbfread's scan of the same file.
#include "common/dbf/table.h"

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

const Structure kInvoice = {
    {"UI", 'C', 1, 0},         {"INV_ID", 'C', 20, 0},   {"BRDOK", 'C', 30, 0},  {"TIPDOK", 'C', 10, 0},
    {"STATUS", 'C', 10, 0},    {"KOMITENT", 'C', 40, 0}, {"IZNOS", 'N', 14, 2},  {"DATPROM", 'D', 8, 0},
    {"DATIZD", 'D', 8, 0},     {"DATDOSP", 'D', 8, 0},   {"XML", 'M', 10, 0},    {"ODOBRENO", 'C', 2, 0},
    {"NACINODOBR", 'C', 20, 0}, {"RAZLOGODB", 'C', 30, 0}};

double since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  QTemporaryDir dir;
  const QString path = dir.path() + "/INVOICE";
  Table::create(path, kInvoice);
  {
    auto t = Table::open(path, true);
    t->buildTag("INVOICE", "UI+INV_ID");
  }
  // Ids in random order, as downloads bring them.
  std::vector<int> ids(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) ids[size_t(i)] = 1000000 + i;
  QRandomGenerator rng(42);
  for (int i = n - 1; i > 0; --i) std::swap(ids[size_t(i)], ids[rng.bounded(i + 1)]);
  auto key = [](int id) { return QString::number(id).rightJustified(20); };

  auto t = Table::open(path, false);  // shared, as the program opens it
  t->setOrder(1);
  auto t0 = Clock::now();
  for (int i = 0; i < n; ++i) {
    if (!t->appendBlank()) {
      std::fprintf(stderr, "append failed\n");
      return 1;
    }
    t->put(1, QString(i % 4 ? "I" : "U"));
    t->put(2, key(ids[size_t(i)]));
    t->put(3, QString("F-%1/2022").arg(i));
    t->put(5, QString("Poslato"));
    t->put(6, QString("Kupac %1 d.o.o.").arg(i % 1000));
    t->put(7, (i % 100000) / 100.0);
    t->put(9, QDate(2022, 12, 14));
    t->unlock();
  }
  const double append = since(t0);
  std::printf("records: %d (shared open, key UI+INV_ID)\n", n);
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

  QProcess py;
  py.start("/usr/bin/python3",
           {"-c",
            "import sys,time,dbfread\n"
            "t=time.time()\n"
            "n=0\n"
            "for r in dbfread.DBF(sys.argv[1], encoding='utf-8'):\n"
            "    n+=1\n"
            "print(n, time.time()-t)\n",
            path + ".dbf"});
  if (!py.waitForFinished(600000) || py.exitCode() != 0) {
    std::printf("python3-dbfread: could not run (%s)\n", py.readAllStandardError().constData());
    return 0;
  }
  const QList<QByteArray> out = py.readAllStandardOutput().trimmed().split(' ');
  const double dbfread = out.value(1).toDouble();
  std::printf("python3-dbfread scan: %.1f ms (%s records)\n", dbfread * 1e3, out.value(0).constData());
  std::printf("engine scan is %.0f times faster than dbfread\n", dbfread / scan);
  return 0;
}
