// Choosing the workbook and its PDF, the PDF twin, and the attachment list.
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <algorithm>

#include "common/files.h"
#include "common/msg.h"
#include "einvoice/ui/dlgatt.h"
#include "ui/frame.h"
#include "ui/izbfajla.h"
#include "ui/libqt.h"
#include "windows/izsrc.h"

namespace korvan {

QString FILE4DISP(const QString& path) { return path; }

QString IZSRC_TWIN(const QString& workbook, const QString& extension) {
  const QFileInfo fi(workbook);
  QString folder = fi.path();
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return FIND_FILE(folder + fi.completeBaseName() + extension);
}

bool STARIJI_PDF(const QString& source, const QString& pdf) {
  const QFileInfo s(source), p(pdf);
  if (!s.isFile() || !p.isFile()) return false;
  // Whole seconds since the epoch: local times repeat an hour when the clocks go back.
  return s.lastModified().toSecsSinceEpoch() > p.lastModified().toSecsSinceEpoch();
}

void MyIZSRC::takeWorkbook(const QString& path) {
  oleFAJL_SRC->setText(FILE4DISP(path));
  cFAJL_SRC = path;
  // What the window holds came from another workbook until this one is read.
  lUCITANO = false;
  setPdf(QString());
}

void MyIZSRC::setPdf(const QString& path) {
  oleFAJL_PDF->setText(path.isEmpty() ? QString() : FILE4DISP(path));
  cFAJL_PDF = path;
}

bool MyIZSRC::IZABERI_FAJL(bool lPdf) {
  FileFilters filters;
  if (lPdf) {
    filters = {{QStringLiteral("PDF fajlovi"), QStringLiteral("*.pdf")}};
  } else if (lODS) {
    filters = {{QStringLiteral("ODS fajlovi"), QStringLiteral("*.ods")}};
  } else {
    const FileFilter xlsx{QStringLiteral("Excel 2007 ili noviji"), QStringLiteral("*.xlsx")};
    const FileFilter xls{QStringLiteral("Pre Excel 2007"), QStringLiteral("*.xls")};
    if (GETINI(QStringLiteral("XLS_aFILTER"), QStringLiteral("IZXLS"), QStringLiteral(".xls")).toUpper() == u".XLSX")
      filters = {xlsx, xls};
    else
      filters = {xls, xlsx};
    filters.append({QStringLiteral("Excel binarni fajlovi"), QStringLiteral("*.xlsb")});
  }
  { MyFRAME flash(21); }
  const std::optional<QString> chosen = IZBOR_FAJLA(filters, QStringLiteral("Izaberite fajl"));
  if (!chosen) return false;
  const QString path = *chosen;
  const QString suffix = QFileInfo(path).suffix();
  const QString ext = suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
  const QString up = ext.toUpper();
  if (lPdf) {
    if (up != u".PDF") return MSG(QStringLiteral("Nije PDF fajl!"));
    // The chooser takes typed names too; a document must not go without the PDF the user chose.
    if (!QFileInfo(path).isFile()) return MSG(QStringLiteral("Ne postoji PDF fajl!\n%1").arg(FILE4DISP(path)));
    setPdf(path);
    return true;
  }
  if (lODS) {
    if (up != u".ODS") return MSG(QStringLiteral("Nije ODS fajl!"));
    takeWorkbook(path);
    return true;
  }
  if (up != u".XLS" && up != u".XLSX" && up != u".XLSB") return MSG(QStringLiteral("Nije XLS/XLSX fajl!"));
  takeWorkbook(path);
  PUTINI(QStringLiteral("XLS_aFILTER"), QStringLiteral("IZXLS"), ext);
  return true;
}

void MyIZSRC::AUTO_POSTAVI_PDF_FAJL() {
  if (cFAJL_SRC.isEmpty()) return;
  const QString pdf = IZSRC_TWIN(cFAJL_SRC, QStringLiteral(".pdf"));
  if (!QFileInfo(pdf).isFile()) return;
  if (!STARIJI_PDF(cFAJL_SRC, pdf)) {
    setPdf(pdf);
    return;
  }
  // Esc and the close button take no PDF; only the third button deletes it.
  const int answer = QALERT(QStringLiteral("PDF fajl je STARIJI od izvornog fajla!"),
                            {{QStringLiteral("Nema veze, koristi stariji PDF fajl"), 0},
                             {QStringLiteral("Bez PDF fajla"), 1},
                             {QString::fromUtf8("Obriši stari PDF fajl"), 2}},
                            oMainWnd, oFont);
  if (answer == 1) {
    setPdf(pdf);
    return;
  }
  setPdf(QString());
  if (answer == 3 && !QFile::remove(pdf))
    MSG(QString::fromUtf8("PDF fajl nije obrisan:\n%1").arg(FILE4DISP(pdf)));
}

bool MyIZSRC::AUTO_UCITAJ_ATT(QString& attPath) {
  aATTACH.clear();
  if (cFAJL_SRC.isEmpty()) return MSG(QStringLiteral("Izaberite prvo %1 fajl!").arg(VRSTA()));
  attPath = IZSRC_TWIN(cFAJL_SRC, QStringLiteral(".att"));
  if (!QFileInfo(attPath).isFile()) return true;
  QStringList unreadable;
  QString text = READ_TEXT(attPath);
  // A list saved by an editor may begin with a byte-order mark.
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  // Lines end in CR LF; a list written elsewhere may end them in LF alone.
  for (QString line : GET_MEMO(text, nullptr, QStringLiteral("\n"))) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    const QString file = FIND_FILE(line);
    if (line.trimmed().isEmpty() || !QFileInfo(file).isFile()) continue;
    AttachEntry e;
    if (!ATTACH_FROM_FILE(file, e)) {
      unreadable << line;
      continue;
    }
    e.path = line;
    // Names are unique in a list: a later file of the same name takes the
    // entry's place, as in the attachment dialog.
    const auto same = std::find_if(aATTACH.begin(), aATTACH.end(),
                                   [&e](const AttachEntry& a) { return a.name == e.name; });
    if (same != aATTACH.end())
      *same = e;
    else
      aATTACH.append(e);
  }
  if (!unreadable.isEmpty())
    MSG(QString::fromUtf8("Prilog nije moguće pročitati:\n%1").arg(unreadable.join(QLatin1Char('\n'))));
  return true;
}

void MyIZSRC::PRILOZI() {
  QString attPath;
  if (!AUTO_UCITAJ_ATT(attPath)) return;
  if (!DLG_ATTACH(oMainWnd, oFont, aATTACH, false)) return;
  QStringList lines;
  for (const AttachEntry& e : aATTACH)
    if (e.path) lines << *e.path;
  WRITE_MEMO(attPath, PUT_MEMO(lines));
}

}  // namespace korvan
