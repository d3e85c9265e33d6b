// Reading the workbook into the window: the header cells, the line rows and
// the offer to export the workbook as its PDF.
#include <QApplication>
#include <QDateEdit>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableWidget>

#include "common/dates.h"
#include "common/msg.h"
#include "common/numbers.h"
#include "common/picture.h"
#include "platform/workbook.h"
#include "windows/izsrc.h"
#include "windows/izsrc_cells.h"
#include "windows/izsrc_fields.h"

namespace korvan {

using platform::CellPos;
using platform::WorkbookError;

namespace {

// The busy cursor of a read, restored however the read ends.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { restore(); }
  void restore() {
    if (on_) QApplication::restoreOverrideCursor();
    on_ = false;
  }

 private:
  bool on_ = true;
};

// Rows of the line table asked for in one exchange.
constexpr int kRowsPerExchange = 100;

int clampRow(double v) { return int(qBound(-1073741824.0, v, 1073741824.0)); }

}  // namespace

QVariant MyIZSRC::UZMI_CEL(IzsrcSheet& sheet, int row, int column, const QString& type, bool lNoDecimals) {
  const platform::Cell c = sheet.cell(column - 1, row - 1);
  return lODS ? OO_VALUE(c, type, lNoDecimals) : XLS_CELL_VALUE(c, type, lNoDecimals);
}

void MyIZSRC::readHeader(IzsrcSheet& sheet) {
  std::vector<CellPos> wanted;
  for (const izsrc::HeaderField& f : izsrc::headerFields()) {
    int row = 0, column = 0;
    if (DOBAR_CEL(this->*f.address, row, column)) wanted.push_back({column - 1, row - 1});
  }
  sheet.prefetch(wanted);

  for (const izsrc::HeaderField& f : izsrc::headerFields()) {
    int row = 0, column = 0;
    const bool has = DOBAR_CEL(this->*f.address, row, column);
    if (f.text) {
      const bool whole = f.read == izsrc::Read::Whole;
      (this->*f.text)->setText(has ? UZMI_CEL(sheet, row, column, QStringLiteral("C"), whole).toString() : QString());
      continue;
    }
    QDateEdit* edit = this->*f.date;
    if (!has) {
      edit->setDate(TODAY());
      continue;
    }
    QDate d;
    std::optional<QDate> period;
    if (f.read == izsrc::Read::Period)
      period = IZSRC_PERIOD(UZMI_CEL(sheet, row, column, QStringLiteral("C"), true).toString());
    d = period ? *period : UZMI_CEL(sheet, row, column, QStringLiteral("D")).toDate();
    // No date in the cell: the edit goes on showing what it showed.
    if (d.isValid()) edit->setDate(d);
  }
}

void MyIZSRC::POPUNI_TABELU(IzsrcSheet& sheet) {
  oTABELA->setRowCount(0);
  const double first = INTELI_VAL(olePOC_RED->text()), last = INTELI_VAL(oleKRAJ_RED->text());
  if (EQ(first, 0) || EQ(last, 0)) return;

  struct Column {
    QString field;
    int number = 0;  // 0: no letters, the default
    QString type;
    bool noDecimals = false;
    bool percent = false;
    double fallback = 0;
  };
  QList<Column> columns;
  for (const MyKOLONA& k : aKOLONE) {
    Column c;
    c.field = k.POLJE;
    for (const izsrc::LineColumn& l : izsrc::lineColumns())
      if (k.POLJE == QLatin1String(l.field)) {
        const QString letters = (this->*l.letters)->text().trimmed();
        // Blank letters take the default; other letters name a column (0 for none, a bad position).
        c.number = letters.isEmpty() ? -1 : KOLONA_OD_SLOVA(letters);
      }
    c.type = k.TIP == u"C" ? QStringLiteral("C") : QStringLiteral("N");
    c.noDecimals = k.TIP == u"C";
    c.percent = k.POLJE == u"RABATP" || k.POLJE == u"STOPA";
    if (k.POLJE == u"STOPA" && lFIRMA_OBVPDV) c.fallback = 20;
    columns.append(c);
  }

  const int r0 = clampRow(first), r1 = clampRow(last);
  int n = 0;
  for (qint64 r = r0; r <= r1; ++r, ++n) {
    if (n % kRowsPerExchange == 0) {
      std::vector<CellPos> wanted;
      for (qint64 rr = r; rr <= r1 && rr < r + kRowsPerExchange; ++rr)
        for (const Column& c : columns)
          if (c.number >= 0) wanted.push_back({c.number - 1, int(rr) - 1});
      sheet.prefetch(wanted);
    }
    oTABELA->setRowCount(n + 1);
    for (const Column& c : columns) {
      QVariant value;
      if (c.number < 0) {
        value = c.type == u"C" ? QVariant(QString()) : QVariant(c.fallback);
      } else {
        value = UZMI_CEL(sheet, int(r), c.number, c.type, c.noDecimals);
        if (c.percent) {
          double v = value.toDouble();
          PROCENTUJ(v);
          value = v;
        }
        // A formula's error stays visible, so the build refuses it instead of reading 0.
        if (c.type == u"N") {
          const platform::Cell raw = sheet.cell(c.number - 1, int(r) - 1);
          if (raw.type == platform::ValueType::Error || FORMULA_ERROR(raw.shown)) value = raw.shown.trimmed();
        }
      }
      POSTAVI_KOLONU(aKOLONE, c.field, value, n, QString::number(n + 1), std::nullopt, std::nullopt,
                     std::nullopt, true);
    }
  }
}

void MyIZSRC::PROBAJ_SNIMI_KAO_PDF(const QString& sourcePath, platform::Workbook& book) {
  const QString pdf = IZSRC_TWIN(sourcePath, QStringLiteral(".pdf"));
  if (QFileInfo::exists(pdf)) return;
  if (!MSGYESNO(QString::fromUtf8("Ne postoji pripadajući PDF fajl.\nDa li želite kreiranje PDF fajla?"))) return;
  BusyCursor busy;
  book.exportFirstSheetPdf(pdf);
}

void MyIZSRC::PREPOZNAJ_VREDNOSTI(bool lSkipPdfOffer) {
  if (cFAJL_SRC.isEmpty() || !QFileInfo(cFAJL_SRC).isFile()) {
    MSG(QStringLiteral("Ne postoji %1 fajl!").arg(VRSTA()));
    return;
  }
  BusyCursor busy;
  std::unique_ptr<platform::Workbook> book;
  bool read = false;
  auto fail = [&](const QString& text) {
    // A read that stopped part-way leaves a mix in the window: no invoice
    // is made of it until a read succeeds.
    if (!read) lUCITANO = false;
    busy.restore();
    if (book) {
      try {
        book->close();
      } catch (const std::exception&) {
        // the layer ends the helper in any case
      }
    }
    MSG(text);
  };
  try {
    book = platform::workbookBackend().open(cFAJL_SRC);
    IzsrcSheet sheet(*book);
    readHeader(sheet);
    POPUNI_TABELU(sheet);
    read = true;
    lUCITANO = true;
    busy.restore();
    if (!lSkipPdfOffer) PROBAJ_SNIMI_KAO_PDF(cFAJL_SRC, *book);
    book->close();
  } catch (const WorkbookError& e) {
    fail(IZSRC_GRESKA(e));
  } catch (const std::exception& e) {
    fail(IZSRC_GRESKA(WorkbookError(QString::fromLocal8Bit(e.what()), QStringLiteral("PREPOZNAJ_VREDNOSTI"),
                                    QStringLiteral("the workbook could not be read"), {cFAJL_SRC})));
  }
}

}  // namespace korvan
