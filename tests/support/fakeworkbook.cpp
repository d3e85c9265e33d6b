#include "support/fakeworkbook.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace korvan::test {

using platform::Cell;
using platform::CellKind;
using platform::CellPos;
using platform::ValueType;
using platform::WorkbookError;

namespace {

class FakeBook : public platform::Workbook {
 public:
  FakeBook(FakeWorkbooks& owner, FakeWorkbooks::Book book) : owner_(owner), book_(std::move(book)) {}
  ~FakeBook() override { close(); }

  Cell cell(int column, int row) override {
    ++owner_.exchanges;
    return read(column, row);
  }
  std::vector<Cell> cells(const std::vector<CellPos>& positions) override {
    ++owner_.exchanges;
    std::vector<Cell> out;
    for (const CellPos& p : positions) out.push_back(read(p.column, p.row));
    return out;
  }
  int usedRows() override { return book_.usedRows; }
  void exportFirstSheetPdf(const QString& pdfPath) override {
    check("storeToURL", {pdfPath});
    if (book_.failExport)
      throw WorkbookError("export refused", "storeToURL", "the office suite did not write the PDF",
                          {pdfPath, "calc_pdf_Export"});
    QFile f(pdfPath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      throw WorkbookError(f.errorString(), "storeToURL", "the PDF file could not be made", {pdfPath});
    f.write("%PDF-1.4\n% first sheet\n1 0 obj << /Type /Catalog >> endobj\n%%EOF\n");
    owner_.exported << pdfPath;
  }
  void close() override {
    if (closed_) return;
    closed_ = true;
    ++owner_.closed;
    --owner_.openNow;
  }

 private:
  void check(const char* operation, const QStringList& args) {
    if (closed_) throw WorkbookError("closed", operation, "the workbook is not open", args);
  }
  Cell read(int column, int row) {
    const QStringList args{QString::number(column), QString::number(row)};
    check("getCellByPosition", args);
    ++owner_.reads;
    if (owner_.onRead) owner_.onRead();
    const bool failing = book_.failAt && book_.failAt->column == column && book_.failAt->row == row;
    if (failing || column < 0 || row < 0)
      throw WorkbookError("IndexOutOfBoundsException", "getCellByPosition",
                          "the cell position is not on the sheet", args);
    const auto it = book_.cells.find({column, row});
    return it == book_.cells.end() ? Cell() : it->second;
  }

  FakeWorkbooks& owner_;
  FakeWorkbooks::Book book_;
  bool closed_ = false;
};

}  // namespace

FakeWorkbooks::Book& FakeWorkbooks::Book::put(const QString& address, const Cell& cell) {
  static const QRegularExpression a(QStringLiteral("^([A-Z]+)(\\d+)$"));
  const QRegularExpressionMatch m = a.match(address);
  if (!m.hasMatch()) {
    ADD_FAILURE() << "not a cell address: " << address.toStdString();
    return *this;
  }
  int column = 0;
  for (const QChar c : m.captured(1)) column = column * 26 + (c.unicode() - 'A' + 1);
  cells[{column - 1, m.captured(2).toInt() - 1}] = cell;
  return *this;
}

FakeWorkbooks::FakeWorkbooks() { platform::setWorkbookBackend(this); }
FakeWorkbooks::~FakeWorkbooks() { platform::setWorkbookBackend(nullptr); }

FakeWorkbooks::Book& FakeWorkbooks::book(const QString& path) {
  return books_[QFileInfo(path).absoluteFilePath()];
}

std::unique_ptr<platform::Workbook> FakeWorkbooks::open(const QString& path) {
  opened << path;
  const QString abs = QFileInfo(path).absoluteFilePath();
  const Book b = books_.value(abs);
  if (!QFileInfo(path).isFile() || b.failOpen)
    throw WorkbookError("no file", "loadComponentFromURL", "the workbook could not be loaded", {abs});
  ++openNow;
  return std::make_unique<FakeBook>(*this, b);
}

Cell emptyCell() { return Cell(); }

Cell textCell(const QString& text) {
  Cell c;
  c.kind = CellKind::Text;
  c.type = ValueType::Text;
  c.shown = text;
  c.value = text;
  return c;
}

Cell numberCell(double v, const QString& shown) {
  Cell c;
  c.kind = CellKind::Value;
  c.type = ValueType::Number;
  c.number = v;
  c.shown = shown.isEmpty() ? QString::number(v) : shown;
  c.value = v;
  return c;
}

Cell dateCell(const QDate& d, const QString& shown) {
  Cell c;
  c.kind = CellKind::Value;
  c.type = ValueType::Date;
  c.number = QDate(1899, 12, 30).daysTo(d);
  c.shown = shown;
  c.value = d;
  return c;
}

Cell dateTimeCell(const QDateTime& dt, const QString& shown) {
  Cell c = dateCell(dt.date(), shown);
  c.type = ValueType::DateTime;
  c.number += dt.time().msecsSinceStartOfDay() / 86400000.0;
  c.value = dt;
  return c;
}

Cell textFormula(const QString& result) {
  Cell c = textCell(result);
  c.kind = CellKind::Formula;
  return c;
}

Cell numberFormula(double v, const QString& shown) {
  Cell c = numberCell(v, shown);
  c.kind = CellKind::Formula;
  return c;
}

}  // namespace korvan::test
