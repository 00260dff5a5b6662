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

static_assert(game_layout::GameControls[0].left == 840 && game_layout::GameControls[0].top == 720);
static_assert(game_layout::GameControls[20].left == 8760 && game_layout::GameControls[20].top == 3600);
static_assert(game_layout::GameControls[30].kind == ControlKind::MenuItem);
static_assert(game_layout::GameControls[27].name == "BottoneAiuto" && !Overlaps(game_layout::GameControls, 27));

} // namespace screens
