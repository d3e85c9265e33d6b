#pragma once
// Builds an INVOICE table of the local store's structure with the key
// "UI+INV_ID" and n rows, ids in random order as downloads bring them.
#include <QDate>
#include <QProcess>
#include <QRandomGenerator>
#include <QString>
#include <cstdio>
#include <vector>

#include "common/dbf/table.h"

namespace korvan::bench {

inline const dbf::Structure& invoiceStructure() {
  static const dbf::Structure s = {
      {"UI", 'C', 1, 0},         {"INV_ID", 'C', 20, 0},   {"BRDOK", 'C', 30, 0},  {"TIPDOK", 'C', 10, 0},
      {"STATUS", 'C', 10, 0},    {"KOMITENT", 'C', 40, 0}, {"IZNOS", 'N', 14, 2},  {"DATPROM", 'D', 8, 0},
      {"DATIZD", 'D', 8, 0},     {"DATDOSP", 'D', 8, 0},   {"XML", 'M', 10, 0},    {"ODOBRENO", 'C', 2, 0},
      {"NACINODOBR", 'C', 20, 0}, {"RAZLOGODB", 'C', 30, 0}};
  return s;
}

inline QString invoiceKey(int id) { return QString::number(id).rightJustified(20); }

// The ids in the order appended. Every fourth row is incoming unless
// allOutgoing. Each append is timed by the caller around this call.
inline std::vector<int> buildInvoice(const QString& path, int n, bool allOutgoing = false) {
  dbf::Table::create(path, invoiceStructure());
  {
    auto t = dbf::Table::open(path, true);
    t->buildTag("INVOICE", "UI+INV_ID");
  }
  std::vector<int> ids(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) ids[size_t(i)] = 1000000 + i;
  QRandomGenerator rng(42);
  for (int i = n - 1; i > 0; --i) std::swap(ids[size_t(i)], ids[rng.bounded(i + 1)]);
  auto t = dbf::Table::open(path, false);  // shared, as the program opens it
  t->setOrder(1);
  for (int i = 0; i < n; ++i) {
    if (!t->appendBlank()) {
      std::fprintf(stderr, "append failed\n");
      return {};
    }
    t->put(1, QString(allOutgoing || i % 4 ? "I" : "U"));
    t->put(2, invoiceKey(ids[size_t(i)]));
    t->put(3, QString("F-%1/2022").arg(i));
    t->put(5, QString("Poslato"));
    t->put(6, QString("Kupac %1 d.o.o.").arg(i % 1000));
    t->put(7, (i % 100000) / 100.0);
    t->put(9, QDate(2022, 12, 14));
    t->unlock();
  }
  t->close();
  return ids;
}

// python3-dbfread's read of the whole table: {records, milliseconds}, or
// {-1, -1} when it cannot run (its error printed).
inline std::pair<int, double> dbfreadRun(const QString& dbfPath) {
  QProcess py;
  py.start("/usr/bin/python3", {"-c",
                                "import sys,time,dbfread\n"
                                "t=time.time()\n"
                                "n=0\n"
                                "for r in dbfread.DBF(sys.argv[1], encoding='utf-8'):\n"
                                "    n+=1\n"
                                "print(n, time.time()-t)\n",
                                dbfPath});
  if (!py.waitForFinished(600000) || py.exitCode() != 0) {
    std::printf("python3-dbfread: could not run (%s)\n", py.readAllStandardError().constData());
    return {-1, -1};
  }
  const QList<QByteArray> out = py.readAllStandardOutput().trimmed().split(' ');
  return {out.value(0).toInt(), out.value(1).toDouble() * 1000};
}

}  // namespace korvan::bench
