#pragma once
// The step under every read-and-replace accessor (G_NVEL_FONT, G_COBRAZ_PUT,
// G_CFOLDER_CUVANJE, ...): the value held before the call is returned, and a
// value given is stored in its place; none leaves it unchanged.
#include <optional>
#include <utility>

namespace korvan {

template <typename T>
T exchange(T& held, std::optional<T> value) {
  T before = held;
  if (value) held = std::move(*value);
  return before;
}

}  // namespace korvan
