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
#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <map>
#include <queue>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
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

// Stands in for another running copy: binds the guard's name as that copy would. Returns the
// socket to close when the copy "ends", or -1.
inline int HoldInstanceGuard(const QString& key)
{
    const QByteArray name = key.toUtf8();
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path + 1, name.constData(), std::min(std::size_t(name.size()), sizeof(addr.sun_path) - 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + std::size_t(name.size()));
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), length) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

inline QPoint CentreOf(const QWidget* w) { return w->rect().center(); }

// A real mouse drag from one widget to a point in another, as the window system delivers it.
inline void Drag(QWidget* from, QWidget* to, QPoint at = QPoint(-1, -1))
{
    if (at.x() < 0) at = CentreOf(to);
    QTest::mousePress(from, Qt::LeftButton, {}, CentreOf(from));
    const QPoint target = from->mapFromGlobal(to->mapToGlobal(at));
    QTest::mouseMove(from, (CentreOf(from) + target) / 2);
    QTest::mouseMove(from, target);
    QTest::mouseRelease(from, Qt::LeftButton, {}, target);
}

// One swap of the solution: the card at (handA, indexA) dropped onto the card at (handB, indexB).
struct Move {
    int handA, indexA, handB, indexB;
};

// A shortest way to even out the hands, found by a breadth-first search over how many cards
// of each value every hand holds. Empty when the board is already even or cannot be evened.
inline std::vector<Move> SolveBoard(std::array<std::array<int, 7>, 3> board)
{
    std::vector<int> kinds;
    for (auto& hand : board)
        for (int v : hand)
            if (std::find(kinds.begin(), kinds.end(), v) == kinds.end()) kinds.push_back(v);
    const std::size_t k = kinds.size();
    using State = std::vector<int>; // counts[hand * k + kind]
    State start(3 * k, 0);
    for (int h = 0; h < 3; ++h)
        for (int v : board[std::size_t(h)])
            ++start[std::size_t(h) * k + std::size_t(std::find(kinds.begin(), kinds.end(), v) - kinds.begin())];
    auto total = [&](const State& s, int h) {
        long t = 0;
        for (std::size_t i = 0; i < k; ++i) t += long(s[std::size_t(h) * k + i]) * kinds[i];
        return t;
    };
    auto even = [&](const State& s) { return total(s, 0) == total(s, 1) && total(s, 1) == total(s, 2); };
    struct Step {
        State from;
        int a, ka, b, kb;
    };
    std::map<State, Step> parent{{start, {{}, -1, 0, 0, 0}}};
    std::queue<State> queue;
    queue.push(start);
    State goal;
    bool found = false;
    while (!queue.empty() && !found) {
        State s = queue.front();
        queue.pop();
        if (even(s)) {
            goal = s;
            found = true;
            break;
        }
        for (int a = 0; a < 3; ++a)
            for (int b = a + 1; b < 3; ++b)
                for (std::size_t ka = 0; ka < k; ++ka)
                    for (std::size_t kb = 0; kb < k; ++kb) {
                        if (ka == kb || !s[std::size_t(a) * k + ka] || !s[std::size_t(b) * k + kb]) continue;
                        State n = s;
                        --n[std::size_t(a) * k + ka], ++n[std::size_t(a) * k + kb];
                        --n[std::size_t(b) * k + kb], ++n[std::size_t(b) * k + ka];
                        if (parent.emplace(n, Step{s, a, int(ka), b, int(kb)}).second) queue.push(n);
                    }
    }
    std::vector<Move> moves;
    if (!found) return moves;
    std::vector<Step> steps;
    for (State s = goal; parent.at(s).a >= 0; s = parent.at(s).from) steps.push_back(parent.at(s));
    std::reverse(steps.begin(), steps.end());
    for (const Step& st : steps) {
        auto& ha = board[std::size_t(st.a)];
        auto& hb = board[std::size_t(st.b)];
        const int ia = int(std::find(ha.begin(), ha.end(), kinds[std::size_t(st.ka)]) - ha.begin());
        const int ib = int(std::find(hb.begin(), hb.end(), kinds[std::size_t(st.kb)]) - hb.begin());
        std::swap(ha[std::size_t(ia)], hb[std::size_t(ib)]);
        moves.push_back({st.a, ia, st.b, ib});
    }
    return moves;
}

} // namespace testing_support
