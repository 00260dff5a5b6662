#include "MessageBox.h"

#include "App.h"
#include "Form.h"
#include "Forms.h"
#include "Text.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace platform {

namespace {

std::function<int(const MsgBoxRequest&)>& Handler()
{
    static std::function<int(const MsgBoxRequest&)> handler;
    return handler;
}

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

void SetMsgBoxHandler(std::function<int(const MsgBoxRequest&)> handler) { Handler() = std::move(handler); }

int MsgBox(const QString& text, int style, std::optional<QString> title)
{
    MsgBoxRequest request{text, style, title, title ? *title : App::Title()};
    if (auto handler = Handler()) return handler(request);

    const Form* active = Forms::Active();
    QMessageBox box(active ? active->Window() : nullptr);
    box.setWindowTitle(request.shownTitle);
    box.setFont(ForDisplay(box.font()));
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(IconFor(style));
    const auto buttons = ButtonsFor(style);
    for (const ButtonSpec& spec : buttons) box.addButton(spec.button)->setText(QString::fromUtf8(spec.caption));
    box.setDefaultButton(buttons.front().button); // the first button: Yes, or OK
    box.exec();
    const auto* clicked = box.clickedButton();
    for (const ButtonSpec& spec : buttons)
        if (clicked && clicked == box.button(spec.button)) return spec.code;
    return buttons.size() > 1 ? buttons[1].code : vbOK;
}

} // namespace platform
