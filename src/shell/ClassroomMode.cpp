#include "shell/ClassroomMode.h"

#include "forms/Form.h"
#include "forms/Forms.h"
#include "machine/Settings.h"

bool ClassroomMode::ChildMayEnd() const { return !settings_.kiosk; }

bool ClassroomMode::HoldsDisplay() const { return settings_.kiosk; }

void ClassroomMode::Equip(platform::Form& screen, platform::Forms& forms) const
{
    if (settings_.kiosk) screen.AddShortcut((Qt::CTRL | Qt::SHIFT | Qt::Key_Q).toCombined(), [&forms] { forms.End(); });
}
