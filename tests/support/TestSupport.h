#pragma once

// Set-up shared by the offscreen tests: pictures from the source tree, a display of a chosen
// size, scripted message boxes, no real end of the program, and real mouse drags.

#include "layout/GestoreLayout.h"
#include "platform/App.h"
#include "platform/Form.h"
#include "platform/Forms.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "platform/Screen.h"
#include "shell/Modulo1.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <deque>
#include <vector>

namespace testing_support {

// Answers message boxes instead of the user and remembers what they asked.
class MsgBoxScript {
public:
    MsgBoxScript()
    {
        platform::SetMsgBoxHandler([this](const platform::MsgBoxRequest& r) {
            seen.push_back(r);
            if (onShow) onShow(r);
            if (answers.empty()) return (r.style & 7) == platform::vbYesNo ? int(platform::vbNo) : int(platform::vbOK);
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~MsgBoxScript() { platform::SetMsgBoxHandler({}); }
    MsgBoxScript(const MsgBoxScript&) = delete;
    MsgBoxScript& operator=(const MsgBoxScript&) = delete;

    std::vector<platform::MsgBoxRequest> seen;
    std::deque<int> answers;
    std::function<void(const platform::MsgBoxRequest&)> onShow; // runs while the box is "open"
};

// Every test starts from no screen, on a display of this size.
inline int& QuitCount()
{
    static int count = 0;
    return count;
}

inline void Prepare(QSize display = QSize(1024, 768), std::uint64_t seed = 1)
{
    platform::App::SetPathForTesting(QStringLiteral(MERENDELLA_SOURCE_DIR));
    platform::Screen::SetSizeForTesting(display);
    platform::Forms::SetQuitHandler([] { ++QuitCount(); });
    platform::Randomize(seed);
    Modulo1::RegisterScreens();
}

inline void TearDown()
{
    platform::Forms::Shutdown();
    Modulo1::GestoreLayout.reset();
    QuitCount() = 0;
}

inline QPoint CentreOf(const QWidget* w) { return w->rect().center(); }

// A real mouse drag from one widget to a point in another, as the window system delivers it.
inline void Drag(QWidget* from, QWidget* to, QPoint at = QPoint(-1, -1))
{
    if (at.x() < 0) at = CentreOf(to);
    QTest::mousePress(from, Qt::LeftButton, {}, CentreOf(from));
    const QPoint target = to->mapTo(from, at);
    QTest::mouseMove(from, (CentreOf(from) + target) / 2);
    QTest::mouseMove(from, target);
    QTest::mouseRelease(from, Qt::LeftButton, {}, target);
}

} // namespace testing_support
