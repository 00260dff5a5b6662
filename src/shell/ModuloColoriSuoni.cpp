#include "ModuloColoriSuoni.h"

#include "game/rules/Palette.h"
#include "platform/Random.h"

namespace ModuloColoriSuoni {

std::int32_t ColoreCasuale() { return rules::Palette[std::size_t(rules::PalettePosition(platform::Rnd()))]; }

} // namespace ModuloColoriSuoni
