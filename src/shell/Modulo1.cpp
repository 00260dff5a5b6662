#include "shell/Modulo1.h"

#include "game/GameScreen.h"
#include "platform/App.h"
#include "platform/Display.h"
#include "platform/Form.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Random.h"
#include "platform/Screen.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "shell/FormAvvio.h"
#include "shell/FormMenu.h"

#include <QShortcut>
#include <QWidget>

using namespace platform;

namespace Modulo1 {

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

void Main(Services& services)
{
    if (services.app.PrevInstance()) {
        services.boxes.Show({QStringLiteral("E' già stata avviata una copia di questo programma!"), vbCritical,
                             QStringLiteral("Error"), QStringLiteral("Error"), nullptr,
                             Screen(services.display.Size(nullptr)).TextScale()});
        return;
    }
    Randomize();
    services.forms.Show(QStringLiteral("FormAvvio"));
}

QString InformationText()
{
    return QStringLiteral(MERENDELLA_CREDITS_NAME "  ") + QStringLiteral("\r\n") +
           QStringLiteral(" ----------------------- ") + QStringLiteral("\r\n") +
           QStringLiteral(MERENDELLA_CREDITS_WEB) + QStringLiteral("\r\n") +
           QStringLiteral("mail: " MERENDELLA_CREDITS_MAIL);
}

void MostraInformazioni(Form& over) { over.MsgBox(InformationText(), vbInformation, QStringLiteral("Merendella")); }

} // namespace Modulo1
