#include "machine/Ending.h"
#include "machine/Log.h"
#include "shell/Options.h"
#include "shell/Program.h"

#include <QApplication>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#if defined(MERENDELLA_XCB) && QT_CONFIG(xcb)
#define MERENDELLA_X11_CONNECTION
#include <xcb/xcb.h>
#endif

namespace {

// Without a display Qt would abort; say what is needed instead. Only X11 and Wayland
// desktops are found through the environment; elsewhere the system always has a display.
bool HaveDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

QtMessageHandler previousHandler = nullptr;
#ifdef MERENDELLA_X11_CONNECTION
std::atomic<xcb_connection_t*> x11{nullptr}; // while the application object lives
#endif

// Whether the connection to the display broke: the X server or the Wayland compositor went away.
// Qt then ends the process itself, on X11 through exit(), whose clean-up may wait for a sound or
// speech thread held by its service; the game writes nothing, so it leaves at once instead. X11's
// connection tells it itself; Qt 6.4 offers Wayland's to no one, so Qt's words tell it there.
bool DisplayGone(const QString& message)
{
#ifdef MERENDELLA_X11_CONNECTION
    if (xcb_connection_t* connection = x11.load(); connection && xcb_connection_has_error(connection)) return true;
#endif
    return message.contains(QLatin1String("connection broke")) ||
           message.contains(QLatin1String("connection experienced a fatal error"));
}

// Qt Multimedia's words when no sound server answers: the sound module says so in the game's own.
// Qt 6.4 writes them uncategorised, so no logging rule could drop them and leave other libraries' words.
bool SaidByTheGame(const QString& message)
{
    return message == QLatin1String("PulseAudioService: pa_context_connect() failed");
}

// The one handler of the process, installed before any thread starts. A display that cannot be
// reached makes Qt give up with a fatal message and abort; end with the message and a failure
// status instead of a crash.
void Report(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool gone = type != QtDebugMsg && type != QtFatalMsg && DisplayGone(message);
    if (type != QtFatalMsg && !gone) {
        if (!SaidByTheGame(message)) previousHandler(type, context, message);
        return;
    }
    // Qt's threads may all find the connection broken at once: one line, one end; the others wait for it.
    static std::atomic_flag ending;
    while (ending.test_and_set()) std::this_thread::sleep_for(std::chrono::seconds(1));
    previousHandler(QtCriticalMsg, context,
                    (gone ? QStringLiteral("merendella: the display went away, the game ends: ")
                          : QStringLiteral("merendella: cannot start: ")) +
                        message);
    platform::EndNow(1);
}

} // namespace

int main(int argc, char** argv)
{
    // The settings first: --help and --version need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const auto options = Options::Read(arguments);
    if (const auto* exit = std::get_if<Options::Exit>(&options)) {
        std::fputs(exit->text.toLocal8Bit().constData(), exit->status ? stderr : stdout);
        return exit->status;
    }

    if (!HaveDisplay()) {
        qCCritical(lcStart, "no display found. Merendella is a desktop game and needs a graphical session "
                            "(X11 or Wayland).\nOn a machine without one, run it in a virtual display: "
                            "xvfb-run -s '-screen 0 1280x1024x24' merendella");
        return 1;
    }
    previousHandler = qInstallMessageHandler(Report);
    QApplication app(argc, argv);
#ifdef MERENDELLA_X11_CONNECTION
    if (auto* x = app.nativeInterface<QNativeInterface::QX11Application>()) x11 = x->connection();
#endif
    const int status = Program(std::get<platform::Settings>(options)).Run();
#ifdef MERENDELLA_X11_CONNECTION
    x11 = nullptr; // the connection ends with the application object
#endif
    return status;
}
