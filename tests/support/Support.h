#pragma once

// What the offscreen tests share: a program of their own on a display of a chosen size, with fakes
// for the machine (a clock the test sets, message boxes it answers, sounds it writes down), the
// board of a game screen by slot, and real mouse drags.

#include "Solver.h"
#include "forms/Forms.h"
#include "forms/Image.h"
#include "forms/MessageBoxes.h"
#include "forms/Random.h"
#include "forms/Services.h"
#include "game/GameScreen.h"
#include "layout/GestoreLayout.h"
#include "machine/App.h"
#include "machine/Clock.h"
#include "machine/Display.h"
#include "machine/Settings.h"
#include "machine/Sound.h"
#include "machine/Speech.h"
#include "shell/ClassroomMode.h"
#include "shell/Screens.h"

#include <QStyleHints>
#include <QTest>
#include <deque>
#include <functional>

namespace support {

struct Display final : platform::Display {
    QSize size;
    QSize Size(const QWidget*) const override { return size; }
    bool Managed() const override { return false; } // the window system knows nothing of it
};

struct Clock final : platform::Clock {
    qint64 now = 1000;
    qint64 Milliseconds() const override { return now; }
};

// Answers message boxes instead of the user (No or OK unless told) and remembers what they asked.
// A box asked for while another is open is counted, not answered, so that such a fault fails a
// test instead of recursing without end.
struct Boxes final : platform::MessageBoxes {
    int Show(const platform::MsgBoxRequest& r) override
    {
        seen.push_back(r);
        if (std::exchange(open, true)) return ++nested, int(platform::vbOK);
        if (onShow) onShow(r);
        open = false;
        const int answer =
            answers.empty() ? (r.style & 7) == platform::vbYesNo ? platform::vbNo : platform::vbOK : answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }

    std::vector<platform::MsgBoxRequest> seen;
    std::deque<int> answers;
    std::function<void(const platform::MsgBoxRequest&)> onShow; // runs while the box is "open"
    int nested = 0;
    bool open = false;
};

// A box as "text | style | title shown", to compare with one written out.
inline QString Box(const platform::MsgBoxRequest& r)
{
    return QString("%1 | %2 | %3").arg(r.text).arg(r.style).arg(r.shownTitle);
}

// Writes down the cues it is asked to play, and "stop" when told to be silent.
struct Speakers final : platform::SoundOutput {
    explicit Speakers(QStringList& log)
        : log(log)
    {}
    void Play(platform::Cue cue) override { log << QStringList{"pick", "swap", "nothing", "click", "win"}[int(cue)]; }
    void Stop() override { log << "stop"; }
    QStringList& log;
};

// Writes down what it is asked to say, and "(silence)" when told to stop.
struct Voice final : platform::SpeechEngine {
    explicit Voice(QStringList& log)
        : log(log)
    {}
    void Say(const QString& text) override { log << text; }
    void Stop() override { log << "(silence)"; }
    QStringList& log;
};

// A program of the test's own: every screen registered, none loaded, the generator seeded.
struct Program {
    explicit Program(QSize displaySize = QSize(1024, 768), quint64 seed = 1,
                     const QString& folder = QStringLiteral(MERENDELLA_SOURCE_DIR))
        : app(QStringLiteral("merendella-test-%1").arg(QCoreApplication::applicationPid()), folder)
    {
        display.size = displaySize;
        sound.SetOutput(std::make_unique<Speakers>(sounds));
        speech.SetEngine(std::make_unique<Voice>(said));
        platform::Randomize(seed);
        RegisterScreens(services, classroom);
        // Tests click at once on a screen that has just appeared; real hands take longer.
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    }
    ~Program() { layout::GestoreLayout.reset(); }

    template <class T = game::GameScreen> T& Open(const char* screen)
    {
        return dynamic_cast<T&>(forms.Show(QString::fromLatin1(screen)));
    }

    platform::Settings settings;
    platform::App app;
    Display display;
    Clock clock;
    Boxes boxes;
    QStringList sounds, said;
    platform::Sound sound;
    platform::Speech speech;
    int quits = 0; // how often the program would have ended
    platform::Forms forms{[this] { ++quits; }};
    ClassroomMode classroom{settings};
    platform::Services services{app, forms, display, clock, boxes, sound, speech, settings, classroom};
};

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
    auto drop = std::array{&game::GameScreen::Image1_DragDrop, &game::GameScreen::Image2_DragDrop,
                           &game::GameScreen::Image3_DragDrop}[std::size_t(to / 7)];
    (g.*drop)(to % 7, Card(g, from), 0, 0);
}

inline void PlayToWin(game::GameScreen& g)
{
    for (auto [to, from] : Solve(Values(g))) Drop(g, to, from);
}

// A real mouse drag from the centre of one widget, out of it, to a point in another (its centre
// by default), every event going to the pressed widget as the window system's grab delivers them.
inline void Drag(QWidget* from, QWidget* to, QPoint at = QPoint(-1, -1))
{
    const QPoint start = from->rect().center();
    const QPoint end = from->mapFromGlobal(to->mapToGlobal(at.x() < 0 ? to->rect().center() : at));
    QTest::mousePress(from, Qt::LeftButton, {}, start);
    QTest::mouseMove(from, start - QPoint(0, from->height()));
    QTest::mouseMove(from, end);
    QTest::mouseRelease(from, Qt::LeftButton, {}, end);
}

} // namespace support
