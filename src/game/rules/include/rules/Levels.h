#pragma once

#include "rules/ContentSets.h"

#include <array>
#include <functional>

// How hard a game is: the designed deals, seven alike cards a hand, are the hardest level and the
// default; an easier level deals the same cards a known number of swaps from even hands.
namespace rules {

inline constexpr int EasiestLevel = 1;
inline constexpr int HardestLevel = 4;
inline constexpr int AutoLevel = 0; // the level follows the child

// Every card of a board, by hand and place: its picture file and value, which always travel together.
using Board = std::array<std::array<CardKind, CardsPerHand>, Hands>;
// The program's one generator: each call a uniform draw in [0, 1).
using Draw = std::function<double()>;

// The board a new game starts with. At the hardest level the deal one draw picks, as it is. Below
// it, that deal's 21 cards laid out exactly `level` swaps between hands from even hands (so never
// even already): a won layout unbalanced by that many swaps drawn at random, each kept only when
// the hint solver finds the board one swap further from the end; should a bounded number of tries
// not get there, a layout known to be so. The cards of each hand in an order of chance.
Board BoardFor(const ContentSet& content, int level, const Draw& draw);

// The level each game is dealt at while the program runs (nothing is written): the one a grown-up
// chose, or with AutoLevel one that follows the child: from the easiest, one up after a game won
// without help, one down after a game in which help was given twice. It moves only between games.
class Levels {
public:
    explicit Levels(int setting);

    // A game is dealt: its level, once the game before has moved it.
    int Deal();
    // The game being played: help was given; it is won.
    void Helped() { ++helps_; }
    void Won() { won_ = true; }

private:
    bool follows_;
    int level_;
    bool played_ = false, won_ = false;
    int helps_ = 0;
};

} // namespace rules
