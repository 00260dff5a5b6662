#include "Board.h"

namespace game {

std::int64_t CardValue(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        if (value > (INT64_MAX - 9) / 10) break; // no real card comes near: stop rather than overflow
        value = value * 10 + (text[i].unicode() - '0');
    }
    return negative ? -value : value;
}

} // namespace game
