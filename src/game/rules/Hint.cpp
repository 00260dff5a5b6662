#include "rules/Hint.h"

#include "rules/Rules.h"

#include <QByteArray>
#include <QHash>
#include <algorithm>
#include <bitset>
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

struct Search {
    std::vector<std::int64_t> values; // the distinct values, ascending

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
};

} // namespace

std::optional<Hint> HintFor(const BoardValues& board)
{
    Search search;
    BoardValues held{};
    for (int h = 0; h < Hands; ++h)
        for (int i = 0; i < CardsPerHand; ++i) {
            held[std::size_t(h)][std::size_t(i)] = std::clamp(board[std::size_t(h)][std::size_t(i)], -Huge, Huge);
            search.values.push_back(held[std::size_t(h)][std::size_t(i)]);
        }
    std::sort(search.values.begin(), search.values.end());
    search.values.erase(std::unique(search.values.begin(), search.values.end()), search.values.end());
    const auto indexOf = [&](std::int64_t v) {
        return char(std::lower_bound(search.values.begin(), search.values.end(), v) - search.values.begin());
    };

    State start(Hands * CardsPerHand, 0);
    for (int c = 0; c < Hands * CardsPerHand; ++c)
        start[c] = indexOf(held[std::size_t(c / CardsPerHand)][std::size_t(c % CardsPerHand)]);
    const std::int64_t spread = search.Spread(start);
    for (int h = 0; h < Hands; ++h) std::sort(start.data() + h * CardsPerHand, start.data() + (h + 1) * CardsPerHand);
    if (spread == 0) return std::nullopt;

    // The first swaps, on the cards themselves: the upper hands first, then the leftmost cards;
    // of two alike cards only the leftmost.
    std::vector<Hint> firsts;
    std::vector<State> after;
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
                    after.push_back(Search::Swapped(start, h1, indexOf(a), h2, indexOf(b)));
                }

    // Breadth first, level by level, each board remembering which first swaps reach it by a
    // shortest way; the first level that holds an even board gives them all. Totals that do not
    // share out in three have no end to search for.
    struct Reached {
        int depth = 0;
        std::bitset<MaxFirstSwaps> ways;
    };
    QHash<State, Reached> seen;
    const auto reach = [&](const State& s, int depth, const std::bitset<MaxFirstSwaps>& ways,
                           std::vector<State>& level) {
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
    for (std::size_t k = 0; k < after.size(); ++k) reach(after[k], 1, std::bitset<MaxFirstSwaps>().set(k), level);
    std::int64_t sum = 0;
    for (const auto& hand : held)
        for (std::int64_t v : hand) sum += v;
    std::bitset<MaxFirstSwaps> onShortest;
    for (int depth = 1; !level.empty() && sum % Hands == 0; ++depth) {
        for (const State& s : level)
            if (search.Spread(s) == 0) onShortest |= seen.value(s).ways;
        if (onShortest.any()) break;
        std::vector<State> next;
        for (const State& s : level) {
            const auto ways = seen.value(s).ways;
            Search::EachSwap(s, [&](const State& child) { reach(child, depth + 1, ways, next); });
            if (seen.size() > MaxBoards) { // too many to know the shortest way: the narrowest spread
                next.clear();
                break;
            }
        }
        level = std::move(next);
    }

    // Of the candidates, the one that leaves the totals least spread, the earliest among equals.
    std::optional<std::size_t> best;
    for (std::size_t k = 0; k < firsts.size(); ++k) {
        if (onShortest.any() && !onShortest.test(k)) continue;
        if (!best || search.Spread(after[k]) < search.Spread(after[*best])) best = k;
    }
    if (!best || (onShortest.none() && search.Spread(after[*best]) >= spread)) return std::nullopt;
    return firsts[*best];
}

} // namespace rules
