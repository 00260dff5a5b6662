// Building each control of a screen from its description.

#include "CommandButton.h"
#include "Form.h"
#include "FormWindow.h"
#include "Image.h"
#include "Label.h"
#include "MenuItem.h"
#include "Pointer.h"
#include "Screen.h"
#include "Text.h"
#include "Timer.h"
#include "Units.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace platform {

QFont MakeFont(const FontDesc& desc, const QFont& base)
{
    QFont font = base;
    if (!desc.face.empty()) font.setFamily(ToQString(desc.face));
    if (desc.points > 0) font.setPointSizeF(desc.points);
    font.setBold(desc.bold);
    font.setItalic(desc.italic);
    return font;
}

QFont ForDisplay(QFont font)
{
    if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * Screen::TextScale());
    return font;
}

namespace {

void ConfigureLabel(Label& label, const ControlDesc& d)
{
    QLabel* view = label.View();
    const Qt::Alignment align = d.alignment == Alignment::Center  ? Qt::AlignHCenter
                                : d.alignment == Alignment::Right ? Qt::AlignRight
                                                                  : Qt::AlignLeft;
    view->setAlignment(align | Qt::AlignTop);
    QPalette pal = view->palette();
    if (d.foreColor != DefaultColor) pal.setColor(QPalette::WindowText, ColorFromBGR(std::uint32_t(d.foreColor)));
    if (!d.transparent && d.backColor != DefaultColor) {
        pal.setColor(QPalette::Window, ColorFromBGR(std::uint32_t(d.backColor)));
        view->setAutoFillBackground(true);
    }
    view->setPalette(pal);
    label.SetCaption(ToQString(d.caption));
}

} // namespace

void Form::BuildControl(const ControlDesc& d)
{
    const QString name = ToQString(d.name);
    std::unique_ptr<Control> control;
    switch (d.kind) {
    case ControlKind::Image: {
        auto image = std::make_unique<Image>(*this, name, d.index, client_);
        image->SetStretch(d.stretch);
        image->SetBorder(d.border);
        image->SetDragAutomatic(d.dragAutomatic);
        if (!d.picture.empty()) image->SetPicture(Picture::LoadPicture(ToQString(d.picture)));
        control = std::move(image);
        break;
    }
    case ControlKind::Label: {
        auto label = std::make_unique<Label>(*this, name, d.index, client_);
        ConfigureLabel(*label, d);
        control = std::move(label);
        break;
    }
    case ControlKind::CommandButton: {
        auto button = std::make_unique<CommandButton>(*this, name, d.index, client_);
        button->SetCaption(ToQString(d.caption));
        if (d.graphical) button->SetGraphical(ToQString(d.picture));
        if (d.tabIndex < 0) button->View()->setFocusPolicy(Qt::NoFocus);
        control = std::move(button);
        break;
    }
    case ControlKind::Timer: {
        auto timer = std::make_unique<Timer>(*this, name, d.index, window_);
        timer->SetInterval(d.interval);
        control = std::move(timer);
        break;
    }
    case ControlKind::MenuItem: {
        if (!menuBar_) {
            auto* bar = new QMenuBar(window_);
            bar->setNativeMenuBar(false);
            bar->setFont(ForDisplay(bar->font()));
            menuBar_ = bar;
        }
        QAction* action = static_cast<QMenuBar*>(menuBar_)->addAction(ToQString(d.caption));
        control = std::make_unique<MenuItem>(*this, name, d.index, action);
        break;
    }
    }

    if (QWidget* w = control->Widget()) {
        if (!d.font.face.empty() || d.font.points > 0) w->setFont(ForDisplay(MakeFont(d.font, designFont_)));
        if (!d.pointer.empty()) w->setCursor(LoadPointer(ToQString(d.pointer)));
        static_cast<WidgetControl*>(control.get())->Move(d.left, d.top, d.width, d.height);
    } else {
        control->SetLeft(d.left);
        control->SetTop(d.top);
    }
    control->SetVisible(d.visible);
    control->SetEnabled(d.enabled);
    controls_.push_back(control.get());
    owned_.push_back(std::move(control));
}

} // namespace platform
