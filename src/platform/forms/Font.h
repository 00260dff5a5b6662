#pragma once

#include "forms/Description.h"

#include <QFont>

namespace platform {

// A designed font: its face, size in points, weight and slant, on top of a base font.
QFont MakeFont(const FontDesc& desc, const QFont& base);
// A font as a display shows it: scale times its designed size.
QFont ForDisplay(QFont font, double scale);

} // namespace platform
