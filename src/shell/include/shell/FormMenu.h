#pragma once

#include "forms/Form.h"

namespace platform {
class CommandButton;
}

// The main menu: the two games, the credits and the way out.
class FormMenu : public platform::Form {
public:
    explicit FormMenu(platform::Services& services);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Command1_Click();
    void Command2_Click();
    void Command14_Click();
    void BottoneEsci_Click();

    platform::CommandButton& Command1;
    platform::CommandButton& Command2;
    platform::CommandButton& Command14;
    platform::CommandButton& BottoneEsci;
};
