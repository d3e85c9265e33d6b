#include "common/globals.h"

#include "common/accessor.h"
#include "common/msg.h"

namespace korvan {
namespace {

bool g_dorvatikApp = false;
QString g_er2aplik, g_er4aplik, g_cuvanje, g_saljiMejlom;
int g_posrednik = 1;

}  // namespace

bool G_LDORVATIK_APP(std::optional<bool> value) { return exchange(g_dorvatikApp, std::move(value)); }
QString G_CFOLDER_ER2APLIK(std::optional<QString> value) { return exchange(g_er2aplik, std::move(value)); }
QString G_CFOLDER_ER4APLIK(std::optional<QString> value) { return exchange(g_er4aplik, std::move(value)); }
QString G_CFOLDER_CUVANJE(std::optional<QString> value) { return exchange(g_cuvanje, std::move(value)); }
QString G_CFOLDER_SALJI_MEJLOM(std::optional<QString> value) { return exchange(g_saljiMejlom, std::move(value)); }
int G_NERACUNI_POSREDNIK(std::optional<int> value) { return exchange(g_posrednik, std::move(value)); }

bool VRATI_POLJE_MSG() { return MSG(QStringLiteral("Ne koristi se funkcija VRATI_POLJE !")); }

}  // namespace korvan
