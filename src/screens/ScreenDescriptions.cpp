#include "screens/ScreenDescriptions.h"

// The descriptions are data in the header; this unit checks them when the library builds.
namespace screens {

namespace {

constexpr bool Meet(const ControlDesc& a, const ControlDesc& b)
{
    return b.width > 0 && a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// Whether the control at this place in a list lies over another control of it.
constexpr bool Overlaps(std::span<const ControlDesc> controls, std::size_t k)
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (i != k && Meet(controls[k], controls[i])) return true;
    return false;
}

// Whether the counting aid lies over what the game is played with: a card, the instructions, the
// counter, a button. It may cover the children's feet, and its pictures their badges.
constexpr bool AidCoversPlay(std::span<const ControlDesc> controls)
{
    const auto aid = [](const ControlDesc& c) { return c.name == "Label3" || c.name == "Image6"; };
    for (const ControlDesc& a : controls)
        for (const ControlDesc& b : controls)
            if (aid(a) && !aid(b) && b.name != "Image4" && Meet(a, b)) return true;
    return false;
}

} // namespace

using game_layout::GameControls;
constexpr int LastCard = rules::Hands * rules::CardsPerHand - 1;
static_assert(GameControls[0].left == 840 && GameControls[0].top == 720);
static_assert(GameControls[LastCard].left == 8760 && GameControls[LastCard].top == 3600);
static_assert(GameControls.back().kind == ControlKind::MenuItem);
static_assert(GameControls[LastCard + rules::Hands + 4].name == "BottoneAiuto" &&
              !Overlaps(GameControls, LastCard + rules::Hands + 4));
static_assert(GameControls[GameControls.size() - 3].name == "Image6" && !AidCoversPlay(GameControls));

} // namespace screens
