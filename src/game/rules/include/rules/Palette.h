#pragma once

#include <array>
#include <cstdint>

namespace rules {

// Background colours for the title screen and the menu, 0xBBGGRR. Positions 1 to 18 are
// drawn; position 0 is never used. Colours repeated in the table come up more often.
// clang-format off
inline constexpr std::array<std::int32_t, 19> Palette{
    0,
    0xC0C0FF, 0x8080FF, 0x0080FF, 0x80C0FF, 0x0080FF, 0xC0FFFF,
    0x8080FF, 0x0040C0, 0x80FF80, 0x0040C0, 0xFFFFC0, 0xFFFF00,
    0xFFC0C0, 0xFFC0FF, 0xFFC0FF, 0xE0E0E0, 0xFFC0FF, 0xFF00FF,
};
// clang-format on

// The palette position that a draw r in [0, 1) picks: 1 to 18, each with probability 1/18.
int PalettePosition(double r);

} // namespace rules
