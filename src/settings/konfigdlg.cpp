// The look dialog "Konfigurisanje" and its two choosers.
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>

#include "common/lookglobals.h"
#include "common/msg.h"
#include "settings/konfig.h"

namespace korvan {
namespace detail {
void captureRestorePalette();
}

namespace {

void showColour(QLabel* label, const QString& colour) {
  if (colour.isEmpty()) {
    label->clear();
    label->setPalette(QPalette());
    return;
  }
  label->setText(colour);
  label->setPalette(QPalette(QColor(colour)));
}

QSpinBox* sizeBox(QWidget* parent, const char* name, int value) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(QLatin1String(name));
  s->setRange(5, 25);
  s->setValue(value);
  return s;
}

QLineEdit* folderRow(QDialog* dlg, QGridLayout* grid, int row, const QString& caption,
                     const char* name, const QString& value) {
  grid->addWidget(new QLabel(caption, dlg), row, 0);
  auto* edit = new QLineEdit(value, dlg);
  edit->setObjectName(QLatin1String(name));
  grid->addWidget(edit, row, 1);
  auto* pick = new QPushButton(QStringLiteral("..."), dlg);
  pick->setObjectName(QLatin1String(name) + QStringLiteral("Izbor"));
  pick->setAutoDefault(false);
  grid->addWidget(pick, row, 2);
  QObject::connect(pick, &QPushButton::clicked, dlg, [edit] { IZABERI_PUT(edit); });
  return edit;
}

}  // namespace

void IZABERI_BOJU(QString& freeColour, QLabel* colourLabel, QDialog* parent, QComboBox* paletteCombo) {
  QColorDialog dlg(QColor(freeColour), parent);
  dlg.setWindowTitle(QStringLiteral("Izaberite boju"));
  dlg.setOption(QColorDialog::DontUseNativeDialog);
  const bool accepted = dlg.exec() == QDialog::Accepted;
  const QColor c = dlg.selectedColor();
  if (accepted && c.isValid()) {
    freeColour = c.name();
    showColour(colourLabel, freeColour);
    if (paletteCombo) paletteCombo->setCurrentIndex(0);
  } else {
    freeColour.clear();
    showColour(colourLabel, QString());
  }
}

void IZABERI_PUT(QLineEdit* edit) {
  QFileDialog dlg(edit ? edit->window() : nullptr);
  dlg.setFileMode(QFileDialog::Directory);
  dlg.setOption(QFileDialog::ShowDirsOnly);
  dlg.setViewMode(QFileDialog::Detail);
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  if (edit && !edit->text().isEmpty()) dlg.setDirectory(edit->text());
  if (dlg.exec() != QDialog::Accepted) return;
  const QStringList chosen = dlg.selectedFiles();
  if (!chosen.isEmpty() && !chosen.first().isEmpty() && edit) edit->setText(chosen.first());
}

void KONFIG(QApplication* app, const QFont& font, QWidget* mainWindow, bool formsRow,
            bool updateRow, bool printerRows, bool styleRow) {
  const LookRows rows{formsRow, updateRow, printerRows, styleRow};
  const LookSettings atOpening = UCITAJ_KONFIG(rows);
  QString freeColour = atOpening.customColour;

  QDialog dlg(mainWindow);
  dlg.setObjectName(QStringLiteral("KONFIG"));
  dlg.setModal(true);
  dlg.setWindowTitle(QStringLiteral("Konfigurisanje"));
  if (mainWindow) dlg.setWindowIcon(mainWindow->windowIcon());
  dlg.setFont(font);
  auto* grid = new QGridLayout(&dlg);

  grid->addWidget(new QLabel(QStringLiteral("Paleta"), &dlg), 0, 0);
  auto* palette = new QComboBox(&dlg);
  palette->setObjectName(QStringLiteral("paleta"));
  for (const PaletteRow& r : APALETA()) palette->addItem(r.name);
  palette->setCurrentIndex(atOpening.palette - 1);
  grid->addWidget(palette, 0, 1);

  grid->addWidget(new QLabel(QStringLiteral("ili slobodan izbor palete"), &dlg), 1, 0);
  auto* colourLabel = new QLabel(&dlg);
  colourLabel->setObjectName(QStringLiteral("boja"));
  colourLabel->setAlignment(Qt::AlignCenter);
  colourLabel->setAutoFillBackground(true);
  showColour(colourLabel, freeColour);
  grid->addWidget(colourLabel, 1, 1);
  auto* pickColour = new QPushButton(QStringLiteral("Izbor boje"), &dlg);
  pickColour->setObjectName(QStringLiteral("izborBoje"));
  pickColour->setAutoDefault(false);
  grid->addWidget(pickColour, 1, 2);
  QObject::connect(pickColour, &QPushButton::clicked, &dlg,
                   [&] { IZABERI_BOJU(freeColour, colourLabel, &dlg, palette); });

  grid->addWidget(new QLabel(QString::fromUtf8("Veličina standardnog fonta"), &dlg), 2, 0);
  QSpinBox* size = sizeBox(&dlg, "velFont", atOpening.fontSize);
  grid->addWidget(size, 2, 1);
  grid->addWidget(new QLabel(QString::fromUtf8("Veličina malog fonta"), &dlg), 3, 0);
  QSpinBox* smallSize = sizeBox(&dlg, "velFontMali", atOpening.smallFontSize);
  grid->addWidget(smallSize, 3, 1);

  QLineEdit* forms = formsRow ? folderRow(&dlg, grid, 4, QStringLiteral("Putanja za obrasce"),
                                          "obrazPut", atOpening.formsFolder)
                              : nullptr;
  QLineEdit* update = updateRow ? folderRow(&dlg, grid, 5, QStringLiteral("Putanja za update"),
                                            "updFolder", atOpening.updateFolder)
                                : nullptr;
  QCheckBox* matrix = nullptr;
  QCheckBox* half = nullptr;
  if (printerRows) {
    matrix = new QCheckBox(QString::fromUtf8("Matrični štampač"), &dlg);
    matrix->setObjectName(QStringLiteral("matricni"));
    matrix->setChecked(atOpening.matrixPrinter);
    grid->addWidget(matrix, 6, 1);
    half = new QCheckBox(QString::fromUtf8("Matrični štampač na pola strane"), &dlg);
    half->setObjectName(QStringLiteral("pola"));
    half->setChecked(atOpening.halfPage);
    grid->addWidget(half, 7, 1);
  }
  QComboBox* style = nullptr;
  if (styleRow) {
    grid->addWidget(new QLabel(QStringLiteral("Stil"), &dlg), 8, 0);
    style = new QComboBox(&dlg);
    style->setObjectName(QStringLiteral("stil"));
    for (const QString& s : ASTYLE()) style->addItem(s, s);
    // No stored style (or one not offered as such): the style in use.
    int at = atOpening.style.isEmpty() ? -1 : style->findData(atOpening.style);
    if (at < 0) at = style->findData(QApplication::style()->name().toLower());
    style->setCurrentIndex(at >= 0 ? at : 0);
    grid->addWidget(style, 8, 1);
  }

  auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dlg);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setAutoDefault(false);
  grid->addWidget(cancel, 10, 0);
  auto* ok = new QPushButton(QStringLiteral("Ok"), &dlg);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setDefault(true);
  grid->addWidget(ok, 10, 1);
  QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
  QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);

  if (dlg.exec() != QDialog::Accepted) return;

  detail::captureRestorePalette();
  LookSettings s = atOpening;
  s.palette = palette->currentIndex() + 1;
  bool restart = false;
  const PaletteRow& row = APALETA()[s.palette - 1];
  if (!row.colour && !colourLabel->text().isEmpty()) {
    freeColour = colourLabel->text();
    restart = freeColour != atOpening.customColour;
    QApplication::setPalette(QPalette(QColor(freeColour)));
  } else {
    restart = s.palette != atOpening.palette;
    if (row.colour) QApplication::setPalette(QPalette(QColor(*row.colour)));
    else if (restorePalette()) QApplication::setPalette(*restorePalette());
  }
  s.customColour = freeColour;
  s.fontSize = size->value();
  s.smallFontSize = smallSize->value();
  restart = restart || s.fontSize != atOpening.fontSize || s.smallFontSize != atOpening.smallFontSize;
  G_NVEL_FONT(s.fontSize);
  G_NVEL_FONTMALI(s.smallFontSize);
  if (forms) G_COBRAZ_PUT(s.formsFolder = forms->text());
  if (update) G_CUPDFOLDER(s.updateFolder = update->text());
  if (printerRows) {
    G_LMATRICNI(s.matrixPrinter = matrix->isChecked());
    G_LPOLA(s.halfPage = half->isChecked());
  }
  if (style) {
    s.style = style->currentData().toString();
    if (!s.style.isEmpty() && app) QApplication::setStyle(s.style);
  }
  ZAPAMTI_KONFIG(s, rows);
  if (restart) MSGINFO(QString::fromUtf8("Restartujte aplikaciju da bi izmene postale važeće!"));
}

}  // namespace korvan
