// A seeded random run of the engine against an in-memory model: appends,
// writes, deletes, seeks and skips both ways; at the end the Debian readers
// see what the model holds.
#include "common/dbf/table.h"
#include "dbftest.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>

using namespace korvan::dbf;
using namespace korvan::dbf::test;

namespace {

struct Row {
  QString ui, id, partner;
  bool deleted = false;
  QString key() const { return ui + id; }
};

class Model {
 public:
  QList<Row> rows;  // record n is rows[n - 1]
  // Visible record numbers in key order (duplicates by record number).
  QList<uint32_t> order() const {
    QList<uint32_t> o;
    for (int i = 0; i < rows.size(); ++i)
      if (!rows[i].deleted) o << uint32_t(i + 1);
    std::stable_sort(o.begin(), o.end(), [&](uint32_t a, uint32_t b) {
      return rows[a - 1].key().toUtf8() < rows[b - 1].key().toUtf8();
    });
    return o;
  }
};

void runSeed(quint32 seed, const QString& dir, bool shared) {
  SCOPED_TRACE("seed " + std::to_string(seed));
  QRandomGenerator rng(seed);
  const QString path = dir + QString("/r%1").arg(seed);
  Table::create(path, {{"UI", 'C', 1, 0}, {"INV_ID", 'C', 6, 0}, {"PARTNER", 'C', 12, 0}, {"XML", 'M', 10, 0}});
  {
    auto e = Table::open(path, true);
    e->buildTag("INVOICE", "UI+INV_ID");
  }
  auto t = Table::open(path, !shared);
  ASSERT_TRUE(t);
  t->setOrder(1);
  Model m;
  const QStringList names = {"Ana", "Šumadija", "Đorđe doo", "Čačak", "", "Zmaj"};
  auto randomId = [&] { return QString::number(rng.bounded(400)).rightJustified(6); };
  auto write = [&](Row& r) {
    ASSERT_TRUE(t->lock());
    t->put("UI", r.ui);
    t->put("INV_ID", r.id);
    t->put("PARTNER", r.partner);
    t->put("XML", QString("<x>%1</x>").arg(r.partner).repeated(int(rng.bounded(30))));
  };
  for (int step = 0; step < 1500; ++step) {
    const int op = int(rng.bounded(100));
    const QList<uint32_t> order = m.order();
    if (op < 35 || order.isEmpty()) {  // append
      Row r{rng.bounded(2) ? "I" : "U", randomId(), names[int(rng.bounded(names.size()))]};
      ASSERT_TRUE(t->appendBlank());
      ASSERT_EQ(t->recno(), uint32_t(m.rows.size() + 1));
      write(r);
      m.rows << r;
    } else if (op < 50) {  // rewrite a visible record's key or partner
      const uint32_t rec = order[int(rng.bounded(order.size()))];
      t->go(rec);
      Row& r = m.rows[int(rec) - 1];
      if (rng.bounded(2)) r.id = randomId();
      else r.partner = names[int(rng.bounded(names.size()))];
      write(r);
      t->unlock();
    } else if (op < 58) {  // delete
      const uint32_t rec = order[int(rng.bounded(order.size()))];
      t->go(rec);
      ASSERT_TRUE(t->lock());
      t->markDeleted();
      t->unlock();
      m.rows[int(rec) - 1].deleted = true;
    } else if (op < 80) {  // seek an existing key, a prefix or a missing key (soft)
      const int kind = int(rng.bounded(3));
      QString key;
      if (kind == 0) key = m.rows[int(order[int(rng.bounded(order.size()))]) - 1].key();
      else if (kind == 1) key = QString(rng.bounded(2) ? "I" : "U") + QString::number(rng.bounded(10));
      else key = QString(rng.bounded(2) ? "I" : "U") + randomId();
      const bool soft = rng.bounded(2);
      const QByteArray k = key.toUtf8();
      int at = -1;
      for (int i = 0; i < order.size() && at < 0; ++i)
        if (m.rows[int(order[i]) - 1].key().toUtf8() >= k) at = i;
      const bool expectFound = at >= 0 && m.rows[int(order[at]) - 1].key().toUtf8().startsWith(k);
      ASSERT_EQ(t->seek(key, soft), expectFound) << key.toStdString();
      if (expectFound || (soft && at >= 0)) {
        ASSERT_FALSE(t->eof());
        ASSERT_EQ(t->recno(), order[at]);
      } else {
        ASSERT_TRUE(t->eof());
      }
    } else {  // skip both ways from a random place
      int at = int(rng.bounded(order.size()));
      t->go(order[at]);
      for (int i = 0; i < 6; ++i) {
        const int n = int(rng.bounded(7)) - 3;
        t->skip(n);
        if (at >= order.size()) {  // at end-of-file
          if (n < 0) at = std::max(0, int(order.size()) + n);
          else if (n > 0) continue;
        } else {
          at += n;
        }
        if (at >= order.size()) {
          ASSERT_TRUE(t->eof());
          at = int(order.size());
        } else if (at < 0) {
          ASSERT_TRUE(t->bof());
          at = 0;
          ASSERT_EQ(t->recno(), order[0]);
        } else {
          ASSERT_FALSE(t->eof());
          ASSERT_EQ(t->recno(), order[at]) << "skip " << n;
        }
      }
    }
  }
  t->commit();
  // The whole visible order and every field, as the engine reads them.
  const QList<uint32_t> order = m.order();
  QList<uint32_t> walked;
  for (t->top(); !t->eof(); t->skip()) {
    walked << t->recno();
    const Row& r = m.rows[int(t->recno()) - 1];
    ASSERT_EQ(t->value("INV_ID").toString(), r.id);
    ASSERT_EQ(t->value("PARTNER").toString().trimmed(), r.partner);
  }
  EXPECT_EQ(walked, order);
  QList<uint32_t> back;
  for (t->bottom(); !t->bof() && !t->eof(); t->skip(-1)) back.prepend(t->recno());
  EXPECT_EQ(back, order);
  t->close();
  // The readers: records without the deleted ones; the index with them all.
  QList<QStringList> expected;
  for (const Row& r : m.rows)
    if (!r.deleted) expected << QStringList{r.ui, r.id, r.partner};
  QList<QStringList> read = dbfreadRecords(path + ".dbf");
  for (QStringList& l : read) l = l.mid(0, 3);
  EXPECT_EQ(read, expected);
  QList<QPair<QString, uint32_t>> all;
  for (int i = 0; i < m.rows.size(); ++i) {
    QString k = m.rows[i].key();
    while (k.endsWith(' ')) k.chop(1);
    all.append({k, uint32_t(i + 1)});
  }
  std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
    return a.first.toUtf8() != b.first.toUtf8() ? a.first.toUtf8() < b.first.toUtf8() : a.second < b.second;
  });
  EXPECT_EQ(indexDump(path + ".cdx", "INVOICE"), all);
}

TEST(RandomModel, SharedOpen) {
  QTemporaryDir dir;
  for (quint32 seed : {1u, 2u, 3u}) runSeed(seed, dir.path(), true);
}

TEST(RandomModel, ExclusiveOpen) {
  QTemporaryDir dir;
  for (quint32 seed : {11u, 12u}) runSeed(seed, dir.path(), false);
}

}  // namespace
