#include "Modulo1.h"

#include "FormAvvio.h"
#include "FormMenu.h"
#include "game/GameScreen.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"

using namespace platform;

namespace Modulo1 {

void RegisterScreens()
{
    Forms::Register(QStringLiteral("FormAvvio"), [] { return std::make_unique<FormAvvio>(); });
    Forms::Register(QStringLiteral("FormMenu"), [] { return std::make_unique<FormMenu>(); });
    game::RegisterGameScreens();
}

void Main()
{
    if (App::PrevInstance()) {
        MsgBox(QStringLiteral("E' già stata avviata una copia di questo programma!"), vbCritical,
               QStringLiteral("Error"));
        return;
    }
    Randomize();
    Forms::Show(QStringLiteral("FormAvvio"));
}

QString InformationText()
{
    return QStringLiteral(MERENDELLA_CREDITS_NAME "  ") + QStringLiteral("\r\n") +
           QStringLiteral(" ----------------------- ") + QStringLiteral("\r\n") +
           QStringLiteral(MERENDELLA_CREDITS_WEB) + QStringLiteral("\r\n") +
           QStringLiteral("mail: " MERENDELLA_CREDITS_MAIL);
}

void MostraInformazioni() { MsgBox(InformationText(), vbInformation, QStringLiteral("Merendella")); }

} // namespace Modulo1
