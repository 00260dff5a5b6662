#include "shell/ModuloColoriSuoni.h"

#include "forms/Random.h"
#include "rules/Palette.h"

namespace ModuloColoriSuoni {

std::int32_t ColoreCasuale() { return rules::Palette[std::size_t(rules::PalettePosition(platform::Rnd()))]; }

} // namespace ModuloColoriSuoni
