#include "machine/Ending.h"
#include "machine/Log.h"
#include "shell/Options.h"
#include "shell/Program.h"

#include <QApplication>
#include <cstdio>
#ifdef MERENDELLA_FONTCONFIG
#include <fontconfig/fontconfig.h>
#include <thread>
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

// Whether Qt says that the connection to the display broke: the X server or the Wayland compositor
// went away. Qt then ends the process itself, but through exit(), whose clean-up may wait for a
// sound or speech thread; the game writes nothing, so it leaves at once instead.
bool DisplayGone(const QString& message)
{
    return message.contains(QLatin1String("connection broke")) ||
           message.contains(QLatin1String("connection experienced a fatal error"));
}

// A display that cannot be reached makes Qt give up with a fatal message and abort; end
// with the message and a failure status instead of a crash.
void ReportFatal(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg && !(type != QtDebugMsg && DisplayGone(message))) {
        previousHandler(type, context, message);
        return;
    }
    previousHandler(QtCriticalMsg, context,
                    (type == QtFatalMsg ? QStringLiteral("merendella: cannot start: ")
                                        : QStringLiteral("merendella: the display went away, the game ends: ")) +
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
    previousHandler = qInstallMessageHandler(ReportFatal);
#ifdef MERENDELLA_FONTCONFIG
    // The title's first frame waits for fontconfig to read and parse its configuration, which the
    // toolkit does only once text is first measured; read on the second core meanwhile, while the
    // toolkit connects to the display. The toolkit then takes the configuration as it is.
    std::thread([] { FcInit(); }).detach();
#endif
    QApplication app(argc, argv);
    return Program(std::get<platform::Settings>(options)).Run();
}
