#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace platform {

// Style values: a button set plus an icon.
enum MsgBoxStyle {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbInformation = 64,
};
// Answer codes.
enum MsgBoxResult { vbOK = 1, vbYes = 6, vbNo = 7 };

struct MsgBoxRequest {
    QString text;
    int style = 0;
    std::optional<QString> title; // as passed by the caller
    QString shownTitle;           // what the box shows: the title, or the application's
    QWidget* over = nullptr;      // the window the box belongs to, if any
    double textScale = 1;         // how much larger than designed its text is shown
};

// Who answers the program's questions: the user, through modal boxes, or a test.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // The answer code of the button pressed. Closing a box without an answer gives No where
    // there is a No button, else OK.
    virtual int Show(const MsgBoxRequest& request) = 0;
};

// The window system's modal boxes.
class DialogBoxes final : public MessageBoxes {
public:
    // beforeEach: what a box needs before it opens (the words of its buttons).
    explicit DialogBoxes(std::function<void()> beforeEach = {})
        : beforeEach_(std::move(beforeEach))
    {}
    int Show(const MsgBoxRequest& request) override;

private:
    std::function<void()> beforeEach_;
};

} // namespace platform
