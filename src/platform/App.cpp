#include "App.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QStyleFactory>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

QString& PathOverride()
{
    static QString path;
    return path;
}

QString& KeyOverride()
{
    static QString key;
    return key;
}

int guardSocket = -1;

QString GuardName()
{
    if (!KeyOverride().isEmpty()) return KeyOverride();
    // Per user and per display: two users, or one user on two separate displays, each
    // play their own game.
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
    return QStringLiteral("merendella-%1-%2").arg(::getuid()).arg(display);
}

} // namespace

bool App::PrevInstance()
{
    if (guardSocket >= 0) return false;
    // A name in Linux's abstract socket namespace: binding it is atomic, it needs no folder
    // that could be missing or read-only, and the kernel frees it when the process dies.
    const QByteArray name = GuardName().toUtf8();
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::size_t length = std::min<std::size_t>(std::size_t(name.size()), sizeof(addr.sun_path) - 1);
    std::memcpy(addr.sun_path + 1, name.constData(), length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        std::fprintf(stderr, "merendella: cannot check for another copy: %s\n", std::strerror(errno));
        return false;
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), socklen_t(offsetof(sockaddr_un, sun_path) + 1 + length)) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EADDRINUSE) return true;
        std::fprintf(stderr, "merendella: cannot check for another copy: %s\n", std::strerror(error));
        return false;
    }
    guardSocket = fd;
    return false;
}

void App::ReleaseInstanceGuardForTesting()
{
    if (guardSocket >= 0) ::close(guardSocket);
    guardSocket = -1;
}

void App::SetInstanceKeyForTesting(const QString& key) { KeyOverride() = key; }

QString App::Path()
{
    if (!PathOverride().isEmpty()) return PathOverride();
    // Qt reads the executable's real location, so a start through a link finds the pictures.
    QString path = QCoreApplication::applicationDirPath();
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

void App::SetPathForTesting(const QString& path) { PathOverride() = path; }

void App::Initialise()
{
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
    // The screens name the faces they were designed with; where those are missing, the
    // nearest faces that the system packages take their place.
    const struct {
        const char* designed;
        QStringList nearest;
    } faces[] = {
        {"Comic Sans MS",
         {QStringLiteral("Comic Neue"), QStringLiteral("Comic Relief"), QStringLiteral("DejaVu Sans")}},
        {"Arial", {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")}},
        {"MS Sans Serif", {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
    };
    for (const auto& face : faces) {
        // Qt turns to a substitute only when the designed face is missing, so they can be
        // registered without asking fontconfig first, which would delay the first window.
        QFont::insertSubstitutions(QString::fromLatin1(face.designed), face.nearest);
    }
}

} // namespace platform
