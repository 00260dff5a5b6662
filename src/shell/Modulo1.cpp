#include "shell/Modulo1.h"

#include "platform/App.h"
#include "platform/Display.h"
#include "platform/Form.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Random.h"
#include "platform/Screen.h"
#include "platform/Services.h"

using namespace platform;

namespace Modulo1 {

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
