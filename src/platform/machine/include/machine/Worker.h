#pragma once

#include <QDeadlineTimer>
#include <QLoggingCategory>
#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>

namespace platform {

// An object of the modules' own that lives on a thread of its own, where it waits for the audio or
// speech service so that the interface never does: calls to it are posted, and return at once.
// A service may hang for good (a stopped sound server, a speech service that never answers): the
// calls that wait for it are bounded in number, and the thread is waited for only until a deadline.
template <class T> class Worker {
public:
    // How many calls may wait for the thread at once; later ones are dropped until it is free.
    static constexpr int MostWaiting = 8;

    Worker(const QString& name, const QLoggingCategory& category)
        : category_(category)
    {
        thread_->setObjectName(name);
        object_->moveToThread(thread_);
        QObject::connect(thread_, &QThread::finished, object_, &QObject::deleteLater);
        thread_->start();
    }
    // Waits a moment for a thread that was not finished: one that still waits for its service
    // then is left to the system, with its object. One left earlier that has finished since goes.
    ~Worker()
    {
        if (Finish(QDeadlineTimer(state_ == Running ? 400 : 100))) delete thread_;
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Runs call(object) on the worker's thread; false when it was dropped, too many calls waiting.
    template <class Call> bool Post(Call call)
    {
        if (waiting_->fetch_add(1) >= MostWaiting) {
            --*waiting_;
            return false;
        }
        QMetaObject::invokeMethod(object_, [object = object_, waiting = waiting_, call] {
            --*waiting;
            call(*object);
        });
        return true;
    }

    // Ends the thread, waiting for it until the deadline; false, with one line, when it is still
    // held by its service then. The game writes nothing, so leaving it to the system loses nothing.
    bool Finish(QDeadlineTimer deadline)
    {
        if (state_ == Finished) return true;
        const bool first = state_ == Running;
        thread_->quit();
        state_ = thread_->wait(deadline) ? Finished : LeftBehind;
        if (state_ == LeftBehind && first)
            qCWarning(category_, "the %s thread still waits for its service: left to the system",
                      qPrintable(thread_->objectName()));
        return state_ == Finished;
    }

private:
    const QLoggingCategory& category_;
    QThread* thread_ = new QThread; // deleted once finished, else left running
    T* object_ = new T;             // deleted on its thread as the thread ends
    std::shared_ptr<std::atomic<int>> waiting_ = std::make_shared<std::atomic<int>>(0);
    enum { Running, Finished, LeftBehind } state_ = Running;
};

// A module's output or engine gone by the deadline: destroyed once its thread has finished, else
// left to the system with it, since destroying it would wait for that thread. True when it finished.
template <class Module> bool LetGo(std::unique_ptr<Module>& module, QDeadlineTimer deadline)
{
    if (!module || module->Finish(deadline)) {
        module.reset();
        return true;
    }
    (void)module.release();
    return false;
}

} // namespace platform
