#include "Forms.h"

#include "Celebration.h"
#include "Form.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QPixmapCache>
#include <QTimer>
#include <QWidget>
#include <stdexcept>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace platform {

namespace {

struct Registry {
    QHash<QString, Forms::Factory> factories;
    std::vector<std::unique_ptr<Form>> loaded;
    Form* active = nullptr;
    bool ended = false;
    std::function<void()> quit = [] { QCoreApplication::exit(0); };
};

Registry& R()
{
    static Registry r;
    return r;
}

// A screen's timers stop with it, before its window is destroyed.
void StopTimers(Form& form)
{
    for (QObject* child : form.Window()->children())
        if (auto* timer = qobject_cast<QTimer*>(child)) timer->stop();
}

// What a screen that is gone leaves behind: the style keeps the painted faces of the buttons it
// drew (4 MB for the title screen and the menu at 1920x1080), and the C library keeps the memory
// freed by the screen's pictures for the process.
void ReleaseMemory()
{
    QPixmapCache::clear();
#ifdef __GLIBC__
    malloc_trim(0); // glibc only; elsewhere the allocator decides
#endif
}

} // namespace

void Forms::Register(const QString& name, Factory factory) { R().factories.insert(name, std::move(factory)); }

Form* Forms::Find(const QString& name)
{
    for (auto& f : R().loaded)
        if (f->Name() == name) return f.get();
    return nullptr;
}

bool Forms::IsLoaded(const Form* form)
{
    for (auto& f : R().loaded)
        if (f.get() == form) return true;
    return false;
}

std::vector<Form*> Forms::Loaded()
{
    std::vector<Form*> forms;
    for (auto& f : R().loaded) forms.push_back(f.get());
    return forms;
}

Form* Forms::Active() { return R().active; }

Form& Forms::Load(const QString& name)
{
    if (Form* form = Find(name)) return *form;
    auto it = R().factories.constFind(name);
    if (it == R().factories.constEnd()) throw std::logic_error("no screen named " + name.toStdString());
    R().loaded.push_back((*it)());
    Form& form = *R().loaded.back();
    form.loaded_ = true;
    form.Form_Load();
    return form;
}

Form& Forms::Show(const QString& name)
{
    Form& form = Load(name);
    // Activated before it goes on screen: its activation makes it cover the display, so the
    // window never shows at the size it was loaded with.
    if (R().active != &form) {
        R().active = &form;
        form.Form_Activate();
    }
    QWidget* window = form.Window();
    window->show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) window->raise();
    window->activateWindow();
    // Asked again once the screen that opened this one has gone, and once more a moment later: a
    // window manager may have kept the focus on that one, or taken it for itself, and keeps a
    // panel over a full-screen window without focus.
    for (int ms : {0, 300})
        QTimer::singleShot(ms, window, [window] {
            if (!window->isActiveWindow()) window->activateWindow();
        });
    form.FocusFirst();
    return form;
}

void Forms::Unload(Form& form)
{
    auto& loaded = R().loaded;
    auto it = std::find_if(loaded.begin(), loaded.end(), [&](auto& f) { return f.get() == &form; });
    if (it == loaded.end()) return;
    form.loaded_ = false;
    form.CancelDrag();
    form.ClearSelection();
    Celebration::Stop();
    form.Window()->hide();
    StopTimers(form);
    if (R().active == &form) R().active = nullptr;
    // The screen may be unloading itself from one of its own handlers: it goes once the
    // event loop is back.
    QObject* gone = it->release();
    QObject::connect(gone, &QObject::destroyed, [] { QTimer::singleShot(0, &ReleaseMemory); });
    gone->deleteLater();
    loaded.erase(it);
    if (loaded.empty() && !R().ended) {
        R().ended = true;
        R().quit();
    }
}

void Forms::End()
{
    for (auto& f : R().loaded) {
        f->loaded_ = false;
        f->Window()->hide();
        StopTimers(*f);
    }
    R().active = nullptr;
    if (!R().ended) {
        R().ended = true;
        R().quit();
    }
}

void Forms::SetQuitHandler(std::function<void()> handler) { R().quit = std::move(handler); }

void Forms::Shutdown()
{
    auto loaded = std::move(R().loaded);
    R().loaded.clear();
    R().active = nullptr;
    for (auto& f : loaded) f->loaded_ = false;
    loaded.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    R().ended = false;
}

} // namespace platform
