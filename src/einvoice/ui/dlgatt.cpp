#include "einvoice/ui/dlgatt.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <unistd.h>

#include "common/apppath.h"
#include "common/msg.h"
#include "common/picture.h"
#include "einvoice/xmlliteral.h"
#include "platform/shell.h"
#include "ui/frame.h"
#include "ui/windlg.h"

namespace korvan {
namespace {

QString chooseFile() {
  return WINDLG_GETFILE({{QStringLiteral("PDF fajlovi"), QStringLiteral("*.pdf")}}, QStringLiteral("Izaberite fajl"),
                        QString(), false, true)
      .toString();
}

// The list position (from 0) kept in the selected row's cell; -1 when none.
int selectedEntry(QTableWidget* table, int size) {
  if (!table || !table->selectionModel() || table->selectionModel()->selectedRows().isEmpty()) return -1;
  const QTableWidgetItem* item = table->item(table->selectionModel()->selectedRows().first().row(), 0);
  if (!item) return -1;
  bool ok = false;
  const int position = item->whatsThis().toInt(&ok);
  return ok && position >= 1 && position <= size ? position - 1 : -1;
}

QString printable(const QString& name) {
  QString s;
  for (const QChar c : name) s += c.unicode() < 0x20 || c.unicode() == 0x7f ? QChar('?') : c;
  return s;
}

}  // namespace

QString ATTACH_VIEW_DIR() {
  static QString base, dir;
  const QString tmp = GETAPPPATH() + "TMP";
  if (base == tmp && !dir.isEmpty() && QFileInfo(dir).isDir()) return dir;
  if (!QDir().mkpath(tmp)) return QString();
  // A view folder of an earlier run is taken again when it is still ours
  // alone, so the runs do not leave a new folder each.
  const QDir tmpDir(tmp);
  for (const QFileInfo& f : tmpDir.entryInfoList({QStringLiteral("PRILOZI-*")}, QDir::Dirs | QDir::Hidden, QDir::Name)) {
    const auto perms = f.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    if (!f.isSymLink() && f.ownerId() == ::getuid() &&
        (perms & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                  QFile::ExeOther)) == QFile::Permissions()) {
      base = tmp;
      dir = f.canonicalFilePath() + '/';
      return dir;
    }
  }
  QTemporaryDir made(tmp + "/PRILOZI-XXXXXX");  // created 0700, ours alone
  if (!made.isValid()) return QString();
  made.setAutoRemove(false);
  base = tmp;
  dir = QFileInfo(made.path()).canonicalFilePath() + '/';
  return dir;
}

namespace dlgatt {

void POSTAVI_KOLONU(QTableWidget* table, int row, const QString& name, int position) {
  auto* item = new QTableWidgetItem(name);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  item->setWhatsThis(QString::number(position));
  table->setItem(row, 0, item);
}

void POPUNI_OTWFAJLOVI(QTableWidget* table, const AttachList& list) {
  table->clearContents();
  table->setRowCount(list.size());
  for (int i = 0; i < list.size(); ++i) POSTAVI_KOLONU(table, i, list[i].name, i + 1);
}

void PRIKAZI_FSIZE(QLabel* label, const AttachList& list) {
  qint64 total = 0;
  bool any = false;
  for (const AttachEntry& e : list) {
    if (!e.path) continue;
    const QFileInfo f(*e.path);
    if (!f.isFile()) continue;
    total += f.size();
    any = true;
  }
  label->setText(any ? BEZ_DECIM(double(total) / 1048576.0, "99999.999").trimmed() + " MB" : QString());
}

void DODAJ(QTableWidget* table, QLabel* label, AttachList& list) {
  { MyFRAME(21).End(); }
  const QString path = chooseFile();
  if (path.isEmpty()) return;
  QFile f(path);
  QByteArray bytes;
  if (f.open(QIODevice::ReadOnly)) bytes = f.readAll();
  if (!f.isOpen() || f.error() != QFileDevice::NoError || !QFileInfo(path).isFile()) {
    MSG(QString::fromUtf8("Greška pri čitanju fajla!\n") + path);
    return;
  }
  AttachEntry entry{QFileInfo(path).fileName(), QString::fromLatin1(bytes.toBase64()), path};
  if (ATTACH_MIME(entry.name, bytes).isEmpty()) {
    MSG(QString::fromUtf8("Fajl nije dozvoljenog tipa!\n%1\nDozvoljeni su: %2.").arg(path, ATTACH_TYPES()));
    return;
  }
  bool replaced = false;
  for (AttachEntry& e : list)
    if (e.name == entry.name) {
      e.content = entry.content;
      e.path = entry.path;
      replaced = true;
    }
  if (!replaced) {
    list.append(entry);
    table->setRowCount(list.size());
    POSTAVI_KOLONU(table, list.size() - 1, entry.name, list.size());
  }
  PRIKAZI_FSIZE(label, list);
}

void PREGLED(QTableWidget* table, const AttachList& list) {
  const int i = selectedEntry(table, list.size());
  if (i < 0) {
    MSG(QString::fromUtf8("Nema ništa selektovano!"));
    return;
  }
  const QString name = ATTACH_SAFE_NAME(list[i].name);
  if (name.isEmpty()) {
    MSG(QString::fromUtf8("Naziv fajla nije dozvoljen:\n\"%1\"").arg(printable(list[i].name)));
    return;
  }
  const QString dir = ATTACH_VIEW_DIR();
  const QString path = dir + name;
  QFile out(path);
  // A stored document's Base64 may hold references such as "&#13;".
  const QByteArray bytes = QByteArray::fromBase64(XML_DECODE_REFS(list[i].content).toLatin1());
  const bool inside = !dir.isEmpty() && QFileInfo(path).absolutePath() + '/' == dir;
  if (!inside || !out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() ||
      !out.flush()) {
    MSG(QString::fromUtf8("Greška pri kreiranju fajla!\n") + path);
    return;
  }
  out.close();
  platform::shell().openDocument(path);
}

void BRISI(QTableWidget* table, QLabel* label, AttachList& list, bool protectFirst) {
  const int i = selectedEntry(table, list.size());
  if (i < 0) {
    MSG(QString::fromUtf8("Nema ništa selektovano!"));
    return;
  }
  if (i == 0 && protectFirst) {
    MSG(QString::fromUtf8("Ne može da se briše vizuelizacija računa!"));
    return;
  }
  if (!MSGYESNO(QString::fromUtf8("Da li sigurno brišete fajl ") + list[i].name + " ?")) return;
  list.removeAt(i);
  POPUNI_OTWFAJLOVI(table, list);
  PRIKAZI_FSIZE(label, list);
}

}  // namespace dlgatt

bool DLG_ATTACH(QWidget* parent, const QFont& font, AttachList& list, bool protectFirst, bool editable) {
  Q_UNUSED(parent);
  AttachList copy = list;
  QDialog dlg;
  dlg.setWindowTitle(QStringLiteral("Pregled fajlova"));
  dlg.setWindowIcon(QIcon(QStringLiteral(":/res/attach.png")));
  dlg.setFont(font);
  auto* grid = new QGridLayout(&dlg);
  auto* table = new QTableWidget(&dlg);
  auto* size = new QLabel(&dlg);

  auto button = [&](const QString& text, const char* icon, Qt::Key key, int column) {
    auto* b = new QPushButton(QIcon(QString::fromLatin1(icon)), text, &dlg);
    b->setShortcut(QKeySequence(key));
    b->setAutoDefault(false);
    grid->addWidget(b, 0, column);
    return b;
  };
  if (editable) {
    auto* add = button(QStringLiteral("Dodaj (F2)"), ":/res/dodaj.png", Qt::Key_F2, 0);
    QObject::connect(add, &QPushButton::clicked, &dlg, [&] { dlgatt::DODAJ(table, size, copy); });
  }
  auto* view = button(QStringLiteral("Pregledaj (F3)"), ":/res/trazi.png", Qt::Key_F3, 1);
  QObject::connect(view, &QPushButton::clicked, &dlg, [&] { dlgatt::PREGLED(table, copy); });
  if (editable) {
    auto* del = button(QString::fromUtf8("Briši (F4)"), ":/res/brisi.png", Qt::Key_F4, 2);
    QObject::connect(del, &QPushButton::clicked, &dlg, [&] { dlgatt::BRISI(table, size, copy, protectFirst); });
  }

  table->setFont(font);
  table->setColumnCount(1);
  table->setHorizontalHeaderLabels({QStringLiteral("Naziv fajla")});
  table->horizontalHeader()->setStretchLastSection(true);
  table->setShowGrid(true);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->addWidget(table, 1, 0, 1, 3);
  size->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  grid->addWidget(size, 2, 0, 1, 3);

  if (editable) {
    auto* cancel = new QPushButton(QStringLiteral("Odustani"), &dlg);
    cancel->setAutoDefault(false);
    QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
    grid->addWidget(cancel, 30, 0);
  }
  auto* ok = new QPushButton(editable ? QStringLiteral("Zapamti") : QStringLiteral("Zatvori"), &dlg);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
  grid->addWidget(ok, 30, 1, 1, 2);

  dlgatt::POPUNI_OTWFAJLOVI(table, copy);
  dlgatt::PRIKAZI_FSIZE(size, copy);
  if (dlg.exec() != QDialog::Accepted) return false;
  list = copy;
  return true;
}

}  // namespace korvan
