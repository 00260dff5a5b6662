#include "rules/Rules.h"

#include <algorithm>
#include <cmath>

namespace rules {

int DealNumber(double r, int count)
{
    if (count <= 0) return 0;
    // r is below 1, so the floor is below count; the clamp guards a generator that is not.
    return std::clamp(int(std::floor(r * count)), 0, count - 1);
}

const Deal& DealFor(const ContentSet& content, double r)
{
    return content.deals[std::size_t(DealNumber(r, int(content.deals.size())))];
}

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

HandTotals Totals(const BoardTexts& board)
{
    HandTotals sums{};
    for (int i = 0; i < CardsPerHand; ++i)
        for (int h = 0; h < Hands; ++h) sums[std::size_t(h)] += CardValue(board[std::size_t(h)][std::size_t(i)]);
    return sums;
}

} // namespace rules
