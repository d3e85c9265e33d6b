#include "windows/slobun_tables.h"

#include "common/apppath.h"
#include "common/dbf/workarea.h"
#include "common/files.h"
#include "common/texthelp.h"

namespace korvan {

namespace {

const QString kKomit = QStringLiteral("KOMIT");
const QString kArt = QStringLiteral("ART");

QString tablePath(const QString& name) { return GETAPPPATH() + QStringLiteral("BAZE/") + name; }

bool openShared(const QString& alias, const QString& title, const IndexList& tags,
                const dbf::Structure& structure, bool& opened) {
  if (dbf::isUsed(alias)) {
    opened = false;
    return dbf::selectArea(alias);
  }
  opened = true;
  PRAVI_DIR(FIND_FILE(GETAPPPATH() + QStringLiteral("BAZE")));
  const bool ok = OTVORI(tablePath(alias), false, title, alias, tags, structure);
  if (!ok) opened = false;
  return ok;
}

// Seeks text under the tag as a stored key: padded (or cut) to the field's width.
bool seekExact(dbf::Table& t, int tag, const QString& field, const QString& text) {
  t.setOrder(tag);
  return t.seekBytes(dbf::encodeText(text, t.field(t.fieldPos(field)).len), false, true);
}

// Found: lock it; else append. Then write and commit.
SlogIshod lockOrAppend(dbf::Table& t, bool found, double seconds, const std::function<void(dbf::Table&)>& write) {
  if (found ? !REC_LOCK(seconds) : !ADD_REC(seconds))
    return found ? SlogIshod::Zakljucan : SlogIshod::NijeDodat;
  write(t);
  t.commit();
  t.unlock();
  return SlogIshod::Upisan;
}

template <typename T>
QList<T> readAll(const QString& alias, const SlogProgres& progress, const std::function<T(dbf::Table&)>& read) {
  QList<T> out;
  if (!dbf::selectArea(alias)) return out;
  dbf::Table& t = dbf::current();
  t.setOrder(0);
  const int count = int(t.recCount());
  for (t.top(); !t.eof(); t.skip()) {
    if (progress && !progress(int(out.size()), count)) break;
    out.append(read(t));
  }
  return out;
}

}  // namespace

const dbf::Structure& KOMIT_STRUKTURA() {
  static const dbf::Structure s = {{"PIB", 'C', 20, 0},     {"NAZIV", 'C', 80, 0},   {"ADRESA", 'C', 80, 0},
                                   {"MESTO", 'C', 80, 0},   {"POST_BROJ", 'C', 20, 0}, {"EMAIL", 'C', 80, 0},
                                   {"MATBROJ", 'C', 20, 0}, {"JBKJS", 'C', 20, 0},   {"UGOVOR", 'C', 80, 0}};
  return s;
}

const dbf::Structure& ART_STRUKTURA() {
  static const dbf::Structure s = {{"SIFRA", 'C', 20, 0}, {"BARKOD", 'C', 20, 0}, {"NAZIV", 'C', 80, 0},
                                   {"JMERE", 'C', 10, 0}, {"STOPA", 'N', 7, 2},   {"CENB", 'N', 14, 4}};
  return s;
}

bool OTVORI_KOMIT_TABELU(bool& opened) {
  return openShared(kKomit, QStringLiteral("KOMITENATA"), {{tablePath(kKomit), QStringLiteral("PIB")}},
                    KOMIT_STRUKTURA(), opened);
}

bool OTVORI_ART_TABELU(bool& opened) {
  return openShared(kArt, QStringLiteral("ARTIKALA"),
                    {{tablePath(kArt), QStringLiteral("SIFRA")},
                     {tablePath(QStringLiteral("ART2")), QStringLiteral("BARKOD")},
                     {tablePath(QStringLiteral("ART3")), QStringLiteral("NAZIV")}},
                    ART_STRUKTURA(), opened);
}

void ZATVORI_AKO(const QString& alias, bool opened) {
  if (opened) dbf::closeArea(alias);
}

SlogIshod UPISI_KOMIT(const SlobunKupac& k, double lockSeconds) {
  dbf::selectArea(kKomit);
  dbf::Table& t = dbf::current();
  const bool found = seekExact(t, 1, QStringLiteral("PIB"), k.pib);
  return lockOrAppend(t, found, lockSeconds, [&k](dbf::Table& r) {
    r.put(QStringLiteral("PIB"), k.pib);
    r.put(QStringLiteral("NAZIV"), k.naziv);
    r.put(QStringLiteral("ADRESA"), k.adresa);
    r.put(QStringLiteral("MESTO"), k.mesto);
    r.put(QStringLiteral("POST_BROJ"), k.postBroj);
    r.put(QStringLiteral("EMAIL"), k.email);
    r.put(QStringLiteral("MATBROJ"), k.matbroj);
    r.put(QStringLiteral("JBKJS"), k.jbkjs);
    r.put(QStringLiteral("UGOVOR"), k.ugovor);
  });
}

SlogIshod UPISI_ARTIKAL(const SlobunArtikal& a, double lockSeconds) {
  dbf::selectArea(kArt);
  dbf::Table& t = dbf::current();
  bool found = !a.sifra.isEmpty() && seekExact(t, 1, QStringLiteral("SIFRA"), a.sifra);
  if (!found && !a.barkod.isEmpty()) found = seekExact(t, 2, QStringLiteral("BARKOD"), a.barkod);
  if (!found && !a.naziv.isEmpty()) found = seekExact(t, 3, QStringLiteral("NAZIV"), a.naziv);
  return lockOrAppend(t, found, lockSeconds, [&a](dbf::Table& r) {
    r.put(QStringLiteral("SIFRA"), a.sifra);
    r.put(QStringLiteral("BARKOD"), a.barkod);
    r.put(QStringLiteral("NAZIV"), a.naziv);
    r.put(QStringLiteral("JMERE"), a.jmere);
    r.put(QStringLiteral("STOPA"), a.stopa);
    r.put(QStringLiteral("CENB"), a.cenb);
  });
}

namespace {

SlobunKupac readKupac(dbf::Table& t) {
  auto f = [&t](const char* name) { return rtrim(t.value(QString::fromLatin1(name)).toString()); };
  return SlobunKupac{.naziv = f("NAZIV"), .pib = f("PIB"), .mesto = f("MESTO"), .adresa = f("ADRESA"),
                     .postBroj = f("POST_BROJ"), .email = f("EMAIL"), .matbroj = f("MATBROJ"),
                     .jbkjs = f("JBKJS"), .ugovor = f("UGOVOR")};
}

}  // namespace

std::optional<SlobunKupac> NADJI_KOMIT(const QString& pib) {
  if (pib.trimmed().isEmpty() || !dbf::selectArea(kKomit)) return std::nullopt;
  dbf::Table& t = dbf::current();
  if (!seekExact(t, 1, QStringLiteral("PIB"), pib)) return std::nullopt;
  return readKupac(t);
}

QList<SlobunKupac> SVI_KOMITENTI(const SlogProgres& progress) {
  return readAll<SlobunKupac>(kKomit, progress, &readKupac);
}

QList<SlobunArtikal> SVI_ARTIKLI(const SlogProgres& progress) {
  return readAll<SlobunArtikal>(kArt, progress, [](dbf::Table& t) {
    auto f = [&t](const char* name) { return rtrim(t.value(QString::fromLatin1(name)).toString()); };
    return SlobunArtikal{.sifra = f("SIFRA"), .barkod = f("BARKOD"), .naziv = f("NAZIV"), .jmere = f("JMERE"),
                         .stopa = t.value(QStringLiteral("STOPA")).toDouble(),
                         .cenb = t.value(QStringLiteral("CENB")).toDouble()};
  });
}

}  // namespace korvan
