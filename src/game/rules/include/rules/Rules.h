#pragma once

#include "rules/ContentSets.h"

#include <QString>
#include <array>
#include <cstdint>

// The rules of the game, apart from any screen: which deal a draw picks, what a card is worth,
// when the hands are even, how the move counter counts.
namespace rules {

// The deal that a draw r in [0, 1) picks among count deals, each equally likely.
int DealNumber(double r, int count);
const Deal& DealFor(const ContentSet& content, double r);

// A card's value: the number its value text begins with; a text that does not begin with a
// number, an empty one among them, counts as 0.
std::int64_t CardValue(const QString& text);

using HandTotals = std::array<std::int64_t, Hands>;
using BoardTexts = std::array<std::array<QString, CardsPerHand>, Hands>;

// The total of each hand, from the value texts of its cards.
HandTotals Totals(const BoardTexts& board);

// The game is won when the three hands carry the same total.
constexpr bool HandsEven(const HandTotals& t) { return t[1] == t[0] && t[2] == t[0]; }

// The move counter stops at the largest value it can hold rather than wrapping round.
constexpr std::int16_t NextMoveCount(std::int16_t count) { return count < INT16_MAX ? std::int16_t(count + 1) : count; }

} // namespace rules
