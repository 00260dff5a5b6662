#pragma once

#include "forms/Control.h"

class QLabel;

namespace platform {

// A label: its caption wraps at word boundaries inside its box; a transparent label lets the
// screen show through.
class Label : public WidgetControl {
public:
    Label(Form& form, QString name, int index, QWidget* parent);

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    QLabel* View() const { return view_; }

private:
    QLabel* view_;
    QString caption_;
};

} // namespace platform
