#pragma once

#include "Font.h"

#include <QEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTimer>

namespace platform {

// A widget whose text always fits it: when the font it was given does not, the text is drawn a
// little smaller, as much as needed (a long move count, a longer language, a small display). The
// widget says the box its text has and how it is laid out. Measuring text starts the font system,
// so a widget on a screen not yet shown measures once it is on screen: the first window does not
// wait for it.
template <class Widget> class Fitting : public Widget {
public:
    explicit Fitting(QWidget* parent)
        : Widget(parent),
          wanted_(Widget::font())
    {}

    void Fit()
    {
        if (!Widget::isVisible()) return;
        fitting_ = true;
        Widget::setFont(Fitted(wanted_, Widget::text(), TextBox(), TextFlags()));
        fitting_ = false;
    }

protected:
    virtual QSize TextBox() const = 0;
    virtual int TextFlags() const = 0;

    void changeEvent(QEvent* e) override
    {
        Widget::changeEvent(e);
        if (e->type() == QEvent::FontChange && !fitting_) wanted_ = Widget::font(), Fit();
    }
    void resizeEvent(QResizeEvent* e) override
    {
        Widget::resizeEvent(e);
        Fit();
    }
    void showEvent(QShowEvent* e) override
    {
        Widget::showEvent(e);
        QTimer::singleShot(0, this, [this] { Fit(); });
    }

private:
    QFont wanted_; // the font it was given
    bool fitting_ = false;
};

} // namespace platform
