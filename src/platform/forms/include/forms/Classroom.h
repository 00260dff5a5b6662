#pragma once

namespace platform {

// What the child at the screen may do to the program, asked by the screens as the child tries it.
// The program decides it in one place (classroom mode).
class Classroom {
public:
    virtual ~Classroom() = default;
    // Whether the child may end the program: close its window, or leave it from the menu.
    virtual bool ChildMayEnd() const = 0;
    // Whether a screen takes the whole display back when the window system takes it away.
    virtual bool HoldsDisplay() const = 0;
};

} // namespace platform
