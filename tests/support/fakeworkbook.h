#pragma once
// A scriptable workbook backend for tests: cells by position, a failure at a
// chosen cell, at the open or at the PDF export, and a record of what was
// asked. Installs itself for its lifetime.
#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "platform/workbook.h"

namespace korvan::test {

class FakeWorkbooks : public platform::WorkbookBackend {
 public:
  struct Book {
    std::map<std::pair<int, int>, platform::Cell> cells;  // (column, row), 0-based
    std::optional<platform::CellPos> failAt;  // reading this cell throws
    bool failOpen = false;
    bool failExport = false;
    int usedRows = 0;
    // Puts a cell at an address such as "B3".
    Book& put(const QString& address, const platform::Cell& cell);
  };

  FakeWorkbooks();
  ~FakeWorkbooks() override;
  FakeWorkbooks(const FakeWorkbooks&) = delete;
  FakeWorkbooks& operator=(const FakeWorkbooks&) = delete;

  // The book served for a path (absolute); every path not set gets an empty book.
  Book& book(const QString& path);
  std::unique_ptr<platform::Workbook> open(const QString& path) override;
  void holdEngine() override { ++holds; }
  void releaseEngine() override { --holds; }

  int holds = 0;         // engine holds taken and not released
  QStringList opened;    // paths, in order
  QStringList exported;  // PDF paths written
  int closed = 0;        // documents closed
  int openNow = 0;         // documents open now
  int reads = 0;         // single cells read (a batch counts each of its cells)
  int exchanges = 0;     // calls of cell() or cells()
  std::function<void()> onRead;  // run at each single cell read

 private:
  QMap<QString, Book> books_;
};

// Cells as the workbook layer reports them.
platform::Cell emptyCell();
platform::Cell textCell(const QString& text);
platform::Cell numberCell(double v, const QString& shown = QString());
platform::Cell dateCell(const QDate& d, const QString& shown);
platform::Cell dateTimeCell(const QDateTime& dt, const QString& shown);
platform::Cell textFormula(const QString& result);
platform::Cell numberFormula(double v, const QString& shown = QString());

}  // namespace korvan::test
