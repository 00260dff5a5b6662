// The screens of the program and the platform under them: screen events and their order,
// unloading, pictures, proportional rescaling, start-up, the title screen, the menu, the guard
// against a double click, and text and pictures that grow with the display. (Drag and drop, taps
// and keys are tested on the game screens.)

#include "support/Support.h"

#include "forms/CardMoves.h"
#include "forms/CommandButton.h"
#include "forms/Label.h"
#include "forms/Timer.h"
#include "machine/Ending.h"
#include "machine/Log.h"
#include "machine/Worker.h"
#include "shell/FormAvvio.h"
#include "shell/FormMenu.h"
#include "shell/Modulo1.h"
#include "shell/Options.h"

#include <QDir>
#include <QLabel>
#include <QLocalSocket>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTimer>
#include <poll.h>
#include <set>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace platform;

namespace {

// clang-format off
constexpr std::array<ControlDesc, 5> ProbeControls{{
    {.kind = ControlKind::Image, .name = "Card", .left = 1800, .top = 300, .width = 1200, .height = 1200},
    {.kind = ControlKind::Image, .name = "Other", .left = 3300, .top = 300, .width = 1200, .height = 1200,
     .dragAutomatic = true},
    {.kind = ControlKind::Label, .name = "Caption", .left = 300, .top = 2000, .width = 3000, .height = 600},
    {.kind = ControlKind::Timer, .name = "Ticker", .left = 90, .top = 60, .interval = 1},
    {.kind = ControlKind::MenuItem, .name = "Menu", .caption = "Esci"},
}};
// clang-format on

// The texts of a window's labels and buttons that their controls cut off: a label's lines beyond
// its box, a button's caption (under its picture) beyond the button.
QStringList CutOff(QWidget* window)
{
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(w);
        auto* button = qobject_cast<QPushButton*>(w);
        if (!w->isVisible() || (!label && !button)) continue;
        const QString text = label ? label->text() : button->text();
        const int picture = button && !button->icon().isNull() ? button->iconSize().height() : 0;
        const QRect need = w->fontMetrics().boundingRect(QRect(0, 0, w->width(), 1 << 20),
                                                         label ? Qt::TextWordWrap : Qt::TextShowMnemonic, text);
        if (need.width() > w->width() || need.height() + picture > w->height())
            cut << QString("%1: %2 x %3 in %4 x %5").arg(text).arg(need.width()).arg(need.height() + picture).arg(
                       w->width()).arg(w->height());
    }
    return cut;
}

// Records its events; rescales itself once its scaler has a source form.
class Probe : public Form {
public:
    explicit Probe(Services& services)
        : Form({.name = "Probe", .clientWidth = 6000, .clientHeight = 4500, .controls = ProbeControls}, services)
    {
        Get<Timer>("Ticker").SetTickHandler([this] { events << "tick"; });
    }
    void Form_Load() override { events << "load"; }
    void Form_Activate() override
    {
        events << (Client()->isVisible() ? "activated on screen" : Window()->isVisible() ? "activated, window up" : "activated");
        SetHeight(Height() + 300);
        events << "setter returned";
    }
    void Form_Resize() override
    {
        events << "resize";
        if (scaler.SourceForm()) scaler.ResizeControls();
    }

    QStringList events;
    clsResize scaler;
};

struct Geometry {
    double l, t, w, h;
    bool operator==(const Geometry&) const = default;
};
Geometry Of(const Control& c) { return {c.Left(), c.Top(), c.Width(), c.Height()}; }

// Writes down what moving the cards asks of a game that lets every enabled card move.
struct Rules final : MoveRules {
    bool MayPick(const Image& card) const override { return card.Enabled(); }
    bool MayDrop(const Image&, const Image& target) const override { return target.Enabled(); }
    void Drop(Image& card, Image& target, QPointF) override { log << card.Name() + " on " + target.Name(); }
    void Picked(const Image& card) override { log << "picked " + card.Name(); }
    void PutBack(const Image& card) override { log << "back " + card.Name(); }
    void Escape() override { log << "escape"; }
    QStringList log;
};

// A sound or speech service that never answers: the first call holds its module's thread until the
// test lets go. As the thread is about to be waited for, the next copy of the program tries to start.
struct Hung final : SoundOutput, SpeechEngine {
    explicit Hung(QString key)
        : key(std::move(key))
    {
        worker.Post([this](QObject&) { holding = true, letGo.acquire(); });
    }
    void Play(Cue) override
    {
        worker.Post([](QObject&) {});
    }
    void Say(const QString&) override
    {
        worker.Post([](QObject&) {});
    }
    void Stop() override {}
    bool Finish(QDeadlineTimer deadline) override
    {
        nextCopyRan = !App(key).PrevInstance();
        return worker.Finish(deadline);
    }

    QString key;
    QSemaphore letGo;
    std::atomic<bool> holding = false;
    bool nextCopyRan = false;
    Worker<QObject> worker{"hung", lcStart()};
};

// Another user's program on a name of the one-copy key, as user nobody (65534), in Debian's Python,
// which every user may run.
void Stranger(QProcess& process, const char* how, const QString& key)
{
    QFile script(QStringLiteral(MERENDELLA_SOURCE_DIR "/tests/desktop/stranger.py"));
    QVERIFY(script.open(QIODevice::ReadOnly));
    process.setChildProcessModifier([] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(1);
    });
    process.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script.readAll(), how, '@' + key});
}

// The 13 colours of the background palette, 0xBBGGRR.
const std::set<std::uint32_t> PaletteColours{0xC0C0FF, 0x8080FF, 0x0080FF, 0x80C0FF, 0xC0FFFF, 0x0040C0, 0x80FF80,
                                             0xFFFFC0, 0xFFFF00, 0xFFC0C0, 0xFFC0FF, 0xE0E0E0, 0xFF00FF};

} // namespace

Q_DECLARE_METATYPE(Geometry)

class TestScreens : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        p = std::make_unique<support::Program>(QSize(1024, 768), 7);
        for (const char* name : {"Probe", "Probe2"})
            p->forms.Register(name, [this] { return std::make_unique<Probe>(p->services); });
    }
    void cleanup() { p.reset(); }

    void screenEvents()
    {
        // The program's first window is up, covering the display, before its screen is activated,
        // its controls not yet; its moves and resizes wait for them.
        const Probe& first = p->Open<Probe>("Probe");
        QCOMPARE(first.events.mid(0, 3), (QStringList{"load", "activated, window up", "setter returned"}));
        QCOMPARE(first.Window()->size(), QSize(1024, 768));
        // Any other: loaded, then activated before it is on screen and before any tick; a size
        // setter raises the resize at once.
        Probe& probe = p->Open<Probe>("Probe2");
        QCOMPARE(probe.events.mid(0, 4), (QStringList{"load", "activated", "resize", "setter returned"}));
        QTRY_VERIFY(probe.events.contains("tick"));
        // A closed message box, showing it again: no activation (the desktop tests switch programs).
        probe.MsgBox("x");
        p->forms.Show("Probe2");
        QCOMPARE(probe.events.filter("activated").size() + probe.events.count("load"), 2);
    }

    void unloadingStopsEverything()
    {
        QPointer<Probe> probe = &p->Open<Probe>("Probe");
        QTRY_VERIFY(probe->events.contains("tick"));
        probe->Window()->close(); // the window's own close control
        QVERIFY(!probe->Window()->isVisible());
        QCOMPARE(p->quits, 1); // the last screen: the program ends
        for (QTimer* timer : probe->Window()->findChildren<QTimer*>()) QVERIFY(!timer->isActive()); // never ticks again
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!probe); // and is gone once the event loop is back
    }

    // Taps, drags and keys ask the game the same: the picked card is dropped, or put back when it
    // meets itself or what is not a card; the arrows stop at the edges; Escape puts back first.
    void cardMoves()
    {
        Probe& probe = p->Open<Probe>("Probe");
        probe.Get<Image>("Card").SetDragAutomatic(true);
        Rules rules;
        CardMoves moves(probe, rules);
        QWidget *a = probe.Find("Card")->Widget(), *b = probe.Find("Other")->Widget();
        for (QWidget* second : {a, b}) QTest::mouseClick(a, Qt::LeftButton), QTest::mouseClick(second, Qt::LeftButton);
        support::Drag(a, b);
        support::Drag(a, a);
        support::Drag(a, probe.Client(), QPoint(2, 2));
        QCOMPARE(rules.log.join(", "),
                 "picked Card, back Card, picked Card, Card on Other, picked Card, Card on Other, "
                 "picked Card, Card on Card, picked Card, back Card");
        rules.log.clear();
        for (int key : {Qt::Key_Left, Qt::Key_Left, Qt::Key_Up, Qt::Key_Return, Qt::Key_Right, Qt::Key_Right,
                        Qt::Key_Down, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Escape})
            QTest::keyClick(probe.Window(), Qt::Key(key));
        QCOMPARE(rules.log.join(", "), "picked Card, Card on Other, picked Other, escape");
        QVERIFY(!moves.Picked() && !moves.Highlighted());
    }

    void picturesHaveIdentity()
    {
        const QString file = MERENDELLA_SOURCE_DIR "/img/figurine1.jpg";
        const Picture a = Picture::LoadPicture(file), b = Picture::LoadPicture(file), copy = a;
        QVERIFY(!a.Failed() && !(a == b) && copy == a && Picture() == Picture());
        QTest::ignoreMessage(QtWarningMsg, "cannot show picture /nowhere/x.jpg: file not found");
        QTest::failOnWarning(QRegularExpression("cannot show"));
        const Picture m1 = Picture::LoadPicture("/nowhere/x.jpg"), m2 = Picture::LoadPicture("/nowhere/x.jpg");
        QVERIFY(m1.Failed() && m2.Failed() && !(m1 == m2)); // failed loads are pictures of their own, said once
        // Decoded at the size shown, read again when shown larger, from a larger render if it has one.
        const Picture small = Picture::LoadPicture(file, QSize(81, 81));
        QCOMPARE(small.Image().size(), QSize(81, 81));
        small.Refine(QSize(300, 300));
        QCOMPARE(small.Image().size(), QSize(300, 300));
        const Picture child = Picture::LoadPicture(":/screens/art/child1.gif");
        child.Refine(QSize(400, 800));
        QCOMPARE(child.Image().size(), QSize(400, 800)); // from the 520 x 1020 render
    }

    // Three quarters of the display, centred; every rescale starts from the recorded design, so
    // none drifts; a minimised form is left alone.
    void scaler()
    {
        Probe& probe = static_cast<Probe&>(p->forms.Load("Probe"));
        Control& card = probe.Get<Image>("Card");
        clsResize fresh; // a fresh scaler's first rescale only records
        fresh.SetSourceForm(&probe);
        probe.SetWidth(9000);
        fresh.ResizeControls();
        QCOMPARE(Of(card), (Geometry{1800, 300, 1200, 1200}));
        probe.SetWidth(6000);
        probe.scaler.SetSourceForm(&probe);
        probe.scaler.SizeFormToScreen(75); // of 1024 x 768
        QCOMPARE((Geometry{probe.Left(), probe.Top(), probe.Width(), probe.Height()}),
                 (Geometry{1920, 1440, 11520, 8640}));
        const double height = probe.Height() - probe.ScaleHeight() + 4500; // the client at its design height
        for (int i = 1; i < 200; ++i)
            probe.SetWidth(15 * (i * 37 % 3000 + 1)), probe.SetHeight(15 * (i * 53 % 2000 + 1));
        probe.SetWidth(12000);
        probe.SetHeight(height);
        QCOMPARE(Of(card), (Geometry{3600, 300, 2400, 1200}));
        QCOMPARE(probe.Get<Timer>("Ticker").Left(), 180.0); // a timer has a place, no size
        probe.SetWindowState(Form::Minimized);
        probe.SetWidth(6000);
        QCOMPARE(Of(card), (Geometry{3600, 300, 2400, 1200}));
        probe.SetWindowState(Form::Normal); // restored: rescaled to the restored size
        QCOMPARE(Of(card), (Geometry{1800, 300, 1200, 1200}));
    }

    void tagDirectives_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<Geometry>("scaled");
        QTest::newRow("empty") << "" << Geometry{3600, 600, 2400, 2400};
        QTest::newRow("a card value") << "10" << Geometry{3600, 600, 2400, 2400};
        QTest::newRow("move only, lower case") << "@lt" << Geometry{3600, 600, 1200, 1200};
        QTest::newRow("vertical") << "@TH" << Geometry{1800, 600, 1200, 2400};
        QTest::newRow("nothing") << "@" << Geometry{1800, 300, 1200, 1200};
        QTest::newRow("@ not first") << "x@W" << Geometry{3600, 600, 2400, 2400};
    }

    void tagDirectives()
    {
        QFETCH(QString, tag);
        QFETCH(Geometry, scaled);
        Probe& probe = static_cast<Probe&>(p->forms.Load("Probe"));
        Control& card = probe.Get<Image>("Card");
        card.SetTag(tag);
        probe.scaler.SetSourceForm(&probe);
        probe.scaler.ResizeControls();
        probe.SetWidth(probe.Width() * 2);
        probe.SetHeight(probe.Height() + 4500);
        QCOMPARE(Of(card), scaled);
    }

    // One copy per user, however the display or the session is spelled. A second copy asks the
    // first to tell the user, over its own screen, once however many ask; a second that gets no
    // answer tells the user itself, and shows nothing; once the first has let go, the next runs.
    void oneCopy()
    {
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        qputenv("DISPLAY", ":5");
        qunsetenv("XDG_SESSION_ID");
        const QString key = App::DefaultInstanceKey(); // a file in the user's own folder
        QCOMPARE(key, QDir(runtime.path()).canonicalPath() + "/org.merendella.Merendella");
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8() + "/");
        qputenv("DISPLAY", ":5.0");
        qputenv("XDG_SESSION_ID", "7");
        QCOMPARE(App::DefaultInstanceKey(), key);
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
        QVERIFY(!App::DefaultInstanceKey().contains('/')); // others may enter: a name, whose holder is asked

        Modulo1::Main(p->services);
        QLocalSocket second, third;
        for (QLocalSocket* copy : {&second, &third}) {
            copy->setSocketOptions(QLocalSocket::AbstractNamespaceOption);
            copy->connectToServer(QStringLiteral("merendella-test-%1").arg(QCoreApplication::applicationPid()));
        }
        p->boxes.onShow = [&](const MsgBoxRequest&) { third.write("started\n"), QTest::qWait(100); };
        second.write("started\n");
        QTRY_VERIFY(second.canReadLine() && p->boxes.seen.size() == 1);
        QVERIFY(second.readLine() == "told\n" && third.readLine() == "told\n" && p->boxes.seen.size() == 1);
        QVERIFY(p->boxes.seen[0].over == p->forms.Active()->Window());
        QCOMPARE(support::Box(p->boxes.seen[0]), "E' già stata avviata una copia di questo programma! | 16 | Error");
        auto next = std::make_unique<support::Program>();
        Modulo1::Main(next->services); // the first is busy: no answer
        QVERIFY(next->forms.Loaded().empty() && next->boxes.seen.size() == 1);
        p->app.Release(), p->app.Release(); // the key is free at once, the first's screen still open
        next = std::make_unique<support::Program>();
        Modulo1::Main(next->services);
        QVERIFY(next->boxes.seen.empty() && next->forms.Active());
    }

    // A name of the key that another user holds first keeps nothing from starting; a program of
    // another user that says it started on the key is closed on, unanswered, and no box shows.
    void strangers()
    {
        if (::geteuid() != 0) QSKIP("only root starts a program as another user");
        const QString key = QStringLiteral("merendella-test-%1").arg(QCoreApplication::applicationPid());
        QProcess holder, teller;
        Stranger(holder, "hold", key);
        QTRY_VERIFY(holder.canReadLine());
        QVERIFY(holder.readLine().endsWith(" held\n"));
        QTest::ignoreMessage(QtWarningMsg, "cannot check for another copy: its name is held by user 65534");
        QVERIFY(!App(key).PrevInstance());
        holder.kill(), holder.waitForFinished();
        Modulo1::Main(p->services);
        QTest::ignoreMessage(QtWarningMsg, "not answered on the one-copy key: a program of user 65534");
        Stranger(teller, "tell", key);
        QTRY_VERIFY(teller.state() == QProcess::NotRunning);
        QVERIFY(!teller.readAll().contains("told"));
        QVERIFY(p->boxes.seen.empty() && p->forms.Active());
    }

    // The end, whatever the services do: the key is free before the modules' threads are waited for,
    // so that the next copy starts meanwhile, and a thread that its service holds is left, said once,
    // instead of holding the end.
    void endingWithHungServices()
    {
        const QString key = QStringLiteral("merendella-end-%1").arg(QCoreApplication::applicationPid());
        App app(key);
        QVERIFY(!app.PrevInstance());
        auto *sound = new Hung(key), *voice = new Hung(key);
        p->sound.SetOutput(std::unique_ptr<SoundOutput>(sound));
        p->speech.SetEngine(std::unique_ptr<SpeechEngine>(voice));
        p->sound.Play(Cue::Swap), p->speech.Say("ciao", nullptr);
        QTRY_VERIFY(sound->holding && voice->holding);
        QTest::ignoreMessage(QtWarningMsg, "the hung thread still waits for its service: left to the system");
        QTest::ignoreMessage(QtWarningMsg, "the hung thread still waits for its service: left to the system");
        QElapsedTimer ending;
        ending.start();
        QVERIFY(!EndModules(app, p->sound, p->speech));
        QVERIFY(ending.elapsed() < 5000); // not a timing: without a bound it never returns
        QVERIFY(sound->nextCopyRan && voice->nextCopyRan);
        for (Hung* hung : {sound, voice}) hung->letGo.release(), delete hung;
    }

    // The program itself, with a sound server that takes the connection and never answers: the sound
    // thread waits from the start, and every line written meanwhile, by any thread, still reaches
    // standard error: the voice's, and the end's own.
    void linesWhileTheSoundServerHangs()
    {
        QTemporaryDir dir;
        const QByteArray path = dir.filePath("pulse").toUtf8();
        sockaddr_un address{AF_UNIX, {}};
        std::copy(path.begin(), path.end(), address.sun_path);
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(server, 8) == 0);
        QVERIFY(QDir(dir.path()).mkpath("speech-dispatcher"));
        for (auto [file, text] : {std::pair{"client.conf", "autospawn = no\n"},
                                  std::pair{"speech-dispatcher/speechd.conf", "DisableAutoSpawn\n"}}) {
            QFile f(dir.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) > 0);
        }
        QProcess game;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_RUNTIME_DIR", "HOME", "XDG_CONFIG_HOME"}) env.insert(name, dir.path());
        env.insert("PULSE_SERVER", "unix:" + path);
        env.insert("PULSE_CLIENTCONFIG", dir.filePath("client.conf"));
        env.insert("SPEECHD_ADDRESS", "unix_socket:" + dir.filePath("no-speech"));
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.filePath("no-bus"));
        game.setProcessEnvironment(env);
        game.start(MERENDELLA_PROGRAM, {"--game=torte"});
        QString said;
        pollfd asked{server, POLLIN, 0};
        QTRY_VERIFY_WITH_TIMEOUT(
            ::poll(&asked, 1, 0) == 1 &&
                (said += game.readAllStandardError()).contains("merendella.speech: no speech: no speech service"),
            20000);
        game.terminate();
        QVERIFY(game.waitForFinished(10000));
        said += game.readAllStandardError();
        QVERIFY2(game.exitCode() == 0 &&
                     said.contains("merendella.sound: the sound thread still waits for its service: "
                                   "left to the system\n"),
                 qPrintable(said));
        ::close(server);
    }

    // A 256-band gradient, turquoise to blue, edge to edge; on a tall display too.
    void titleScreen_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::newRow("1024 x 768") << QSize(1024, 768);
        QTest::newRow("portrait 1080 x 1920") << QSize(1080, 1920);
    }

    void titleScreen()
    {
        QFETCH(QSize, display);
        p->display.size = display;
        auto& title = p->Open<FormAvvio>("FormAvvio");
        QVERIFY(PaletteColours.count(title.BackColor()));
        QCOMPARE((std::array{title.Left(), title.Width(), title.Height()}),
                 (std::array{0.0, display.width() * 15.0, display.height() * 15.0}));
        QCOMPARE(title.ScaleMode(), int(Form::ScaleTwips)); // the drawing scale was restored
        const QImage image = title.Client()->grab().toImage();
        QCOMPARE(image.pixelColor(5, 0), QColor(19, 255, 228));
        QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), QColor(19, 0, 228));
        title.SetWidth(title.Width() + 1500); // what is drawn follows the window's size
        QCOMPARE(title.Client()->grab().toImage().pixelColor(title.Client()->width() - 1, 0), QColor(19, 255, 228));
        std::vector<int> heights(256, 0);
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(2, y);
            QVERIFY(c.red() == 19 && c.blue() == 228);
            ++heights[std::size_t(255 - c.green())];
        }
        const int h = display.height() / 256;
        for (int rows : heights) QVERIFY2(rows == h || rows == h + 1, qPrintable(QString::number(rows)));
        // The pointers, set once the first frame is on screen: the big arrow over the screen and its
        // labels, the ice-cream over "Avvio".
        QTRY_COMPARE(title.Client()->cursor().hotSpot(), QPoint(3, 1));
        QCOMPARE(title.Get<Label>("Label1").Widget()->cursor().hotSpot(), QPoint(3, 1));
        QVERIFY(title.BottoneAvvio.Widget()->cursor().hotSpot().x() > 3); // the ice-cream's, in its middle
        // "Avvio" opens the menu and leaves it alone on display.
        QTest::mouseClick(title.BottoneAvvio.Widget(), Qt::LeftButton);
        QCOMPARE(p->forms.Loaded().size(), std::size_t(1));
        QCOMPARE(p->forms.Active()->Name(), "FormMenu");
    }

    // The information box, the exit question (Enter asks it: "Esci" holds the focus), the games.
    void menu()
    {
        auto& script = p->boxes;
        auto& menu = p->Open<FormMenu>("FormMenu");
        QVERIFY(QTest::qWaitForWindowActive(menu.Window()));
        const std::uint32_t colour = menu.BackColor();
        QVERIFY(PaletteColours.count(colour) && menu.Width() == 15360.0);
        QTRY_COMPARE(menu.Command1.Widget()->cursor().hotSpot(), QPoint(3, 1)); // the big arrow
        QCOMPARE(menu.Client()->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(menu.Window()->focusWidget(), menu.BottoneEsci.Widget());
        QTest::keyClick(menu.BottoneEsci.Widget(), Qt::Key_Return);
        QTest::mouseClick(menu.Command14.Widget(), Qt::LeftButton);
        QTRY_COMPARE(script.seen.size(), std::size_t(2));
        const QStringList lines = script.seen[0].text.split("\r\n");
        QVERIFY(lines.size() == 4 && lines[0].endsWith("  ") && lines[3].startsWith("mail: ") &&
                lines[3].contains('@'));
        QCOMPARE(lines[1], " ----------------------- ");
        QVERIFY(script.seen[0].style == 64 && script.seen[0].shownTitle == "Merendella");
        QCOMPARE(support::Box(script.seen[1]), "sicuro di voler terminare? | 36 | Merendella");
        QVERIFY(p->forms.Active() == &menu && menu.BackColor() == colour && p->quits == 0); // No: all as it was
        // Each button's caption said as it takes the keyboard, or as the pointer rests on it.
        QTest::keyClick(menu.Window(), Qt::Key_Tab);
        QEnterEvent enter({}, {}, {});
        QCoreApplication::sendEvent(menu.Command2.Widget(), &enter);
        QTest::qWait(600);
        QCOMPARE(p->said.join(" | "), "Esci | Merendella, https://merendella.org, mail: info@merendella.org | "
                                      "sicuro di voler terminare? | Torte | Figurine");
        QTest::mouseClick(menu.Command2.Widget(), Qt::LeftButton);
        QCOMPARE(layout::GestoreLayout->SourceForm(), p->forms.Find("FormMemory2")); // the game's scaler took over
    }

    // The settings: the system's folders (the first listed winning), the user's over them, the command
    // line over all; a bad value in a file is told and ignored, a bad option ends the program.
    void settings_data()
    {
        QTest::addColumn<QStringList>("files"); // the first system folder's, the second's, the user's
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("settings"); // or how the program ends
        QTest::addColumn<QString>("said");     // the log line, or the exit's text
        const auto row = [](const char* name, QStringList files, QStringList arguments, QString settings,
                            QString said = {}) { QTest::newRow(name) << files << arguments << settings << said; };
        row("none", {"", "", ""}, {}, "title sound voice hints child -1 level 4 no totals desktop");
        row("first system folder first", {"game=torte\nlevel=auto", "game=figurine\nmute=true\nscan=2.5\nlevel=1", ""},
            {}, "tarts mute voice hints child 2.5 level 0 no totals desktop");
        row("user over system", {"kiosk=true\nvoice=false", "", "[General]\nkiosk=false\nhints=FALSE"}, {},
            "title sound no-voice no-hints child -1 level 4 no totals desktop");
        row("command line over all", {"", "", "game=torte\nmute=false\nscan=9\nlevel=auto\ntotals=false"},
            {"--game=figurine", "--mute", "--no-voice", "--no-hints", "--kiosk", "--scan=0", "--level=3", "--totals"},
            "stickers mute no-voice no-hints kiosk 0 level 3 totals desktop");
        row("bad value in a later file", {"game=figurine", "", "game=cake\nmute=true\ntotals=TRUE"}, {},
            "stickers mute voice hints child -1 level 4 totals desktop",
            "/user/merendella/merendella.conf: game=cake is not torte or figurine");
        row("a level not in the list", {"", "level=2", "level=02"}, {},
            "title sound voice hints child -1 level 2 no totals desktop",
            "/user/merendella/merendella.conf: level=02 is not 1, 2, 3, 4 or auto");
        row("unknown option", {"", "", ""}, {"--kiosk", "--loud"}, "exit 2",
            "^merendella: Unknown option 'loud'; the options are --help, .*--kiosk, .*--level=1\\|2\\|3\\|4\\|auto, "
            "--totals and --language=CODE\n$");
        row("languages: a file's, the command line's", {"language=DE", "", "language=fr_CH"}, {}, "title sound voice "
            "hints child -1 level 4 no totals fr_ch");
        row("a language's code", {"", "", ""}, {"--language=en"}, "title sound voice hints child -1 level 4 no totals en");
        row("not a language's code", {"", "", "language=klingon!"}, {},
            "title sound voice hints child -1 level 4 no totals desktop",
            "/user/merendella/merendella.conf: language=klingon! is not a language code such as en or de");
        row("bad value", {"", "", ""}, {"--scan=61"}, "exit 2",
            "^merendella: bad value --scan=61; it takes a number of seconds from 0 to 60\n$");
        row("bad level", {"", "", ""}, {"--level=5"}, "exit 2",
            "^merendella: bad value --level=5; it takes 1, 2, 3, 4 or auto\n$");
        row("help", {"game=cake", "", ""}, {"--kiosk", "--help"}, "exit 0",
            "^Usage: merendella \\[options\\]\n.*\n  --kiosk  ");
    }

    void settings()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, arguments);
        QFETCH(QString, settings);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QStringList folders{dir.filePath("system1"), dir.filePath("system2"), dir.filePath("user")};
        for (int i = 0; i < 3; ++i) {
            QFile file(folders[i] + "/merendella/merendella.conf");
            QVERIFY(QDir().mkpath(folders[i] + "/merendella"));
            if (!files[i].isEmpty()) QVERIFY(file.open(QIODevice::WriteOnly) && file.write(files[i].toUtf8()));
        }
        qputenv("XDG_CONFIG_DIRS", (folders[0] + ':' + folders[1]).toUtf8());
        qputenv("XDG_CONFIG_HOME", folders[2].toUtf8());
        QTest::failOnWarning(QRegularExpression("merendella\\.conf"));
        if (!settings.startsWith("exit") && !said.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(said));
        p->translations.reset(); // read before any translation is loaded, as the program reads them
        const auto read = Options::Read(QStringList{"merendella"} + arguments);
        if (const auto* exit = std::get_if<Options::Exit>(&read)) {
            QCOMPARE("exit " + QString::number(exit->status), settings);
            QVERIFY2(
                QRegularExpression(said, QRegularExpression::DotMatchesEverythingOption).match(exit->text).hasMatch(),
                qPrintable(exit->text));
        } else {
            const Settings& s = std::get<Settings>(read);
            QCOMPARE(QString("%1 %2 %3 %4 %5 %6 level %7 %8 %9")
                         .arg(QStringList{"title", "tarts", "stickers"}[int(s.start)], s.mute ? "mute" : "sound",
                              s.voice ? "voice" : "no-voice", s.hints ? "hints" : "no-hints",
                              s.kiosk ? "kiosk" : "child")
                         .arg(s.scan)
                         .arg(s.level)
                         .arg(s.totals ? "totals" : "no totals", s.language.isEmpty() ? "desktop" : s.language),
                     settings);
        }
        for (int i = 0; i < 3; ++i) { // read, never written
            QFile file(folders[i] + "/merendella/merendella.conf");
            QCOMPARE(file.open(QIODevice::ReadOnly) ? QString(file.readAll()) : QString(), files[i]);
        }
    }

    // Classroom mode, set up with a stickers game first, the sounds muted and no voice: neither the
    // window's close nor the menu's "Esci" ends the program (the game's goes to the menu), M turns the
    // sounds on alone, and only Ctrl+Shift+Q ends it.
    void classroom()
    {
        p->settings = {.start = Settings::Start::Stickers, .mute = true, .voice = false, .kiosk = true};
        Modulo1::Main(p->services);
        auto* game = dynamic_cast<game::GameScreen*>(p->forms.Active());
        QVERIFY(game && game->Name() == "FormMemory2" && QTest::qWaitForWindowActive(game->Window()));
        QTest::keyClick(game->Window(), Qt::Key_M);
        QVERIFY(!p->sound.Muted() && p->speech.Muted());
        game->Window()->close();
        p->boxes.answers = {vbYes, vbYes};
        QTest::keyClick(game->Window(), Qt::Key_Escape);
        auto* menu = dynamic_cast<FormMenu*>(p->forms.Active());
        QVERIFY(menu && QTest::qWaitForWindowActive(menu->Window()));
        QTest::mouseClick(menu->BottoneEsci.Widget(), Qt::LeftButton);
        menu->Window()->close();
        QTest::keyClick(menu->Window(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(p->quits == 0 && p->forms.Active() == menu && menu->Window()->isVisible());
        QCOMPARE(p->sounds.join(' ') + " | " + QString::number(p->boxes.seen.size()),
                 "stop nothing click nothing nothing | 1");
        QTest::keyClick(menu->Window(), Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(p->quits == 1 && !menu->Window()->isVisible());
    }

    void doubleClickGuard()
    {
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(400);
        p->Open<FormAvvio>("FormAvvio").BottoneAvvio.Click();
        auto& menu = static_cast<FormMenu&>(*p->forms.Active());
        QTest::mouseClick(menu.BottoneEsci.Widget(), Qt::LeftButton); // the second click of a double click
        p->clock.now += 450;
        QVERIFY(p->boxes.seen.empty() && menu.Window()->testAttribute(Qt::WA_KeyboardFocusChange)); // focus marked
        QTest::mouseClick(menu.BottoneEsci.Widget(), Qt::LeftButton); // a moment later a click is a click
        QCOMPARE(p->boxes.seen.size(), std::size_t(1));
    }

    // Text, button pictures and pointers at the designed size times the display's share of
    // 1024 x 768, never less; every caption fits its control; the children drawn from a render
    // at least as large as shown; the card grid, wider than 16 bits on large displays, on screen.
    void growingWithTheDisplay_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("passoX");
        QTest::newRow("800 x 600") << QSize(800, 600) << 1.0 << 1542;
        QTest::newRow("1024 x 768") << QSize(1024, 768) << 1.0 << 1973;
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 1.40625 << 3700;
        QTest::newRow("3840 x 2160") << QSize(3840, 2160) << 2.8125 << 7400;
        QTest::newRow("7680 x 4320") << QSize(7680, 4320) << 5.625 << 14799;
    }

    void growingWithTheDisplay()
    {
        QFETCH(QSize, display);
        QFETCH(double, scale);
        QFETCH(int, passoX);
        p->display.size = display;
        const double system = QApplication::font().pointSizeF();
        auto& title = p->Open<FormAvvio>("FormAvvio");
        QCOMPARE(title.Find("Label2", 0)->Widget()->font().pointSizeF(), 72 * scale);
        QCOMPARE(title.BottoneAvvio.View()->iconSize().width(), qRound(32 * scale));
        QTRY_COMPARE(title.Client()->cursor().hotSpot(), QPoint(int(3 * scale), int(1 * scale)));
        QTRY_COMPARE(CutOff(title.Window()), QStringList());
        title.BottoneAvvio.Click();
        auto& menu = static_cast<FormMenu&>(*p->forms.Active());
        QTRY_COMPARE(CutOff(menu.Window()), QStringList());
        menu.MsgBox("Bravo! Ci sei riuscito in 12 mosse!");
        QTimer::singleShot(0, [&] {
            QCOMPARE(QApplication::activeModalWidget()->font().pointSizeF(), system * scale);
            QApplication::activeModalWidget()->close();
        });
        DialogBoxes().Show(p->boxes.seen.back()); // a real box, with its text grown as the screen asked
        menu.Command2.Click();
        auto& game = static_cast<game::GameScreen&>(*p->forms.Active());
        QCOMPARE(game.Label2.Widget()->font().pointSizeF(), 15.75 * scale);
        game.Label2.SetCaption("Mosse 32767"); // drawn smaller where it would not fit
        QCOMPARE(game.Window()->findChild<QMenuBar*>()->font().pointSizeF(), system * scale);
        QTRY_COMPARE(game.Image1[0].Widget()->cursor().pixmap().width(), qRound(32 * scale));
        game.Command1.SetVisible(true);
        QTRY_COMPARE(CutOff(game.Window()), QStringList());
        QWidget* child = game.Image4[2].Widget();
        child->grab();
        QVERIFY(game.Image4[2].Picture().Image().height() >= std::min(child->height(), 1020));
        QVERIFY(game.Width() == display.width() * 15.0 && game.PassoX == passoX);
        QCOMPARE(game.Image3[6].Left(), double(passoX * 6 + game.InizioX));
        QVERIFY(game.Client()->rect().contains(game.Image3[6].Widget()->geometry()));
        // Cards decoded at the size shown, up to the file's own 512 x 512.
        QCOMPARE(game.Image3[6].Picture().Image().size(), game.Image3[6].PictureSize().boundedTo(QSize(512, 512)));
    }

    // In every language the game speaks, and in a pseudo-translation a good deal longer than any,
    // every screen at the smallest display, the design's and a common one: no text cut off.
    void everyLanguageFits_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QSize>("display");
        for (const char* language : {"it", "en", "fr", "es", "de", "eo"})
            for (QSize display : {QSize(800, 600), QSize(1024, 768), QSize(1920, 1080)})
                QTest::addRow("%s %dx%d", language, display.width(), display.height()) << language << display;
    }

    void everyLanguageFits()
    {
        QFETCH(QString, language);
        QFETCH(QSize, display);
        p->display.size = display;
        p->Speak(language, language == "eo" ? MERENDELLA_PSEUDO_DIR : QCoreApplication::applicationDirPath());
        QCOMPARE(p->translations->Language().name().left(2), language);
        for (const char* name : {"FormAvvio", "FormMenu", "FormMemory", "FormMemory2"}) {
            Form& screen = p->forms.Show(name);
            if (auto* game = dynamic_cast<game::GameScreen*>(&screen)) game->Command1.SetVisible(true);
            QTRY_COMPARE(CutOff(screen.Window()), QStringList());
            p->forms.Unload(screen);
        }
    }

private:
    std::unique_ptr<support::Program> p;
};

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
