#pragma once

#include <QString>

namespace platform {

// The application object.
class App {
public:
    // True when another copy of the program already runs for this user in this session.
    // The first call takes the guard, which the system releases when the process ends,
    // however it ends, so that a copy that crashed never blocks the next start.
    static bool PrevInstance();
    // The name of the guard: per user and login session.
    static QString InstanceKey();
    // The folder that holds the program, without a trailing separator.
    static QString Path();
    // The title that message boxes without one of their own show.
    static QString Title() { return QStringLiteral("Zuccheriva"); }

    // Prepares the toolkit: the program's name for the desktop, style, and the faces that stand
    // in for the designed fonts.
    static void Initialise();
    // Called when a window goes on screen: the first time, what can wait for it is done once the
    // event loop runs again.
    static void FirstWindowShown();

    // For tests: the folder that Path reports; an empty one restores the real folder.
    static void SetPathForTesting(const QString& path);
    // For tests: the guard's name, so that tests do not meet a running game.
    static void SetInstanceKeyForTesting(const QString& key);
    static void ReleaseInstanceGuardForTesting();
};

} // namespace platform
