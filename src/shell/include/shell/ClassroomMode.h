#pragma once

#include "forms/Classroom.h"

namespace platform {
class Form;
class Forms;
struct Settings;
} // namespace platform

// Classroom mode, for a computer a child uses alone: the child cannot end the game by accident.
// Everything it means is decided here: closing a window and "Esci" in the menu only make a soft
// sound, the screens take the display back whatever took it, and a grown-up ends the game with
// Ctrl+Shift+Q. Three keys held at once, two of them modifiers, are not what a child at play
// presses, and a held key does not repeat it. Off, the child may end the game as usual.
class ClassroomMode final : public platform::Classroom {
public:
    explicit ClassroomMode(const platform::Settings& settings)
        : settings_(settings)
    {}

    bool ChildMayEnd() const override;
    bool HoldsDisplay() const override;
    // Gives a screen the grown-up's way out, when classroom mode is on.
    void Equip(platform::Form& screen, platform::Forms& forms) const;

private:
    const platform::Settings& settings_;
};
