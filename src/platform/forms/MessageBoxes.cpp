#include "forms/MessageBoxes.h"

#include "texts/Texts.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace platform {

namespace {

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int code;
};

// Qt's own buttons, in the words of Qt's own translation for the game's language.
std::vector<ButtonSpec> ButtonsFor(int style)
{
    if ((style & 7) == vbYesNo) return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    return {{QMessageBox::Ok, vbOK}};
}

QMessageBox::Icon IconFor(int style)
{
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int DialogBoxes::Show(const MsgBoxRequest& request)
{
    if (beforeEach_) beforeEach_();
    QMessageBox box(request.over);
    box.setWindowTitle(request.shownTitle);
    QFont font = box.font();
    font.setPointSizeF(font.pointSizeF() * request.textScale);
    box.setFont(font);
    box.setText(texts::OnScreen(request.text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(IconFor(request.style));
    const auto buttons = ButtonsFor(request.style);
    for (const ButtonSpec& spec : buttons) box.addButton(spec.button);
    box.setDefaultButton(buttons.front().button); // the first button: Yes, or OK
    box.exec();
    const auto* clicked = box.clickedButton();
    for (const ButtonSpec& spec : buttons)
        if (clicked && clicked == box.button(spec.button)) return spec.code;
    return buttons.size() > 1 ? buttons[1].code : vbOK;
}

} // namespace platform
