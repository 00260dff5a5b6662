#include "game/Hints.h"

#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/Services.h"
#include "machine/Clock.h"
#include "machine/Speech.h"
#include "rules/Hint.h"
#include "rules/Rules.h"
#include "texts/Texts.h"

using namespace platform;

namespace game {

Hints::Hints(const rules::ContentSet& content, Form& screen, Services& services)
    : content_(content),
      screen_(screen),
      services_(services)
{}

void Hints::Show(const Hands& hands)
{
    End();
    rules::BoardValues board{};
    for (std::size_t h = 0; h < board.size(); ++h)
        for (std::size_t i = 0; i < board[h].size(); ++i) board[h][i] = rules::CardValue((*hands[h])[int(i)].Tag());
    const auto hint = rules::HintFor(board);
    if (!hint) return;
    for (rules::CardSpot spot : {hint->first, hint->second}) {
        Image& card = (*hands[std::size_t(spot.hand)])[spot.index];
        card.SetMarks(card.Marks() | Image::Glow);
        glowing_.push_back(&card);
    }
    shownAt_ = services_.clock.Milliseconds();
    const auto value = [&](rules::CardSpot c) { return board[std::size_t(c.hand)][std::size_t(c.index)]; };
    services_.speech.Say(
        texts::Hint(content_.goods, hint->first.hand, value(hint->first), hint->second.hand, value(hint->second)),
        &screen_);
}

void Hints::Tick()
{
    if (!glowing_.empty() && services_.clock.Milliseconds() - shownAt_ >= GlowMilliseconds) End();
}

void Hints::End()
{
    for (Image* card : glowing_) card->SetMarks(card->Marks() & ~Image::Glow);
    glowing_.clear();
}

} // namespace game
