#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace platform {

// The key that keeps to one copy per user: the first copy listens on it, a later one asks that
// copy to tell the user. Only a copy of the same user is answered, and a key that another user
// holds never keeps the program from starting. Linux has a file of its own
// (InstanceGuardLinux.cpp), other systems use Qt's local sockets (InstanceGuardQt.cpp).
class InstanceGuard {
public:
    enum class Outcome { Taken, HeldByAnother, Failed };

    InstanceGuard();
    ~InstanceGuard(); // frees the key and drops every copy that was asking
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // Takes the key. Each later copy that says it started is answered, and told runs from the
    // event loop, never while the copy is read. error says why when the outcome is Failed.
    Outcome Take(const QString& key, std::function<void()> told, QString& error);

    // Says to the copy holding the key that another started; true when it answered within
    // timeoutMs of connecting.
    static bool Tell(const QString& key, int timeoutMs);

private:
    struct Listener;
    std::unique_ptr<Listener> listener_;
};

} // namespace platform
