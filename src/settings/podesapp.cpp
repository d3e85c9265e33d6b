// The application settings dialog and the loader of its keys.
#include "settings/podesapp.h"

#include <QLineEdit>
#include <QStringList>

#include "common/apppath.h"
#include "common/globals.h"
#include "common/ini.h"
#include "common/msg.h"
#include "ui/windlg.h"

namespace korvan {
namespace {

const QString kSection = QStringLiteral("Config");

QString iniFile() { return FN_INI(QStringLiteral("aplik.ini")); }

QString readFolder(const char* key) {
  QString v = GETPRIVATEPROFILESTRING(kSection, QLatin1String(key), QString(), iniFile());
  return v.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

struct FolderRow {
  const char* caption;
  const char* key;
  QString value;
};

}  // namespace

void UCITAJ_PODESAPP() {
  G_CFOLDER_SALJI_MEJLOM(readFolder("FOLDER_SALJI_MEJLOM"));
  G_CFOLDER_CUVANJE(readFolder("FOLDER_CUVANJE"));
  G_CFOLDER_ER4APLIK(readFolder("FOLDER_ER4APLIK"));
  G_CFOLDER_ER2APLIK(readFolder("FOLDER_ER2APLIK"));
  G_LDORVATIK_APP(GETPRIVATEPROFILESTRING(kSection, QStringLiteral("DORVATIK_APP"), QStringLiteral("T"),
                                          iniFile()) == QLatin1String("T"));
}

void IZABERI_FOLDER(const SqEditors& editors, int row) {
  if (!MSGYESNO(QStringLiteral("Izbor foldera?"))) return;
  auto* edit = row >= 1 && row <= editors.size() ? qobject_cast<QLineEdit*>(editors[row - 1].data())
                                                 : nullptr;
  const QStringList chosen = runFileDialog({.mode = FileDialogRequest::Folder,
                                            .folder = edit ? edit->text() : QString(),
                                            .owner = edit ? edit->window() : nullptr});
  if (chosen.isEmpty() || chosen.join(QString()).isEmpty()) return;
  QString text = chosen.join(QLatin1Char(';'));
  text.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (edit) edit->setText(text);
}

void PODESAPP(const QFont& font, bool extended) {
  QList<FolderRow> folders = {
      {"Folder za slanje mejlom", "FOLDER_SALJI_MEJLOM", G_CFOLDER_SALJI_MEJLOM()},
      {"Folder za čuvanje", "FOLDER_CUVANJE", G_CFOLDER_CUVANJE()},
  };
  if (extended && G_LDORVATIK_APP()) {
    folders.append({"Folder za eRačune iz APLIKacija", "FOLDER_ER4APLIK", G_CFOLDER_ER4APLIK()});
    folders.append({"Folder za import iz ER2APLIK", "FOLDER_ER2APLIK", G_CFOLDER_ER2APLIK()});
  }
  QList<SqRow> rows;
  for (FolderRow& f : folders)
    rows.append({.label = QString::fromUtf8(f.caption),
                 .value = SQ_VAR(f.value),
                 .minWidth = 20,
                 .button = SqButton{QStringLiteral("Izbor foldera"), QStringLiteral(":/res/trazi.png"),
                                    IZABERI_FOLDER}});
  if (!SQ(rows, QStringLiteral(":/res/cpanel.png"), font, QString::fromUtf8("Podešavanja aplikacije")))
    return;
  for (const FolderRow& f : folders)
    WRITEPRIVATEPROFILESTRING(kSection, QLatin1String(f.key), f.value, iniFile());
  UCITAJ_PODESAPP();
}

}  // namespace korvan
