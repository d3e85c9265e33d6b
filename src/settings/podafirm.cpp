#include "settings/podafirm.h"

#include <QLineEdit>

#include "common/apppath.h"
#include "common/ini.h"
#include "settings/nbsask.h"

namespace korvan {
namespace {

const QString kSection = QStringLiteral("Firma");

QString iniFile() { return FN_INI(QStringLiteral("aplik.ini")); }

QString read(const QString& key) { return GETPRIVATEPROFILESTRING(kSection, key, QString(), iniFile()); }

struct TextRow {
  const char* label;
  const char* key;
  QString value;
};

void setText(const SqEditors& editors, int row, const QString& text) {
  if (row < 1 || row > editors.size()) return;
  if (auto* e = qobject_cast<QLineEdit*>(editors[row - 1].data())) e->setText(text);
}

QString text(const SqEditors& editors, int row) {
  if (row < 1 || row > editors.size()) return QString();
  auto* e = qobject_cast<QLineEdit*>(editors[row - 1].data());
  return e ? e->text() : QString();
}

}  // namespace

void PREUZ_NBS(const SqEditors& editors, const QFont& font) {
  const std::optional<NbsFirma> f = askRegister(text(editors, 5), font);
  if (!f) return;
  setText(editors, 1, f->name);
  setText(editors, 2, f->place);
  setText(editors, 4, f->address);
  setText(editors, 5, f->pib);
  setText(editors, 6, f->registrationNumber);
  setText(editors, 9, f->accounts.section(u'\n', 0, 0));
}

void PODAFIRM(const QFont& font) {
  const QString apiKey = ISTEST() ? QStringLiteral("API_KLJUC_DEMO") : QStringLiteral("API_KLJUC");
  QList<TextRow> texts = {
      {"Naziv", "NAZIV", {}},          {"Mesto", "MESTO", {}},          {"Poštanski broj", "POST_BROJ", {}},
      {"Adresa", "ADRESA", {}},        {"PIB", "PIB", {}},              {"Matični broj", "MATBROJ", {}},
      {"Odgovorno lice", "VLASNIK", {}}, {"E-mail", "EMAIL", {}},       {"Tekući račun", "ZIRO", {}},
  };
  for (TextRow& t : texts) t.value = read(QLatin1String(t.key));
  bool vat = read(QStringLiteral("OBVPDV")) == QLatin1String("T");
  QString key = read(apiKey);

  QList<SqRow> rows;
  for (TextRow& t : texts) rows.append({.label = QString::fromUtf8(t.label), .value = SQ_VAR(t.value)});
  rows[0].minWidth = 40;
  rows[0].button = SqButton{QStringLiteral("Preuzmi od NBS"), QStringLiteral(":/res/trazi.png"),
                            [font](const SqEditors& editors, int) { PREUZ_NBS(editors, font); }};
  rows.append({.label = QStringLiteral("Obveznik PDV-a?"), .value = SQ_VAR(vat)});
  rows.append({.label = QString::fromUtf8("API ključ"), .value = SQ_VAR(key)});
  if (!SQ(rows, QStringLiteral(":/res/firme.png"), font, QStringLiteral("Podaci firme"))) return;

  QList<QPair<QString, QString>> values;
  for (const TextRow& t : texts) values.append({QLatin1String(t.key), t.value});
  values.append({QStringLiteral("OBVPDV"), vat ? QStringLiteral("T") : QStringLiteral("F")});
  values.append({apiKey, key});
  // The first failure has been reported; the keys after it are not tried.
  for (const auto& [k, v] : values)
    if (!WRITEPRIVATEPROFILESTRING(kSection, k, v, iniFile())) return;
}

}  // namespace korvan
