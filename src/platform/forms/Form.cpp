#include "forms/Form.h"

#include "ControlFactory.h"
#include "Font.h"
#include "FormWindow.h"
#include "Icon.h"
#include "Pointer.h"
#include "forms/Classroom.h"
#include "forms/Control.h"
#include "forms/Forms.h"
#include "forms/Text.h"
#include "forms/Units.h"
#include "machine/App.h"
#include "machine/Display.h"
#include "machine/Sound.h"
#include "machine/Speech.h"
#include "texts/Texts.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

namespace platform {

Form::Form(const FormDesc& d, Services& services)
    : services_(services),
      name_(ToQString(d.name))
{
    FormWindow::Handlers handlers{[this](bool restored) { ClientResized(restored); }, [this] { KeepFullScreen(); },
                                  [this] {
                                      if (!services_.classroom.ChildMayEnd()) return services_.sound.Play(Cue::Nothing);
                                      if (auto close = close_) close();
                                  },
                                  [this] { StateChanged(); },
                                  [this](QPainter& p, const QRect& r) { PaintBackground(p, r); }};
    window_ = new FormWindow(std::move(handlers), services_.clock);
    window_->setObjectName(name_);
    window_->setWindowTitle(Translated(d.context, d.caption));
    client_ = window_->Client();
    // The program's first window goes on display as soon as it is made, covering the display; its
    // controls come into it when the screen is shown (Show), before its first frame. The toolkit
    // shows a window's controls before the window itself, and connects to the desktop's
    // accessibility bus the first time a control is named or shown: a window put on display
    // first does not wait for that connection nor for its controls.
    const bool first = services_.forms.MakingFirstScreen();
    if (first) {
        client_->hide();
        CoverDisplay();
        window_->show();
        contentsHidden_ = true;
    }
    window_->setAccessibleName(Translated(d.context, d.accessibleName));
    // One size for task lists and switchers, which scale it as they need. The icon and the
    // pointers are read and converted once the first frame is on screen, which they would delay.
    if (!d.icon.empty())
        window_->AfterFirstFrame([window = window_, path = ToQString(d.icon)] {
            window->setWindowIcon(QIcon(LoadIcon(path).pixmap(64, 64)));
        });

    client_->setAccessibleName(window_->accessibleName());
    const double textScale = Screen().TextScale();
    const QFont designFont = MakeFont(d.font, client_->font()); // before the display grows it
    client_->setFont(ForDisplay(designFont, textScale));
    window_->AfterFirstFrame([client = client_, path = ToQString(d.pointer), textScale] {
        client->setCursor(LoadPointer(path, textScale));
    });
    if (d.backColor != DefaultColor)
        backColor_ = std::uint32_t(d.backColor);
    else
        backColor_ = BGRFromColor(client_->palette().color(QPalette::Window));

    ControlFactory factory(*this, services_, window_, client_, designFont, textScale, d.context);
    for (const ControlDesc& c : d.controls) {
        owned_.push_back(factory.Build(c));
        controls_.push_back(owned_.back().get());
    }
    menuBar_ = factory.MenuBar();

    // Tab order follows the description; the first control that can take the focus has it.
    std::vector<std::pair<int, QWidget*>> order;
    for (const ControlDesc& c : d.controls)
        if (c.tabIndex >= 0)
            if (Control* control = Find(ToQString(c.name), c.index); control && control->Widget())
                order.emplace_back(c.tabIndex, control->Widget());
    std::sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (auto& [index, widget] : order) tabOrder_.push_back(widget);
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1].second, order[i].second);

    // Loaded at the size it was designed for; its activation makes it cover the display.
    const QSize design(TwipsToPixels(d.clientWidth), TwipsToPixels(d.clientHeight));
    if (first) {
        LayoutWindow(design);
    } else {
        window_->resize(design.width(), design.height() + (menuBar_ ? menuBar_->sizeHint().height() : 0));
        LayoutWindow();
    }
    lastClient_ = client_->size();
}

Form::~Form()
{
    // The widgets go first: they refer to their controls.
    delete std::exchange(window_, nullptr);
}

Control* Form::Find(const QString& name, int index) const
{
    for (Control* c : controls_)
        if (c->Index() == index && c->Name() == name) return c;
    return nullptr;
}

QWidget* Form::Window() const { return window_; }

void Form::AfterFirstFrame(std::function<void()> work) { window_->AfterFirstFrame(std::move(work)); }
QWidget* Form::Client() const { return client_; }

bool Form::JustShown() const { return window_->JustShown(); }

void Form::FocusFirst()
{
    if (QWidget* current = window_->focusWidget(); current && current->isVisible() && current->isEnabled()) return;
    for (QWidget* w : tabOrder_) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void Form::ComeToFront()
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) window_->raise(); // it cannot, and says so
    window_->activateWindow();
}

int Form::MsgBox(const QString& text, int style, std::optional<QString> title)
{
    const QString shown = title ? *title : App::Title();
    services_.speech.SayShown(texts::Spoken(text), this);
    // The window is blocked while the box is open, as Qt tells it of a modal box; told here too,
    // so that a box answered by other means blocks it as well.
    QEvent blocked(QEvent::WindowBlocked);
    QCoreApplication::sendEvent(window_, &blocked);
    const int answer = services_.boxes.Show({text, style, std::move(title), shown, window_, Screen().TextScale()});
    QEvent unblocked(QEvent::WindowUnblocked);
    QCoreApplication::sendEvent(window_, &unblocked);
    // The keyboard comes back to the screen, and with it the mark of the focused button: without a
    // window manager nobody else gives it back.
    if (window_->isVisible()) window_->activateWindow();
    return answer;
}

void Form::Load()
{
    loaded_ = true;
    Form_Load();
}

void Form::AddShortcut(int key, std::function<void()> action)
{
    auto* shortcut = new QShortcut(QKeySequence(key), window_);
    shortcut->setAutoRepeat(false);
    QObject::connect(shortcut, &QShortcut::activated, this, std::move(action));
}

void Form::Unload()
{
    loaded_ = false;
    services_.speech.Forget(this); // what it said goes with it
    window_->hide();
    // The screen's timers stop with it, before its window is destroyed.
    for (QObject* child : window_->children())
        if (auto* timer = qobject_cast<QTimer*>(child)) timer->stop();
}

void Form::LayoutWindow(std::optional<QSize> client)
{
    const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    const QSize size = client.value_or(QSize(window_->width(), std::max(0, window_->height() - menuHeight)));
    if (menuBar_) menuBar_->setGeometry(0, 0, size.width(), menuHeight);
    client_->setGeometry(0, menuHeight, size.width(), size.height());
}

void Form::Show()
{
    if (std::exchange(contentsHidden_, false)) {
        client_->show();
        if (menuBar_) menuBar_->show();
    }
    window_->show();
}

void Form::ClientResized(bool force)
{
    LayoutWindow();
    if (!loaded_) return;
    if (!force && client_->size() == lastClient_) return;
    lastClient_ = client_->size();
    Form_Resize();
}

} // namespace platform
