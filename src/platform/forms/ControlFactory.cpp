#include "ControlFactory.h"

#include "Font.h"
#include "FormWindow.h"
#include "Pointer.h"
#include "forms/CommandButton.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/MenuItem.h"
#include "forms/Services.h"
#include "forms/Text.h"
#include "forms/Timer.h"
#include "forms/Units.h"
#include "texts/Texts.h"

#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <cmath>

namespace platform {

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
    view->setPalette(pal); // every label is transparent: the screen shows through, never its own colour
    label.SetCaption(ToQString(d.caption));
}

} // namespace

ControlFactory::ControlFactory(Form& form, Services& services, FormWindow* window, QWidget* client, QFont designFont,
                               double textScale)
    : form_(form),
      services_(services),
      window_(window),
      client_(client),
      designFont_(std::move(designFont)),
      textScale_(textScale)
{}

std::unique_ptr<Control> ControlFactory::Build(const ControlDesc& d)
{
    const QString name = ToQString(d.name);
    std::unique_ptr<Control> control;
    switch (d.kind) {
    case ControlKind::Image: {
        auto image = std::make_unique<Image>(form_, name, d.index, client_);
        image->SetStretch(d.stretch);
        image->SetBorder(d.border);
        image->SetDragAutomatic(d.dragAutomatic);
        if (!d.picture.empty()) image->SetPicture(Picture::LoadPicture(ToQString(d.picture)));
        control = std::move(image);
        break;
    }
    case ControlKind::Label: {
        auto label = std::make_unique<Label>(form_, name, d.index, client_);
        ConfigureLabel(*label, d);
        control = std::move(label);
        break;
    }
    case ControlKind::CommandButton: {
        auto button = std::make_unique<CommandButton>(form_, name, d.index, client_, services_.sound, services_.speech);
        button->SetCaption(ToQString(d.caption));
        // The 32-pixel picture grows with the caption's text.
        if (d.graphical) button->SetGraphical(ToQString(d.picture), int(std::lround(32 * textScale_)));
        if (d.tabIndex < 0) button->View()->setFocusPolicy(Qt::NoFocus);
        control = std::move(button);
        break;
    }
    case ControlKind::Timer: {
        auto timer = std::make_unique<Timer>(form_, name, d.index, window_);
        timer->SetInterval(d.interval);
        control = std::move(timer);
        break;
    }
    case ControlKind::MenuItem: {
        if (!menuBar_) {
            menuBar_ = new QMenuBar(window_);
            menuBar_->setNativeMenuBar(false);
            menuBar_->setAccessibleName(texts::MenuBar());
            menuBar_->setFont(ForDisplay(menuBar_->font(), textScale_));
        }
        control = std::make_unique<MenuItem>(form_, name, d.index, menuBar_->addAction(ToQString(d.caption)));
        break;
    }
    }

    if (QWidget* w = control->Widget()) {
        if (!d.font.face.empty() || d.font.points > 0)
            w->setFont(ForDisplay(MakeFont(d.font, designFont_), textScale_));
        if (!d.pointer.empty())
            window_->AfterFirstFrame([w = QPointer<QWidget>(w), path = ToQString(d.pointer), scale = textScale_] {
                if (w) w->setCursor(LoadPointer(path, scale));
            });
        static_cast<WidgetControl*>(control.get())->Move(d.left, d.top, d.width, d.height);
    } else {
        control->SetLeft(d.left);
        control->SetTop(d.top);
    }
    control->SetVisible(d.visible);
    control->SetEnabled(d.enabled);
    return control;
}

} // namespace platform
