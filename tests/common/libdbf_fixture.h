#pragma once
// Shared by the table opening tests: a program folder of its own, scripted
// boxes, counted waits, the four tables of the program and a few readers.
#include "common/apppath.h"
#include "common/dbf/dbferror.h"
#include "common/dbf/table.h"
#include "common/dbf/workarea.h"
#include "common/libdbf.h"
#include "common/presenter.h"
#include "common/dbf/dbftest.h"
#include "support/scriptedpresenter.h"
#include "support/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace korvan::libdbftest {

using dbf::FieldDef;
using dbf::Structure;

inline const Structure kInvoice = {
    {"UI", 'C', 1, 0},       {"INV_ID", 'C', 20, 0},   {"BRDOK", 'C', 30, 0},     {"TIPDOK", 'C', 10, 0},
    {"STATUS", 'C', 10, 0},  {"KOMITENT", 'C', 40, 0}, {"IZNOS", 'N', 14, 2},     {"DATPROM", 'D', 8, 0},
    {"DATIZD", 'D', 8, 0},   {"DATDOSP", 'D', 8, 0},   {"XML", 'M', 10, 0},       {"ODOBRENO", 'C', 2, 0},
    {"NACINODOBR", 'C', 20, 0}, {"RAZLOGODB", 'C', 30, 0}};
inline const Structure kFals = {{"UI", 'C', 1, 0}, {"INV_ID", 'C', 20, 0}};
inline const Structure kKomit = {{"PIB", 'C', 20, 0},     {"NAZIV", 'C', 80, 0},  {"ADRESA", 'C', 80, 0},
                                 {"MESTO", 'C', 80, 0},   {"POST_BROJ", 'C', 20, 0}, {"EMAIL", 'C', 80, 0},
                                 {"MATBROJ", 'C', 20, 0}, {"JBKJS", 'C', 20, 0},  {"UGOVOR", 'C', 80, 0}};
inline const Structure kArt = {{"SIFRA", 'C', 20, 0}, {"BARKOD", 'C', 20, 0}, {"NAZIV", 'C', 80, 0},
                               {"JMERE", 'C', 10, 0}, {"STOPA", 'N', 7, 2},   {"CENB", 'N', 14, 4}};
inline const IndexList kInvoiceIdx = {{"BAZE\\INVOICE", "UI+INV_ID"}};
inline const IndexList kFalsIdx = {{"BAZE\\FALS", "UI+INV_ID"}};
inline const IndexList kKomitIdx = {{"BAZE\\KOMIT", "PIB"}};
inline const IndexList kArtIdx = {{"BAZE\\ART", "SIFRA"}, {"BAZE\\ART2", "BARKOD"}, {"BAZE\\ART3", "NAZIV"}};

// The invoice structure without its last field (what an older program made).
inline Structure invoiceBefore() { return kInvoice.mid(0, kInvoice.size() - 1); }

struct FileId {
  qint64 dev = 0, ino = 0, size = -1;
  bool operator==(const FileId&) const = default;
};
inline FileId fileId(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
  return {qint64(st.st_dev), qint64(st.st_ino), qint64(st.st_size)};
}
inline QByteArray bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
inline QStringList filesIn(const QString& folder) {
  QStringList l = QDir(folder).entryList(QDir::Files | QDir::Hidden);
  l.sort();
  return l;
}
inline QString id20(int id) { return QString::number(id).rightJustified(20, ' '); }
inline void touch(const QString& path) {
  QFile f(path);
  f.open(QIODevice::WriteOnly);
}
inline void waitForFile(const QString& path, int ms = 30000) {
  for (int i = 0; i < ms / 10 && !QFileInfo::exists(path); ++i) QThread::msleep(10);
}

class LibdbfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    setLibdbfDelay([this](double s) {
      waits << s;
      if (onWait) onWait(int(waits.size()));
    });
  }
  void TearDown() override {
    dbf::closeAllAreas();
    setLibdbfDelay({});
    setMigrationHook({});
    dbf::setErrorHandler({});
  }
  QString app() const { return GETAPPPATH(); }
  QString baze(const QString& name = QString()) const { return app() + "BAZE" + (name.isEmpty() ? "" : "/" + name); }
  QString tmpFolder() const { return app() + "TMP"; }

  // INVOICE rows: UI, id, partner, amount, issue date, XML memo; every third is deleted.
  void fillInvoices(const QString& alias, int count) {
    dbf::Table& t = *dbf::area(alias);
    for (int i = 1; i <= count; ++i) {
      ASSERT_TRUE(t.appendBlank());
      t.put("UI", QString(i % 2 ? "I" : "U"));
      t.put("INV_ID", id20(1000 + i));
      t.put("BRDOK", QString::fromUtf8("Račun %1/2022").arg(i));
      t.put("KOMITENT", QString::fromUtf8("Kupac Đorđe %1").arg(i));
      t.put("IZNOS", i * 10.25);
      t.put("DATIZD", QDate(2022, 12, 1).addDays(i));
      t.put("XML", QString("<Invoice><ID>%1</ID>%2</Invoice>").arg(i).arg(QString("x").repeated(i * 37)));
      if (i % 3 == 0) t.markDeleted();
    }
    t.unlock();
    t.commit();
  }
  // An INVOICE table made by an older program: one field less, count rows.
  void oldInvoiceTable(int count) {
    ASSERT_TRUE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, invoiceBefore()));
    fillInvoices("INVOICE", count);
    dbf::closeArea("INVOICE");
  }
  // The visible rows of an open table: every field's text, memos in full.
  static QList<QStringList> rows(dbf::Table& t) {
    QList<QStringList> out;
    const int was = t.order();
    t.setOrder(0);
    for (t.top(); !t.eof(); t.skip()) {
      QStringList r;
      for (int i = 1; i <= t.fieldCount(); ++i) {
        const QVariant v = t.value(i);
        r << (v.typeId() == QMetaType::QDate ? v.toDate().toString("yyyyMMdd") : v.toString());
      }
      out << r;
    }
    t.setOrder(was);
    return out;
  }
  // The rows projected on some fields.
  static QList<QStringList> columns(dbf::Table& t, const QStringList& names) {
    QList<QStringList> out;
    const int was = t.order();
    t.setOrder(0);
    for (t.top(); !t.eof(); t.skip()) {
      QStringList r;
      for (const QString& n : names) {
        const QVariant v = t.value(n);
        r << (v.typeId() == QMetaType::QDate ? v.toDate().toString("yyyyMMdd") : v.toString());
      }
      out << r;
    }
    t.setOrder(was);
    return out;
  }
  // The tag as the engine walks it equals index_dump's view without deleted records.
  static void expectTagSound(dbf::Table& t, const QString& cdx, int order) {
    QList<QPair<QString, uint32_t>> dumped = dbf::test::indexDump(cdx, t.tagName(order));
    EXPECT_EQ(dumped.size(), int(t.recCount())) << t.tagName(order).toStdString();
    QList<QPair<QString, uint32_t>> visible;
    for (const auto& k : dumped) {
      t.go(k.second);
      if (!t.deleted()) visible << k;
    }
    EXPECT_EQ(dbf::test::engineTag(t, order), visible) << t.tagName(order).toStdString();
  }

  test::TempProgramFolder dir;
  ScriptedPresenter boxes;
  QList<double> waits;
  std::function<void(int)> onWait;
};

}  // namespace korvan::libdbftest
