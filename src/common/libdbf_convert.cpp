// Copying records into a structure whose field types changed.
#include "common/dates.h"
#include "common/dbf/dbferror.h"
#include "common/dbf/table.h"
#include "common/dbf/workarea.h"
#include "common/libdbf.h"
#include "common/libdbf_internal.h"
#include "common/numbers.h"

#include <cmath>

namespace korvan {
namespace {

const QDate kDayZero(2000, 1, 1);

// A number as text right-aligned in width with dec decimals; a memo (no
// width of its own) takes the whole text when it is longer.
QString numberText(double v, int width, int dec, bool memo, const dbf::FieldDef& target, const QString& file) {
  dbf::FieldDef f{target.name, 'N', width, dec};
  if (memo) {
    f.len = 20;
    const QByteArray t = dbf::encodeNumber(v, f, file).trimmed();
    return QString::fromLatin1(t).rightJustified(width);
  }
  return QString::fromLatin1(dbf::encodeNumber(v, f, file));
}

// The old value converted for the new field.
QVariant convert(dbf::Table& old, int pos, const dbf::FieldDef& from, const dbf::FieldDef& to) {
  const QVariant v = old.value(pos);
  const QString file = old.dbfPath();
  const char a = from.type, b = to.type;
  if (a == b) return v;
  const bool textual = b == 'C' || b == 'M';
  if (a == 'N' && textual) return numberText(v.toDouble(), b == 'M' ? 10 : to.len, from.dec, b == 'M', to, file);
  if (a == 'D' && textual) return DTOC(v.toDate());
  if ((a == 'M' && b == 'C') || (a == 'C' && b == 'M')) return v.toString();
  if ((a == 'C' || a == 'M') && b == 'N') return VAL(v.toString());
  if (a == 'D' && b == 'N') {
    // The empty date has no day number: it becomes 0.
    const QDate d = v.toDate();
    return d.isValid() ? double(kDayZero.daysTo(d)) : 0.0;
  }
  if ((a == 'C' || a == 'M') && b == 'D') return CTOD(v.toString().trimmed());
  if (a == 'N' && b == 'D') return kDayZero.addDays(qint64(std::floor(v.toDouble())));
  dbf::fail(dbf::EG_DATATYPE, dbf::SC_DATATYPE,
            "Polje " + to.name + " se ne može pretvoriti iz tipa " + QChar(a) + " u tip " + QChar(b), file,
            "append");
}

}  // namespace

void APENDUJ_RAZL_TIP(const QString& path, bool exclusive, const QString& alias, const dbf::Structure& list,
                      const dbf::Structure& stored) {
  dbf::Table* tmp = dbf::area("TMP");
  if (!tmp) dbf::fail(dbf::EG_NOALIAS, dbf::SC_ALIAS, "Tabela TMP nije otvorena", path, "append");
  const bool opened = !dbf::isUsed(alias);
  if (opened && !NET_USE2(path, exclusive, 3, alias, false))
    dbf::fail(dbf::EG_OPEN, dbf::SC_OPEN, "Tabela je zauzeta", path, "append", dbf::kSharingViolation);
  struct Close {
    bool on;
    QString alias;
    ~Close() {
      if (on) dbf::closeArea(alias);
    }
  } close{opened, alias};
  dbf::Table& old = *dbf::area(alias);
  struct Pair {
    int to, from;
    dbf::FieldDef target, source;
  };
  QList<Pair> pairs;
  for (int i = 0; i < list.size(); ++i)
    for (const dbf::FieldDef& s : stored)
      if (s.name == list[i].name) {
        const int from = old.fieldPos(s.name), to = tmp->fieldPos(list[i].name);
        if (from && to) pairs.append({to, from, tmp->field(to), old.field(from)});
      }
  old.setOrder(0);
  for (old.top(); !old.eof(); old.skip()) {
    if (!tmp->appendBlank())
      dbf::fail(dbf::EG_APPENDLOCK, dbf::SC_APPENDLOCK, "Ne može se dodati slog", tmp->dbfPath(), "append");
    for (const Pair& p : pairs) tmp->put(p.to, convert(old, p.from, p.source, p.target));
  }
  tmp->unlock();
}

}  // namespace korvan
