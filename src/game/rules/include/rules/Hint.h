#pragma once

#include "rules/ContentSets.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// Help for a child who cannot find the next swap: which two cards to swap, and how to say it.
namespace rules {

using BoardValues = std::array<std::array<std::int64_t, CardsPerHand>, Hands>;

// A card by its hand and its index in the hand, both counted from 0.
struct CardSpot {
    int hand = 0;
    int index = 0;
    friend bool operator==(const CardSpot&, const CardSpot&) = default;
};

// Two cards of two different hands, the first in the upper hand.
struct Hint {
    CardSpot first, second;
    friend bool operator==(const Hint&, const Hint&) = default;
};

// The swap that brings the hands closer to even: one that starts a shortest way to the end, and
// among those the one that leaves the totals least spread. Where no way to the end is found within
// a bounded search, the swap that most narrows the spread of the totals. Among equal swaps, the
// one of the upper hands and the leftmost cards. None when the hands are even or no swap helps.
std::optional<Hint> HintFor(const BoardValues& board);

} // namespace rules
