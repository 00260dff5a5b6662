#include "FormMenu.h"

#include "Modulo1.h"
#include "ModuloColoriSuoni.h"
#include "platform/CommandButton.h"
#include "platform/Forms.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "screens/ScreenDescriptions.h"

using namespace platform;

FormMenu::FormMenu()
    : Form(screens::FormMenu),
      Command1(Get<CommandButton>(QStringLiteral("Command1"))),
      Command2(Get<CommandButton>(QStringLiteral("Command2"))),
      Command14(Get<CommandButton>(QStringLiteral("Command14"))),
      BottoneEsci(Get<CommandButton>(QStringLiteral("BottoneEsci")))
{
    Command1.SetClickHandler([this] { Command1_Click(); });
    Command2.SetClickHandler([this] { Command2_Click(); });
    Command14.SetClickHandler([this] { Command14_Click(); });
    BottoneEsci.SetClickHandler([this] { BottoneEsci_Click(); });
}

void FormMenu::Form_Load()
{
    layout::CreateLayout(*this);
    SetBackColor(std::uint32_t(ModuloColoriSuoni::ColoreCasuale()));
}

void FormMenu::Form_Activate() { CoverDisplay(); }

void FormMenu::Form_Resize() { layout::ResizeLayout(); }

void FormMenu::Command1_Click()
{
    Forms::Show(QStringLiteral("FormMemory"));
    Forms::Unload(*this);
}

void FormMenu::Command2_Click()
{
    Forms::Show(QStringLiteral("FormMemory2"));
    Forms::Unload(*this);
}

void FormMenu::Command14_Click() { Modulo1::MostraInformazioni(); }

void FormMenu::BottoneEsci_Click()
{
    if (MsgBox(QStringLiteral("sicuro di voler terminare?"), vbYesNo + vbQuestion, QStringLiteral("Merendella")) ==
        vbYes)
        Forms::End();
}
