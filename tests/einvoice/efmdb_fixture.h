#pragma once
// The store's tests: a program folder of their own, scripted boxes, counted
// lock waits, and readers of the tables as they lie on disk.
#include "common/apppath.h"
#include "common/dbf/fileio.h"
#include "common/dbf/table.h"
#include "common/dbf/workarea.h"
#include "common/libdbf.h"
#include "common/presenter.h"
#include "einvoice/efmdbdbf.h"
#include "support/scriptedpresenter.h"
#include "support/programfolder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace korvan::efmdbtest {

inline QString u8(const char* s) { return QString::fromUtf8(s); }
// The text as a field of that many bytes holds it: padded with blanks.
inline QString padded(const QString& s, int width) {
  return s + QString(qMax(0, width - int(s.toUtf8().size())), ' ');
}

class Store : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    setLibdbfDelay([this](double s) { waits << s; });
  }
  void TearDown() override {
    dbf::closeAllAreas();
    setLibdbfDelay({});
  }
  QString table(const QString& name) const { return GETAPPPATH() + "BAZE/" + name; }
  // A second open of a table, as another copy of the program has it.
  std::unique_ptr<dbf::Table> other(const QString& name, bool exclusive = false) const {
    return dbf::Table::open(table(name), exclusive);
  }
  // Creates the store (empty) and closes it.
  void makeStore() {
    ASSERT_TRUE(EFMDB_OTVORI_BAZE());
    EFMDB_ZATVORI_BAZE();
  }
  // The visible rows of a table in record order, the named fields as text
  // (dates yyyyMMdd, numbers as stored).
  QList<QStringList> rows(const QString& name, const QStringList& fields) const {
    QList<QStringList> out;
    if (!dbf::existsIgnoringCase(table(name) + ".dbf")) return out;
    auto t = dbf::Table::open(table(name), false, true);
    if (!t) return out;
    for (t->top(); !t->eof(); t->skip()) {
      QStringList r;
      for (const QString& f : fields) {
        const int pos = t->fieldPos(f);
        const char type = t->field(pos).type;
        r << (type == 'M' ? t->value(pos).toString() : QString::fromUtf8(t->raw(pos)));
      }
      out << r;
    }
    return out;
  }
  // Appends a row the way another copy would (key, then the given fields).
  void addRow(const QString& ui, qint64 id, const QList<QPair<QString, QVariant>>& fields = {}) {
    auto t = other("INVOICE");
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->appendBlank());
    t->put("UI", ui);
    t->put("INV_ID", EFMDB_ID20(id));
    for (const auto& [f, v] : fields) t->put(f, v);
    t->close();
  }

  test::TempProgramFolder dir;
  ScriptedPresenter boxes;
  QList<double> waits;
};

}  // namespace korvan::efmdbtest
