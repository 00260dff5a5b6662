#pragma once

// Helpers shared by the reliability tests: reading the board, playing it to the end, and
// catching what the program writes to standard error.

#include "game/GameScreen.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/Picture.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <map>
#include <unistd.h>
#include <utility>
#include <vector>

namespace reliability {

inline constexpr int Slots = game::Hands * game::CardsPerHand;

// Slot 0..20: hand slot / 7, position slot % 7.
inline platform::Image& Card(game::GameScreen& g, int slot)
{
    auto& hand = slot < 7 ? g.Image1 : slot < 14 ? g.Image2 : g.Image3;
    return hand[slot % 7];
}

inline std::vector<int> Values(game::GameScreen& g)
{
    std::vector<int> values;
    for (int s = 0; s < Slots; ++s) values.push_back(Card(g, s).Tag().toInt());
    return values;
}

inline std::vector<int> Sorted(std::vector<int> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// The values a deal puts on the board, sorted.
inline std::vector<int> DealtValues(const game::Deal& deal)
{
    std::vector<int> v;
    for (const auto& kind : deal.hand) v.insert(v.end(), game::CardsPerHand, kind.value);
    return Sorted(v);
}

// The file a card of this value shows: figurineN.jpg or tortaN.jpg.
inline QString FileFor(const game::ContentSet& content, int value)
{
    const bool stickers = content.screenName == game::Stickers.screenName;
    return QStringLiteral("%1%2.jpg").arg(stickers ? QStringLiteral("figurine") : QStringLiteral("torta")).arg(value);
}

// Drops the card in slot `from` onto the card in slot `to`, as a release over it does.
inline void DropOnto(game::GameScreen& g, int to, int from)
{
    platform::Image& source = Card(g, from);
    switch (to / 7) {
    case 0:
        g.Image1_DragDrop(to % 7, source, 0, 0);
        break;
    case 1:
        g.Image2_DragDrop(to % 7, source, 0, 0);
        break;
    default:
        g.Image3_DragDrop(to % 7, source, 0, 0);
        break;
    }
}

// A real mouse drag: press at `from` inside `source`, release at `to` inside `target`. The
// target may be any widget, a sibling or the background; the events all go to the pressed
// widget, as the window system's implicit grab delivers them.
inline void MouseDrag(QWidget* source, QPoint from, QWidget* target, QPoint to)
{
    const QPoint end = source->mapFromGlobal(target->mapToGlobal(to));
    QTest::mousePress(source, Qt::LeftButton, {}, from);
    QTest::mouseMove(source, (from + end) / 2);
    QTest::mouseMove(source, end);
    QTest::mouseRelease(source, Qt::LeftButton, {}, end);
}

inline void MouseDrag(QWidget* source, QWidget* target)
{
    MouseDrag(source, source->rect().center(), target, target->rect().center());
}

// For looking at by eye: with MERENDELLA_SHOTS=folder, saves what the window shows.
inline void SaveShot(QWidget* window, QString name)
{
    const QString folder = qEnvironmentVariable("MERENDELLA_SHOTS");
    if (folder.isEmpty()) return;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("_"));
    window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

namespace detail {
inline void Compositions(int left, const std::vector<int>& cap, std::vector<int>& cur, std::size_t k,
                         std::vector<std::vector<int>>& out)
{
    if (k + 1 == cap.size()) {
        if (left <= cap[k]) {
            cur[k] = left;
            out.push_back(cur);
        }
        return;
    }
    for (int n = 0; n <= std::min(left, cap[k]); ++n) {
        cur[k] = n;
        Compositions(left - n, cap, cur, k + 1, out);
    }
}
} // namespace detail

// Swaps, as (target slot, source slot) pairs, that make the three hands carry the same total,
// starting from these slot values. Empty when the hands are even already or cannot be.
inline std::vector<std::pair<int, int>> Solution(std::vector<int> values)
{
    std::map<int, int> available;
    for (int v : values) ++available[v];
    std::vector<int> kinds, cap;
    for (auto [v, n] : available) {
        kinds.push_back(v);
        cap.push_back(n);
    }
    std::vector<std::vector<int>> choices;
    std::vector<int> cur(kinds.size());
    detail::Compositions(game::CardsPerHand, cap, cur, 0, choices);

    std::vector<int> want;
    for (const auto& first : choices) {
        std::vector<int> rest(cap.size());
        for (std::size_t k = 0; k < cap.size(); ++k) rest[k] = cap[k] - first[k];
        std::vector<std::vector<int>> seconds;
        detail::Compositions(game::CardsPerHand, rest, cur, 0, seconds);
        for (const auto& second : seconds) {
            long sums[3] = {0, 0, 0};
            for (std::size_t k = 0; k < kinds.size(); ++k) {
                sums[0] += long(first[k]) * kinds[k];
                sums[1] += long(second[k]) * kinds[k];
                sums[2] += long(rest[k] - second[k]) * kinds[k];
            }
            if (sums[0] != sums[1] || sums[1] != sums[2]) continue;
            for (const auto* hand : {&first, &second})
                for (std::size_t k = 0; k < kinds.size(); ++k) want.insert(want.end(), (*hand)[k], kinds[k]);
            for (std::size_t k = 0; k < kinds.size(); ++k) want.insert(want.end(), rest[k] - second[k], kinds[k]);
            break;
        }
        if (!want.empty()) break;
    }
    std::vector<std::pair<int, int>> swaps;
    if (want.empty()) return swaps;
    for (int s = 0; s < Slots; ++s) {
        if (values[s] == want[s]) continue;
        int pick = -1;
        for (int t = s + 1; t < Slots && pick < 0; ++t)
            if (values[t] == want[s] && want[t] == values[s]) pick = t;
        for (int t = s + 1; t < Slots && pick < 0; ++t)
            if (values[t] == want[s] && values[t] != want[t]) pick = t;
        if (pick < 0) return {};
        std::swap(values[s], values[pick]);
        swaps.emplace_back(s, pick);
    }
    return swaps;
}

// The deal that the generator, seeded so, will draw first for this content.
inline const game::Deal& FirstDeal(const game::ContentSet& content, std::uint64_t seed)
{
    platform::Randomize(seed);
    const int n = game::DealNumber(platform::Rnd(), int(content.deals.size()));
    return content.deals[std::size_t(n)];
}

// Everything written to file descriptor 2 between construction and Stop(), Qt's own
// warnings included as the default handler would print them (QtTest keeps those otherwise).
class StderrCapture {
public:
    StderrCapture()
    {
        file_.open();
        std::fflush(stderr);
        saved_ = ::dup(2);
        ::dup2(file_.handle(), 2);
        previous_ = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            std::fflush(stderr);
        });
    }
    ~StderrCapture() { Stop(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    QStringList Stop()
    {
        if (saved_ >= 0) {
            qInstallMessageHandler(previous_);
            std::fflush(stderr);
            ::dup2(saved_, 2);
            ::close(saved_);
            saved_ = -1;
            file_.seek(0);
            lines_ = QString::fromUtf8(file_.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            // The offscreen platform's notices about window operations it lacks; a real
            // display does not print them.
            lines_.removeIf(
                [](const QString& l) { return l.startsWith(QLatin1String("This plugin does not support")); });
        }
        return lines_;
    }

private:
    QTemporaryFile file_;
    int saved_ = -1;
    QtMessageHandler previous_ = nullptr;
    QStringList lines_;
};

} // namespace reliability
