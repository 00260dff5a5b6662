#include "platform/App.h"

#include "platform/Log.h"

#include <QApplication>
#include <QFont>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStyleFactory>

#ifdef Q_OS_UNIX
#include <unistd.h> // getuid: the user, even when the environment says otherwise
#endif

namespace platform {

namespace {

QString UserId()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

// A listening socket that the system frees with the process, however it ends.
bool Listen(QLocalServer& server, const QString& name)
{
#ifdef Q_OS_LINUX
    // In Linux's abstract namespace: no file that a killed copy could leave behind.
    server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
#endif
    if (server.listen(name)) return true;
    if (server.serverError() != QAbstractSocket::AddressInUseError) return false;
    // A socket file that nobody answers on was left by a copy that was killed: take it over.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(1000)) return false;
    QLocalServer::removeServer(name);
    return server.listen(name);
}

} // namespace

App::App(QString instanceKey, QString folder)
    : key_(std::move(instanceKey)),
      folder_(std::move(folder))
{}

App::~App() = default;

QString App::DefaultInstanceKey()
{
    // One copy per user and login session; without a session manager, per display. A Wayland
    // display comes first: an X11 client of the same desktop sees it too.
    QString session = qEnvironmentVariable("XDG_SESSION_ID");
    if (session.isEmpty()) session = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (session.isEmpty()) session = qEnvironmentVariable("DISPLAY");
    session.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("merendella-%1-%2").arg(UserId(), session);
}

bool App::PrevInstance()
{
    if (guard_) return false;
    auto server = std::make_unique<QLocalServer>();
    if (Listen(*server, key_)) {
        guard_ = std::move(server);
        return false;
    }
    if (server->serverError() == QAbstractSocket::AddressInUseError) return true;
    qCWarning(lcStart, "cannot check for another copy: %s", qPrintable(server->errorString()));
    return false;
}

QString App::ProgramFolder()
{
    // Qt reads the executable's real location, so a start through a link finds the pictures.
    QString path = QCoreApplication::applicationDirPath();
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

void App::Initialise()
{
    // How the desktop knows the game: its task list, switcher and dock show the name and icon of
    // the desktop entry this names (the Wayland app id, and on X11 the window class and name).
    QApplication::setApplicationName(QStringLiteral("Merendella"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.merendella.Merendella"));
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
    // The screens name the faces they were designed with; where those are missing, the nearest
    // faces that the system packages take their place. Qt turns to a substitute only when the
    // designed face is missing, so they are registered without asking fontconfig first, which
    // would delay the first window.
    QFont::insertSubstitutions(
        QStringLiteral("Comic Sans MS"),
        {QStringLiteral("Comic Neue"), QStringLiteral("Comic Relief"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                                         QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

} // namespace platform
