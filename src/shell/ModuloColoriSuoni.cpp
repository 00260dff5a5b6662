#include "ModuloColoriSuoni.h"

#include "platform/Random.h"

#include <algorithm>
#include <cmath>

namespace ModuloColoriSuoni {

int PalettePosition(double r) { return std::clamp(int(std::floor(r * 18)) + 1, 1, 18); }

std::int32_t ColoreCasuale() { return Palette[std::size_t(PalettePosition(platform::Rnd()))]; }

} // namespace ModuloColoriSuoni
