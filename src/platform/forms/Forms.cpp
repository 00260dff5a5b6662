#include "forms/Forms.h"

#include "forms/Form.h"

#include <QCoreApplication>
#include <QPixmapCache>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <stdexcept>
#include <utility>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace platform {

namespace {

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

Forms::Forms(std::function<void()> quit)
    : quit_(quit ? std::move(quit) : [] { QCoreApplication::exit(0); })
{}

Forms::~Forms()
{
    auto loaded = std::move(loaded_);
    active_ = nullptr;
    loaded.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Forms::Register(const QString& name, Factory factory) { factories_.emplace_back(name, std::move(factory)); }

Form* Forms::Find(const QString& name) const
{
    for (auto& f : loaded_)
        if (f->Name() == name) return f.get();
    return nullptr;
}

bool Forms::IsLoaded(const Form* form) const
{
    return std::any_of(loaded_.begin(), loaded_.end(), [form](auto& f) { return f.get() == form; });
}

std::vector<Form*> Forms::Loaded() const
{
    std::vector<Form*> forms;
    for (auto& f : loaded_) forms.push_back(f.get());
    return forms;
}

Form& Forms::Load(const QString& name)
{
    if (Form* form = Find(name)) return *form;
    auto it = std::find_if(factories_.begin(), factories_.end(), [&](auto& f) { return f.first == name; });
    if (it == factories_.end()) throw std::logic_error("no screen named " + name.toStdString());
    loaded_.push_back(it->second());
    Form& form = *loaded_.back();
    form.SetCloseHandler([this, &form] {
        if (IsLoaded(&form)) Unload(form);
    });
    form.Load();
    return form;
}

Form& Forms::Show(const QString& name)
{
    makingFirst_ = !std::exchange(shownOne_, true) && !Find(name);
    Form& form = Load(name);
    makingFirst_ = false;
    // Activated before it goes on screen (the first screen's window is there already, covering the
    // display, but not its controls): its activation makes it cover the display, so the window
    // never shows at the size it was loaded with.
    if (active_ != &form) {
        active_ = &form;
        form.Form_Activate();
    }
    form.Show();
    QWidget* window = form.Window();
    form.ComeToFront();
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
    auto it = std::find_if(loaded_.begin(), loaded_.end(), [&](auto& f) { return f.get() == &form; });
    if (it == loaded_.end()) return;
    form.Unload();
    if (active_ == &form) active_ = nullptr;
    // The screen may be unloading itself from one of its own handlers: it goes once the event
    // loop is back.
    QObject* gone = it->release();
    QObject::connect(gone, &QObject::destroyed, [] { QTimer::singleShot(0, &ReleaseMemory); });
    gone->deleteLater();
    loaded_.erase(it);
    if (loaded_.empty()) Quit();
}

void Forms::End()
{
    for (auto& f : loaded_) f->Unload();
    active_ = nullptr;
    Quit();
}

void Forms::Quit()
{
    if (!std::exchange(ended_, true)) quit_();
}

} // namespace platform
