// The one-copy guard on Qt's local sockets, where Linux's abstract namespace is missing: a named
// pipe on Windows, a socket file elsewhere.
//
// What keeps other users out. On Unix the key is a file in the user's own folder when there is one,
// which nobody else may enter, else in Qt's temporary folder (the user's own on macOS, which does not
// heed a socket's permissions; elsewhere the socket's permissions keep others from connecting): a
// file there that another user made first is no copy of ours and keeps nothing from starting. No
// socket options on Unix: with them Qt binds beside the name and renames over it, replacing a running
// copy's socket instead of finding it. On Windows the pipe's access list names the user alone
// (UserAccessOption), so that no other account connects to it or adds an instance to it.

#include "InstanceGuard.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {

namespace {

// What a copy that was refused says, and what the running one answers.
constexpr char Started[] = "started\n";
constexpr char Told[] = "told\n";

bool Connect(QLocalSocket& socket, const QString& name, int timeoutMs)
{
    socket.connectToServer(name);
    return socket.waitForConnected(timeoutMs);
}

} // namespace

struct InstanceGuard::Listener {
    QLocalServer server;
};

InstanceGuard::InstanceGuard() = default;
InstanceGuard::~InstanceGuard() = default;

InstanceGuard::Outcome InstanceGuard::Take(const QString& key, std::function<void()> told, QString& error)
{
    auto listener = std::make_unique<Listener>();
    QLocalServer& server = listener->server;
#ifdef Q_OS_WIN
    server.setSocketOptions(QLocalServer::UserAccessOption);
#endif
    bool listening = server.listen(key);
    if (!listening && server.serverError() == QAbstractSocket::AddressInUseError) {
#ifdef Q_OS_UNIX
        const QFileInfo file(key.startsWith(QLatin1Char('/')) ? key : QDir::tempPath() + QLatin1Char('/') + key);
        if (file.ownerId() != ::getuid()) {
            error = QStringLiteral("its name is held by user %1").arg(file.ownerId());
            return Outcome::Failed;
        }
#endif
        // A socket file that nobody answers on was left by a copy that was killed: take it over.
        QLocalSocket probe;
        if (Connect(probe, key, 1000)) return Outcome::HeldByAnother;
        QLocalServer::removeServer(key);
        listening = server.listen(key);
    }
    if (!listening && server.serverError() == QAbstractSocket::AddressInUseError) return Outcome::HeldByAnother;
    if (!listening) {
        error = server.errorString();
        return Outcome::Failed;
    }
    QObject::connect(&server, &QLocalServer::newConnection, &server, [&server, told = std::move(told)] {
        while (QLocalSocket* copy = server.nextPendingConnection()) {
            QObject::connect(copy, &QLocalSocket::disconnected, copy, &QObject::deleteLater);
            QObject::connect(copy, &QLocalSocket::readyRead, copy, [&server, copy, told] {
                if (!copy->canReadLine() || copy->readLine() != Started) return;
                copy->write(Told);
                copy->flush();
                // Told from the event loop, not from here: telling opens a box.
                QTimer::singleShot(0, &server, [told] {
                    if (told) told();
                });
            });
        }
    });
    listener_ = std::move(listener);
    return Outcome::Taken;
}

bool InstanceGuard::Tell(const QString& key, int timeoutMs)
{
    QLocalSocket running;
    if (!Connect(running, key, timeoutMs)) return false;
    running.write(Started);
    QElapsedTimer waited;
    waited.start();
    while (!running.canReadLine() && waited.elapsed() < timeoutMs)
        running.waitForReadyRead(int(timeoutMs - waited.elapsed()));
    return running.canReadLine() && running.readLine() == Told;
}

} // namespace platform
