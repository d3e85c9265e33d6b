#include "ui/dbgarray.h"
#include "common/variants.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/dates.h"
#include "common/msg.h"
#include "common/numbers.h"
#include "ui/stdqtw.h"

namespace korvan {
namespace {

constexpr int kRight = int(Qt::AlignRight | Qt::AlignVCenter);     // 130
constexpr int kLeft = int(Qt::AlignLeft | Qt::AlignVCenter);       // 129
constexpr int kCenter = int(Qt::AlignHCenter | Qt::AlignVCenter);  // 132

// The text a cell showed when it was made; edit mode writes back only the
// cells whose text (or box) differs from it.
constexpr int kShownRole = Qt::UserRole + 1;

std::optional<int> alignFromLetter(const QString& a) {
  if (a == QLatin1String("R")) return kRight;
  if (a == QLatin1String("L")) return kLeft;
  if (a == QLatin1String("C")) return kCenter;
  return std::nullopt;
}

// The form in which the diagnostic view shows any value.
QString debugText(const QVariant& v) {
  if (!v.isValid()) return QStringLiteral("NIL");
  if (IS_TEXT(v)) return TEXT_OF(v);
  if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral(".T.") : QStringLiteral(".F.");
  if (IS_NUMBER(v)) return STR(v.toDouble()).trimmed();
  if (v.typeId() == QMetaType::QDate) return DTOC(v.toDate());
  if (IS_LIST(v)) {
    QStringList parts;
    for (const QVariant& e : v.toList()) parts << debugText(e);
    return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
  }
  return QLatin1Char('<') + QString::fromLatin1(v.typeName()) + QLatin1Char('>');
}

class ArrayDialog : public QDialog {
 public:
  ArrayDialog(QVariantList& data, const std::optional<QFont>& font, bool pick,
              const QString& title, const QList<MyKOLONA>& kolone, bool keepWidths, bool edit,
              bool search);
  int answer() const;
  void UPISI_U_ANIZ();

 private:
  void POPUNI_OTWNIZ();
  void POSTAVI_KOLONU(int row, int column, const QVariant& value);

  QVariantList& data_;
  const bool pick_;
  const bool edit_;
  const QList<MyKOLONA> kolone_;
  const bool twoDim_;
  bool memo_ = false;
  int chosen_ = -1;  // the double-clicked row
  QTableWidget* table_ = nullptr;
  MyQTW search_;  // the work window's search, over this dialog's table
};

ArrayDialog::ArrayDialog(QVariantList& data, const std::optional<QFont>& font, bool pick,
                         const QString& title, const QList<MyKOLONA>& kolone, bool keepWidths,
                         bool edit, bool search)
    : data_(data), pick_(pick), edit_(edit), kolone_(kolone), twoDim_(IS_LIST(data.first())) {
  // The caption names the pick; a plain look at the values is "Debug array".
  setWindowTitle(pick ? title : QStringLiteral("Debug array"));
  if (font) setFont(*font);
  auto* lay = new QVBoxLayout(this);

  // The search bar.
  if (search) {
    auto* bar = new QHBoxLayout;
    search_.olblTRAZI = new QLabel(QString::fromUtf8("Traži:"), this);
    search_.oleTRAZI = new QLineEdit(this);
    const QIcon trazi(QStringLiteral(":/res/trazi.png"));
    search_.obTRAZI = new QPushButton(trazi, QString::fromUtf8("Nađi (F7)"), this);
    search_.obTRAZI->setShortcut(QKeySequence(Qt::Key_F7));
    search_.obSLEDECI = new QPushButton(trazi, QString::fromUtf8("Sledeći (F3)"), this);
    search_.obSLEDECI->setShortcut(QKeySequence(Qt::Key_F3));
    connect(search_.obTRAZI, &QPushButton::clicked, &search_, &MyQTW::TRAZI_PRVI);
    connect(search_.obSLEDECI, &QPushButton::clicked, &search_, &MyQTW::TRAZI_SLEDECI);
    connect(search_.oleTRAZI, &QLineEdit::textChanged, this, [this] { search_.qLIST_TRAZI.reset(); });
    bar->addWidget(search_.olblTRAZI);
    bar->addWidget(search_.oleTRAZI);
    bar->addWidget(search_.obTRAZI);
    bar->addWidget(search_.obSLEDECI);
    lay->addLayout(bar);
  }

  // The table and its columns.
  table_ = new QTableWidget(this);
  if (font) table_->setFont(*font);
  search_.oTABELA = table_;
  const int columns = twoDim_ ? int(data.first().toList().size()) : 1;
  table_->setColumnCount(columns);
  if (!kolone_.isEmpty()) {
    const double unit = NPOINTSIZE(table_) * 0.75;
    QStringList captions;
    for (int c = 0; c < columns; ++c)
      captions << (c < kolone_.size() ? kolone_[c].NASLOV : QString());
    table_->setHorizontalHeaderLabels(captions);
    for (int c = 0; c < columns && c < kolone_.size(); ++c)
      table_->setColumnWidth(c, SIRINA_KOLONE(kolone_[c], unit));
  }

  // One cell at a time is chosen; a look (not a pick) stretches the last column.
  table_->horizontalHeader()->setStretchLastSection(!pick);
  table_->setShowGrid(true);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setSelectionBehavior(QAbstractItemView::SelectItems);

  // The values; a memo among them wraps the cells and sizes the rows to them.
  POPUNI_OTWNIZ();
  if (memo_) {
    table_->setWordWrap(true);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
  }

  // A pick fits the columns to the values and is answered by a double click.
  if (pick) {
    if (!keepWidths) table_->resizeColumnsToContents();
    if (!edit)
      connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        chosen_ = row;
        accept();
      });
  }

  // Ok under the table; the dialog opens maximised.
  auto* ok = new QPushButton(QIcon(QStringLiteral(":/res/accept.png")), QStringLiteral("Ok"), this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  lay->addWidget(table_);
  lay->addWidget(ok);
  setWindowState(Qt::WindowMaximized);
}

void ArrayDialog::POPUNI_OTWNIZ() {
  table_->setRowCount(int(data_.size()));
  const int columns = table_->columnCount();
  for (int r = 0; r < data_.size(); ++r) {
    const QVariant& row = data_[r];
    if (!twoDim_ || !IS_LIST(row)) {
      // One value per row; in a list of rows, a lone value fills the first cell.
      POSTAVI_KOLONU(r + 1, 1, row);
      continue;
    }
    const QVariantList cells = row.toList();
    for (int c = 1; c <= columns && c <= cells.size(); ++c) {
      if (!kolone_.isEmpty() && c > kolone_.size()) break;
      POSTAVI_KOLONU(r + 1, c, cells[c - 1]);
    }
  }
}

void ArrayDialog::POSTAVI_KOLONU(int row, int column, const QVariant& value) {
  auto* item = new QTableWidgetItem;
  bool logical = false;
  if (!kolone_.isEmpty()) {
    if (column > kolone_.size()) {
      delete item;
      return;
    }
    const MyKOLONA& k = kolone_[column - 1];
    const std::optional<int> align = alignFromLetter(k.cALIGN);
    if (IS_TEXT(value)) {
      QString text = TEXT_OF(value);
      if (k.TIP == QLatin1String("M") && text.contains(QLatin1Char('\n'))) {
        // One line: each line break becomes one blank, so words stay apart.
        static const QRegularExpression lineBreak(QStringLiteral("[ \\t]*(\\r\\n|\\n|\\r)[ \\t]*"));
        text.replace(lineBreak, QStringLiteral(" "));
        memo_ = true;
      }
      item->setText(text);
      if (align) item->setTextAlignment(Qt::Alignment(*align));
    } else if (IS_NUMBER(value)) {
      item->setText(TRANSFORM(value.toDouble(), FORMIRAJ_PICT(k.DUZ, k.DEC, true, true)).trimmed());
      item->setTextAlignment(Qt::Alignment(align.value_or(kRight)));
    } else if (value.typeId() == QMetaType::Bool) {
      logical = true;
      item->setCheckState(value.toBool() ? Qt::Checked : Qt::Unchecked);
      if (align) item->setTextAlignment(Qt::Alignment(*align));
    } else if (value.typeId() == QMetaType::QDate) {
      item->setText(DTOC(value.toDate()));
      item->setTextAlignment(Qt::Alignment(align.value_or(kCenter)));
    }
    Qt::ItemFlags f = item->flags();
    if (k.lTOTAL) {
      f |= Qt::ItemIsEditable;
      if (logical) f |= Qt::ItemIsUserCheckable;
    } else {
      f &= ~(Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
    }
    item->setFlags(f);
  } else if (pick_) {
    if (IS_TEXT(value)) {
      item->setText(TEXT_OF(value));
    } else if (value.typeId() == QMetaType::QDate) {
      item->setText(DTOC(value.toDate()));
    } else if (IS_NUMBER(value)) {
      item->setText(STR(value.toDouble(), 10));
      item->setTextAlignment(Qt::Alignment(kRight));
    }
  } else {
    item->setText(debugText(value));
  }
  item->setData(kShownRole, logical ? QVariant(int(item->checkState())) : QVariant(item->text()));
  table_->setItem(row - 1, column - 1, item);
}

void ArrayDialog::UPISI_U_ANIZ() {
  // A cell is read back by its column's type, and only when the user changed it.
  auto readBack = [this](int r, int c) -> std::optional<QVariant> {
    if (c >= kolone_.size() || c >= table_->columnCount()) return std::nullopt;
    const QTableWidgetItem* item = table_->item(r, c);
    if (!item) return std::nullopt;
    const QString tip = kolone_[c].TIP;
    if (tip == QLatin1String("L")) {
      if (item->data(kShownRole).toInt() == int(item->checkState())) return std::nullopt;
      return item->checkState() == Qt::Checked;
    }
    if (item->text() == item->data(kShownRole).toString()) return std::nullopt;
    if (tip == QLatin1String("C") || tip == QLatin1String("M")) return item->text();
    if (tip == QLatin1String("N")) return INTELI_VAL(item->text());
    if (tip == QLatin1String("D")) return CTOD(item->text());
    return std::nullopt;  // a type this dialog does not know: keep the value
  };
  for (int r = 0; r < data_.size() && r < table_->rowCount(); ++r) {
    if (!twoDim_ || !IS_LIST(data_[r])) {
      if (auto v = readBack(r, 0)) data_[r] = *v;
      continue;
    }
    QVariantList cells = data_[r].toList();
    bool changed = false;
    for (int c = 0; c < cells.size(); ++c) {
      if (auto v = readBack(r, c)) {
        cells[c] = *v;
        changed = true;
      }
    }
    if (changed) data_[r] = cells;
  }
}

int ArrayDialog::answer() const {
  if (chosen_ >= 0) return chosen_ + 1;
  return table_->currentRow() + 1;
}

}  // namespace

int DISP_DEBUG_ARRAY(QVariantList& data, const std::optional<QFont>& font, bool pick,
                     const QString& title, const QList<MyKOLONA>& kolone, bool keepWidths,
                     bool edit, bool search) {
  if (data.isEmpty()) {
    MSG(pick ? QString::fromUtf8("Nema ništa za pregled!") : QStringLiteral("Prazan niz!"));
    return 0;
  }
  ArrayDialog d(data, font, pick, title, kolone, keepWidths, edit, search);
  // Closed: 0; edited: the values written back and 1; else the row (1-based).
  if (d.exec() != QDialog::Accepted) return 0;
  if (edit) {
    d.UPISI_U_ANIZ();
    return 1;
  }
  return d.answer();
}

}  // namespace korvan
