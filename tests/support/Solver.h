#pragma once

// The one solver of the tests (standard library only, for the rules' tests too): the five swaps that
// even out a fresh deal of seven alike cards a hand, values l < m < h evenly spaced. High and low
// trade three cards, then each gives one to the middle: 3h + m + 3l = 7m = h + 5m + l.

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace support {

using Board = std::array<int, 21>; // slot = hand * 7 + index

// (target slot, source slot) pairs.
inline std::vector<std::pair<int, int>> Solve(const Board& board)
{
    std::array<int, 3> hand{0, 7, 14};
    std::sort(hand.begin(), hand.end(), [&](int a, int b) { return board[std::size_t(a)] < board[std::size_t(b)]; });
    const auto [low, mid, high] = hand;
    return {{low, high}, {low + 1, high + 1}, {low + 2, high + 2}, {mid, high + 3}, {mid + 1, low + 3}};
}

} // namespace support
