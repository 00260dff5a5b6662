#include "machine/App.h"

#include "InstanceGuard.h"
#include "machine/Log.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QFont>
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

// A folder of this user's that nobody else may read, write or enter.
bool OwnFolder(const QFileInfo& folder)
{
#ifdef Q_OS_UNIX
    constexpr QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return folder.isDir() && folder.ownerId() == ::getuid() && !(folder.permissions() & others);
#else
    Q_UNUSED(folder);
    return false;
#endif
}

} // namespace

App::App(QString instanceKey, QString folder)
    : key_(std::move(instanceKey)),
      folder_(std::move(folder))
{}

App::~App() { Release(); }

void App::Release() { guard_.reset(); }

QString App::DefaultInstanceKey()
{
    // The user as the system knows them: their id, and the folder that their sessions share for
    // sockets (a test's private folder makes a private copy). Whether the display is spelled :0
    // or :0.0, or a launcher names the session, changes nothing.
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
#ifdef Q_OS_UNIX
    if (runtime.isEmpty()) runtime = QStringLiteral("/run/user/") + UserId(); // where the login manager puts it
#endif
    const QFileInfo folder(runtime);
    const QString canonical = folder.canonicalFilePath();
    // In that folder when it is the user's alone, which no other user may enter: nobody else can
    // reach the key or take it first. The path must fit a socket's address.
    const QString inFolder = canonical + QStringLiteral("/org.merendella.Merendella");
    if (OwnFolder(folder) && inFolder.toUtf8().size() < 100) return inFolder;
    // Else a name of the user's; the guard asks who holds it.
    return QStringLiteral("merendella-%1-%2")
        .arg(UserId(), QString::fromLatin1(
                           QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(12)));
}

bool App::PrevInstance()
{
    if (guard_) return false;
    auto guard = std::make_unique<InstanceGuard>();
    auto told = [this] {
        if (auto handler = secondCopy_) handler();
    };
    QString error;
    switch (guard->Take(key_, told, error)) {
    case InstanceGuard::Outcome::Taken:
        guard_ = std::move(guard);
        return false;
    case InstanceGuard::Outcome::HeldByAnother:
        return true;
    case InstanceGuard::Outcome::Failed:
        break;
    }
    qCWarning(lcStart, "cannot check for another copy: %s", qPrintable(error));
    return false;
}

bool App::TellRunningCopy() { return InstanceGuard::Tell(key_, 1000); }

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
