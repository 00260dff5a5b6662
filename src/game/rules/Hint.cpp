#include "rules/Hint.h"

#include "rules/Rules.h"

#include <QByteArray>
#include <QHash>
#include <algorithm>
#include <bitset>
#include <utility>
#include <vector>

namespace rules {

namespace {

// Swaps inside a hand change nothing, so a board is known by what each hand holds, in any order:
// each hand's cards as indices into the sorted distinct values, sorted. A real deal has three
// values, and then a few hundred such boards at most; the bound keeps a board of many values short.
constexpr int MaxBoards = 5000;
constexpr int MaxFirstSwaps = 3 * CardsPerHand * CardsPerHand;
// Far beyond any card, and small enough that seven of them add up without overflow.
constexpr std::int64_t Huge = 1'000'000'000'000'000;

using State = QByteArray; // Hands * CardsPerHand bytes
using Ways = std::bitset<MaxFirstSwaps>;

struct Search {
    std::vector<std::int64_t> values; // the distinct values, ascending
    BoardValues held{};               // the board, every value within reach of Huge
    State start;                      // the board as the search knows it
    std::int64_t sum = 0;

    explicit Search(const BoardValues& board)
    {
        for (int h = 0; h < Hands; ++h)
            for (int i = 0; i < CardsPerHand; ++i) {
                const std::int64_t v = std::clamp(board[std::size_t(h)][std::size_t(i)], -Huge, Huge);
                held[std::size_t(h)][std::size_t(i)] = v;
                values.push_back(v);
                sum += v;
            }
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
        start = State(Hands * CardsPerHand, 0);
        for (int c = 0; c < Hands * CardsPerHand; ++c)
            start[c] = IndexOf(held[std::size_t(c / CardsPerHand)][std::size_t(c % CardsPerHand)]);
        for (int h = 0; h < Hands; ++h)
            std::sort(start.data() + h * CardsPerHand, start.data() + (h + 1) * CardsPerHand);
    }

    char IndexOf(std::int64_t v) const
    {
        return char(std::lower_bound(values.begin(), values.end(), v) - values.begin());
    }

    std::int64_t Spread(const State& s) const
    {
        HandTotals t{};
        for (int c = 0; c < Hands * CardsPerHand; ++c) t[std::size_t(c / CardsPerHand)] += values[quint8(s[c])];
        const auto [low, high] = std::minmax_element(t.begin(), t.end());
        return *high - *low;
    }

    // The board after one card of value index a in hand h1 and one of b in hand h2 change hands.
    static State Swapped(State s, int h1, char a, int h2, char b)
    {
        char* one = s.data() + h1 * CardsPerHand;
        char* two = s.data() + h2 * CardsPerHand;
        *std::find(one, one + CardsPerHand, a) = b;
        *std::find(two, two + CardsPerHand, b) = a;
        std::sort(one, one + CardsPerHand);
        std::sort(two, two + CardsPerHand);
        return s;
    }

    template <class F> static void EachSwap(const State& s, F f)
    {
        for (int h1 = 0; h1 < Hands; ++h1)
            for (int h2 = h1 + 1; h2 < Hands; ++h2)
                for (int i = 0; i < CardsPerHand; ++i) {
                    const char a = s[h1 * CardsPerHand + i];
                    if (i > 0 && a == s[h1 * CardsPerHand + i - 1]) continue;
                    for (int j = 0; j < CardsPerHand; ++j) {
                        const char b = s[h2 * CardsPerHand + j];
                        if (a == b || (j > 0 && b == s[h2 * CardsPerHand + j - 1])) continue;
                        f(Swapped(s, h1, a, h2, b));
                    }
                }
    }

    // The first swaps, on the cards themselves: the upper hands first, then the leftmost cards;
    // of two alike cards only the leftmost. Each with the board it leaves.
    void FirstSwaps(std::vector<Hint>& firsts, std::vector<State>& after) const
    {
        for (int h1 = 0; h1 < Hands; ++h1)
            for (int i = 0; i < CardsPerHand; ++i)
                for (int h2 = h1 + 1; h2 < Hands; ++h2)
                    for (int j = 0; j < CardsPerHand; ++j) {
                        const auto& one = held[std::size_t(h1)];
                        const auto& two = held[std::size_t(h2)];
                        const auto a = one[std::size_t(i)], b = two[std::size_t(j)];
                        if (a == b || std::find(one.begin(), one.begin() + i, a) != one.begin() + i ||
                            std::find(two.begin(), two.begin() + j, b) != two.begin() + j)
                            continue;
                        firsts.push_back({{h1, i}, {h2, j}});
                        after.push_back(Swapped(start, h1, IndexOf(a), h2, IndexOf(b)));
                    }
    }

    // Breadth first from the boards the first swaps leave, level by level, each board remembering
    // which first swaps reach it by a shortest way: the first level that holds an even board gives
    // its depth and them all. Depth 0 when no even board is found within the bound; totals that
    // do not share out in three have none to find.
    std::pair<int, Ways> Shortest(const std::vector<State>& after) const
    {
        struct Reached {
            int depth = 0;
            Ways ways;
        };
        QHash<State, Reached> seen;
        const auto reach = [&](const State& s, int depth, const Ways& ways, std::vector<State>& level) {
            auto it = seen.find(s);
            if (it == seen.end()) {
                it = seen.insert(s, {depth, {}});
                level.push_back(s);
            }
            // A board seen on an earlier level keeps its own, shorter ways.
            if (it->depth == depth) it->ways |= ways;
        };
        seen.insert(start, {});
        std::vector<State> level;
        for (std::size_t k = 0; k < after.size(); ++k) reach(after[k], 1, Ways().set(k), level);
        for (int depth = 1; !level.empty() && sum % Hands == 0; ++depth) {
            Ways onShortest;
            for (const State& s : level)
                if (Spread(s) == 0) onShortest |= seen.value(s).ways;
            if (onShortest.any()) return {depth, onShortest};
            std::vector<State> next;
            for (const State& s : level) {
                const auto ways = seen.value(s).ways;
                EachSwap(s, [&](const State& child) { reach(child, depth + 1, ways, next); });
                if (seen.size() > MaxBoards) return {0, {}}; // too many to know the shortest way
            }
            level = std::move(next);
        }
        return {0, {}};
    }
};

} // namespace

std::optional<Hint> HintFor(const BoardValues& board)
{
    const Search search(board);
    const std::int64_t spread = search.Spread(search.start);
    if (spread == 0) return std::nullopt;
    std::vector<Hint> firsts;
    std::vector<State> after;
    search.FirstSwaps(firsts, after);
    const Ways onShortest = search.Shortest(after).second;

    // Of the candidates, the one that leaves the totals least spread, the earliest among equals;
    // with no way to the end known, of all swaps the one that most narrows the spread.
    std::optional<std::size_t> best;
    for (std::size_t k = 0; k < firsts.size(); ++k) {
        if (onShortest.any() && !onShortest.test(k)) continue;
        if (!best || search.Spread(after[k]) < search.Spread(after[*best])) best = k;
    }
    if (!best || (onShortest.none() && search.Spread(after[*best]) >= spread)) return std::nullopt;
    return firsts[*best];
}

std::optional<int> FewestSwaps(const BoardValues& board)
{
    const Search search(board);
    if (search.Spread(search.start) == 0) return 0;
    std::vector<Hint> firsts;
    std::vector<State> after;
    search.FirstSwaps(firsts, after);
    const int depth = search.Shortest(after).first;
    return depth > 0 ? std::optional(depth) : std::nullopt;
}

} // namespace rules
