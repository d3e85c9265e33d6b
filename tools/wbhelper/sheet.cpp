#include "sheet.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XUniqueCellFormatRangesSupplier.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/Date.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <osl/file.hxx>
#include <initializer_list>

using namespace css;
using rtl::OUString;

namespace wbhelper {

namespace {

beans::PropertyValue prop(const char* name, const uno::Any& value) {
  beans::PropertyValue p;
  p.Name = OUString::createFromAscii(name);
  p.Value = value;
  return p;
}

uno::Sequence<beans::PropertyValue> props(std::initializer_list<beans::PropertyValue> l) {
  return uno::Sequence<beans::PropertyValue>(l.begin(), static_cast<sal_Int32>(l.size()));
}

std::string position(int column, int row) {
  return std::to_string(column) + "\n" + std::to_string(row);
}

}  // namespace

Sheet::Sheet(const uno::Reference<uno::XComponentContext>& ctx, const std::string& url) {
  uno::Reference<frame::XComponentLoader> loader;
  try {
    loader.set(frame::Desktop::create(ctx), uno::UNO_QUERY_THROW);
  } catch (const uno::Exception&) {
    throw unoFailure("createInstance", "com.sun.star.frame.Desktop", "the office desktop is not there");
  }
  uno::Sequence<beans::PropertyValue> args = props({
      prop("Hidden", uno::Any(true)),
      prop("ReadOnly", uno::Any(true)),
      prop("MacroExecutionMode", uno::Any(document::MacroExecMode::NEVER_EXECUTE)),
      prop("UpdateDocMode", uno::Any(document::UpdateDocMode::NO_UPDATE)),
      prop("Silent", uno::Any(true))});
  try {
    doc_ = loader->loadComponentFromURL(fromUtf8(url), "_blank", 0, args);
  } catch (const uno::Exception&) {
    throw unoFailure("loadComponentFromURL", url, "the workbook could not be opened");
  }
  if (!doc_.is())
    throw Failure{"no document", "loadComponentFromURL", "the workbook could not be opened", url};
  try {
    uno::Reference<sheet::XSpreadsheetDocument> book(doc_, uno::UNO_QUERY);
    if (!book.is()) {
      close();
      throw Failure{"not a spreadsheet", "getSheets", "the file did not open as a workbook", url};
    }
    uno::Reference<container::XIndexAccess> sheets(book->getSheets(), uno::UNO_QUERY_THROW);
    if (sheets->getCount() < 1) {
      close();
      throw Failure{"no sheet", "getByIndex", "the workbook has no sheet", "0"};
    }
    sheet_.set(sheets->getByIndex(0), uno::UNO_QUERY_THROW);
    uno::Reference<frame::XModel> model(doc_, uno::UNO_QUERY);
    if (model.is()) {
      uno::Reference<sheet::XSpreadsheetView> view(model->getCurrentController(), uno::UNO_QUERY);
      if (view.is()) view->setActiveSheet(sheet_);
    }
    uno::Reference<util::XNumberFormatsSupplier> sup(doc_, uno::UNO_QUERY_THROW);
    formats_ = sup->getNumberFormats();
    util::Date d;
    if (sup->getNumberFormatSettings()->getPropertyValue("NullDate") >>= d) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.Year, d.Month, d.Day);
      nullDate_ = buf;
    }
  } catch (const Failure&) {
    throw;
  } catch (const uno::Exception&) {
    Failure f = unoFailure("getSheets", url, "the first sheet could not be read");
    close();
    throw f;
  }
}

Sheet::~Sheet() { close(); }

void Sheet::close() {
  if (!doc_.is()) return;
  uno::Reference<lang::XComponent> doc = doc_;
  doc_.clear();
  sheet_.clear();
  formats_.clear();
  try {
    uno::Reference<util::XCloseable> c(doc, uno::UNO_QUERY);
    if (c.is()) c->close(true);
    else doc->dispose();
  } catch (const uno::Exception&) {
    try {
      doc->dispose();
    } catch (...) {
    }
  }
}

int Sheet::valueType(const uno::Reference<uno::XInterface>& cell) {
  sal_Int32 key = 0;
  uno::Reference<beans::XPropertySet> props(cell, uno::UNO_QUERY_THROW);
  props->getPropertyValue("NumberFormat") >>= key;
  return typeOfFormat(key);
}

int Sheet::typeOfFormat(sal_Int32 key) {
  auto it = typeOfFormat_.find(key);
  if (it != typeOfFormat_.end()) return it->second;
  sal_Int16 t = 0;
  uno::Reference<beans::XPropertySet> f = formats_->getByKey(key);
  if (f.is()) f->getPropertyValue("Type") >>= t;
  int type = 1;
  if ((t & util::NumberFormat::DATETIME) == util::NumberFormat::DATETIME) type = 4;
  else if (t & util::NumberFormat::DATE) type = 3;
  typeOfFormat_[key] = type;
  return type;
}

namespace {

// Rows of fields of a comma-separated text with quoted fields (quotes doubled
// inside, line breaks allowed in them); lines end in LF or CR LF.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false, any = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (quoted) {
      if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"') field += '"', ++i;
      else if (ch == '"') quoted = false;
      else field += ch;
      continue;
    }
    if (ch == '"') {
      quoted = true;
    } else if (ch == ',') {
      row.push_back(std::move(field));
      field.clear();
    } else if (ch == '\n' || (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
      if (ch == '\r') ++i;
      row.push_back(std::move(field));
      field.clear();
      rows.push_back(std::move(row));
      row.clear();
      any = false;
      continue;
    } else {
      field += ch;
    }
    any = true;
  }
  if (any || !field.empty() || !row.empty()) {
    row.push_back(std::move(field));
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

bool Sheet::shownTable() {
  if (shownState_) return shownState_ > 0;
  shownState_ = -1;
  // A folder of its own: the export names its file after the sheet.
  std::string dir = std::string(P_tmpdir) + "/korvan-shown-XXXXXX";
  if (!::mkdtemp(dir.data())) return false;
  struct Remove {
    std::string dir;
    ~Remove() {
      std::error_code ec;
      std::filesystem::remove_all(dir, ec);
    }
  } remove{dir};
  OUString url;
  if (osl::FileBase::getFileURLFromSystemPath(fromUtf8(dir + "/shown.csv"), url) != osl::FileBase::E_None)
    return false;
  // Comma, quote, UTF-8, ..., cell contents as shown, the first sheet only.
  uno::Sequence<beans::PropertyValue> args = props({
      prop("FilterName", uno::Any(OUString("Text - txt - csv (StarCalc)"))),
      prop("FilterOptions", uno::Any(OUString("44,34,76,1,,0,false,true,true,false,false,1"))),
      prop("Overwrite", uno::Any(true))});
  try {
    uno::Reference<frame::XStorable> st(doc_, uno::UNO_QUERY_THROW);
    st->storeToURL(url, args);
  } catch (const uno::Exception&) {
    return false;
  }
  std::vector<std::filesystem::path> written;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec)) written.push_back(e.path());
  if (ec || written.size() != 1) return false;
  std::ifstream in(written[0], std::ios::binary);
  if (!in) return false;
  std::stringstream all;
  all << in.rdbuf();
  shown_ = parseCsv(all.str());
  shownState_ = 1;
  return true;
}

std::string Sheet::shownAt(int column, int row) const {
  if (row < 0 || column < 0 || static_cast<size_t>(row) >= shown_.size()) return {};
  const std::vector<std::string>& r = shown_[static_cast<size_t>(row)];
  return static_cast<size_t>(column) < r.size() ? r[static_cast<size_t>(column)] : std::string();
}

CellData Sheet::cell(int column, int row) {
  uno::Reference<table::XCell> c;
  try {
    c = sheet_->getCellByPosition(column, row);
  } catch (const uno::Exception&) {
    throw unoFailure("getCellByPosition", position(column, row), "the cell position is not on the sheet");
  }
  if (!c.is())
    throw Failure{"no cell", "getCellByPosition", "the cell position is not on the sheet", position(column, row)};
  try {
    CellData d;
    d.kind = static_cast<int>(c->getType());
    uno::Reference<text::XText> text(c, uno::UNO_QUERY_THROW);
    switch (c->getType()) {
      case table::CellContentType_EMPTY:
        break;
      case table::CellContentType_TEXT:
        d.type = 2;
        d.shown = toUtf8(text->getString());
        break;
      case table::CellContentType_VALUE:
        d.number = c->getValue();
        d.shown = toUtf8(text->getString());
        d.type = valueType(c);
        break;
      case table::CellContentType_FORMULA: {
        sal_Int32 result = 0;
        uno::Reference<beans::XPropertySet> props(c, uno::UNO_QUERY_THROW);
        props->getPropertyValue("FormulaResultType2") >>= result;
        d.shown = toUtf8(text->getString());
        if (result == sheet::FormulaResult::VALUE) {
          d.number = c->getValue();
          d.type = valueType(c);
        } else {
          d.type = result == sheet::FormulaResult::ERROR ? 5 : 2;  // an error shows as its text
        }
        break;
      }
      default:
        break;
    }
    return d;
  } catch (const uno::Exception&) {
    throw unoFailure("getType", position(column, row), "the cell could not be read");
  }
}

int Sheet::usedRows() {
  try {
    uno::Reference<sheet::XSheetCellCursor> cur = sheet_->createCursor();
    uno::Reference<sheet::XUsedAreaCursor> used(cur, uno::UNO_QUERY_THROW);
    used->gotoEndOfUsedArea(false);
    uno::Reference<sheet::XCellRangeAddressable> addr(cur, uno::UNO_QUERY_THROW);
    const table::CellRangeAddress a = addr->getRangeAddress();
    if (a.EndRow == 0 && a.EndColumn == 0 &&
        sheet_->getCellByPosition(0, 0)->getType() == table::CellContentType_EMPTY)
      return 0;
    return a.EndRow + 1;
  } catch (const uno::Exception&) {
    throw unoFailure("gotoEndOfUsedArea", "", "the used rows could not be found");
  }
}

void Sheet::exportFirstSheetPdf(const std::string& url) {
  uno::Sequence<beans::PropertyValue> filterData = props({prop("Selection", uno::Any(sheet_))});
  uno::Sequence<beans::PropertyValue> args = props({
      prop("FilterName", uno::Any(OUString("calc_pdf_Export"))),
      prop("FilterData", uno::Any(filterData)),
      prop("Overwrite", uno::Any(true))});
  try {
    uno::Reference<frame::XStorable> st(doc_, uno::UNO_QUERY_THROW);
    st->storeToURL(fromUtf8(url), args);
  } catch (const uno::Exception&) {
    throw unoFailure("storeToURL", url + "\ncalc_pdf_Export", "the PDF export failed");
  }
  // The export may report success without writing anything (a missing folder).
  OUString path;
  char head[4] = {};
  if (osl::FileBase::getSystemPathFromFileURL(fromUtf8(url), path) == osl::FileBase::E_None) {
    if (FILE* f = std::fopen(toUtf8(path).c_str(), "rb")) {
      if (std::fread(head, 1, 4, f) != 4) head[0] = 0;
      std::fclose(f);
    }
  }
  if (std::memcmp(head, "%PDF", 4) != 0)
    throw Failure{"no PDF", "storeToURL", "the office suite did not write the PDF", url + "\ncalc_pdf_Export"};
}

std::vector<CellData> Sheet::cells(const std::vector<std::pair<int, int>>& positions) {
  if (positions.empty()) return {};
  int c0 = positions[0].first, c1 = c0, r0 = positions[0].second, r1 = r0;
  for (const auto& [c, r] : positions) {
    c0 = std::min(c0, c), c1 = std::max(c1, c);
    r0 = std::min(r0, r), r1 = std::max(r1, r);
  }
  const long long area = static_cast<long long>(c1 - c0 + 1) * (r1 - r0 + 1);
  if (positions.size() >= 8 && c0 >= 0 && r0 >= 0 && area <= 2LL * static_cast<long long>(positions.size()) + 64) {
    try {
      return block(positions, c0, r0, c1, r1);
    } catch (const uno::Exception&) {
      // off the sheet or refused: the cell by cell path names the failing cell
    }
  }
  std::vector<CellData> out;
  out.reserve(positions.size());
  for (const auto& [c, r] : positions) out.push_back(cell(c, r));
  return out;
}

std::vector<CellData> Sheet::block(const std::vector<std::pair<int, int>>& positions, int c0,
                                   int r0, int c1, int r1) {
  const int w = c1 - c0 + 1, h = r1 - r0 + 1;
  uno::Reference<table::XCellRange> range = sheet_->getCellRangeByPosition(c0, r0, c1, r1);
  uno::Reference<sheet::XCellRangesQuery> query(range, uno::UNO_QUERY_THROW);
  // What each cell holds, from a few queries over the whole block.
  std::vector<int> kind(static_cast<size_t>(w) * h, 0), type(kind.size(), 0);
  auto mark = [&](const uno::Reference<sheet::XSheetCellRanges>& found, int k, int t) {
    if (!found.is()) return;
    const uno::Sequence<table::CellRangeAddress> a = found->getRangeAddresses();
    for (const table::CellRangeAddress& x : a)
      for (int r = std::max<int>(x.StartRow, r0); r <= std::min<int>(x.EndRow, r1); ++r)
        for (int c = std::max<int>(x.StartColumn, c0); c <= std::min<int>(x.EndColumn, c1); ++c) {
          const size_t i = static_cast<size_t>(r - r0) * w + (c - c0);
          if (k) kind[i] = k;
          type[i] = t;
        }
  };
  mark(query->queryContentCells(sheet::CellFlags::VALUE), 1, 1);
  mark(query->queryContentCells(sheet::CellFlags::DATETIME), 1, 3);  // date or date-time
  mark(query->queryContentCells(sheet::CellFlags::STRING), 2, 2);
  mark(query->queryContentCells(sheet::CellFlags::FORMULA), 3, 2);
  mark(query->queryFormulaCells(sheet::FormulaResult::VALUE), 0, 1);
  mark(query->queryFormulaCells(sheet::FormulaResult::ERROR), 0, 5);  // shown as its text

  uno::Reference<sheet::XCellRangeData> data(range, uno::UNO_QUERY_THROW);
  const uno::Sequence<uno::Sequence<uno::Any>> values = data->getDataArray();

  // The number format of every cell, from the block's groups of one format.
  std::vector<sal_Int32> format(kind.size(), 0);
  uno::Reference<sheet::XUniqueCellFormatRangesSupplier> groupsOf(range, uno::UNO_QUERY_THROW);
  uno::Reference<container::XIndexAccess> groups = groupsOf->getUniqueCellFormatRanges();
  for (sal_Int32 g = 0; g < groups->getCount(); ++g) {
    uno::Reference<sheet::XSheetCellRanges> ranges(groups->getByIndex(g), uno::UNO_QUERY_THROW);
    uno::Reference<beans::XPropertySet> p(ranges, uno::UNO_QUERY_THROW);
    sal_Int32 key = 0;
    p->getPropertyValue("NumberFormat") >>= key;
    for (const table::CellRangeAddress& x : ranges->getRangeAddresses())
      for (int r = std::max<int>(x.StartRow, r0); r <= std::min<int>(x.EndRow, r1); ++r)
        for (int c = std::max<int>(x.StartColumn, c0); c <= std::min<int>(x.EndColumn, c1); ++c)
          format[static_cast<size_t>(r - r0) * w + (c - c0)] = key;
  }
  bool asShown = shownTable();
  // The export stands where the sheet does: a plain text cell of the block
  // reads the same there, else the shown texts come from the cells.
  for (size_t i = 0; asShown && i < kind.size(); ++i) {
    if (kind[i] != 2) continue;
    const int r = r0 + static_cast<int>(i / w), c = c0 + static_cast<int>(i % w);
    OUString text;
    values[r - r0][c - c0] >>= text;
    const std::string plain = toUtf8(text);
    if (plain.find_first_of("\t\r\n\"") != std::string::npos) continue;
    asShown = shownAt(c, r) == plain;
    break;
  }

  std::vector<CellData> out;
  out.reserve(positions.size());
  for (const auto& [c, r] : positions) {
    const size_t i = static_cast<size_t>(r - r0) * w + (c - c0);
    CellData d;
    d.kind = kind[i];
    if (d.kind == 0) {
      out.push_back(d);
      continue;
    }
    const uno::Any& v = values[r - r0][c - c0];
    if (type[i] == 2) {  // text, or a formula's text: the data is the text
      d.type = 2;
      OUString text;
      v >>= text;
      // A formatted text gives its tabs and fields as placeholder characters
      // there; the cell itself gives them as they are.
      for (sal_Int32 k = 0; k < text.getLength(); ++k)
        if (text[k] < 0x20 && text[k] != '\n') {
          uno::Reference<text::XText> t(range->getCellByPosition(c - c0, r - r0), uno::UNO_QUERY_THROW);
          text = t->getString();
          break;
        }
      d.shown = toUtf8(text);
      out.push_back(d);
      continue;
    }
    // Numbers, dates and errors: the shown text from the export, else from the cell.
    if (asShown) {
      d.shown = shownAt(c, r);
    } else {
      uno::Reference<text::XText> t(range->getCellByPosition(c - c0, r - r0), uno::UNO_QUERY_THROW);
      d.shown = toUtf8(t->getString());
    }
    if (type[i] == 5) {
      d.type = 5;
    } else {
      v >>= d.number;
      d.type = (type[i] == 3 || d.kind == 3) ? typeOfFormat(format[i]) : 1;
    }
    out.push_back(d);
  }
  return out;
}

}  // namespace wbhelper
