#include "Form.h"

#include "Control.h"
#include "FormWindow.h"
#include "Pointer.h"
#include "Text.h"
#include "Units.h"

#include <QIcon>
#include <QMenuBar>
#include <algorithm>

namespace platform {

Form::Form(const FormDesc& d)
    : name_(ToQString(d.name))
{
    window_ = new FormWindow(*this);
    window_->setObjectName(name_);
    window_->setWindowTitle(ToQString(d.caption));
    // One size for task lists and switchers, which scale it as they need.
    if (!d.icon.empty()) window_->setWindowIcon(QIcon(LoadIcon(ToQString(d.icon), 64)));

    client_ = new ClientArea(*this, window_);
    client_->setObjectName(QStringLiteral("client"));
    designFont_ = MakeFont(d.font, client_->font());
    client_->setFont(ForDisplay(designFont_));
    client_->setCursor(LoadPointer(ToQString(d.pointer)));
    if (d.backColor != DefaultColor)
        backColor_ = std::uint32_t(d.backColor);
    else
        backColor_ = BGRFromColor(client_->palette().color(QPalette::Window));
    if (d.foreColor != DefaultColor) {
        QPalette pal = client_->palette();
        pal.setColor(QPalette::WindowText, ColorFromBGR(std::uint32_t(d.foreColor)));
        client_->setPalette(pal);
    }

    for (const ControlDesc& c : d.controls) BuildControl(c);

    // Tab order follows the description; the first control that can take the focus has it.
    std::vector<std::pair<int, QWidget*>> order;
    for (const ControlDesc& c : d.controls)
        if (c.tabIndex >= 0)
            if (Control* control = Find(ToQString(c.name), c.index); control && control->Widget())
                order.emplace_back(c.tabIndex, control->Widget());
    std::sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (auto& [index, widget] : order) tabOrder_.push_back(widget);
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1].second, order[i].second);

    outline_ = new DragOutline(client_);

    const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    window_->resize(TwipsToPixels(d.clientWidth), TwipsToPixels(d.clientHeight) + menuHeight);
    LayoutWindow();
    lastClient_ = client_->size();
}

Form::~Form()
{
    if (auto* window = std::exchange(window_, nullptr)) {
        LockWindowUpdate(0);
        delete window; // the widgets go first: they refer to their controls
    }
}

Control* Form::Find(const QString& name, int index) const
{
    for (Control* c : controls_)
        if (c->Index() == index && c->Name() == name) return c;
    return nullptr;
}

Control* Form::ControlOf(const QWidget* widget) const
{
    for (Control* c : controls_)
        if (c->Widget() == widget) return c;
    return nullptr;
}

QWidget* Form::Window() const { return window_; }
QWidget* Form::Client() const { return client_; }
QWidget* Form::DragOutlineWidget() const { return outline_; }

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

void Form::LayoutWindow()
{
    const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    if (menuBar_) menuBar_->setGeometry(0, 0, window_->width(), menuHeight);
    client_->setGeometry(0, menuHeight, window_->width(), std::max(0, window_->height() - menuHeight));
}

void Form::ClientResized(bool force)
{
    LayoutWindow();
    if (!loaded_) return;
    if (!force && client_->size() == lastClient_) return;
    lastClient_ = client_->size();
    ClearSelection();
    Form_Resize();
}

} // namespace platform
