#pragma once

// The one solver of the tests: the fewest swaps that make three hands of seven carry the same
// total, found by a breadth-first search over the hands' contents (the order of cards within
// a hand does not matter). Standard library only, so that the rules' tests can use it.

#include <algorithm>
#include <array>
#include <map>
#include <queue>
#include <utility>
#include <vector>

namespace support {

using Board = std::array<int, 21>; // slot = hand * 7 + index

// (target slot, source slot) pairs; empty when the board is even already or cannot be made so.
inline std::vector<std::pair<int, int>> Solve(Board board)
{
    struct Step {
        Board from;
        int handA, valueA, handB, valueB;
    };
    auto canonical = [](Board b) {
        for (int h = 0; h < 3; ++h) std::sort(b.begin() + 7 * h, b.begin() + 7 * h + 7);
        return b;
    };
    auto even = [](const Board& b) {
        int t[3] = {0, 0, 0};
        for (int s = 0; s < 21; ++s) t[s / 7] += b[std::size_t(s)];
        return t[0] == t[1] && t[1] == t[2];
    };
    const Board start = canonical(board);
    std::map<Board, Step> parent{{start, {start, -1, 0, 0, 0}}};
    std::queue<Board> queue;
    queue.push(start);
    while (!queue.empty() && !even(queue.front())) {
        const Board s = queue.front();
        queue.pop();
        for (int a = 0; a < 21; ++a)
            for (int b = (a / 7 + 1) * 7; b < 21; ++b) {
                const int va = s[std::size_t(a)], vb = s[std::size_t(b)];
                if (va == vb) continue;
                Board n = s;
                std::swap(n[std::size_t(a)], n[std::size_t(b)]);
                if (parent.emplace(canonical(n), Step{s, a / 7, va, b / 7, vb}).second) queue.push(canonical(n));
            }
    }
    std::vector<Step> steps;
    for (Board s = queue.empty() ? start : queue.front(); !queue.empty() && parent[s].handA >= 0; s = parent[s].from)
        steps.push_back(parent[s]);
    std::reverse(steps.begin(), steps.end());
    std::vector<std::pair<int, int>> moves;
    auto slotOf = [&](int hand, int value) {
        return int(std::find(board.begin() + 7 * hand, board.begin() + 7 * hand + 7, value) - board.begin());
    };
    for (const Step& st : steps) {
        const int a = slotOf(st.handA, st.valueA), b = slotOf(st.handB, st.valueB);
        std::swap(board[std::size_t(a)], board[std::size_t(b)]);
        moves.emplace_back(b, a);
    }
    return moves;
}

} // namespace support
