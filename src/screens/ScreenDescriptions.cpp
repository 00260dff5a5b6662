#include "screens/ScreenDescriptions.h"

// The descriptions are data in the header; this unit checks them when the library builds.
namespace screens {

static_assert(game_layout::GameControls[0].left == 840 && game_layout::GameControls[0].top == 720);
static_assert(game_layout::GameControls[20].left == 8760 && game_layout::GameControls[20].top == 3600);
static_assert(game_layout::GameControls[29].kind == ControlKind::MenuItem);

} // namespace screens
