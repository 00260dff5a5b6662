#include "platform/App.h"

#include "platform/Log.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFont>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStyleFactory>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <unistd.h> // getuid: the user, even when the environment says otherwise
#endif

namespace platform {

namespace {

// What a copy that was refused says, and what the running one answers.
constexpr char Started[] = "started\n";
constexpr char Told[] = "told\n";

QString UserId()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

// Whether the other end answers within a second.
bool Connect(QLocalSocket& socket, const QString& name)
{
#ifdef Q_OS_LINUX
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
#endif
    socket.connectToServer(name);
    return socket.waitForConnected(1000);
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
    // Elsewhere a socket file that nobody answers on was left by a copy that was killed: take it over.
    QLocalSocket probe;
    if (Connect(probe, name)) return false;
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
    // The user as the system knows them: their id, and the folder that their sessions share for
    // sockets (a test's private folder makes a private copy). Whether the display is spelled :0
    // or :0.0, or a launcher names the session, changes nothing.
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
#ifdef Q_OS_UNIX
    if (runtime.isEmpty()) runtime = QStringLiteral("/run/user/") + UserId(); // where the login manager puts it
#endif
    const QByteArray folder = QFileInfo(runtime).canonicalFilePath().toUtf8();
    return QStringLiteral("merendella-%1-%2")
        .arg(UserId(), QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(12)));
}

bool App::PrevInstance()
{
    if (guard_) return false;
    auto server = std::make_unique<QLocalServer>();
    if (Listen(*server, key_)) {
        guard_ = std::move(server);
        QObject::connect(guard_.get(), &QLocalServer::newConnection, guard_.get(), [this] {
            while (QLocalSocket* copy = guard_->nextPendingConnection()) {
                QObject::connect(copy, &QLocalSocket::disconnected, copy, &QObject::deleteLater);
                QObject::connect(copy, &QLocalSocket::readyRead, copy, [this, copy] {
                    if (!copy->canReadLine() || copy->readLine() != Started) return;
                    copy->write(Told);
                    copy->flush();
                    // Told from the event loop, not from here: telling opens a box.
                    QTimer::singleShot(0, guard_.get(), [this] {
                        if (auto handler = secondCopy_) handler();
                    });
                });
            }
        });
        return false;
    }
    if (server->serverError() == QAbstractSocket::AddressInUseError) return true;
    qCWarning(lcStart, "cannot check for another copy: %s", qPrintable(server->errorString()));
    return false;
}

void App::Release() { guard_.reset(); }

bool App::TellRunningCopy()
{
    QLocalSocket running;
    if (!Connect(running, key_)) return false;
    running.write(Started);
    QElapsedTimer waited;
    waited.start();
    while (!running.canReadLine() && waited.elapsed() < 1000) running.waitForReadyRead(int(1000 - waited.elapsed()));
    return running.canReadLine() && running.readLine() == Told;
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
