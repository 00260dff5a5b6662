#pragma once

#include "forms/Units.h"

#include <QSize>
#include <algorithm>

namespace platform {

// The display a screen covers, as the screens measure it: in twips, and how much larger than
// designed text and small pictures are shown on it.
class Screen {
public:
    explicit Screen(QSize pixels)
        : pixels_(pixels)
    {}

    double Width() const { return PixelsToTwips(pixels_.width()); }
    double Height() const { return PixelsToTwips(pixels_.height()); }
    // The display's size beside the 1024 x 768 of the design, in logical pixels, never below 1.
    double TextScale() const { return std::max(1.0, std::min(pixels_.width() / 1024.0, pixels_.height() / 768.0)); }

private:
    QSize pixels_;
};

} // namespace platform
