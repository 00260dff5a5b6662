#pragma once

#include "rules/ContentSets.h"
#include "screens/ScreenDescriptions.h"

#include <array>

namespace game {

// The games the menu offers: each is the one game screen given a content set (its deals, pictures
// and words) and a description of its own, by which it is known.
struct Game {
    const rules::ContentSet& content;
    const platform::FormDesc& description;
};

inline constexpr std::array<Game, 2> Games{{
    {rules::Tarts, screens::FormMemory},
    {rules::Stickers, screens::FormMemory2},
}};

} // namespace game
