#pragma once

#include <QSize>

namespace platform {

// The display that the program's screens cover.
class Screen {
public:
    static double Width();  // twips
    static double Height(); // twips
    // How much larger than designed text and small pictures are shown: the display's size
    // beside the 1024 x 768 of the design, in logical pixels, never below 1.
    static double TextScale();
    // For tests: a display of this size in logical pixels; an empty size restores the real one.
    static void SetSizeForTesting(QSize pixels);
    // Whether the display is a test's stand-in, which the window system knows nothing of.
    static bool Simulated();
};

} // namespace platform
