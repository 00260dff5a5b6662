#pragma once

#include <QColor>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace platform {

// Screens are designed in twips; a logical pixel is 15 twips (96 dots per inch).
inline constexpr int TwipsPerPixel = 15;

// Rounds a twips value to whole logical pixels. Values beyond any real display are clamped
// so that absurd sizes cannot overflow an int.
inline int TwipsToPixels(double twips)
{
    if (!std::isfinite(twips)) return 0;
    constexpr double limit = 1.0e7;
    const double px = std::clamp(twips / TwipsPerPixel, -limit, limit);
    return static_cast<int>(std::lround(px));
}

inline constexpr double PixelsToTwips(double pixels) { return pixels * TwipsPerPixel; }

// Colours arrive as 0xBBGGRR: red in the low byte.
inline QColor ColorFromBGR(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

inline std::uint32_t BGRFromColor(const QColor& c)
{
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

} // namespace platform
