#include "common/dbf/workarea.h"

#include "common/dbf/dbferror.h"

#include <map>
#include <optional>

namespace korvan::dbf {
namespace {

struct Areas {
  std::map<QString, std::unique_ptr<Table>> open;  // by upper-case alias
  QList<QString> order;                            // aliases in opening order
  QString current;
};

Areas& areas() {
  static Areas a;
  return a;
}

QString norm(const QString& alias) { return alias.trimmed().toUpper(); }

}  // namespace

bool useArea(const QString& path, const QString& alias, bool exclusive, bool readOnly) {
  const QString a = norm(alias);
  if (a.isEmpty()) fail(EG_ARG, SC_ALIAS, "Prazan alias", path, "use");
  if (areas().open.count(a)) fail(EG_DUPALIAS, SC_ALIAS, "Alias " + a + " je već otvoren", path, "use");
  std::unique_ptr<Table> t = Table::open(path, exclusive, readOnly);
  if (!t) return false;
  areas().open[a] = std::move(t);
  areas().order << a;
  areas().current = a;
  return true;
}

Table* area(const QString& alias) {
  auto it = areas().open.find(norm(alias));
  return it == areas().open.end() ? nullptr : it->second.get();
}

bool hasCurrent() { return area(areas().current) != nullptr; }

Table& current() {
  Table* t = area(areas().current);
  if (!t) fail(EG_NOTABLE, SC_ALIAS, "Nema otvorene tabele u tekućem radnom području", {}, "select");
  return *t;
}

QString currentAlias() { return hasCurrent() ? areas().current : QString(); }

bool selectArea(const QString& alias) {
  if (!area(alias)) return false;
  areas().current = norm(alias);
  return true;
}

bool isUsed(const QString& alias) { return area(alias) != nullptr; }

void closeArea(const QString& alias) {
  const QString a = norm(alias);
  auto it = areas().open.find(a);
  if (it == areas().open.end()) return;
  std::unique_ptr<Table> t = std::move(it->second);
  areas().open.erase(it);
  areas().order.removeAll(a);
  t->close();
}

void closeCurrentArea() { closeArea(areas().current); }

void closeAllAreas() {
  std::optional<DbfError> first;
  const QList<QString> order = areas().order;
  for (auto it = order.crbegin(); it != order.crend(); ++it) {
    try {
      closeArea(*it);
    } catch (const DbfError& e) {
      if (!first) first = e;
    }
  }
  if (first) throw *first;
}

QStringList openAliases() { return areas().order; }

}  // namespace korvan::dbf
