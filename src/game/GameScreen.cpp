#include "game/GameScreen.h"

#include "forms/CommandButton.h"
#include "forms/Forms.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/MenuItem.h"
#include "forms/Picture.h"
#include "forms/Random.h"
#include "forms/Text.h"
#include "forms/Timer.h"
#include "game/Games.h"
#include "layout/GestoreLayout.h"
#include "machine/App.h"
#include "machine/Settings.h"
#include "machine/Sound.h"
#include "machine/Speech.h"
#include "rules/Rules.h"
#include "texts/Texts.h"

#include <cmath>

using namespace platform;
using namespace rules;

namespace game {

namespace {

// A folder followed by a file name relative to it, written with backslashes.
QString FileIn(const QString& folder, std::string_view relative)
{
    QString name = ToQString(relative);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder + name;
}

// A measured position, in single precision, to the nearest whole twip; halves to even.
std::int32_t Measure(double twips)
{
    const float single = float(twips);
    return std::int32_t(std::nearbyint(std::clamp(single, -2.0e9f, 2.0e9f)));
}

} // namespace

GameScreen::GameScreen(const Game& game, Services& services)
    : Form(game.description, services),
      Image1(Array<Image>(QStringLiteral("Image1"))),
      Image2(Array<Image>(QStringLiteral("Image2"))),
      Image3(Array<Image>(QStringLiteral("Image3"))),
      Image4(Array<Image>(QStringLiteral("Image4"))),
      Image5(Get<Image>(QStringLiteral("Image5"))),
      Label1(Get<Label>(QStringLiteral("Label1"))),
      Label2(Get<Label>(QStringLiteral("Label2"))),
      Command1(Get<CommandButton>(QStringLiteral("Command1"))),
      BottoneAiuto(Get<CommandButton>(QStringLiteral("BottoneAiuto"))),
      Timer1(Get<Timer>(QStringLiteral("Timer1"))),
      mnuEsci(Get<MenuItem>(QStringLiteral("mnuEsci"))),
      content_(game.content),
      moves_(*this, *this),
      news_(Window()),
      confetti_(services.clock),
      hints_(game.content, *this, services)
{
    Command1.SetClickHandler([this] { Command1_Click(); });
    mnuEsci.SetClickHandler([this] { mnuEsci_Click(); });
    Timer1.SetTickHandler([this] { Timer1_Timer(); });
    // A child who cannot read asks for the instructions again: a tap on a child or on them, or F1.
    for (int h = 0; h < Hands; ++h) {
        Image4[h].SetAccessibleText(texts::Child(h));
        Image4[h].SetClickHandler([this] { SayInstructions(); });
    }
    Label1.SetClickHandler([this] { SayInstructions(); });
    AddShortcut(Qt::Key_F1, [this] { SayInstructions(); });
    // A grown-up may leave the child to find every swap alone.
    BottoneAiuto.SetVisible(services.settings.hints);
    if (!services.settings.hints) return;
    BottoneAiuto.SetClickHandler([this] { BottoneAiuto_Click(); });
    AddShortcut(Qt::Key_H, [this] { BottoneAiuto_Click(); });
}

void GameScreen::Form_Load() { layout::CreateLayout(*this); }

void GameScreen::Form_Activate()
{
    CoverDisplay();

    PassoX = Measure(Image1[1].Left() - Image1[0].Left());
    PassoY = Measure(Image2[0].Top() - Image1[0].Top());
    InizioY = Measure(Image1[0].Top());
    InizioX = Measure(Image1[0].Left());

    Label1.SetCaption(texts::Instructions(content_.goods));
    Ricomincia();
    SayInstructions();
}

void GameScreen::Form_Resize() { layout::ResizeLayout(); }

void GameScreen::Ricomincia()
{
    moves_.Cancel(); // a card picked in the last game belongs to it, and so does a hint
    hints_.End();
    Command1.SetVisible(false);
    NumeroMosse = 0;
    congratulating_ = false;
    Timer1.SetEnabled(true);
    ShowMoves();

    const Deal& deal = DealFor(content_, Rnd());
    for (int i = 0; i < Image1.Count(); ++i) {
        const std::int32_t left = PassoX * i + InizioX;
        for (int h = 0; h < Hands; ++h) {
            Image& card = Hand(h)[i];
            card.SetEnabled(true);
            card.SetTop(InizioY + PassoY * h);
            card.SetLeft(left);
        }
        // Every card gets a picture of its own, read from its file for it alone.
        for (int h = 0; h < Hands; ++h) {
            Image& card = Hand(h)[i];
            card.SetPicture(Picture::LoadPicture(FileIn(services_.app.Path(), deal.hand[h].file), card.PictureSize()));
        }
        for (int h = 0; h < Hands; ++h) {
            Hand(h)[i].SetTag(QString::number(deal.hand[h].value));
            Describe(Hand(h)[i]);
        }
    }
}

void GameScreen::Command1_Click() { Ricomincia(); }

void GameScreen::BottoneAiuto_Click() { hints_.Show({&Image1, &Image2, &Image3}); }

void GameScreen::mnuEsci_Click()
{
    if (MsgBox(texts::BackToMenu(), vbYesNo + vbQuestion, texts::GameTitle()) != vbYes) return;
    services_.forms.Show(QStringLiteral("FormMenu"));
    services_.forms.Unload(*this);
}

void GameScreen::Image1_DragDrop(int Index, Control& Source, double, double) { Swap(Image1[Index], Source); }
void GameScreen::Image2_DragDrop(int Index, Control& Source, double, double) { Swap(Image2[Index], Source); }
void GameScreen::Image3_DragDrop(int Index, Control& Source, double, double) { Swap(Image3[Index], Source); }

void GameScreen::Swap(Image& target, Control& source)
{
    auto* card = dynamic_cast<Image*>(&source);
    if (!card) return;
    // The same picture object means the card was dropped onto itself.
    if (target.Picture() == card->Picture()) return services_.sound.Play(Cue::Nothing);

    Image5.SetPicture(target.Picture());
    target.SetPicture(card->Picture());
    card->SetPicture(Image5.Picture());
    Image5.SetTag(target.Tag());
    target.SetTag(card->Tag());
    card->SetTag(Image5.Tag());

    Describe(target);
    Describe(*card);
    hints_.End();
    NumeroMosse = NextMoveCount(NumeroMosse);
    ShowMoves();
    // What the card dropped on now shows, and the count: a screen reader hears both wherever its focus is.
    news_.Announce(texts::Swapped(NameOf(target), Label2.Caption()));
    services_.sound.Play(Cue::Swap);
}

void GameScreen::ShowMoves() { Label2.SetCaption(texts::Moves(NumeroMosse)); }

void GameScreen::Timer1_Timer()
{
    hints_.Tick();
    // The platform goes on ticking while the congratulation is open: one is enough.
    if (congratulating_) return;

    // Each card read once a tick, by index to the last card of a hand.
    constexpr int Last = CardsPerHand - 1;
    BoardTexts board;
    for (int i = 0; i <= Last; ++i) {
        board[0][std::size_t(i)] = Image1[i].Tag();
        board[1][std::size_t(i)] = Image2[i].Tag();
        board[2][std::size_t(i)] = Image3[i].Tag();
    }
    if (!HandsEven(Totals(board))) return;

    for (int i = 0; i <= Last; ++i) {
        Image1[i].SetEnabled(false);
        Image2[i].SetEnabled(false);
        Image3[i].SetEnabled(false);
    }
    congratulating_ = true;
    // The board cheers while the congratulation is open, and stops when it is closed.
    services_.sound.Play(Cue::Win);
    confetti_.Start(*this, {&Image4[0], &Image4[1], &Image4[2]});
    MsgBox(texts::Congratulation(NumeroMosse), vbOKOnly);
    confetti_.Stop();
    congratulating_ = false;
    Command1.SetVisible(true);
    Timer1.SetEnabled(false);
}

QStringList GameScreen::RowNames() const
{
    QStringList names;
    for (int h = 0; h < Hands; ++h) names << texts::Child(h);
    return names;
}

void GameScreen::SayInstructions() { services_.speech.Say(texts::Spoken(Label1.Caption()), this); }

void GameScreen::Describe(Image& card)
{
    for (int h = 0; h < Hands; ++h)
        if (&Hand(h)[card.Index()] == &card)
            card.SetAccessibleText(NameOf(card), texts::CardPlace(h, card.Index(), CardsPerHand));
}

QString GameScreen::NameOf(const Image& card) const { return texts::CardName(content_.goods, CardValue(card.Tag())); }

bool GameScreen::MayPick(const Image& card) const { return card.Enabled(); }

bool GameScreen::MayDrop(const Image&, const Image& target) const { return target.Enabled(); }

void GameScreen::Drop(Image& card, Image& target, QPointF at)
{
    const int i = target.Index();
    if (&Image1[i] == &target) Image1_DragDrop(i, card, at.x(), at.y());
    if (&Image2[i] == &target) Image2_DragDrop(i, card, at.x(), at.y());
    if (&Image3[i] == &target) Image3_DragDrop(i, card, at.x(), at.y());
}

void GameScreen::Picked(const Image& card)
{
    services_.sound.Play(Cue::Pick);
    // The card's selected state is told as well, but Orca says so only when Space picked it.
    news_.Announce(texts::Picked(NameOf(card)));
}

void GameScreen::PutBack(const Image&) { services_.sound.Play(Cue::Nothing); }

void GameScreen::Escape() { mnuEsci_Click(); }

} // namespace game
