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

QString CardName(const ContentSet& content, std::int64_t value)
{
    const std::string_view name = value == 0 ? content.none : value == 1 ? content.one : content.more;
    const QString text = QString::fromUtf8(name.data(), qsizetype(name.size()));
    return text.contains(QLatin1String("%1")) ? text.arg(value) : text;
}

QString CardPlace(int hand, int index)
{
    const std::string_view child = Children[std::size_t(hand)];
    return QStringLiteral("%1, carta %2 di %3")
        .arg(QString::fromUtf8(child.data(), qsizetype(child.size())))
        .arg(index + 1)
        .arg(CardsPerHand);
}

HandTotals Totals(const BoardTexts& board)
{
    HandTotals sums{};
    for (int i = 0; i < CardsPerHand; ++i)
        for (int h = 0; h < Hands; ++h) sums[std::size_t(h)] += CardValue(board[std::size_t(h)][std::size_t(i)]);
    return sums;
}

} // namespace rules
