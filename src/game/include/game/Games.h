#pragma once

#include "rules/ContentSets.h"
#include "screens/ScreenDescriptions.h"

#include <array>

namespace game {

// The games the menu offers: each is the one game screen given a content set (its deals, pictures
// and words), a description of its own, by which it is known, and the picture of what its cards
// count, beside each child's total.
struct Game {
    const rules::ContentSet& content;
    const platform::FormDesc& description;
    std::string_view unit;
};

inline constexpr std::array<Game, 2> Games{{
    {rules::Tarts, screens::FormMemory, screens::art::Strawberry},
    {rules::Stickers, screens::FormMemory2, screens::art::Star},
}};

} // namespace game
