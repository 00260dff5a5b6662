#pragma once

#include "forms/ControlArray.h"
#include "rules/ContentSets.h"

#include <QtGlobal>
#include <array>
#include <vector>

namespace platform {
class Form;
class Image;
struct Services;
} // namespace platform

namespace game {

// Help for a child who asks for it: the two cards of a swap that brings the hands closer to even
// glow, and the voice says which they are. A hint is never a move. The glow ends with the next
// move, a new deal, or once it has shown for a few seconds on the screen's clock.
class Hints {
public:
    using Hands = std::array<const platform::ControlArray<platform::Image>*, rules::Hands>;

    Hints(const rules::ContentSet& content, platform::Form& screen, platform::Services& services);

    // The hint for the cards as they lie now; nothing when the hands are even or no swap helps.
    void Show(const Hands& hands);
    // Ends the glow once its time is up; called on the screen's ticks.
    void Tick();
    void End();

private:
    static constexpr qint64 GlowMilliseconds = 6000;

    const rules::ContentSet& content_;
    platform::Form& screen_;
    platform::Services& services_;
    std::vector<platform::Image*> glowing_;
    qint64 shownAt_ = 0;
};

} // namespace game
