#include "common/lookglobals.h"

#include "common/accessor.h"

namespace korvan {
namespace {

int fontSize = 12;
int smallFontSize = 8;
QString& updateFolder() {
  static QString f;
  return f;
}

}  // namespace

int G_NVEL_FONT(std::optional<int> size) { return exchange(fontSize, size); }
int G_NVEL_FONTMALI(std::optional<int> size) { return exchange(smallFontSize, size); }
QString G_CUPDFOLDER(std::optional<QString> folder) { return exchange(updateFolder(), std::move(folder)); }

}  // namespace korvan
