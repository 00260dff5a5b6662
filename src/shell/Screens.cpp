#include "shell/Screens.h"

#include "forms/Form.h"
#include "forms/Forms.h"
#include "forms/Services.h"
#include "forms/Text.h"
#include "game/GameScreen.h"
#include "game/Games.h"
#include "game/Scanner.h"
#include "machine/Settings.h"
#include "machine/Sound.h"
#include "machine/Speech.h"
#include "shell/ClassroomMode.h"
#include "shell/FormAvvio.h"
#include "shell/FormMenu.h"

#include <type_traits>

using namespace platform;

namespace {

// What every screen answers beside its own controls.
template <class Screen>
std::unique_ptr<Form> Equipped(std::unique_ptr<Screen> screen, Services& services, const ClassroomMode& classroom)
{
    // Sounds and voice off, and on again, for as long as the program runs; nothing is written
    // anywhere.
    screen->AddShortcut(Qt::Key_M, [&services] {
        const bool muted = !services.sound.Muted();
        services.sound.SetMuted(muted);
        if (services.settings.voice) services.speech.SetMuted(muted);
    });
    classroom.Equip(*screen, services.forms);
    // A child who presses one switch only plays through scanning; a game's cards by rows.
    if (services.settings.scan >= 0) {
        if constexpr (std::is_base_of_v<game::GameScreen, Screen>)
            new game::Scanner(*screen, services, &screen->Moves(), screen->RowNames());
        else
            new game::Scanner(*screen, services);
    }
    return screen;
}

} // namespace

void RegisterScreens(Services& services, const ClassroomMode& classroom)
{
    const auto add = [&](std::string_view name, auto make) {
        services.forms.Register(
            ToQString(name), [&services, &classroom, make] { return Equipped(make(services), services, classroom); });
    };
    add("FormAvvio", [](Services& s) { return std::make_unique<FormAvvio>(s); });
    add("FormMenu", [](Services& s) { return std::make_unique<FormMenu>(s); });
    for (const game::Game& g : game::Games)
        add(g.description.name, [&g](Services& s) { return std::make_unique<game::GameScreen>(g, s); });
}
