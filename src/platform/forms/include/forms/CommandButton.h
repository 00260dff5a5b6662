#pragma once

#include "forms/Control.h"

#include <functional>

class QPushButton;

namespace platform {

class Sound;
class Speech;

// A push button, plain or graphical (its picture centred above the caption). Enter and Space
// act on the button that holds the focus, and every press sounds. A child who cannot read hears
// its caption when it takes the keyboard, or when the pointer rests on it for half a second.
class CommandButton : public WidgetControl {
public:
    CommandButton(Form& form, QString name, int index, QWidget* parent, Sound& sound, Speech& speech);

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // A picture shown above the caption: the path of an embedded icon, or empty for none; side:
    // its size in pixels, grown with the caption's text.
    void SetGraphical(const QString& iconPath, int side);

    void SetClickHandler(std::function<void()> handler) { click_ = std::move(handler); }
    void Click(); // as a press of the button
    QPushButton* View() const { return view_; }

private:
    QPushButton* view_;
    Sound& sound_;
    Speech& speech_;
    QString caption_;
    std::function<void()> click_;
};

} // namespace platform
