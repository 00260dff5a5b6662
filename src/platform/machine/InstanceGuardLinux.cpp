// The one-copy guard on plain system calls. Qt's QLocalServer does the same, but loading Qt Network
// and the libraries it links (Kerberos, GSSAPI, libproxy and more) cost every start 3.6 million
// instructions, a tenth of the time to the first window, for a guard whose own work is 24 thousand.
// The address is the one QLocalServer binds with AbstractNamespaceOption, so that Qt's QLocalSocket
// and copies built either way find each other.

#include "InstanceGuard.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <map>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// What a copy that was refused says, and what the running one answers.
constexpr char Started[] = "started\n";
constexpr char Told[] = "told\n";

// In the abstract namespace (a leading zero byte): the system frees the name with the process,
// however it ends, and no file is left behind. The length covers the name and nothing after it.
socklen_t Address(const QString& key, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    const QByteArray name = key.toUtf8().left(int(sizeof address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, name.constData(), std::size_t(name.size()));
    return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + std::size_t(name.size()));
}

int Socket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0); }

} // namespace

struct InstanceGuard::Listener {
    ~Listener()
    {
        while (!copies.empty()) Drop(copies.begin()->first);
        delete accepting; // before its socket closes
        ::close(fd);
    }

    void Accept()
    {
        for (int copy; (copy = ::accept4(fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0;) {
            auto* reading = new QSocketNotifier(copy, QSocketNotifier::Read, &context);
            QObject::connect(reading, &QSocketNotifier::activated, &context, [this, copy] { Read(copy); });
            copies[copy] = {reading, {}};
        }
    }

    void Read(int copy)
    {
        char buffer[64];
        const ssize_t n = ::recv(copy, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (n <= 0) return Drop(copy); // gone
        QByteArray& said = copies[copy].said;
        said.append(buffer, n);
        for (qsizetype end; (end = said.indexOf('\n')) >= 0; said.remove(0, end + 1)) {
            if (said.left(end + 1) != Started) continue;
            ::send(copy, Told, sizeof Told - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
            // Told from the event loop, not from here: telling opens a box.
            QTimer::singleShot(0, &context, [this] {
                if (auto handler = told) handler();
            });
        }
        if (said.size() > 64) Drop(copy); // no line of ours is that long
    }

    void Drop(int copy)
    {
        QSocketNotifier* reading = copies[copy].reading;
        reading->setEnabled(false);
        reading->deleteLater(); // it may be the one calling
        ::close(copy);
        copies.erase(copy);
    }

    struct Copy {
        QSocketNotifier* reading;
        QByteArray said; // what it said so far
    };

    int fd = -1;
    std::function<void()> told;
    QObject context; // parent of the notifiers, and what the handler's timers run for
    QSocketNotifier* accepting = nullptr;
    std::map<int, Copy> copies;
};

InstanceGuard::InstanceGuard() = default;
InstanceGuard::~InstanceGuard() = default;

InstanceGuard::Outcome InstanceGuard::Take(const QString& key, std::function<void()> told, QString& error)
{
    sockaddr_un address;
    const socklen_t length = Address(key, address);
    const int fd = Socket();
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 && ::listen(fd, 50) == 0) {
        listener_ = std::make_unique<Listener>();
        listener_->fd = fd;
        listener_->told = std::move(told);
        listener_->accepting = new QSocketNotifier(fd, QSocketNotifier::Read, &listener_->context);
        QObject::connect(listener_->accepting, &QSocketNotifier::activated, &listener_->context,
                         [listener = listener_.get()] { listener->Accept(); });
        return Outcome::Taken;
    }
    const int cause = errno;
    if (fd >= 0) ::close(fd);
    if (cause == EADDRINUSE) return Outcome::HeldByAnother;
    error = QString::fromLocal8Bit(std::strerror(cause));
    return Outcome::Failed;
}

bool InstanceGuard::Tell(const QString& key, int timeoutMs)
{
    sockaddr_un address;
    const socklen_t length = Address(key, address);
    const int fd = Socket();
    if (fd < 0) return false;
    // A full queue of waiting copies refuses at once (EAGAIN): try again until the time is up.
    QDeadlineTimer deadline(timeoutMs);
    int connected;
    while ((connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length)) != 0 &&
           (errno == EAGAIN || errno == EINTR) && !deadline.hasExpired())
        ::poll(nullptr, 0, 10);
    QByteArray answer;
    if (connected == 0 && ::send(fd, Started, sizeof Started - 1, MSG_NOSIGNAL) == sizeof Started - 1) {
        deadline.setRemainingTime(timeoutMs);
        pollfd reading{fd, POLLIN, 0};
        while (!answer.endsWith('\n') && answer.size() < 64 && ::poll(&reading, 1, int(deadline.remainingTime())) > 0) {
            char buffer[64];
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) break;
            if (n > 0) answer.append(buffer, n);
        }
    }
    ::close(fd);
    return answer == Told;
}

} // namespace platform
