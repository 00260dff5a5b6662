#pragma once

#include <QSize>

namespace platform {

// The display that the program's screens cover.
class Screen {
public:
    static double Width();  // twips
    static double Height(); // twips
    // For tests: a display of this size in logical pixels; an empty size restores the real one.
    static void SetSizeForTesting(QSize pixels);
    // Whether the display is a test's stand-in, which the window system knows nothing of.
    static bool Simulated();
};

} // namespace platform
