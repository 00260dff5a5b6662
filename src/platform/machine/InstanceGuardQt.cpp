// The one-copy guard on Qt's local sockets, where Linux's abstract namespace is missing: a named
// pipe on Windows, a socket file elsewhere.

#include "InstanceGuard.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

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
    bool listening = server.listen(key);
    if (!listening && server.serverError() == QAbstractSocket::AddressInUseError) {
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
