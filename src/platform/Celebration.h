#pragma once

#include <vector>

namespace platform {

class Form;
class Image;

// A few seconds of confetti falling over a screen while some of its pictures jump for joy.
// It is drawn over the client area, takes no input, and leaves every control as it was.
class Celebration {
public:
    static void Start(Form& form, const std::vector<Image*>& jumpers);
    static void Stop();
    static bool Running();
    // Draws the frame of this moment after the start, as the animation's timer does; from then
    // on the caller, not the clock, says which frame comes (for tests and benchmarks).
    static void Frame(double seconds);
};

} // namespace platform
