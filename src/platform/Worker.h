#pragma once

#include <QObject>
#include <QThread>

namespace platform {

// An object of the modules' own that lives on a thread of its own, where it waits for the audio or
// speech service so that the interface never does: calls to it are posted, and return at once.
template <class T> class Worker {
public:
    explicit Worker(const QString& name)
    {
        thread_.setObjectName(name);
        object_->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, object_, &QObject::deleteLater);
        thread_.start();
    }
    ~Worker()
    {
        thread_.quit();
        thread_.wait();
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Runs call(object) on the worker's thread.
    template <class Call> void Post(Call call)
    {
        QMetaObject::invokeMethod(object_, [object = object_, call] { call(*object); });
    }

private:
    QThread thread_;
    T* object_ = new T; // deleted on its thread as the thread ends
};

} // namespace platform
