#pragma once

#include "forms/Form.h"

namespace platform {
class CommandButton;
}

// The title screen: the game's name over a painted gradient, and the start button.
class FormAvvio : public platform::Form {
public:
    explicit FormAvvio(platform::Services& services);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void BottoneAvvio_Click();

    platform::CommandButton& BottoneAvvio;
};
