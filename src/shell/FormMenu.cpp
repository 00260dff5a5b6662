#include "shell/FormMenu.h"

#include "forms/Classroom.h"
#include "forms/CommandButton.h"
#include "forms/Forms.h"
#include "layout/GestoreLayout.h"
#include "machine/Sound.h"
#include "screens/ScreenDescriptions.h"
#include "shell/Modulo1.h"
#include "shell/ModuloColoriSuoni.h"
#include "texts/Texts.h"

using namespace platform;

FormMenu::FormMenu(Services& services)
    : Form(screens::FormMenu, services),
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
    services_.forms.Show(QStringLiteral("FormMemory"));
    services_.forms.Unload(*this);
}

void FormMenu::Command2_Click()
{
    services_.forms.Show(QStringLiteral("FormMemory2"));
    services_.forms.Unload(*this);
}

void FormMenu::Command14_Click() { Modulo1::MostraInformazioni(*this); }

void FormMenu::BottoneEsci_Click()
{
    if (!services_.classroom.ChildMayEnd()) return services_.sound.Play(Cue::Nothing);
    if (MsgBox(texts::ExitQuestion(), vbYesNo + vbQuestion, texts::GameTitle()) == vbYes) services_.forms.End();
}
