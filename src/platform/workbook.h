#pragma once
// Reading workbooks (.xls, .xlsx, .xlsb, .ods) through an office suite run
// headless by a helper program. One open workbook is one document in one
// helper process; closing it (or destroying the object) ends both, unless
// the backend is held (holdEngine), which keeps the helper for the next open.
// Only the first sheet is read; nothing is ever written into the workbook.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <stdexcept>
#include <vector>

namespace korvan::platform {

// A failure of the automation: what the error box of a read shows.
struct WorkbookError : std::runtime_error {
  WorkbookError(QString lastError, QString operation, QString description,
                QStringList arguments = {});
  QString lastError;    // the automation layer's text for its last error
  QString operation;    // the failing operation ("loadComponentFromURL", ...)
  QString description;  // what went wrong
  QStringList arguments;
};

// What a cell holds, as the office suite reports it.
enum class CellKind { Empty = 0, Value = 1, Text = 2, Formula = 3 };

// The type of a cell's value (for a formula, of its result). Error: a formula
// whose result is an error, shown as its text ("#DIV/0!").
enum class ValueType { Empty, Number, Text, Date, DateTime, Error };

struct Cell {
  CellKind kind = CellKind::Empty;
  ValueType type = ValueType::Empty;
  double number = 0;  // the numeric value (0 for text); a date's serial number
  QString shown;      // the text the cell shows, as formatted
  // The value the way a spreadsheet's Value property gives it: invalid when
  // empty, double for numbers, QString for text and errors, QDate for dates, QDateTime
  // for date-times.
  QVariant value;
};

// A position on the first sheet, 0-based.
struct CellPos {
  int column = 0;
  int row = 0;
};

class Workbook {
 public:
  virtual ~Workbook() = default;
  // One cell of the first sheet; throws WorkbookError (bad position, engine gone).
  virtual Cell cell(int column, int row) = 0;
  // Many cells in one exchange with the helper; same order as asked.
  virtual std::vector<Cell> cells(const std::vector<CellPos>& positions);
  // The number of used rows of the first sheet (1-based last used row; 0 when empty).
  virtual int usedRows() = 0;
  // Exports the first sheet as PDF to pdfPath; throws WorkbookError when the
  // file was not written anew or does not begin with "%PDF".
  virtual void exportFirstSheetPdf(const QString& pdfPath) = 0;
  // Closes the document and ends the helper; safe twice.
  virtual void close() = 0;
};

class WorkbookBackend {
 public:
  virtual ~WorkbookBackend() = default;
  // Opens the workbook hidden, read-only, macros off; throws WorkbookError.
  virtual std::unique_ptr<Workbook> open(const QString& path) = 0;
  // Holds (counted) are taken by windows that read workbooks again and again:
  // while one is held, a closed workbook may leave its engine running for the
  // next open, and the last release ends what is left. Nothing is kept by default.
  virtual void holdEngine() {}
  virtual void releaseEngine() {}
};

// The backend in force (the office-suite helper unless a test installed another).
WorkbookBackend& workbookBackend();
// Installs b (not owned); nullptr puts the real backend back.
void setWorkbookBackend(WorkbookBackend* b);

}  // namespace korvan::platform
