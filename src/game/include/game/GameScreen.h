#pragma once

#include "forms/Announcer.h"
#include "forms/CardMoves.h"
#include "forms/Confetti.h"
#include "forms/ControlArray.h"
#include "forms/Form.h"
#include "game/Hints.h"
#include "rules/ContentSets.h"

#include <QStringList>
#include <cstdint>
#include <memory>

namespace platform {
class CommandButton;
class Control;
class Image;
class Label;
class MenuItem;
class Timer;
} // namespace platform

namespace game {

struct Game;

// A game screen: three children, seven cards each; the player swaps cards until the three hands
// carry the same total. The stickers screen and the tarts screen are this one class, each given
// its content set.
class GameScreen : public platform::Form, private platform::MoveRules {
public:
    GameScreen(const Game& game, platform::Services& services);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;

    // Deals a new game.
    void Ricomincia();

    void Command1_Click();
    // Help on request (the bulb, or H): the two cards of a good swap glow, and the voice says them.
    void BottoneAiuto_Click();
    void mnuEsci_Click();
    void Image1_DragDrop(int Index, platform::Control& Source, double X, double Y);
    void Image2_DragDrop(int Index, platform::Control& Source, double X, double Y);
    void Image3_DragDrop(int Index, platform::Control& Source, double X, double Y);
    void Timer1_Timer();

    platform::CardMoves& Moves() { return moves_; }
    const platform::ControlArray<platform::Image>& Hand(int h) const
    {
        return h == 0 ? Image1 : h == 1 ? Image2 : Image3;
    }
    platform::Confetti& Celebration() { return confetti_; }
    // The rows of cards as the voice names them: after their children, from the top.
    QStringList RowNames() const;

    std::int16_t NumeroMosse = 0;
    // The card grid as measured at the last activation, in twips. Wider than the design's 16
    // bits: on a 4K display the right-hand cards lie beyond 32767 twips.
    std::int32_t PassoX = 0, PassoY = 0, InizioX = 0, InizioY = 0;

    platform::ControlArray<platform::Image> Image1, Image2, Image3, Image4;
    platform::Image& Image5;
    platform::Label& Label1;
    platform::Label& Label2;
    platform::CommandButton& Command1;
    platform::CommandButton& BottoneAiuto;
    platform::Timer& Timer1;
    platform::MenuItem& mnuEsci;

private:
    // How the cards move: any enabled card may be picked, and dropped on any enabled card; a drop
    // raises the drop handler of the target's hand. The moves' sounds are said here.
    bool MayPick(const platform::Image& card) const override;
    bool MayDrop(const platform::Image& card, const platform::Image& target) const override;
    void Drop(platform::Image& card, platform::Image& target, QPointF at) override;
    void Picked(const platform::Image& card) override;
    void PutBack(const platform::Image& card) override;
    void Escape() override;

    void Swap(platform::Image& target, platform::Control& source);
    void ShowMoves();
    // The instructions, said aloud: when the screen opens, and again when asked.
    void SayInstructions();
    // Tells screen readers what a card shows and where it is.
    void Describe(platform::Image& card);
    // What a card is called, by what it shows: "tortina con 2 fragole".
    QString NameOf(const platform::Image& card) const;

    const rules::ContentSet& content_;
    platform::CardMoves moves_;
    platform::Announcer news_; // a swap's outcome, for a screen reader
    platform::Confetti confetti_;
    Hints hints_;
    bool congratulating_ = false;
};

} // namespace game
