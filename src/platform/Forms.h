#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

class Form;

// The screens of the program. Showing a screen loads it first if needed (its Form_Load runs),
// shows it and, when it is not already the program's active screen, activates it
// (Form_Activate) before returning. The program ends when its last screen is unloaded.
class Forms {
public:
    using Factory = std::function<std::unique_ptr<Form>()>;

    static void Register(const QString& name, Factory factory);
    static Form& Show(const QString& name);
    static Form& Load(const QString& name);
    static void Unload(Form& form);
    // Ends the program at once: every screen disappears and no handler of theirs runs.
    static void End();

    static Form* Find(const QString& name);
    static bool IsLoaded(const Form* form);
    static std::vector<Form*> Loaded();
    static Form* Active();

    // What ending the program does; by default it leaves the event loop with status 0.
    static void SetQuitHandler(std::function<void()> handler);
    // Destroys every screen, loaded or unloaded, now. For the end of main and of tests.
    static void Shutdown();
};

} // namespace platform
