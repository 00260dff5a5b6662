#pragma once

#include <QWidget>
#include <functional>
#include <vector>

namespace platform {

class Clock;

// The top-level window of a form: a menu bar, if the form has one, above the client area, which
// shows the form's background. It tells its form what happens to it through the handlers.
class FormWindow : public QWidget {
public:
    struct Handlers {
        std::function<void(bool restored)> resized; // restored: back from minimised
        std::function<void()> activated;
        std::function<void()> closeAsked;
        std::function<void()> stateChanged; // minimised, full screen or not, by anyone
        std::function<void(QPainter&, const QRect&)> paintBackground;
    };

    FormWindow(Handlers handlers, const Clock& clock);

    QWidget* Client() const { return client_; }
    // Whether the window came on screen within the last double-click interval: a click then is
    // the second half of the double click that opened it, and is not taken.
    bool JustShown() const;
    // Runs work once the window's first frame is on screen (at once when it is already): what the
    // first frame does not show need not delay it.
    void AfterFirstFrame(std::function<void()> work);

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FirstFrameShown();

    Handlers handlers_;
    const Clock& clock_;
    QWidget* client_;
    qint64 shownAt_ = -1;
    bool framed_ = false;
    std::vector<std::function<void()>> afterFirstFrame_;
};

} // namespace platform
