#include "settings/konfig.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyleFactory>

#include "common/accessor.h"
#include "common/apppath.h"
#include "common/files.h"
#include "common/ini.h"
#include "common/lookglobals.h"
#include "common/numbers.h"

namespace korvan {
namespace {

const QString kSection = QStringLiteral("Config");

QString& formsFolder() {
  static QString f;
  return f;
}
QString& appName() {
  static QString n;
  return n;
}
bool matrixPrinter = false;
bool halfPage = false;

std::optional<QPalette>& restore() {
  static std::optional<QPalette> p;
  return p;
}

// The file the look is read from: "_DEFAULT.ini" while only it exists.
QString readFile() {
  const QString user = FN_USERINI();
  if (QFileInfo::exists(FIND_FILE(user))) return user;
  const QString def = FN_INI(QStringLiteral("_DEFAULT.ini"));
  return QFileInfo::exists(FIND_FILE(def)) ? def : user;
}

QString readText(const QString& file, const QString& key) {
  return GETPRIVATEPROFILESTRING(kSection, key, QString(), file);
}

int readNumber(const QString& file, const QString& key, int def, int low, int high) {
  const QString t = readText(file, key);
  if (t.isEmpty()) return def;
  const double v = VAL(t);
  return v >= low && v <= high ? static_cast<int>(v) : def;
}

QString number10(int n) { return QString::number(n).rightJustified(10, u' '); }
QString flag(bool b) { return b ? QStringLiteral("T") : QStringLiteral("F"); }

}  // namespace

const QList<PaletteRow>& APALETA() {
  static const QList<PaletteRow> rows = {
      {QString(), std::nullopt},
      {QStringLiteral("bela"), Qt::white},
      {QStringLiteral("crna"), Qt::black},
      {QStringLiteral("crvena"), Qt::red},
      {QStringLiteral("tamno crvena"), Qt::darkRed},
      {QStringLiteral("zelena"), Qt::green},
      {QStringLiteral("tamno zelena"), Qt::darkGreen},
      {QStringLiteral("plava"), Qt::blue},
      {QStringLiteral("tamno plava"), Qt::darkBlue},
      {QStringLiteral("cijan"), Qt::cyan},
      {QStringLiteral("tamno cijan"), Qt::darkCyan},
      {QStringLiteral("magenta"), Qt::magenta},
      {QStringLiteral("tamno magenta"), Qt::darkMagenta},
      {QString::fromUtf8("žuta"), Qt::yellow},
      {QString::fromUtf8("tamno žuta"), Qt::darkYellow},
      {QStringLiteral("siva"), Qt::gray},
      {QStringLiteral("tamno siva"), Qt::darkGray},
      {QStringLiteral("svetlo siva"), Qt::lightGray},
  };
  return rows;
}

QStringList ASTYLE() {
  QStringList names;
  for (const QString& k : QStyleFactory::keys()) names << k.toLower();
  return names;
}

QString FN_USERINI() { return FN_INI(G_USER() + QStringLiteral(".ini")); }

LookSettings UCITAJ_KONFIG(const LookRows& rows) {
  const QString file = readFile();
  LookSettings s;
  s.palette = readNumber(file, QStringLiteral("Palette"), 1, 1, static_cast<int>(APALETA().size()));
  const QString colour = readText(file, QStringLiteral("CUSTOM_COLOR"));
  if (QColor(colour).isValid()) s.customColour = colour;
  s.fontSize = readNumber(file, QStringLiteral("VEL_FONT"), 12, 5, 25);
  s.smallFontSize = readNumber(file, QStringLiteral("VEL_FONTMALI"), 8, 5, 25);
  if (rows.forms) s.formsFolder = readText(file, QStringLiteral("OBRAZ_PUT"));
  if (rows.update) s.updateFolder = readText(file, QStringLiteral("UPDFOLDER"));
  if (rows.printers) {
    s.matrixPrinter = readText(file, QStringLiteral("MATRICNI")) == u"T";
    s.halfPage = readText(file, QStringLiteral("POLA")) == u"T";
  }
  if (rows.style) s.style = readText(FN_INI(QStringLiteral("aplik.ini")), QStringLiteral("STYLE"));
  return s;
}

bool ZAPAMTI_KONFIG(const LookSettings& s, const LookRows& rows) {
  const QString file = FN_USERINI();
  QList<QPair<QString, QString>> keys = {
      {QStringLiteral("Palette"), number10(s.palette)},
      {QStringLiteral("CUSTOM_COLOR"), s.customColour},
      {QStringLiteral("VEL_FONT"), number10(s.fontSize)},
      {QStringLiteral("VEL_FONTMALI"), number10(s.smallFontSize)},
  };
  if (rows.forms) keys.append({QStringLiteral("OBRAZ_PUT"), s.formsFolder});
  if (rows.update) keys.append({QStringLiteral("UPDFOLDER"), s.updateFolder});
  if (rows.printers) {
    keys.append({QStringLiteral("MATRICNI"), flag(s.matrixPrinter)});
    keys.append({QStringLiteral("POLA"), flag(s.halfPage)});
  }
  for (const auto& [key, value] : keys)
    if (!WRITEPRIVATEPROFILESTRING(kSection, key, value, file)) return false;
  if (rows.style &&
      !WRITEPRIVATEPROFILESTRING(kSection, QStringLiteral("STYLE"), s.style,
                                 FN_INI(QStringLiteral("aplik.ini"))))
    return false;
  return true;
}

void POSTAVI_KONFIG(QApplication* app, const QString& name, bool applyStyle) {
  LookRows rows;
  rows.style = applyStyle;
  const LookSettings s = UCITAJ_KONFIG(rows);
  if (app) {
    const PaletteRow& row = APALETA()[s.palette - 1];
    if (s.palette > 1 && row.colour) QApplication::setPalette(QPalette(QColor(*row.colour)));
    else if (!s.customColour.isEmpty()) QApplication::setPalette(QPalette(QColor(s.customColour)));
  }
  G_NVEL_FONT(s.fontSize);
  G_NVEL_FONTMALI(s.smallFontSize);
  G_COBRAZ_PUT(s.formsFolder);
  G_CUPDFOLDER(s.updateFolder);
  G_LMATRICNI(s.matrixPrinter);
  G_LPOLA(s.halfPage);
  if (!name.isEmpty()) G_CAPLIK_NAZIV(name);
  if (app && applyStyle && !s.style.isEmpty()) QApplication::setStyle(s.style);
}

QString G_COBRAZ_PUT(std::optional<QString> folder) { return exchange(formsFolder(), std::move(folder)); }
bool G_LMATRICNI(std::optional<bool> on) { return exchange(matrixPrinter, on); }
bool G_LPOLA(std::optional<bool> on) { return exchange(halfPage, on); }
QString G_CAPLIK_NAZIV(std::optional<QString> name) { return exchange(appName(), std::move(name)); }

std::optional<QPalette> restorePalette() { return restore(); }

namespace detail {
void forgetRestorePalette() { restore().reset(); }
void captureRestorePalette() {
  if (!restore()) restore() = QApplication::palette();
}
}  // namespace detail

}  // namespace korvan
