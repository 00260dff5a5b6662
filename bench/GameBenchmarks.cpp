// In-process figures for the work a player waits for: a deal, a rescale, a repaint, a
// completion-check tick, a swap, the repaint that a pointer move causes during a drag, and a
// frame of the celebration of a win.
// Every screen runs on Qt's offscreen platform at the size of a real display.

#include "game/GameScreen.h"
#include "machine/App.h"
#include "forms/Form.h"
#include "forms/Forms.h"
#include "forms/Image.h"
#include "machine/Modules.h"
#include "forms/Timer.h"
#include "support/Support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPaintEvent>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <memory>
#include <set>
#include <utility>

namespace {

using game::GameScreen;
using platform::Form;
using platform::Forms;

struct Display {
    const char* name;
    QSize size;
};
constexpr Display Displays[] = {{"1920x1080", {1920, 1080}}, {"3840x2160", {3840, 2160}}};

struct GameKind {
    const char* name;
    const char* form;
};
constexpr GameKind Games[] = {{"Torte", "FormMemory"}, {"Figurine", "FormMemory2"}};

std::unique_ptr<support::Program> program;

Form& ShowScreen(const char* name, QSize display)
{
    program.reset();
    program = std::make_unique<support::Program>(display);
    return program->forms.Show(QString::fromLatin1(name));
}

// A shown, dealt game screen whose timer stays quiet: ticks are measured on their own.
GameScreen& ShowGame(const char* name, QSize display)
{
    auto& screen = dynamic_cast<GameScreen&>(ShowScreen(name, display));
    screen.Timer1.SetEnabled(false);
    return screen;
}

// Paints a whole window offscreen, children and all, as an expose of the full window does.
class Canvas {
public:
    void Paint(QWidget* window)
    {
        const qreal dpr = window->devicePixelRatioF();
        const QSize size = (QSizeF(window->size()) * dpr).toSize();
        if (image_.size() != size) {
            image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
            image_.setDevicePixelRatio(dpr);
        }
        window->render(&image_);
    }
    const QImage& Image() const { return image_; }

private:
    QImage image_;
};

void ReportCardSize(benchmark::State& state, const GameScreen& screen)
{
    const QSize card = screen.Image1[0].PictureSize();
    state.counters["card_w"] = card.width();
    state.counters["card_h"] = card.height();
}

// ---- deals ----

void Deal(benchmark::State& state, const char* form, QSize display)
{
    GameScreen& screen = ShowGame(form, display);
    for (auto _ : state) screen.Ricomincia();
    ReportCardSize(state, screen);
}

// The deal as the player sees it: the pictures are read, then the board is painted.
void DealAndPaint(benchmark::State& state, const char* form, QSize display)
{
    GameScreen& screen = ShowGame(form, display);
    Canvas canvas;
    for (auto _ : state) {
        screen.Ricomincia();
        canvas.Paint(screen.Window());
    }
    ReportCardSize(state, screen);
}

// ---- rescale ----

// Brings the screen to 75% of the display, as its load does, with its cards painted there.
void ShrinkToLoadSize(GameScreen& screen, Canvas& canvas)
{
    layout::GestoreLayout->SizeFormToScreen(75);
    canvas.Paint(screen.Window());
}

// The scaler's own pass: every control from its 75% geometry to that of the full display.
void ResizeControls(benchmark::State& state, QSize display)
{
    GameScreen& screen = ShowGame("FormMemory2", display);
    Canvas canvas;
    for (auto _ : state) {
        state.PauseTiming();
        ShrinkToLoadSize(screen, canvas);
        // The window grows without the scaler, which then runs alone, timed.
        auto scaler = std::exchange(layout::GestoreLayout, nullptr);
        screen.SetHeight(screen.Screen().Height());
        screen.SetWidth(screen.Screen().Width());
        layout::GestoreLayout = std::move(scaler);
        state.ResumeTiming();
        layout::GestoreLayout->ResizeControls();
    }
    ReportCardSize(state, screen);
}

// What the activation of a screen does to its size: height, then width, each a rescale,
// followed by the full repaint that the new size needs.
void RescaleAndRepaint(benchmark::State& state, QSize display)
{
    GameScreen& screen = ShowGame("FormMemory2", display);
    Canvas canvas;
    for (auto _ : state) {
        state.PauseTiming();
        ShrinkToLoadSize(screen, canvas);
        state.ResumeTiming();
        screen.SetHeight(screen.Screen().Height());
        screen.SetWidth(screen.Screen().Width());
        canvas.Paint(screen.Window());
    }
    ReportCardSize(state, screen);
}

// ---- repaints ----

void RepaintGame(benchmark::State& state, const char* form, QSize display)
{
    GameScreen& screen = ShowGame(form, display);
    Canvas canvas;
    canvas.Paint(screen.Window()); // the scaled pictures are made once per deal, not per repaint
    for (auto _ : state) canvas.Paint(screen.Window());
    ReportCardSize(state, screen);
}

void RepaintTitle(benchmark::State& state, QSize display)
{
    Form& title = ShowScreen("FormAvvio", display);
    Canvas canvas;
    for (auto _ : state) canvas.Paint(title.Window());
    // The gradient must be there, or the figure measures an empty screen.
    const QImage& image = canvas.Image();
    if (image.pixelColor(image.width() / 2, 2) == image.pixelColor(image.width() / 2, image.height() - 3))
        state.SkipWithError("the title screen shows no gradient");
}

void DeliverRepaint();

// ---- moves ----

void CompletionTick(benchmark::State& state)
{
    GameScreen& screen = ShowGame("FormMemory2", {1920, 1080});
    if (screen.Image1[0].Tag() == screen.Image2[0].Tag()) {
        state.SkipWithError("the deal is already even: the tick would congratulate");
        return;
    }
    for (auto _ : state) screen.Timer1_Timer();
}

// A swap as the drop handler makes it, with its sound: run with a sound server (PULSE_SERVER)
// for the figure that includes starting the sound; without one the sound is silence.
void Swap(benchmark::State& state)
{
    GameScreen& screen = ShowGame("FormMemory2", {1920, 1080});
    program->sound.SetOutput(platform::OpenSoundOutput(platform::App::ProgramFolder()));
    QTest::qWait(1000); // the sounds are read in the background
    for (auto _ : state) {
        screen.Image1_DragDrop(0, screen.Image2[3], 0, 0);
        if (state.range(0)) { // as a child plays: the last sound has ended
            state.PauseTiming();
            QTest::qWait(int(state.range(0)));
            state.ResumeTiming();
        }
    }
    if (screen.Image1[0].Picture() == screen.Image2[3].Picture()) state.SkipWithError("the swap did nothing");
}

// What the voice costs the interface thread: reading the speech module once (the first run, in
// open_ms), then each utterance, which replaces the one before. Run with a speech service
// (SPEECHD_ADDRESS) for the figure with a voice; without one the voice is silence.
void Speak(benchmark::State& state)
{
    ShowGame("FormMemory2", {1920, 1080});
    QElapsedTimer opening;
    opening.start();
    program->speech.SetEngine(platform::OpenSpeech(platform::App::ProgramFolder()));
    state.counters["open_ms"] = double(opening.nsecsElapsed()) / 1e6;
    QTest::qWait(4000); // the service lists its voices on the voice's own thread
    for (auto _ : state) program->speech.Say(QStringLiteral("Bravo! Ci sei riuscito in 6 mosse!"), nullptr);
}

// ---- drag ----

std::int64_t Area(const QRegion& region)
{
    std::int64_t area = 0;
    for (const QRect& r : region) area += std::int64_t(r.width()) * r.height();
    return area;
}

// Counts what one window repaints: every paint event of its widgets, in window coordinates.
class PaintMeter : public QObject {
public:
    explicit PaintMeter(QWidget* window)
        : window_(window)
    {
        qApp->installEventFilter(this);
    }
    ~PaintMeter() override { qApp->removeEventFilter(this); }

    void Reset()
    {
        painted = QRegion();
        pixelsPainted = 0;
        events = 0;
        cards.clear();
    }

    QRegion painted;                // union: what changed on the screen
    std::int64_t pixelsPainted = 0; // sum over widgets: what was drawn, layers counted apart
    int events = 0;
    std::set<const QWidget*> cards;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() != QEvent::Paint) return false;
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget || widget->window() != window_) return false;
        const QRegion region =
            static_cast<QPaintEvent*>(event)->region().translated(widget->mapTo(window_, QPoint(0, 0)));
        painted += region;
        pixelsPainted += Area(region);
        ++events;
        if (widget->objectName().startsWith(QLatin1String("Image"))) cards.insert(widget);
        return false;
    }

private:
    QWidget* window_;
};

// Lets the window repaint what the last move made dirty.
void DeliverRepaint()
{
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// One pointer move while a card is dragged, with the repaint it causes. The outline sweeps
// across the board, over cards and background alike. Masked: as the game runs; unmasked: the
// outline as a plain rectangle, to show what the mask saves.
void DragMove(benchmark::State& state, QSize display, bool masked)
{
    GameScreen& screen = ShowGame("FormMemory2", display);
    QWidget* window = screen.Window();
    QWidget* outline = screen.Moves().Outline();
    DeliverRepaint();

    platform::Image& card = screen.Image2[0];
    const QPoint grab = card.Widget()->rect().center();
    screen.Moves().BeginDrag(card, grab);
    if (!masked) outline->clearMask();
    DeliverRepaint();

    const QPoint start = card.Widget()->geometry().center();
    const int span = screen.Image2[6].Widget()->geometry().center().x() - start.x();
    PaintMeter meter(window);
    int step = 0;
    std::int64_t unionArea = 0;
    for (auto _ : state) {
        // 8 px per move: a brisk hand on a 60 Hz display.
        const int x = (step * 8) % (2 * span);
        screen.Moves().DragTo(start + QPoint(x < span ? x : 2 * span - x, (step % 16) - 8));
        ++step;
        DeliverRepaint();
        unionArea += Area(meter.painted);
        meter.painted = QRegion();
    }
    screen.Moves().Cancel();

    const QRect ring = outline->rect();
    const std::int64_t ringArea = masked ? Area(outline->mask()) : std::int64_t(ring.width()) * ring.height();
    using C = benchmark::Counter;
    state.counters["px_changed/move"] = C(double(unionArea), C::kAvgIterations);
    state.counters["px_drawn/move"] = C(double(meter.pixelsPainted), C::kAvgIterations);
    state.counters["paints/move"] = C(double(meter.events), C::kAvgIterations);
    state.counters["cards_touched"] = double(meter.cards.size());
    state.counters["outline_px"] = double(ringArea);
    state.counters["window_px"] = double(window->width()) * window->height();
    if (meter.events == 0) state.SkipWithError("no repaint reached the window: the figure would be empty");
}

// One frame of the celebration over a won board: the confetti and the children move, and the
// window repaints what they left and where they are.
void CelebrationFrame(benchmark::State& state, QSize display)
{
    GameScreen& screen = ShowGame("FormMemory2", display);
    DeliverRepaint();
    screen.Celebration().Start(screen, {&screen.Image4[0], &screen.Image4[1], &screen.Image4[2]});
    PaintMeter meter(screen.Window());
    double t = 0.5;
    for (auto _ : state) {
        screen.Celebration().Frame(t += 1.0 / 60);
        DeliverRepaint();
        if (t > 4.5) t = 0.5; // within the few seconds it lasts
    }
    screen.Celebration().Stop();
    using C = benchmark::Counter;
    state.counters["px_drawn/frame"] = C(double(meter.pixelsPainted), C::kAvgIterations);
    state.counters["paints/frame"] = C(double(meter.events), C::kAvgIterations);
}

void RegisterAll()
{
    using benchmark::RegisterBenchmark;
    const auto ms = benchmark::kMillisecond;
    const auto us = benchmark::kMicrosecond;
    for (const Display& d : Displays) {
        const std::string size = d.name;
        for (const GameKind& g : Games) {
            RegisterBenchmark(("Deal/" + std::string(g.name) + "/" + size).c_str(), Deal, g.form, d.size)->Unit(ms);
            RegisterBenchmark(("DealAndPaint/" + std::string(g.name) + "/" + size).c_str(), DealAndPaint, g.form,
                              d.size)
                ->Unit(ms);
        }
        RegisterBenchmark(("ResizeControls/" + size).c_str(), ResizeControls, d.size)->Unit(ms);
        RegisterBenchmark(("RescaleAndRepaint/" + size).c_str(), RescaleAndRepaint, d.size)->Unit(ms);
        for (const GameKind& g : Games)
            RegisterBenchmark(("Repaint/" + std::string(g.name) + "/" + size).c_str(), RepaintGame, g.form, d.size)
                ->Unit(ms);
        RegisterBenchmark(("Repaint/Avvio/" + size).c_str(), RepaintTitle, d.size)->Unit(ms);
        RegisterBenchmark(("DragMove/masked/" + size).c_str(), DragMove, d.size, true)->Unit(us);
        RegisterBenchmark(("DragMove/unmasked/" + size).c_str(), DragMove, d.size, false)->Unit(us);
    }
    for (const Display& d : Displays)
        RegisterBenchmark(("CelebrationFrame/" + std::string(d.name)).c_str(), CelebrationFrame, d.size)->Unit(ms);
    RegisterBenchmark("CompletionTick/Figurine/1920x1080", CompletionTick)->Unit(us);
    RegisterBenchmark("Swap/Figurine/1920x1080", Swap)->Arg(0)->Unit(us);
    // One swap a second, each sound heard to its end first: a fixed count, as most of the time is waiting.
    RegisterBenchmark("Swap/Figurine/1920x1080", Swap)->Arg(1000)->Iterations(15)->Unit(us);
    RegisterBenchmark("Speak", Speak)->Iterations(200)->Unit(us);
}

QtMessageHandler defaultMessages = nullptr;

// The offscreen platform cannot raise windows and says so at every screen shown.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support raise()"))) return;
    defaultMessages(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A repaint is delivered on the next pass of the event loop instead of after 5 ms, so a
    // drag move and its repaint can be measured together.
    if (!qEnvironmentVariableIsSet("QT_QPA_UPDATE_IDLE_TIME")) qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    defaultMessages = qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    platform::App::Initialise();

    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    program.reset();
    return 0;
}
