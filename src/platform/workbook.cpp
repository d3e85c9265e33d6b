#include "platform/workbook.h"

#include "platform/workbook_office.h"

namespace korvan::platform {

namespace {

std::string whatOf(const QString& lastError, const QString& operation,
                   const QString& description) {
  QString s = operation;
  if (!description.isEmpty()) s += (s.isEmpty() ? "" : ": ") + description;
  if (!lastError.isEmpty()) s += " (" + lastError + ")";
  return s.toStdString();
}

}  // namespace

WorkbookError::WorkbookError(QString lastError_, QString operation_,
                             QString description_, QStringList arguments_)
    : std::runtime_error(whatOf(lastError_, operation_, description_)),
      lastError(std::move(lastError_)),
      operation(std::move(operation_)),
      description(std::move(description_)),
      arguments(std::move(arguments_)) {}

std::vector<Cell> Workbook::cells(const std::vector<CellPos>& positions) {
  std::vector<Cell> out;
  out.reserve(positions.size());
  for (const CellPos& p : positions) out.push_back(cell(p.column, p.row));
  return out;
}

namespace {

WorkbookBackend* g_backend = nullptr;

}  // namespace

WorkbookBackend& workbookBackend() {
  static OfficeBackend real;
  return g_backend ? *g_backend : real;
}

void setWorkbookBackend(WorkbookBackend* b) { g_backend = b; }

}  // namespace korvan::platform
