#include "common/lookglobals.h"

namespace korvan {
namespace {

int fontSize = 12;
int smallFontSize = 8;
QString& updateFolder() {
  static QString f;
  return f;
}

template <typename T>
T exchange(T& held, std::optional<T> v) {
  T old = held;
  if (v) held = std::move(*v);
  return old;
}

}  // namespace

int G_NVEL_FONT(std::optional<int> size) { return exchange(fontSize, size); }
int G_NVEL_FONTMALI(std::optional<int> size) { return exchange(smallFontSize, size); }
QString G_CUPDFOLDER(std::optional<QString> folder) { return exchange(updateFolder(), std::move(folder)); }

}  // namespace korvan
