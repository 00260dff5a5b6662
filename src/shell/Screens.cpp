#include "shell/Screens.h"

#include "game/GameScreen.h"
#include "forms/Form.h"
#include "forms/Forms.h"
#include "game/Scanner.h"
#include "forms/Services.h"
#include "machine/Settings.h"
#include "machine/Sound.h"
#include "machine/Speech.h"
#include "shell/FormAvvio.h"
#include "shell/FormMenu.h"

using namespace platform;

void RegisterScreens(Services& services)
{
    using Make = std::unique_ptr<Form> (*)(Services&);
    const std::pair<const char*, Make> screens[] = {
        {"FormAvvio", [](Services& s) -> std::unique_ptr<Form> { return std::make_unique<FormAvvio>(s); }},
        {"FormMenu", [](Services& s) -> std::unique_ptr<Form> { return std::make_unique<FormMenu>(s); }},
        {"FormMemory", game::MakeFormMemory},
        {"FormMemory2", game::MakeFormMemory2},
    };
    for (auto [name, make] : screens)
        services.forms.Register(QString::fromLatin1(name), [&services, make = make] {
            std::unique_ptr<Form> form = make(services);
            // Sounds and voice off, and on again, for as long as the program runs; nothing is
            // written anywhere.
            form->AddShortcut(Qt::Key_M, [&services] {
                const bool muted = !services.sound.Muted();
                services.sound.SetMuted(muted);
                if (services.settings.voice) services.speech.SetMuted(muted);
            });
            // In classroom mode the grown-up's way out: three keys held at once, of which a child
            // at play does not hold two modifiers; a held key does not repeat it.
            if (services.settings.kiosk)
                form->AddShortcut((Qt::CTRL | Qt::SHIFT | Qt::Key_Q).toCombined(),
                                  [&services] { services.forms.End(); });
            // A child who presses one switch only plays through scanning; the game's cards are
            // scanned by rows.
            if (services.settings.scan >= 0) {
                auto* game = dynamic_cast<game::GameScreen*>(form.get());
                new game::Scanner(*form, services, game ? &game->Moves() : nullptr, game ? game->RowNames() : QStringList());
            }
            return form;
        });
}
