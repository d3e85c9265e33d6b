// Cell addresses, column letters, the percentage rule and the two kinds'
// conversions of a cell, and the sheet reader's exchanges.
#include <gtest/gtest.h>

#include "support/fakeworkbook.h"
#include "windows/izsrc_cells.h"

using namespace korvan;
using namespace korvan::test;
using platform::Cell;

namespace {

TEST(IzsrcCells, ColumnLetters) {
  const QList<std::pair<const char*, int>> cases = {
      {"A", 1}, {"Z", 26}, {"AA", 27}, {"AZ", 52}, {"BA", 53}, {"ZZ", 702}, {"AB", 28},
      {"AMJ", 1024}, {"b", 2}, {"", 0}, {"B-", 0}, {" B", 0}, {"1", 0}};
  for (const auto& [letters, column] : cases) EXPECT_EQ(KOLONA_OD_SLOVA(letters), column) << letters;
}

TEST(IzsrcCells, CellAddresses) {
  struct Case {
    const char* text;
    bool ok;
    int row, column;
  };
  const Case cases[] = {
      {"B3", true, 3, 2},   {"AB12", true, 12, 28}, {"ZZ1", true, 1, 702},
      {"B3 ", false, 0, 0}, {"", false, 0, 0},      {"   ", false, 0, 0}, {"B", false, 0, 0},
      // Digits alone: an address without letters, whose column no sheet has.
      {"12", true, 12, 0},
  };
  for (const Case& c : cases) {
    int row = -7, column = -7;
    EXPECT_EQ(DOBAR_CEL(QString(c.text), row, column), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(row, c.row) << c.text;
      EXPECT_EQ(column, c.column) << c.text;
    }
  }
}

TEST(IzsrcCells, PercentageRule) {
  const QList<std::pair<double, double>> cases = {{0.2, 20}, {0.1, 10}, {0.5, 50}, {0, 0},
                                                  {1, 1},    {20, 20},  {-0.015, -1.5}};
  for (auto [in, out] : cases) {
    double v = in;
    PROCENTUJ(v);
    EXPECT_DOUBLE_EQ(v, out) << in;
  }
}

TEST(IzsrcCells, DatesAndPeriods) {
  EXPECT_EQ(IZSRC_DATUM("30.11.2022"), QDate(2022, 11, 30));
  EXPECT_EQ(IZSRC_DATUM(" 1.2.2022. "), QDate(2022, 2, 1));
  EXPECT_EQ(IZSRC_DATUM("11/30/22"), QDate());
  EXPECT_EQ(IZSRC_DATUM("11/12/22"), QDate()) << "a date in another order is no date";
  EXPECT_EQ(IZSRC_DATUM("31.02.2022"), QDate());
  EXPECT_EQ(IZSRC_DATUM("2022-11-30"), QDate());
  EXPECT_EQ(IZSRC_PERIOD("01.11.2022-30.11.2022"), QDate(2022, 11, 30));
  EXPECT_EQ(IZSRC_PERIOD("01.11.2022 - 30.11.2022"), QDate(2022, 11, 30));
  EXPECT_FALSE(IZSRC_PERIOD("30.11.2022").has_value());
  EXPECT_EQ(IZSRC_PERIOD("od-do"), QDate()) << "a dash without a date after it gives no date";
}

struct Conversion {
  const char* name;
  Cell cell;
  const char* type;
  bool noDecimals;
  QVariant office;  // the office-suite kind
  QVariant excel;   // the Excel kind
};

void PrintTo(const Conversion& c, std::ostream* os) { *os << c.name << " as " << c.type; }

class IzsrcConversion : public ::testing::TestWithParam<Conversion> {};

TEST_P(IzsrcConversion, BothKinds) {
  const Conversion& c = GetParam();
  const QVariant office = OO_VALUE(c.cell, c.type, c.noDecimals);
  const QVariant excel = XLS_CELL_VALUE(c.cell, c.type, c.noDecimals);
  EXPECT_EQ(office.typeId(), c.office.typeId());
  EXPECT_EQ(office, c.office);
  EXPECT_EQ(excel.typeId(), c.excel.typeId());
  EXPECT_EQ(excel, c.excel);
}

const QDate d30(2022, 11, 30);

Cell errorFormula(const QString& shown) {
  Cell c = textFormula(shown);
  c.type = platform::ValueType::Error;
  return c;
}

INSTANTIATE_TEST_SUITE_P(
    Cells, IzsrcConversion,
    ::testing::Values(
        Conversion{"empty", emptyCell(), "C", false, QString(), QString()},
        Conversion{"empty", emptyCell(), "N", false, 0.0, 0.0},
        Conversion{"empty", emptyCell(), "D", false, QDate(), QDate()},
        Conversion{"pib", numberCell(123456789), "C", true, "123456789", "123456789"},
        Conversion{"invoice number", numberCell(15), "C", false, "15.00", "15.00"},
        Conversion{"half up", numberCell(2.5), "C", true, "3", "3"},
        Conversion{"padded text", textCell(" A-1 "), "C", false, " A-1 ", "A-1"},
        Conversion{"comma decimal", textCell("2,5"), "N", false, 2.5, 2.5},
        Conversion{"point decimal", textCell("1.5"), "N", false, 1.5, 1.5},
        Conversion{"word", textCell("kom"), "N", false, 0.0, 0.0},
        Conversion{"date shown dd.mm.yyyy", dateCell(d30, "30.11.2022"), "D", false, d30, d30},
        // The office-suite kind reads the date the cell shows; Excel has the value.
        Conversion{"date shown 11/30/22", dateCell(d30, "11/30/22"), "D", false, QDate(), d30},
        Conversion{"date-time", dateTimeCell(QDateTime(d30, QTime(14, 30)), "30.11.2022 14:30"), "D", false,
                   QDate(), d30},
        Conversion{"text date", textCell("30.11.2022"), "D", false, d30, d30},
        Conversion{"text not a date", textCell("sutra"), "D", false, QDate(), QDate()},
        Conversion{"text formula", textFormula(QString::fromUtf8("Račun 15/2022")), "C", false,
                   QString::fromUtf8("Račun 15/2022"), QString::fromUtf8("Račun 15/2022")},
        Conversion{"text formula as number", textFormula("12,5"), "N", false, 12.5, 12.5},
        Conversion{"number formula", numberFormula(125), "N", false, 125.0, 125.0},
        Conversion{"number formula", numberFormula(125), "C", false, "125.00", "125.00"},
        // An error result reads as the text it shows.
        Conversion{"error formula", errorFormula("#DIV/0!"), "C", false, "#DIV/0!", "#DIV/0!"},
        Conversion{"error formula as number", errorFormula("#DIV/0!"), "N", false, 0.0, 0.0}));

TEST(IzsrcCells, ErrorText) {
  const platform::WorkbookError e("IndexOutOfBoundsException", "getCellByPosition",
                                  "the cell position is not on the sheet", {"-1", "4"});
  EXPECT_EQ(IZSRC_GRESKA(e),
            "IndexOutOfBoundsException\ngetCellByPosition\nthe cell position is not on the sheet\n{\"-1\", \"4\"}");
}

// A workbook whose batch reads can be made to fail as a helper that ended would.
class EndingBook : public platform::Workbook {
 public:
  Cell cell(int column, int row) override {
    ++singles;
    if (ended) throw platform::WorkbookError("closed", "getCellByPosition", "the workbook is not open");
    if (column < 0) throw platform::WorkbookError("bad", "getCellByPosition", "not on the sheet");
    return numberCell(column * 100 + row);
  }
  std::vector<Cell> cells(const std::vector<platform::CellPos>& p) override {
    ++batches;
    if (endOnBatch) {
      ended = true;
      throw platform::WorkbookError("time-out", "getCellByPosition", "no answer within 60 s");
    }
    return Workbook::cells(p);
  }
  int usedRows() override { return 0; }
  void exportFirstSheetPdf(const QString&) override {}
  void close() override {}
  bool endOnBatch = false, ended = false;
  int singles = 0, batches = 0;
};

TEST(IzsrcSheetReader, AnswersFromOneExchangeAndStopsAtTheCellThatFails) {
  EndingBook book;
  IzsrcSheet sheet(book);
  sheet.prefetch({{1, 2}, {3, 4}});
  EXPECT_EQ(sheet.cell(3, 4).number, 304);
  EXPECT_EQ(sheet.cell(1, 2).number, 102);
  EXPECT_EQ(book.batches, 1);
  EXPECT_EQ(book.singles, 2) << "the batch's own reads only";
  EXPECT_EQ(sheet.cell(5, 6).number, 506) << "a cell not asked for is read alone";

  // A bad position in the batch: the cells before it still read, it fails itself.
  sheet.prefetch({{1, 1}, {-1, 1}, {2, 1}});
  EXPECT_EQ(sheet.cell(1, 1).number, 101);
  try {
    sheet.cell(-1, 1);
    ADD_FAILURE() << "no error";
  } catch (const platform::WorkbookError& e) {
    EXPECT_EQ(e.lastError, "bad");
  }
}

TEST(IzsrcSheetReader, AnExchangeThatEndedTheWorkbookIsTheErrorShown) {
  EndingBook book;
  book.endOnBatch = true;
  IzsrcSheet sheet(book);
  sheet.prefetch({{1, 1}, {2, 1}});
  try {
    sheet.cell(1, 1);
    ADD_FAILURE() << "no error";
  } catch (const platform::WorkbookError& e) {
    EXPECT_EQ(e.lastError, "time-out") << "not the later 'workbook is not open'";
  }
}

}  // namespace
