// The one-copy guard on plain system calls. Qt's QLocalServer does the same, but loading Qt Network
// and the libraries it links (Kerberos, GSSAPI, libproxy and more) cost every start 3.6 million
// instructions, a tenth of the time to the first window, for a guard whose own work is 24 thousand.
//
// The key belongs to its user. A key that is a path is a socket file in the user's own folder, which
// nobody else may enter: no other user can reach it or take its name. A crashed copy leaves its file
// behind, so the copy that runs also holds a lock on a file beside it, which the system frees however
// the process ends; whoever holds the lock may replace the socket. Any other key is a name in the
// abstract namespace, which has no owner: there both ends ask the kernel who the other is
// (SO_PEERCRED), and a name that another user holds keeps nothing from starting.

#include "InstanceGuard.h"

#include "machine/Log.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// What a copy that was refused says, and what the running one answers.
constexpr char Started[] = "started\n";
constexpr char Told[] = "told\n";
// How long a copy asks before it gives up on an answer or on the key's holder.
constexpr int AskingMs = 1000;

bool IsFile(const QString& key) { return key.startsWith(QLatin1Char('/')); }

// A file's address is its path, ended by a zero byte; a name in the abstract namespace starts with
// one, and its length covers the name and nothing after it, as QLocalServer binds it with
// AbstractNamespaceOption, so that Qt's QLocalSocket finds it.
socklen_t Address(const QString& key, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    const bool file = IsFile(key);
    const QByteArray name = key.toUtf8().left(int(sizeof address.sun_path) - 1);
    std::memcpy(address.sun_path + (file ? 0 : 1), name.constData(), std::size_t(name.size()));
    return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + std::size_t(name.size()));
}

int Socket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0); }

// The user of the process at the other end, as the kernel saw it connect or listen.
uid_t PeerUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 ? peer.uid : uid_t(-1);
}

// Connects to the key's holder, trying again while its queue of waiting copies is full or it has not
// yet begun to listen (a copy that takes the key replaces a crashed one's socket, or binds, then
// listens); -1 when the time is up.
int Connect(const QString& key, int timeoutMs)
{
    sockaddr_un address;
    const socklen_t length = Address(key, address);
    const int fd = Socket();
    if (fd < 0) return -1;
    const QDeadlineTimer deadline(timeoutMs);
    int connected;
    while ((connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length)) != 0 &&
           (errno == EAGAIN || errno == EINTR || errno == ECONNREFUSED || errno == ENOENT) && !deadline.hasExpired())
        ::poll(nullptr, 0, 10);
    if (connected == 0) return fd;
    ::close(fd);
    return -1;
}

} // namespace

struct InstanceGuard::Listener {
    ~Listener()
    {
        while (!copies.empty()) Drop(copies.begin()->first);
        delete accepting;                          // before its socket closes
        if (lock >= 0) ::unlink(path.constData()); // while the lock still says it is ours
        ::close(fd);
        if (lock >= 0) ::close(lock);
    }

    void Accept()
    {
        for (int copy; (copy = ::accept4(fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0;) {
            if (const uid_t user = PeerUser(copy); user != ::getuid()) {
                qCWarning(lcStart, "not answered on the one-copy key: a program of user %d", int(user));
                ::close(copy);
                continue;
            }
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
    int lock = -1;   // a socket file's: held while this copy runs
    QByteArray path; // the socket file
    std::function<void()> told;
    QObject context; // parent of the notifiers, and what the handler's timers run for
    QSocketNotifier* accepting = nullptr;
    std::map<int, Copy> copies;
};

InstanceGuard::InstanceGuard() = default;
InstanceGuard::~InstanceGuard() = default;

InstanceGuard::Outcome InstanceGuard::Take(const QString& key, std::function<void()> told, QString& error)
{
    const auto failed = [&error](int cause) {
        error = QString::fromLocal8Bit(std::strerror(cause));
        return Outcome::Failed;
    };
    auto listener = std::make_unique<Listener>();
    if (IsFile(key)) {
        const QByteArray path = key.toUtf8();
        const int lock = ::open(path + ".lock", O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (lock < 0) return failed(errno);
        if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
            const int cause = errno;
            ::close(lock);
            return cause == EWOULDBLOCK ? Outcome::HeldByAnother : failed(cause);
        }
        listener->lock = lock, listener->path = path;
        ::unlink(path.constData()); // a crashed copy's socket
    }
    sockaddr_un address;
    const socklen_t length = Address(key, address);
    listener->fd = Socket();
    if (listener->fd < 0 || ::bind(listener->fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        ::listen(listener->fd, 50) != 0) {
        const int cause = errno;
        if (cause != EADDRINUSE || IsFile(key)) return failed(cause);
        // A name without an owner: held by a copy of this user's, or by a stranger, who keeps nothing
        // from starting.
        const int holder = Connect(key, AskingMs);
        const uid_t user = holder < 0 ? uid_t(-1) : PeerUser(holder);
        if (holder >= 0) ::close(holder);
        if (user == ::getuid()) return Outcome::HeldByAnother;
        error = holder < 0 ? QStringLiteral("its name is held by a program that does not answer")
                           : QStringLiteral("its name is held by user %1").arg(int(user));
        return Outcome::Failed;
    }
    listener->told = std::move(told);
    listener->accepting = new QSocketNotifier(listener->fd, QSocketNotifier::Read, &listener->context);
    QObject::connect(listener->accepting, &QSocketNotifier::activated, &listener->context,
                     [listener = listener.get()] { listener->Accept(); });
    listener_ = std::move(listener);
    return Outcome::Taken;
}

bool InstanceGuard::Tell(const QString& key, int timeoutMs)
{
    const int fd = Connect(key, timeoutMs);
    if (fd < 0) return false;
    QByteArray answer;
    // Only a copy of this user hears that another started.
    if (PeerUser(fd) == ::getuid() && ::send(fd, Started, sizeof Started - 1, MSG_NOSIGNAL) == sizeof Started - 1) {
        const QDeadlineTimer deadline(timeoutMs);
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
