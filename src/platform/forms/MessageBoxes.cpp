#include "forms/MessageBoxes.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace platform {

namespace {

struct ButtonSpec {
    QMessageBox::StandardButton button;
    const char* caption;
    int code;
};

std::vector<ButtonSpec> ButtonsFor(int style)
{
    switch (style & 7) {
    case vbOKCancel:
        return {{QMessageBox::Ok, "OK", vbOK}, {QMessageBox::Cancel, "Annulla", vbCancel}};
    case vbYesNoCancel:
        return {
            {QMessageBox::Yes, "Sì", vbYes}, {QMessageBox::No, "No", vbNo}, {QMessageBox::Cancel, "Annulla", vbCancel}};
    case vbYesNo:
        return {{QMessageBox::Yes, "Sì", vbYes}, {QMessageBox::No, "No", vbNo}};
    default:
        return {{QMessageBox::Ok, "OK", vbOK}};
    }
}

QMessageBox::Icon IconFor(int style)
{
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int DialogBoxes::Show(const MsgBoxRequest& request)
{
    QMessageBox box(request.over);
    box.setWindowTitle(request.shownTitle);
    QFont font = box.font();
    font.setPointSizeF(font.pointSizeF() * request.textScale);
    box.setFont(font);
    QString shown = request.text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(IconFor(request.style));
    const auto buttons = ButtonsFor(request.style);
    for (const ButtonSpec& spec : buttons) box.addButton(spec.button)->setText(QString::fromUtf8(spec.caption));
    box.setDefaultButton(buttons.front().button); // the first button: Yes, or OK
    box.exec();
    const auto* clicked = box.clickedButton();
    for (const ButtonSpec& spec : buttons)
        if (clicked && clicked == box.button(spec.button)) return spec.code;
    return buttons.size() > 1 ? buttons[1].code : vbOK;
}

} // namespace platform
