#pragma once
// Look settings that the whole program reads: the point sizes of the standard
// and the small font and the update folder. Each accessor returns the value
// held before the call and stores its argument when one is passed.
#include <QString>

#include <optional>

namespace korvan {

int G_NVEL_FONT(std::optional<int> size = std::nullopt);       // standard font, 12 at start
int G_NVEL_FONTMALI(std::optional<int> size = std::nullopt);   // small font, 8 at start
QString G_CUPDFOLDER(std::optional<QString> folder = std::nullopt);  // "" at start

}  // namespace korvan
