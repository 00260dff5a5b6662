#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace platform {

class InstanceGuard;

// The application object: whether another copy runs, the program's folder, its title.
class App {
public:
    // instanceKey: the name of the guard that keeps to one copy; folder: where the program's
    // pictures and sounds are.
    explicit App(QString instanceKey = DefaultInstanceKey(), QString folder = ProgramFolder());
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // True when another copy of the program already runs. The first call takes the guard, which
    // the system releases when the process ends, however it ends, so that a copy that crashed
    // never blocks the next start.
    bool PrevInstance();
    // Tells the copy that runs that another was started; true when it answered within a second,
    // taking on to tell the user.
    bool TellRunningCopy();
    // Gives up the guard at once: stops listening and drops the copies that were asking, so that
    // a copy started now runs. Called at the end of the program before anything that could wait;
    // a second call does nothing. The destructor calls it.
    void Release();
    // What this copy does when a later one tells it so.
    void SetSecondCopyHandler(std::function<void()> handler) { secondCopy_ = std::move(handler); }
    // The folder that holds the program's files, without a trailing separator.
    const QString& Path() const { return folder_; }
    // The title that message boxes without one of their own show.
    static QString Title() { return QStringLiteral("Zuccheriva"); }

    // The guard's key, one per user whatever the environment says of the display or session: a
    // socket's path in the user's runtime folder when nobody else may enter it, else a name.
    static QString DefaultInstanceKey();
    // The folder that holds the program, without a trailing separator.
    static QString ProgramFolder();
    // Prepares the toolkit: the program's name for the desktop, its style, and the faces that
    // stand in for the designed fonts.
    static void Initialise();

private:
    QString key_;
    QString folder_;
    std::unique_ptr<InstanceGuard> guard_;
    std::function<void()> secondCopy_;
};

} // namespace platform
