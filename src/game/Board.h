#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The rules of the board that do not need a screen.
namespace game {

// A card's value: the number its value text begins with; a text that does not begin with a
// number, an empty one among them, counts as 0.
std::int64_t CardValue(const QString& text);

using HandTotals = std::array<std::int64_t, 3>;

// The game is won when the three hands carry the same total.
constexpr bool HandsEven(const HandTotals& t) { return t[1] == t[0] && t[2] == t[0]; }

// The move counter stops at the largest value it can hold rather than wrapping round.
constexpr std::int16_t NextMoveCount(std::int16_t count) { return count < INT16_MAX ? std::int16_t(count + 1) : count; }

} // namespace game
