// The free-entry window's fiscal receipt import: the link typed or pasted,
// or picked from the exchange folder of scanned links; what the page gave,
// shown for confirmation; then the buyer, the date of supply and the lines
// written into the window.
#include "windows/slobun_receipt.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "common/dates.h"
#include "common/money.h"
#include "common/msg.h"
#include "common/picture.h"
#include "receipts/libqum2kor.h"
#include "receipts/qumfolder.h"
#include "ui/kolona.h"
#include "ui/sq.h"
#include "windows/slobun.h"
#include "windows/slobun_grid.h"
#include "windows/slobun_tables.h"

namespace korvan {

QString DAT_VREME_NORMAL(const QString& name) {
  const qsizetype point = name.indexOf(u'.');
  if (point < 0) return name;
  const QString stem = name.left(point);
  const QStringList p = stem.split(u'_');
  if (p.size() != 6) return stem;
  return p[2] + u'.' + p[1] + u'.' + p[0] + u' ' + p[3] + u':' + p[4] + u':' + p[5];
}

ReceiptRowAmounts receiptRowAmounts(double lineTotal, double rate, double quantity) {
  ReceiptRowAmounts a;
  a.value = lineTotal;
  a.base = ROUND(DIV0(lineTotal, 1 + rate / 100), 2);
  a.beforeDiscount = ROUND(DIV0(a.base, 1 - 0.0 / 100), 2);
  a.price = ROUND(DIV0(a.beforeDiscount, quantity), 4);
  return a;
}

namespace {

QString text(const char* s) { return QString::fromUtf8(s); }

QString markStart() { return QString(20, u'='); }
QString markEnd() { return QString(20, u'-'); }

// The delete button of the scanned-link list: every checked file is deleted
// in the folder, from the last checked to the first; what the server deleted
// leaves the name list, the entries and the list, what it refused stays.
// Each list item carries its file name, so the entries left still stand for
// their own files.
void BRISI_SELEKTOVANO(const SqEditors& editors, int row, QStringList& names, QVariantList& entries,
                       const QString& folder, const QString& pib) {
  QPointer<QListWidget> list =
      row >= 1 && row <= editors.size() ? qobject_cast<QListWidget*>(editors[row - 1].data()) : nullptr;
  QStringList checked;
  for (int i = 0; list && i < list->count(); ++i)
    if (list->item(i)->checkState() == Qt::Checked) checked << list->item(i)->whatsThis();
  if (checked.isEmpty()) {
    MSG(text("Nema ništa čekirano!"));
    return;
  }
  for (qsizetype i = checked.size() - 1; i >= 0; --i) {
    const QString& name = checked[i];
    if (!QUM2KOR_BRISI_FTP_FAJL(name, folder, pib)) continue;
    names.removeAll(name);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&name](const QVariant& e) { return e.toList().value(0).toString() == name; }),
                  entries.end());
    // The list is looked at again after the server's answer: the wait ran the event loop.
    for (int j = 0; list && j < list->count(); ++j)
      if (list->item(j)->whatsThis() == name) {
        delete list->takeItem(j);
        break;
      }
  }
}

// The columns of the confirmation's item table.
QList<MyKOLONA> itemColumns() {
  auto k = [](const char* f, const char* c, const char* t, int len, int dec) {
    return MyKOLONA::New(QString::fromLatin1(f), QString::fromUtf8(c), QString::fromLatin1(t), len, dec);
  };
  return {k("NAZIV", "Naziv", "C", 30, 0),       k("JMERE", "J.m.", "C", 4, 0),
          k("STOPA", "% PDV", "N", 7, 3),        k("KOLICINA", "Količina", "N", 10, 3),
          k("CENA", "Cena", "N", 10, 2),         k("VREDNOST", "Vrednost", "N", 10, 2)};
}

QLineEdit* shown(const QString& value, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* e = new QLineEdit(value);
  e->setReadOnly(true);
  e->setAlignment(alignment);
  return e;
}

}  // namespace

bool MySLOBUN::DEKODIRAJ_PURS(const QString& link) {
  QString qr = link;
  QString start = GETINI(QStringLiteral("QR_POCINJE"), cSEKCIJA, markStart());
  QString end = GETINI(QStringLiteral("QR_ZAVRSAVA"), cSEKCIJA, markEnd());
  const SqButton paste{QStringLiteral("Nanesi"), QStringLiteral(":/res/paste.png"),
                       [](const SqEditors& editors, int row) {
                         if (auto* e = qobject_cast<QPlainTextEdit*>(editors.value(row - 1).data())) e->paste();
                       }};
  if (!SQ({{.label = QStringLiteral("Link od QR koda"), .value = SQ_VAR(qr), .option = true, .minWidth = 50,
            .button = paste},
           {.label = text("Artikli počinju od"), .value = SQ_VAR(start), .minWidth = 40},
           {.label = text("Artikli završavaju sa"), .value = SQ_VAR(end), .minWidth = 40}},
          QStringLiteral(":/res/paste.png"), oFont, QStringLiteral("Podaci iz eFiskalnog")))
    return false;
  // Kept for the next import, also when this one fails.
  PUTINI(QStringLiteral("QR_POCINJE"), cSEKCIJA, start);
  PUTINI(QStringLiteral("QR_ZAVRSAVA"), cSEKCIJA, end);

  QString buyerId, jbkjs;
  QDate date;
  double total = 0;
  QList<ReceiptItem> items;
  if (!QUM2KOR_DEKODIRAJ(qr, start, end, buyerId, jbkjs, date, total, items)) return false;
  if (!UPIT_POPUNI(buyerId, jbkjs, date, total, items)) return false;
  POPUNI_IZ_DEKOD(buyerId, jbkjs, items, date);
  return true;
}

bool MySLOBUN::UPIT_POPUNI(const QString& buyerId, const QString& jbkjs, const QDate& date, double total,
                           const QList<ReceiptItem>& items) {
  QDialog dlg(oMainWnd.data());
  dlg.setWindowTitle(QStringLiteral("Prepoznati podaci iz eFiskalnog"));
  dlg.setWindowIcon(QIcon(QStringLiteral(":/res/2levo.png")));
  dlg.setFont(oFont);
  auto* grid = new QGridLayout(&dlg);
  grid->addWidget(new QLabel(QStringLiteral("PIB kupca:")), 0, 0);
  grid->addWidget(shown(buyerId), 0, 1);
  if (!jbkjs.isEmpty()) {
    grid->addWidget(new QLabel(QStringLiteral("JBKJS kupca:")), 1, 0);
    grid->addWidget(shown(jbkjs), 1, 1);
  }
  grid->addWidget(new QLabel(QStringLiteral("Datum prometa:")), 2, 0);
  grid->addWidget(shown(DTOC(date), Qt::AlignCenter), 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("Ukupan iznos:")), 3, 0);
  grid->addWidget(shown(TRANSFORM(total, QStringLiteral("@E 999,999,999,999.99")).trimmed(),
                        Qt::AlignRight | Qt::AlignVCenter),
                  3, 1);

  const QList<MyKOLONA> k = itemColumns();
  auto* table = new QTableWidget(int(items.size()), int(k.size()));
  table->setFont(oFont);
  QStringList heads;
  for (const MyKOLONA& c : k) heads << c.NASLOV;
  table->setHorizontalHeaderLabels(heads);
  table->verticalHeader()->hide();
  table->setShowGrid(true);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const double unit = NPOINTSIZE(&dlg);
  int width = 0;
  for (int c = 0; c < k.size(); ++c) {
    const int w = int(k[c].DUZ * unit);
    table->setColumnWidth(c, w);
    width += w;
  }
  table->horizontalHeader()->setStretchLastSection(true);
  for (int r = 0; r < items.size(); ++r) {
    const ReceiptItem& it = items[r];
    const QVariant values[] = {it.name, it.unit, it.rate, it.quantity, it.price, it.total};
    for (int c = 0; c < k.size(); ++c) {
      const bool number = k[c].TIP == u"N";
      auto* cell = new QTableWidgetItem(number ? SLOBUN_PRIKAZ(k[c], values[c].toDouble()) : values[c].toString());
      cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      if (number) cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table->setItem(r, c, cell);
    }
  }
  grid->addWidget(table, 4, 0, 1, 2);

  auto* cancel = new QPushButton(QIcon(QStringLiteral(":/res/izlaz.png")), QStringLiteral("Odustani"));
  auto* accept = new QPushButton(QIcon(QStringLiteral(":/res/accept.png")), text("Upiši"));
  accept->setDefault(true);
  connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
  connect(accept, &QPushButton::clicked, &dlg, &QDialog::accept);
  grid->addWidget(cancel, 5, 0);
  grid->addWidget(accept, 5, 1);
  dlg.resize(width + 32, 400);
  return dlg.exec() == QDialog::Accepted;
}

void MySLOBUN::POPUNI_IZ_DEKOD(const QString& buyerId, const QString& jbkjs, const QList<ReceiptItem>& items,
                               const QDate& date) {
  const int maxRed = SLOBUN_MAX_RED(GETINI(QStringLiteral("MAX_RED"), cSEKCIJA, QStringLiteral("20")));

  bool opened = false;
  if (OTVORI_KOMIT(opened)) {
    const std::optional<SlobunKupac> k = NADJI_KOMIT(buyerId);
    const SlobunKupac b = k ? *k : SlobunKupac{.pib = buyerId, .jbkjs = jbkjs};
    oleKOMIT_NAZIV->setText(b.naziv);
    oleKOMIT_PIB->setText(b.pib);
    oleKOMIT_MESTO->setText(b.mesto);
    oleKOMIT_ADRESA->setText(b.adresa);
    oleKOMIT_POST_BROJ->setText(b.postBroj);
    oleKOMIT_EMAIL->setText(b.email);
    oleKOMIT_MATBROJ->setText(b.matbroj);
    oleKOMIT_JBKJS->setText(b.jbkjs);
    oleUGOVOR->setText(b.ugovor);
    ZATVORI_AKO(QStringLiteral("KOMIT"), opened);
  }
  odteDATPROM->setDate(date);

  POPUNI_TABELU(false);
  lPROGRAMSKI = true;
  if (items.size() > maxRed) oTABELA->setRowCount(int(items.size()));
  for (int i = 0; i < items.size(); ++i) {
    const ReceiptItem& it = items[i];
    const int row = i + 1;
    const ReceiptRowAmounts a = receiptRowAmounts(it.total, it.rate, it.quantity);
    PISI_VREDNOST(QStringLiteral("ART_SIFRA"), QString(), row);
    PISI_VREDNOST(QStringLiteral("ART_NAZIV"), it.name, row);
    PISI_VREDNOST(QStringLiteral("ART_BARKOD"), QString(), row);
    PISI_VREDNOST(QStringLiteral("ART_JMERE"), it.unit, row);
    PISI_VREDNOST(QStringLiteral("KOLICINA"), it.quantity, row);
    PISI_VREDNOST(QStringLiteral("CENB"), a.price, row);
    PISI_VREDNOST(QStringLiteral("STOPA"), it.rate, row);
    PISI_VREDNOST(QStringLiteral("VREDB"), a.beforeDiscount, row);
    PISI_VREDNOST(QStringLiteral("RABATP"), 0.0, row);
    PISI_VREDNOST(QStringLiteral("OSN"), a.base, row);
    PISI_VREDNOST(QStringLiteral("VREDP"), a.value, row);
    MENJAJ_ZAVISNE(row, QStringLiteral("VREDP"));
  }
  AZU_ZBIR();
  lPROGRAMSKI = false;
}

void MySLOBUN::PREUZMI_QUMIR() {
  const QString pib = GETINI(QStringLiteral("PIB"), QStringLiteral("Firma"));
  QString folder;
  QumEntries listed;
  if (!QUM2KOR_VRATI_FAJLOVE(pib, folder, listed)) return;

  QStringList names;
  for (const QString& name : listed.keys())
    if (name.endsWith(QStringLiteral(".web"), Qt::CaseInsensitive)) names << name;
  std::sort(names.begin(), names.end(), std::greater<QString>());
  QVariantList entries;
  for (const QString& name : names) entries << QVariant(QVariantList{name, DAT_VREME_NORMAL(name), false});

  // The row's variable is the list as shown at first; Ok stores the checked
  // file names in it.
  QVariant choice = entries;
  const SqButton remove{text("Briši selektovane"), QStringLiteral(":/res/brisi.png"),
                        [&](const SqEditors& editors, int row) {
                          BRISI_SELEKTOVANO(editors, row, names, entries, folder, pib);
                        }};
  if (!SQ({{.label = QStringLiteral("Izaberite skenirano"), .value = SQ_VAR(choice), .minWidth = 30,
            .button = remove}},
          QStringLiteral(":/res/2levo.png"), oFont, QStringLiteral("Skenirano iz Qumir")))
    return;

  // An empty list shows no check boxes and stores nothing: nothing is checked.
  QStringList checked;
  if (!entries.isEmpty() && choice.typeId() == QMetaType::QVariantList)
    for (const QVariant& v : choice.toList())
      if (v.typeId() == QMetaType::QString && names.contains(v.toString())) checked << v.toString();
  if (checked.isEmpty()) {
    MSG(text("Ništa nije čekirano!"));
    return;
  }
  if (checked.size() > 1) {
    MSG(text("Samo jedan fajl može da se izabere!"));
    return;
  }
  const QString link = QUM2KOR_PREUZMI_DATA(checked.first(), folder, pib);
  if (link.isEmpty()) return;
  DEKODIRAJ_PURS(link);
}

}  // namespace korvan
