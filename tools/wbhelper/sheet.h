#pragma once
// One workbook loaded hidden, read-only, macros off; reads of its first sheet.
#include "office.h"

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace wbhelper {

// Cell kinds as the office reports them; value types as the client knows them.
struct CellData {
  int kind = 0;  // 0 empty, 1 value, 2 text, 3 formula
  int type = 0;  // 0 empty, 1 number, 2 text, 3 date, 4 date-time, 5 error
  double number = 0;
  std::string shown;
};

class Sheet {
 public:
  // Throws Failure.
  Sheet(const css::uno::Reference<css::uno::XComponentContext>& ctx, const std::string& url);
  ~Sheet();
  Sheet(const Sheet&) = delete;
  Sheet& operator=(const Sheet&) = delete;

  std::string nullDate() const { return nullDate_; }
  CellData cell(int column, int row);
  // Many cells; a dense block is read with a few range calls instead of
  // several calls per cell. Same order as asked.
  std::vector<CellData> cells(const std::vector<std::pair<int, int>>& positions);
  int usedRows();
  void exportFirstSheetPdf(const std::string& url);
  void close();  // safe twice

 private:
  int valueType(const css::uno::Reference<css::uno::XInterface>& cell);
  int typeOfFormat(sal_Int32 key);
  // The first sheet's used area as every cell shows it, from one export as
  // text, made on first use and kept (the workbook is read-only); false when
  // the export failed (the cells then give their texts one by one).
  bool shownTable();
  std::string shownAt(int column, int row) const;
  std::vector<CellData> block(const std::vector<std::pair<int, int>>& positions, int c0, int r0,
                              int c1, int r1);

  css::uno::Reference<css::lang::XComponent> doc_;
  css::uno::Reference<css::sheet::XSpreadsheet> sheet_;
  css::uno::Reference<css::util::XNumberFormats> formats_;
  std::map<sal_Int32, int> typeOfFormat_;
  int shownState_ = 0;  // 0 not tried, 1 made, -1 failed
  std::vector<std::vector<std::string>> shown_;  // [row][column]
  std::string nullDate_ = "1899-12-30";
};

}  // namespace wbhelper
