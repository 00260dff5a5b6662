#include "shell/Screens.h"

#include "game/GameScreen.h"
#include "platform/Forms.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "shell/FormAvvio.h"
#include "shell/FormMenu.h"

#include <QShortcut>
#include <QWidget>

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
            // Sound off, and on again, for as long as the program runs; nothing is written anywhere.
            auto* mute = new QShortcut(QKeySequence(Qt::Key_M), form->Window());
            mute->setAutoRepeat(false);
            QObject::connect(mute, &QShortcut::activated,
                             [&sound = services.sound] { sound.SetMuted(!sound.Muted()); });
            return form;
        });
}
