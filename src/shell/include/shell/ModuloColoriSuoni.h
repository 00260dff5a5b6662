#pragma once

#include <cstdint>

// Background colours for the title screen and the menu.
namespace ModuloColoriSuoni {

// A colour drawn at random from the palette, 0xBBGGRR.
std::int32_t ColoreCasuale();

} // namespace ModuloColoriSuoni
