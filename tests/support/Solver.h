#pragma once

// The solvers of the tests (standard library only, for the rules' tests too): the five swaps that
// even out a fresh deal of seven alike cards a hand, values l < m < h evenly spaced (high and low
// trade three cards, then each gives one to the middle: 3h + m + 3l = 7m = h + 5m + l); and, for
// any board a few swaps from the end, a search through every swap.

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <set>
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

// A shortest list of swaps that evens the hands out, as (target slot, source slot) pairs, found by
// trying every swap between hands, a level at a time (boards whose hands hold the same cards in
// another order are tried once); none when there is none within `most` swaps.
inline std::optional<std::vector<std::pair<int, int>>> Shortest(const Board& board, int most = 4)
{
    const auto sum = [](const Board& b, int h) { return std::accumulate(b.begin() + h * 7, b.begin() + h * 7 + 7, 0); };
    const auto key = [](Board b) {
        for (int h = 0; h < 3; ++h) std::sort(b.begin() + h * 7, b.begin() + h * 7 + 7);
        return b;
    };
    // Of alike cards in a hand, only the leftmost is moved: the others would give the same boards.
    const auto first = [](const Board& b, int s) {
        return std::find(b.begin() + s / 7 * 7, b.begin() + s, b[std::size_t(s)]) == b.begin() + s;
    };
    std::set<Board> seen{key(board)};
    std::vector<std::pair<Board, std::vector<std::pair<int, int>>>> level{{board, {}}};
    for (int depth = 0; !level.empty(); ++depth) {
        for (const auto& [b, way] : level)
            if (sum(b, 0) == sum(b, 1) && sum(b, 1) == sum(b, 2)) return way;
        if (depth == most) break;
        decltype(level) next;
        for (const auto& [b, way] : level)
            for (int from = 0; from < 21; ++from)
                for (int to = (from / 7 + 1) * 7; to < 21; ++to) {
                    if (b[std::size_t(from)] == b[std::size_t(to)] || !first(b, from) || !first(b, to)) continue;
                    Board after = b;
                    std::swap(after[std::size_t(from)], after[std::size_t(to)]);
                    if (!seen.insert(key(after)).second) continue;
                    next.push_back({after, way});
                    next.back().second.push_back({to, from});
                }
        level = std::move(next);
    }
    return std::nullopt;
}

} // namespace support
