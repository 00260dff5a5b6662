#pragma once

#include "forms/Description.h"
#include "rules/ContentSets.h"

#include <array>

// What the four screens hold before any of their code runs. Geometry in twips, colours 0xBBGGRR.
namespace screens {

// clang-format off

using platform::Alignment;
using platform::ControlDesc;
using platform::ControlKind;
using platform::FontDesc;
using platform::FormDesc;

namespace art {
inline constexpr std::string_view Child1 = ":/screens/art/child1.gif";
inline constexpr std::string_view Child2 = ":/screens/art/child2.gif";
inline constexpr std::string_view Child3 = ":/screens/art/child3.gif";
inline constexpr std::string_view IceCream = ":/screens/art/icecream.ico";
inline constexpr std::string_view Waving = ":/screens/art/waving.ico";
inline constexpr std::string_view Aeroplane = ":/screens/art/aeroplane.ico";
inline constexpr std::string_view RightArrow = ":/screens/art/rightarrow.ico";
inline constexpr std::string_view BigArrow = ":/screens/art/bigarrow.cur";
inline constexpr std::string_view LightBulb = ":/screens/art/lightbulb.ico";
} // namespace art

// ---- Title screen ----

inline constexpr std::array<ControlDesc, 3> FormAvvioControls{{
    {.kind = ControlKind::Label, .name = "Label2", .index = 0,
     .left = 360, .top = 240, .width = 8775, .height = 4575,
     .caption = "Merendella", .font = {"Comic Sans MS", 72, true, true},
     .foreColor = 0x80FFFF, .backColor = 0xFFFF00, .transparent = true,
     .alignment = Alignment::Center, .tabIndex = 0},
    {.kind = ControlKind::Label, .name = "Label1",
     .left = 120, .top = 6120, .width = 2775, .height = 735,
     .caption = "21 aprile 2004", .font = {"Comic Sans MS", 14.25, true, false},
     .foreColor = 0x00FFFF, .transparent = true, .alignment = Alignment::Center, .tabIndex = 1},
    {.kind = ControlKind::CommandButton, .name = "BottoneAvvio",
     .left = 2880, .top = 5760, .width = 4110, .height = 1275,
     .caption = "Avvio", .font = {"Comic Sans MS", 18, true, false},
     .pointer = art::IceCream, .picture = art::IceCream, .tabIndex = 2, .graphical = true},
}};

inline constexpr FormDesc FormAvvio{
    .name = "FormAvvio", .caption = "", .accessibleName = "Merendella",
    .clientWidth = 9780, .clientHeight = 7590,
    .backColor = 0xFFFF00,
    .font = {"MS Sans Serif", 8.25, true, false},
    .icon = art::IceCream, .pointer = art::BigArrow,
    .controls = FormAvvioControls,
};

// ---- Main menu ----

inline constexpr std::array<ControlDesc, 4> FormMenuControls{{
    {.kind = ControlKind::CommandButton, .name = "Command1",
     .left = 3720, .top = 720, .width = 3375, .height = 735,
     .caption = "Torte", .font = {"Arial", 15.75, false, false}, .pointer = art::BigArrow, .tabIndex = 2},
    {.kind = ControlKind::CommandButton, .name = "Command2",
     .left = 3720, .top = 1680, .width = 3375, .height = 735,
     .caption = "Figurine", .font = {"Arial", 15.75, false, false}, .pointer = art::BigArrow, .tabIndex = 3},
    {.kind = ControlKind::CommandButton, .name = "Command14",
     .left = 3840, .top = 5160, .width = 3375, .height = 855,
     .caption = "Informazioni", .font = {"Arial", 14.25, false, false}, .pointer = art::BigArrow, .tabIndex = 1},
    {.kind = ControlKind::CommandButton, .name = "BottoneEsci",
     .left = 3840, .top = 6120, .width = 3375, .height = 1215,
     .caption = "Esci", .font = {"Arial", 14.25, true, false}, .pointer = art::BigArrow,
     .picture = art::Waving, .tabIndex = 0, .graphical = true},
}};

inline constexpr FormDesc FormMenu{
    .name = "FormMenu", .caption = "", .accessibleName = "Merendella, menù",
    .clientWidth = 10860, .clientHeight = 7965,
    .controls = FormMenuControls,
};

// ---- Game screens: the stickers screen and the tarts screen share one layout ----

namespace game_layout {

inline constexpr int CardSize = 1215;
inline constexpr int CardLeft0 = 840;
inline constexpr int CardPitchX = 1320;
using rules::CardsPerHand;
using rules::Hands;

inline constexpr int HandTop[Hands] = {720, 2160, 3600};
inline constexpr std::string_view HandName[Hands] = {"Image1", "Image2", "Image3"};
inline constexpr std::string_view ChildPicture[Hands] = {art::Child1, art::Child2, art::Child3};

constexpr ControlDesc Card(int hand, int index)
{
    return {.kind = ControlKind::Image, .name = HandName[hand], .index = index,
            .left = CardLeft0 + CardPitchX * index, .top = HandTop[hand],
            .width = CardSize, .height = CardSize,
            .pointer = art::Aeroplane, .stretch = true, .border = true, .dragAutomatic = true};
}

constexpr ControlDesc Child(int index)
{
    return {.kind = ControlKind::Image, .name = "Image4", .index = index,
            .left = 120, .top = HandTop[index], .width = 615, .height = 1095,
            .picture = ChildPicture[index], .stretch = true};
}

// The cards, a child at the head of each hand, and the seven controls below the board.
inline constexpr int ControlCount = Hands * CardsPerHand + Hands + 7;

constexpr std::array<ControlDesc, ControlCount> Controls()
{
    std::array<ControlDesc, ControlCount> c{};
    int n = 0;
    for (int hand = 0; hand < Hands; ++hand)
        for (int i = 0; i < CardsPerHand; ++i) c[n++] = Card(hand, i);
    for (int i = 0; i < Hands; ++i) c[n++] = Child(i);
    c[n++] = {.kind = ControlKind::Label, .name = "Label1",
              .left = 240, .top = 5520, .width = 4335, .height = 1695,
              .caption = "Label1", .font = {"Arial", 12, false, false},
              .transparent = true, .tabIndex = 1};
    c[n++] = {.kind = ControlKind::Label, .name = "Label2",
              .left = 5520, .top = 6480, .width = 1575, .height = 495,
              .caption = "Label2", .font = {"Arial", 15.75, false, false},
              .transparent = true, .tabIndex = 2};
    c[n++] = {.kind = ControlKind::CommandButton, .name = "Command1",
              .left = 7920, .top = 6240, .width = 1815, .height = 855,
              .caption = "ricomincia", .font = {"Arial", 14.25, false, false},
              .pointer = art::RightArrow, .picture = art::RightArrow, .tabIndex = 0, .graphical = true};
    // Help on request, in the free space above the move counter: a lit bulb. The keys stay with
    // the cards, so it never takes the focus.
    c[n++] = {.kind = ControlKind::CommandButton, .name = "BottoneAiuto",
              .left = 5520, .top = 5400, .width = 1575, .height = 855,
              .caption = "aiuto", .font = {"Arial", 14.25, false, false},
              .pointer = art::BigArrow, .picture = art::LightBulb, .graphical = true};
    c[n++] = {.kind = ControlKind::Image, .name = "Image5",
              .left = 120, .top = 5400, .width = 1935, .height = 1695,
              .stretch = true, .visible = false};
    c[n++] = {.kind = ControlKind::Timer, .name = "Timer1", .interval = 100};
    c[n++] = {.kind = ControlKind::MenuItem, .name = "mnuEsci", .caption = "Esci"};
    return c;
}

inline constexpr std::array<ControlDesc, ControlCount> GameControls = Controls();

} // namespace game_layout

inline constexpr std::int64_t GameBackColor = 0xC0E0FF;

inline constexpr FormDesc FormMemory{
    .name = "FormMemory", .caption = "", .accessibleName = "Merendella, tortine",
    .clientWidth = 10275, .clientHeight = 7440,
    .backColor = GameBackColor,
    .controls = game_layout::GameControls,
};

inline constexpr FormDesc FormMemory2{
    .name = "FormMemory2", .caption = "", .accessibleName = "Merendella, figurine",
    .clientWidth = 10275, .clientHeight = 7440,
    .backColor = GameBackColor,
    .controls = game_layout::GameControls,
};

// clang-format on

} // namespace screens
