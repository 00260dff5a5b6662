#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

class Form;

// The screens of the program. Showing a screen loads it first if needed (its Form_Load runs),
// shows it and, when it is not already the program's active screen, activates it (Form_Activate)
// before returning. The program ends when its last screen is unloaded.
class Forms {
public:
    using Factory = std::function<std::unique_ptr<Form>()>;

    // quit: what ending the program does; by default it leaves the event loop with status 0.
    explicit Forms(std::function<void()> quit = {});
    // Destroys every screen, loaded or unloaded, at once.
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    void Register(const QString& name, Factory factory);
    Form& Show(const QString& name);
    Form& Load(const QString& name);
    void Unload(Form& form);
    // Ends the program at once: every screen disappears and no handler of theirs runs.
    void End();

    Form* Find(const QString& name) const;
    bool IsLoaded(const Form* form) const;
    std::vector<Form*> Loaded() const;
    Form* Active() const { return active_; }
    // Whether the screen being made now is the program's first to be shown: its window goes on
    // display as it is made, before its controls are (see Form).
    bool MakingFirstScreen() const { return makingFirst_; }

private:
    void Quit();

    std::vector<std::pair<QString, Factory>> factories_;
    std::vector<std::unique_ptr<Form>> loaded_;
    Form* active_ = nullptr;
    bool ended_ = false;
    bool shownOne_ = false;
    bool makingFirst_ = false;
    std::function<void()> quit_;
};

} // namespace platform
