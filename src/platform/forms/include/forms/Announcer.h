#pragma once

#include <QString>

class QWidget;

namespace platform {

// Tells a screen reader what a move did away from its focus (the card's new face, the move count):
// a notification that it reads wherever the focus is. Nothing is shown on screen.
class Announcer {
public:
    explicit Announcer(QWidget* window);
    void Announce(const QString& text);

private:
    QWidget* view_;
};

} // namespace platform
