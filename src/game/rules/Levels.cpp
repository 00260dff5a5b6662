#include "rules/Levels.h"

#include "rules/Hint.h"
#include "rules/Rules.h"

#include <algorithm>
#include <vector>

namespace rules {

namespace {

// Tries of a swap, and walks from the won layout: a generator working as it should never runs out
// of them (about one walk in seven ends where no swap leads further).
constexpr int Tries = 20;

struct Spot {
    int hand, index;
};

CardKind& At(Board& b, Spot s) { return b[std::size_t(s.hand)][std::size_t(s.index)]; }

BoardValues ValuesOf(const Board& b)
{
    BoardValues v{};
    for (std::size_t h = 0; h < b.size(); ++h)
        for (std::size_t i = 0; i < b[h].size(); ++i) v[h][i] = b[h][i].value;
    return v;
}

// Each hand wants a third of 21 cards of three evenly spaced values l < m < h, which is 7m: two
// hands hold h h h m l l l, the third h m m m m m l.
Board Won(const std::array<CardKind, Hands>& kinds)
{
    const auto& [low, mid, high] = kinds;
    const std::array<CardKind, CardsPerHand> wide{high, high, high, mid, low, low, low};
    return {wide, wide, {high, mid, mid, mid, mid, mid, low}};
}

// One card of one hand and one of another, of different values, change places: any such pair
// equally likely.
void SwapAtRandom(Board& b, const Draw& draw)
{
    std::vector<std::pair<Spot, Spot>> pairs;
    for (int h1 = 0; h1 < Hands; ++h1)
        for (int h2 = h1 + 1; h2 < Hands; ++h2)
            for (int i = 0; i < CardsPerHand; ++i)
                for (int j = 0; j < CardsPerHand; ++j)
                    if (At(b, {h1, i}).value != At(b, {h2, j}).value) pairs.push_back({{h1, i}, {h2, j}});
    const auto [one, two] = pairs[std::size_t(DealNumber(draw(), int(pairs.size())))];
    std::swap(At(b, one), At(b, two));
}

} // namespace

Board BoardFor(const ContentSet& content, int level, const Draw& draw)
{
    const Deal& deal = DealFor(content, draw());
    Board board;
    for (int h = 0; h < Hands; ++h) board[std::size_t(h)].fill(deal.hand[std::size_t(h)]);
    if (level >= HardestLevel || level < EasiestLevel) return board;

    std::array<CardKind, Hands> kinds = deal.hand;
    std::sort(kinds.begin(), kinds.end(), [](const CardKind& a, const CardKind& b) { return a.value < b.value; });
    // Each swap drawn again until the board is one swap further from the end than before, as the
    // hint solver counts; a walk that no drawn swap takes further starts again.
    bool found = false;
    for (int walks = 0; walks < Tries && !found; ++walks) {
        board = Won(kinds);
        found = true;
        for (int k = 1; k <= level && found; ++k) {
            const Board before = board;
            found = false;
            for (int tries = 0; tries < Tries && !found; ++tries) {
                board = before;
                SwapAtRandom(board, draw);
                found = FewestSwaps(ValuesOf(board)) == k;
            }
        }
    }
    if (!found) {
        // The first hand's high cards for the second's low ones: each swap between hands moves at
        // most the difference of high and low, which is what each of them moved.
        board = Won(kinds);
        for (int k = 0; k < level; ++k)
            std::swap(board[0][std::size_t(k)], board[1][std::size_t(CardsPerHand - 1 - k)]);
    }
    // The cards of each hand in an order of chance, as a child would hold them.
    for (auto& hand : board)
        for (int i = CardsPerHand - 1; i > 0; --i)
            std::swap(hand[std::size_t(i)], hand[std::size_t(DealNumber(draw(), i + 1))]);
    return board;
}

Levels::Levels(int setting)
    : follows_(setting == AutoLevel),
      level_(follows_ ? EasiestLevel : std::clamp(setting, EasiestLevel, HardestLevel))
{}

int Levels::Deal()
{
    if (follows_ && played_) {
        if (won_ && helps_ == 0) level_ = std::min(level_ + 1, HardestLevel);
        if (helps_ >= 2) level_ = std::max(level_ - 1, EasiestLevel);
    }
    played_ = true;
    won_ = false;
    helps_ = 0;
    return level_;
}

} // namespace rules
