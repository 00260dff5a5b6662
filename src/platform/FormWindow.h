#pragma once

#include <QWidget>

namespace platform {

class Form;

// The top-level window of a form: a menu bar, if the form has one, above the client area.
class FormWindow : public QWidget {
public:
    explicit FormWindow(Form& form);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    Form& form_;
};

// The client area: the form's background colour and its persistent drawing.
class ClientArea : public QWidget {
public:
    ClientArea(Form& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;

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
