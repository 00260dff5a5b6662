#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace platform {

// Style values: a button set plus an icon.
enum MsgBoxStyle {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};
// Answer codes.
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

struct MsgBoxRequest {
    QString text;
    int style = 0;
    std::optional<QString> title; // as passed by the caller
    QString shownTitle;           // what the box shows: the title, or the application's
};

// A modal message box; returns the answer code of the button pressed. Closing a box without
// an answer gives No where there is a No button, Cancel where there is a Cancel, else OK.
int MsgBox(const QString& text, int style = vbOKOnly, std::optional<QString> title = std::nullopt);

// Replaces the real boxes, for tests: the handler answers instead of the user. An empty
// handler brings the real boxes back.
void SetMsgBoxHandler(std::function<int(const MsgBoxRequest&)> handler);

} // namespace platform
