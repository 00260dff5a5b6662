#pragma once

#include "Description.h"

#include <QFont>
#include <QString>
#include <string_view>

namespace platform {

inline QString ToQString(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// A designed font: its face, size in points, weight and slant, on top of a base font.
QFont MakeFont(const FontDesc& desc, const QFont& base);
// A designed font as the display shows it: grown with the display (Screen::TextScale).
QFont ForDisplay(QFont font);

} // namespace platform
