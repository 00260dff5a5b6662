#include "shell/Modulo1.h"

#include "forms/Form.h"
#include "forms/Forms.h"
#include "forms/MessageBoxes.h"
#include "forms/Random.h"
#include "forms/Screen.h"
#include "forms/Services.h"
#include "machine/App.h"
#include "machine/Display.h"
#include "machine/Settings.h"
#include "machine/Sound.h"
#include "machine/Speech.h"
#include "texts/Texts.h"

#include <memory>

using namespace platform;

namespace Modulo1 {

namespace {

// The refusal in a box of no screen's: in a copy that the running one did not answer, or between
// two screens of the running one.
void ShowRefusal(Services& services)
{
    services.speech.SayShown(texts::SecondCopy(), nullptr);
    services.boxes.Show({texts::SecondCopy(), vbCritical, texts::ErrorTitle(), texts::ErrorTitle(), nullptr,
                         Screen(services.display.Size(nullptr)).TextScale()});
}

// The copy that runs tells the user that another was refused, over its own screen, which comes to
// the front: some window systems keep another program's box behind a full-screen window. One box
// at a time, however many copies were started.
void TellOfSecondCopy(Services& services, const std::shared_ptr<bool>& telling)
{
    if (std::exchange(*telling, true)) return;
    if (Form* over = services.forms.Active()) {
        over->ComeToFront();
        over->MsgBox(texts::SecondCopy(), vbCritical, texts::ErrorTitle());
    } else {
        ShowRefusal(services);
    }
    *telling = false;
}

} // namespace

void Main(Services& services)
{
    if (services.app.PrevInstance()) {
        // Told by the copy that runs, if it answers; else by this one.
        if (!services.app.TellRunningCopy()) ShowRefusal(services);
        return;
    }
    services.app.SetSecondCopyHandler(
        [&services, telling = std::make_shared<bool>(false)] { TellOfSecondCopy(services, telling); });
    Randomize();
    services.sound.SetMuted(services.settings.mute);
    services.speech.SetMuted(services.settings.mute);
    // A grown-up may have chosen the game: the title and the menu are skipped, and leaving the game
    // goes to the menu as always.
    using Start = Settings::Start;
    const Start start = services.settings.start;
    services.forms.Show(QLatin1String(start == Start::Tarts      ? "FormMemory"
                                      : start == Start::Stickers ? "FormMemory2"
                                                                 : "FormAvvio"));
}

QString InformationText()
{
    return texts::Credits(QStringLiteral(MERENDELLA_CREDITS_NAME), QStringLiteral(MERENDELLA_CREDITS_WEB),
                          QStringLiteral(MERENDELLA_CREDITS_MAIL));
}

void MostraInformazioni(Form& over) { over.MsgBox(InformationText(), vbInformation, texts::GameTitle()); }

} // namespace Modulo1
