#include "screens/ScreenDescriptions.h"

// The descriptions are data in the header; this unit checks them when the library builds.
namespace screens {

namespace {

// Whether the control at this place in a list lies over another control of it.
constexpr bool Overlaps(std::span<const ControlDesc> controls, std::size_t k)
{
    const ControlDesc& a = controls[k];
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlDesc& b = controls[i];
        if (i != k && b.width > 0 && a.left < b.left + b.width && b.left < a.left + a.width &&
            a.top < b.top + b.height && b.top < a.top + a.height)
            return true;
    }
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

} // namespace screens
