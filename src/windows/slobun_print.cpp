#include "windows/slobun_print.h"

#include <algorithm>

#include "common/dates.h"
#include "common/numbers.h"
#include "common/words.h"

namespace korvan {

namespace {

StampaCelija text(const QString& t) { return {t}; }
StampaCelija styled(const QString& t, double size, bool bold) { return {t, size, bold ? 1 : 0}; }
StampaCelija bold(const QString& t) { return {t, 0, 1}; }
StampaCelija plain(const QString& t) { return {t, 0, 0}; }

StampaBlok frameless(QList<StampaKolona> columns) { return {.frame = QString(), .columns = std::move(columns)}; }

QString join(const QString& a, const QString& b) { return a + QLatin1Char(' ') + b; }

}  // namespace

QString SLOBUN_NAZIV_STOPE(double stopa) {
  if (EQ(stopa, 20)) return QStringLiteral("Opšta stopa PDV-a");
  if (EQ(stopa, 10)) return QStringLiteral("Posebna stopa PDV-a");
  if (EQ(stopa, 0)) return QString::fromUtf8("Oslobođeno PDV-a");
  return {};
}

QString SLOBUN_IZNOS(double amount) { return TRANSFORM(amount, QStringLiteral("@E 999,999,999,999.99")).trimmed(); }

Stampa SLOBUN_STAMPA(const StampaUlaz& in) {
  Stampa out;
  const double large = 12, small = 8, normal = 10;

  // 1. Seller and buyer.
  StampaBlok b1 = frameless({{"", "40%", "L"}, {"", "15%", "R"}, {"", "45%", "L"}});
  const QString place = in.kupacPostBroj.isEmpty() ? in.kupacMesto : join(in.kupacPostBroj, in.kupacMesto);
  b1.cells = {styled(in.firmaNaziv, large, true), styled("", normal, false), text(""),
              text(in.firmaMesto), text("Kupac: "), text(in.kupacNaziv),
              text(in.firmaAdresa), text("Adresa: "), text(in.kupacAdresa),
              text("PIB: " + in.firmaPib), text("Mesto: "), text(place),
              text("MB: " + in.firmaMatbroj), text("PIB: "), text(in.kupacPib),
              text(QString::fromUtf8("Tekući račun: ") + in.firmaZiro), text("MB: "), text(in.kupacMatbroj)};
  if (!in.kupacJbkjs.isEmpty()) b1.cells += {text(""), text("JBKJS: "), text(in.kupacJbkjs)};
  out.blokovi << b1;

  // 2. Title.
  StampaBlok b2 = frameless({{"", "100%", "C"}});
  b2.cells = {styled(QString::fromUtf8("Račun br. ") + in.broj + "/" + in.godina, large, true), styled("", normal, false)};
  out.blokovi << b2;

  // 3. Places and dates.
  StampaBlok b3 = frameless({{"", "40%", "L"}, {"", "60%", "L"}});
  b3.cells = {text("Mesto i datum izdavanja: "), text(join(in.mestoIzdavanja, DTOC(in.datumIzdavanja))),
              text("Mesto i datum prometa dobara i usluga: "), text(join(in.mestoPrometa, DTOC(in.datumPrometa))),
              text(QString::fromUtf8("Rok plaćanja: ")), text(DTOC(in.valuta))};
  const QList<std::pair<const char*, QString>> optional = {
      {"Narudžbenica: ", in.narudzbenica}, {"Otpremnica: ", in.otpremnica}, {"Ugovor: ", in.ugovor}};
  for (const auto& [label, value] : optional)
    if (!value.isEmpty()) b3.cells += {text(QString::fromUtf8(label)), text(value)};
  out.blokovi << b3;

  // 4. The lines.
  StampaBlok b4{.frame = QStringLiteral("SINGLE"), .inner = 0.4, .outer = 0.8};
  int lengths = 0;
  for (const MyKOLONA& k : in.kolone) lengths += k.DUZ;
  for (const MyKOLONA& k : in.kolone)
    b4.columns << StampaKolona{k.NASLOV, QString::number(lengths ? 100.0 * k.DUZ / lengths : 0, 'f', 2) + "%",
                               k.TIP == u"N" ? QStringLiteral("R") : QStringLiteral("L")};
  const int cVredp = KOLONA_PO_POLJU(in.kolone, QStringLiteral("VREDP"));
  const int cOsn = KOLONA_PO_POLJU(in.kolone, QStringLiteral("OSN"));
  const int cStopa = KOLONA_PO_POLJU(in.kolone, QStringLiteral("STOPA"));
  for (const QStringList& row : in.redovi) {
    if (cVredp < 0 || row.value(cVredp).isEmpty()) continue;
    for (int c = 0; c < in.kolone.size(); ++c) b4.cells << StampaCelija{row.value(c), small};
    const double stopa = INTELI_VAL(row.value(cStopa)), osn = INTELI_VAL(row.value(cOsn)),
                 vredp = INTELI_VAL(row.value(cVredp));
    auto it = std::find_if(out.rekapitulacija.begin(), out.rekapitulacija.end(),
                           [stopa](const StampaStopa& s) { return s.stopa == stopa; });
    if (it == out.rekapitulacija.end()) it = out.rekapitulacija.insert(out.rekapitulacija.end(), {stopa});
    it->osnovica += osn;
    it->pdv += vredp - osn;
    it->ukupno += vredp;
  }
  out.blokovi << b4;

  // 5. The recapitulation, highest rate first.
  std::stable_sort(out.rekapitulacija.begin(), out.rekapitulacija.end(),
                   [](const StampaStopa& a, const StampaStopa& b) { return a.stopa > b.stopa; });
  StampaBlok b5 = frameless({{"", "20%", "L"},
                             {"% PDV", "10%", "C"},
                             {"Osnovica PDV-a", "20%", "R"},
                             {"Iznos PDV-a", "20%", "R"},
                             {"Ukupno sa PDV-om", "20%", "R"}});
  for (const StampaStopa& s : out.rekapitulacija) {
    b5.cells += {text(SLOBUN_NAZIV_STOPE(s.stopa)), text(BEZ_DECIM(s.stopa, QStringLiteral("@E 999.99")).trimmed()),
                 text(SLOBUN_IZNOS(s.osnovica)), text(SLOBUN_IZNOS(s.pdv)), text(SLOBUN_IZNOS(s.ukupno))};
    out.ukupno += s.ukupno;
  }
  out.blokovi << b5;

  // 6. - 8. Total, in words, note and responsible person.
  StampaBlok b6 = frameless({{"", "80%", "R"}, {"", "20%", "R"}});
  b6.cells = {bold(QString::fromUtf8("Ukupno za plaćanje: ")), bold(SLOBUN_IZNOS(out.ukupno))};
  out.blokovi << b6;
  StampaBlok b7 = frameless({{"", "100%", "L"}});
  b7.cells = {plain("Slovima: " + SLOVIMA(out.ukupno))};
  out.blokovi << b7;
  StampaBlok b8 = frameless({{"", "20%", "L"}, {"", "80%", "L"}});
  b8.cells = {text("Napomena: "), text(in.napomena), text("Odgovorno lice: "), text(in.operater)};
  out.blokovi << b8;
  return out;
}

}  // namespace korvan
