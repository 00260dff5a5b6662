#pragma once

#include <QElapsedTimer>
#include <QWidget>

namespace platform {

class Form;

// The top-level window of a form: a menu bar, if the form has one, above the client area.
class FormWindow : public QWidget {
public:
    explicit FormWindow(Form& form);

    // Whether the window came on screen within the last double-click interval: a click then
    // is the second half of the double click that opened it, and is not taken.
    bool JustShown() const;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    Form& form_;
    QElapsedTimer shown_;
};

// The client area: the form's background colour and its persistent drawing.
class ClientArea : public QWidget {
public:
    ClientArea(Form& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    Form& form_;
};

// The outline that follows the pointer while a control is dragged. Only its ring is part of
// the widget, so moving it repaints only what the ring touches.
class DragOutline : public QWidget {
public:
    explicit DragOutline(QWidget* parent);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};

} // namespace platform
