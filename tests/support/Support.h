#pragma once

// What the offscreen tests share: a fresh program on a display of a chosen size, scripted
// message boxes, the board of a game screen by slot, and real mouse drags.

#include "Solver.h"
#include "game/GameScreen.h"
#include "layout/GestoreLayout.h"
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/Image.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "platform/Screen.h"
#include "shell/Modulo1.h"

#include <QStyleHints>
#include <QTest>
#include <deque>
#include <functional>
#include <vector>

namespace support {

// Answers message boxes instead of the user and remembers what they asked. A box asked for
// while another is open is counted, not answered, so that a fault fails a test instead of
// recursing without end.
class MsgBoxScript {
public:
    MsgBoxScript()
    {
        platform::SetMsgBoxHandler([this](const platform::MsgBoxRequest& r) {
            seen.push_back(r);
            if (open) return ++nested, int(platform::vbOK);
            open = true;
            if (onShow) onShow(r);
            open = false;
            const bool yesNo = (r.style & 7) == platform::vbYesNo;
            if (answers.empty()) return yesNo ? int(platform::vbNo) : int(platform::vbOK);
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~MsgBoxScript() { platform::SetMsgBoxHandler({}); }
    MsgBoxScript(const MsgBoxScript&) = delete;
    MsgBoxScript& operator=(const MsgBoxScript&) = delete;

    std::vector<platform::MsgBoxRequest> seen;
    std::deque<int> answers;
    std::function<void(const platform::MsgBoxRequest&)> onShow; // runs while the box is "open"
    int nested = 0;
    bool open = false;
};

inline int quits = 0; // how often the program would have ended

// Every test starts from no screen, on a display of this size, with a fixed seed.
inline void Prepare(QSize display = QSize(1024, 768), std::uint64_t seed = 1)
{
    platform::App::SetPathForTesting(QStringLiteral(MERENDELLA_SOURCE_DIR));
    platform::App::SetInstanceKeyForTesting(
        QStringLiteral("merendella-test-%1").arg(QCoreApplication::applicationPid()));
    platform::Screen::SetSizeForTesting(display);
    platform::Forms::SetQuitHandler([] { ++quits; });
    platform::Randomize(seed);
    Modulo1::RegisterScreens();
    // Tests click at once on a screen that has just appeared; real hands take longer.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
}

inline void TearDown()
{
    platform::Forms::Shutdown();
    layout::GestoreLayout.reset();
    platform::App::ReleaseInstanceGuardForTesting();
    quits = 0;
}

inline game::GameScreen& Open(const char* screen)
{
    return static_cast<game::GameScreen&>(platform::Forms::Show(QString::fromLatin1(screen)));
}

// Slot 0..20: hand slot / 7, card slot % 7.
inline platform::Image& Card(game::GameScreen& g, int slot)
{
    return (slot < 7 ? g.Image1 : slot < 14 ? g.Image2 : g.Image3)[slot % 7];
}

inline Board Values(game::GameScreen& g)
{
    Board b{};
    for (int s = 0; s < 21; ++s) b[std::size_t(s)] = Card(g, s).Tag().toInt();
    return b;
}

// The card in slot `from` dropped onto the card in slot `to`, through the target's handler.
inline void Drop(game::GameScreen& g, int to, int from)
{
    auto handler = to < 7    ? &game::GameScreen::Image1_DragDrop
                   : to < 14 ? &game::GameScreen::Image2_DragDrop
                             : &game::GameScreen::Image3_DragDrop;
    (g.*handler)(to % 7, Card(g, from), 0, 0);
}

inline void PlayToWin(game::GameScreen& g)
{
    const auto moves = Solve(Values(g));
    QVERIFY(!moves.empty());
    for (auto [to, from] : moves) Drop(g, to, from);
}

// A real mouse drag from the centre of one widget, out of it, to a point in another (its
// centre by default), every event going to the pressed widget as the window system's grab
// delivers them.
inline void Drag(QWidget* from, QWidget* to, QPoint at = QPoint(-1, -1))
{
    const QPoint start = from->rect().center();
    const QPoint end = from->mapFromGlobal(to->mapToGlobal(at.x() < 0 ? to->rect().center() : at));
    QTest::mousePress(from, Qt::LeftButton, {}, start);
    QTest::mouseMove(from, start - QPoint(0, from->height()));
    QTest::mouseMove(from, end);
    QTest::mouseRelease(from, Qt::LeftButton, {}, end);
}

// A press and release on one spot of a widget, with no movement between.
inline void Tap(QWidget* widget, QPoint at = QPoint(-1, -1))
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at.x() < 0 ? widget->rect().center() : at);
}

} // namespace support
