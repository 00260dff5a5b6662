#include "rules/Palette.h"

#include <algorithm>
#include <cmath>

namespace rules {

int PalettePosition(double r) { return std::clamp(int(std::floor(r * 18)) + 1, 1, 18); }

} // namespace rules
