#pragma once

#include "texts/Texts.h"

#include <array>
#include <span>
#include <string_view>

// The two content sets of the game: which pictures and values a deal puts into the hands.
namespace rules {

inline constexpr int Hands = 3;
inline constexpr int CardsPerHand = 7;

// One kind of card: its picture file, relative to the program's folder, and its value.
struct CardKind {
    std::string_view file;
    int value;
};

// A deal gives every child seven alike cards, a different kind for each child.
struct Deal {
    std::array<CardKind, Hands> hand;
};

struct ContentSet {
    texts::Goods goods; // what the cards are, and what they count: their words
    std::span<const Deal> deals;
};

namespace sticker {
inline constexpr CardKind P1{"\\img\\figurine1.jpg", 1};
inline constexpr CardKind P2{"\\img\\figurine2.jpg", 2};
inline constexpr CardKind P3{"\\img\\figurine3.jpg", 3};
inline constexpr CardKind P4{"\\img\\figurine4.jpg", 4};
inline constexpr CardKind P5{"\\img\\figurine5.jpg", 5};
inline constexpr CardKind P7{"\\img\\figurine7.jpg", 7};
inline constexpr CardKind P10{"\\img\\figurine10.jpg", 10};
} // namespace sticker

namespace tart {
inline constexpr CardKind S0{"\\img\\torta0.jpg", 0};
inline constexpr CardKind S1{"\\img\\torta1.jpg", 1};
inline constexpr CardKind S2{"\\img\\torta2.jpg", 2};
inline constexpr CardKind S3{"\\img\\torta3.jpg", 3};
inline constexpr CardKind S4{"\\img\\torta4.jpg", 4};
} // namespace tart

inline constexpr std::array<Deal, 6> StickerDeals{{
    {{sticker::P1, sticker::P2, sticker::P3}},
    {{sticker::P1, sticker::P3, sticker::P5}},
    {{sticker::P10, sticker::P4, sticker::P7}},
    {{sticker::P4, sticker::P2, sticker::P3}},
    {{sticker::P4, sticker::P5, sticker::P3}},
    {{sticker::P7, sticker::P4, sticker::P1}},
}};

inline constexpr std::array<Deal, 3> TartDeals{{
    {{tart::S0, tart::S1, tart::S2}},
    {{tart::S1, tart::S2, tart::S3}},
    {{tart::S0, tart::S2, tart::S4}},
}};

inline constexpr ContentSet Stickers{texts::Goods::Stickers, StickerDeals};
inline constexpr ContentSet Tarts{texts::Goods::Tarts, TartDeals};

} // namespace rules
