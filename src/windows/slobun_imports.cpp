// The free entry window's imports: the lines from a workbook, the buyer from
// clipboard text or from the register.
#include "windows/slobun_imports.h"

#include <QGuiApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QIcon>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTextEdit>

#include "common/msg.h"
#include "common/waitcursor.h"
#include "settings/nbsask.h"
#include "ui/izbfajla.h"
#include "ui/kolona.h"
#include "windows/izsrc_cells.h"
#include "windows/slobun.h"
#include "windows/winparts.h"

namespace korvan {

using platform::Cell;
using platform::CellPos;
using platform::WorkbookError;

namespace {

// Rows asked for in one exchange with the office.
constexpr int kRowsPerExchange = 100;

enum class Read { Text, Number };
struct YtColumn {
  const char* letters;
  Read read;
  QString YtStavka::*text;
  double YtStavka::*number;
};
const YtColumn kColumns[] = {
    {"C", Read::Text, &YtStavka::sifra, nullptr},        {"AZ", Read::Text, &YtStavka::naziv, nullptr},
    {"BA", Read::Text, &YtStavka::jmere, nullptr},       {"E", Read::Number, nullptr, &YtStavka::kolicina},
    {"T", Read::Number, nullptr, &YtStavka::cenb},       {"J", Read::Number, nullptr, &YtStavka::rabatp},
    {"AB", Read::Number, nullptr, &YtStavka::stopa},
};

void closeQuietly(platform::Workbook* book) {
  if (!book) return;
  try {
    book->close();
  } catch (const std::exception&) {
    // the layer ends the helper in any case
  }
}

WorkbookError otherError(const std::exception& e, const QStringList& arguments) {
  return WorkbookError(QString::fromLocal8Bit(e.what()), QStringLiteral("UZMI_YT_STAVKE"),
                       QStringLiteral("the workbook could not be read"), arguments);
}

}  // namespace

YtRead readYtLines(platform::Workbook& book) {
  YtRead out;
  try {
    const int last = book.usedRows();
    IzsrcSheet sheet(book);
    for (int r = 2; r <= last; ++r) {
      if ((r - 2) % kRowsPerExchange == 0) {
        std::vector<CellPos> wanted;
        for (int rr = r; rr <= last && rr < r + kRowsPerExchange; ++rr)
          for (const YtColumn& c : kColumns) wanted.push_back({KOLONA_OD_SLOVA(QLatin1String(c.letters)) - 1, rr - 1});
        sheet.prefetch(wanted);
      }
      YtStavka line;
      for (const YtColumn& c : kColumns) {
        const Cell cell = sheet.cell(KOLONA_OD_SLOVA(QLatin1String(c.letters)) - 1, r - 1);
        if (c.read == Read::Text) line.*c.text = XLS_CELL_VALUE(cell, QStringLiteral("C"), true).toString();
        else line.*c.number = XLS_CELL_VALUE(cell, QStringLiteral("N"), false).toDouble();
      }
      out.lines.append(line);
    }
  } catch (const WorkbookError& e) {
    out.error = e;
  } catch (const std::exception& e) {
    out.error = otherError(e, {});
  }
  return out;
}

bool UZMI_YT_STAVKE(QList<YtStavka>& lines, const QString& path) {
  std::unique_ptr<platform::Workbook> book;
  std::optional<WorkbookError> error;
  {
    const WaitCursor busy;
    try {
      book = platform::workbookBackend().open(path);
      YtRead read = readYtLines(*book);
      lines += read.lines;
      error = read.error;
    } catch (const WorkbookError& e) {
      error = e;
    } catch (const std::exception& e) {
      error = otherError(e, {path});
    }
  }
  closeQuietly(book.get());
  if (error) MSG(IZSRC_GRESKA(*error));
  return !error;
}

MySLOBUN::~MySLOBUN() {
  // Only the backend that was held, and only while it is still the one in force.
  if (oENGINE && &platform::workbookBackend() == oENGINE) oENGINE->releaseEngine();
}

void MySLOBUN::IMP_YT() {
  const FileFilters filters = {{QStringLiteral("Pre Excel 2007"), QStringLiteral("*.xls")},
                               {QStringLiteral("Excel 2007 ili noviji"), QStringLiteral("*.xlsx")},
                               {QStringLiteral("Excel binarni fajlovi"), QStringLiteral("*.xlsb")}};
  const std::optional<QString> path = IZBOR_FAJLA(filters, QStringLiteral("Izaberite fajl"));
  if (!path) return;
  // The chooser takes typed names too.
  if (!QFileInfo(*path).isFile()) {
    MSG(QStringLiteral("Ne postoji XLS fajl!"));
    return;
  }
  // The first read starts the office; later reads of the window find it.
  if (!oENGINE) {
    oENGINE = &platform::workbookBackend();
    oENGINE->holdEngine();
  }
  QList<YtStavka> lines;
  // A read that fails before its first line leaves the lines as they were.
  if (!UZMI_YT_STAVKE(lines, *path) && lines.isEmpty()) return;

  POPUNI_TABELU(false);
  lPROGRAMSKI = true;
  oTABELA->setRowCount(int(lines.size()));
  for (int i = 0; i < lines.size(); ++i) {
    const YtStavka& l = lines[i];
    const int r = i + 1;
    PISI_VREDNOST(QStringLiteral("ART_SIFRA"), l.sifra, r);
    PISI_VREDNOST(QStringLiteral("ART_NAZIV"), l.naziv, r);
    PISI_VREDNOST(QStringLiteral("ART_BARKOD"), QString(), r);
    PISI_VREDNOST(QStringLiteral("ART_JMERE"), l.jmere, r);
    PISI_VREDNOST(QStringLiteral("KOLICINA"), l.kolicina, r);
    PISI_VREDNOST(QStringLiteral("CENB"), l.cenb, r);
    PISI_VREDNOST(QStringLiteral("STOPA"), l.stopa, r);
    PISI_VREDNOST(QStringLiteral("RABATP"), l.rabatp, r);
    MENJAJ_ZAVISNE(r, QStringLiteral("CENB"));
  }
  AZU_ZBIR();
  lPROGRAMSKI = false;
}

void MySLOBUN::KOMIT_IZ_CLIPB() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const QString text = data && data->hasText() ? data->text() : QString();
  if (text.isEmpty()) {
    MSG(QString::fromUtf8("Nije ništa kopirano u ClipBoard!"));
    return;
  }
  QDialog dlg(oMainWnd.data());
  dlg.setObjectName(QStringLiteral("dlgKOMIT_IZ_CLIPB"));
  dlg.setWindowTitle(QStringLiteral("Podaci kupca iz ClipBoard-a"));
  dlg.setFont(oFont);
  dlg.setWindowIcon(QIcon(QStringLiteral(":/res/paste.png")));
  dlg.resize(400, 400);
  auto* lay = new QGridLayout(&dlg);

  auto* pane = new QTextEdit;
  pane->setObjectName(QStringLiteral("oteCLIPB"));
  pane->setFont(courierFont());
  pane->setAcceptRichText(false);
  // Lines wrap at 80 of the dialog's characters.
  pane->setLineWrapMode(QTextEdit::FixedPixelWidth);
  pane->setLineWrapColumnOrWidth(int(80 * NPOINTSIZE(&dlg)));
  pane->setPlainText(text);
  lay->addWidget(pane, 0, 1, 8, 1);

  struct Target {
    const char* caption;
    Qt::Key key;
    QPointer<QLineEdit> MySLOBUN::*edit;
  };
  static const Target targets[] = {
      {"PIB (F1)", Qt::Key_F1, &MySLOBUN::oleKOMIT_PIB},
      {"Naziv (F2)", Qt::Key_F2, &MySLOBUN::oleKOMIT_NAZIV},
      {"Mesto (F3)", Qt::Key_F3, &MySLOBUN::oleKOMIT_MESTO},
      {"Poštanski broj (F4)", Qt::Key_F4, &MySLOBUN::oleKOMIT_POST_BROJ},
      {"Adresa (F5)", Qt::Key_F5, &MySLOBUN::oleKOMIT_ADRESA},
      {"Matični broj (F6)", Qt::Key_F6, &MySLOBUN::oleKOMIT_MATBROJ},
      {"JBKJS (F7)", Qt::Key_F7, &MySLOBUN::oleKOMIT_JBKJS},
      {"E-mail (F8)", Qt::Key_F8, &MySLOBUN::oleKOMIT_EMAIL},
  };
  for (int i = 0; i < int(std::size(targets)); ++i) {
    const Target& t = targets[i];
    QPushButton* b = windowButton(QString::fromUtf8(t.caption), "", "", QKeySequence(t.key));
    QPointer<QLineEdit> edit = this->*t.edit;
    connect(b, &QPushButton::clicked, &dlg, [this, edit, pane] { UZMI_SEL_CLIPB(edit, pane); });
    lay->addWidget(b, i, 0);
  }
  QPushButton* close = windowButton(QStringLiteral("Zatvori"), ":/res/izlaz.png", "obZATVORI");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, &dlg, &QDialog::accept);
  lay->addWidget(close, 20, 0, 1, 2);
  dlg.exec();
}

void MySLOBUN::UZMI_SEL_CLIPB(QLineEdit* edit, QTextEdit* pane) {
  if (!edit || !pane) return;
  // Without a selection nothing is copied: the field takes what the clipboard holds.
  pane->copy();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) return;
  // A field holds one line (its INI key could not hold a break): each break of
  // the copied text becomes a blank.
  static const QRegularExpression breaks(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
  edit->setText(data->text().replace(breaks, QStringLiteral(" ")));
}

void MySLOBUN::KOMIT_OD_NBS() {
  const std::optional<NbsFirma> f = askRegister(oleKOMIT_PIB->text(), oFont);
  if (!f) return;
  oleKOMIT_NAZIV->setText(f->name);
  oleKOMIT_MESTO->setText(f->place);
  oleKOMIT_ADRESA->setText(f->address);
  oleKOMIT_PIB->setText(f->pib);
  oleKOMIT_MATBROJ->setText(f->registrationNumber);
}

}  // namespace korvan
