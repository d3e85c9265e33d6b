#include "windows/izsrc_fields.h"

namespace korvan::izsrc {

const QList<HeaderField>& headerFields() {
  using M = MyIZSRC;
  static const QList<HeaderField> fields = {
      {"BRDOK", "Broj dokumenta", Read::Text, &M::olblBRDOK, &M::oleCEL_BRDOK, &M::oleBRDOK, nullptr, 3, 0, 1},
      {"DATDOK", "Datum izdavanja", Read::Date, &M::olblDATDOK, &M::oleCEL_DATDOK, nullptr, &M::odteDATDOK, 3, 3, 1},
      {"DATPROM", "Datum prometa dobara i usluga", Read::Period, &M::olblDATPROM, &M::oleCEL_DATPROM, nullptr,
       &M::odteDATPROM, 4, 0, 1},
      {"VALUTA", "Valuta plaćanja", Read::Date, &M::olblVALUTA, &M::oleCEL_VALUTA, nullptr, &M::odteVALUTA, 4, 3, 1},
      {"OPERATER", "Operater", Read::Text, &M::olblOPERATER, &M::oleCEL_OPERATER, &M::oleOPERATER, nullptr, 6, 0, 1},
      {"NARUDZBENICA", "Narudžbenica", Read::Text, &M::olblNARUDZBENICA, &M::oleCEL_NARUDZBENICA,
       &M::oleNARUDZBENICA, nullptr, 6, 3, 1},
      {"OTPREMNICA", "Otpremnica", Read::Text, &M::olblOTPREMNICA, &M::oleCEL_OTPREMNICA, &M::oleOTPREMNICA,
       nullptr, 8, 0, 1},
      {"UGOVOR", "Ugovor", Read::Text, &M::olblUGOVOR, &M::oleCEL_UGOVOR, &M::oleUGOVOR, nullptr, 8, 3, 1},
      {"KOMIT_NAZIV", "Naziv kupca", Read::Text, &M::olblKOMIT_NAZIV, &M::oleCEL_KOMIT_NAZIV, &M::oleKOMIT_NAZIV,
       nullptr, 10, 0, 4},
      {"KOMIT_MESTO", "Mesto kupca", Read::Text, &M::olblKOMIT_MESTO, &M::oleCEL_KOMIT_MESTO, &M::oleKOMIT_MESTO,
       nullptr, 11, 0, 1},
      {"KOMIT_POST_BROJ", "Poštanski broj kupca", Read::Whole, &M::olblKOMIT_POST_BROJ, &M::oleCEL_KOMIT_POST_BROJ,
       &M::oleKOMIT_POST_BROJ, nullptr, 11, 3, 1},
      {"KOMIT_ADRESA", "Adresa kupca", Read::Text, &M::olblKOMIT_ADRESA, &M::oleCEL_KOMIT_ADRESA,
       &M::oleKOMIT_ADRESA, nullptr, 12, 0, 4},
      {"KOMIT_PIB", "PIB kupca", Read::Whole, &M::olblKOMIT_PIB, &M::oleCEL_KOMIT_PIB, &M::oleKOMIT_PIB, nullptr,
       14, 0, 1},
      {"KOMIT_MATBROJ", "Matični broj kupca", Read::Whole, &M::olblKOMIT_MATBROJ, &M::oleCEL_KOMIT_MATBROJ,
       &M::oleKOMIT_MATBROJ, nullptr, 14, 3, 1},
      {"KOMIT_JBKJS", "JBKJS kupca", Read::Whole, &M::olblKOMIT_JBKJS, &M::oleCEL_KOMIT_JBKJS, &M::oleKOMIT_JBKJS,
       nullptr, 15, 0, 1},
      {"KOMIT_EMAIL", "E-mail kupca", Read::Text, &M::olblKOMIT_EMAIL, &M::oleCEL_KOMIT_EMAIL, &M::oleKOMIT_EMAIL,
       nullptr, 16, 0, 4},
  };
  return fields;
}

const QList<LineColumn>& lineColumns() {
  using M = MyIZSRC;
  static const QList<LineColumn> columns = {
      {"ART_SIFRA", "Kolona za šifru robe/usluge", &M::olblART_SIFRA, &M::oleART_SIFRA},
      {"ART_NAZIV", "Kolona za naziv robe/usluge", &M::olblART_NAZIV, &M::oleART_NAZIV},
      {"ART_BARKOD", "Kolona za barkod", &M::olblART_BARKOD, &M::oleART_BARKOD},
      {"ART_JMERE", "Kolona za jedinicu mere", &M::olblART_JMERE, &M::oleART_JMERE},
      {"KOLICINA", "Kolona za količinu", &M::olblKOLICINA, &M::oleKOLICINA},
      {"CENB", "Kolona za cenu bez PDV-a, bez rabata", &M::olblCENB, &M::oleCENB},
      {"VREDB", "Kolona za vrednost bez PDV-a, neumanjena za rabat", &M::olblVREDB, &M::oleVREDB},
      {"RABATP", "Kolona za % rabata", &M::olblRABATP, &M::oleRABATP},
      {"STOPA", "Kolona za % PDV-a", &M::olblSTOPA, &M::oleSTOPA},
      {"OSN", "Kolona za osnovicu PDV-a, za ukupnu količinu", &M::olblOSN, &M::oleOSN},
      {"VREDP", "Kolona za vrednost sa PDV-om", &M::olblVREDP, &M::oleVREDP},
  };
  return columns;
}

}  // namespace korvan::izsrc
