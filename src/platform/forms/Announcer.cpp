#include "forms/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace platform {

namespace {

class AnnouncerWidget : public QWidget {
public:
    using QWidget::QWidget;
};

QAccessibleInterface* AccessibleAnnouncer(const QString&, QObject* object)
{
    auto* widget = dynamic_cast<AnnouncerWidget*>(object);
    return widget ? new QAccessibleWidget(widget, QAccessible::Notification) : nullptr;
}

} // namespace

Announcer::Announcer(QWidget* window)
    : view_(new AnnouncerWidget(window))
{
    static const bool known = (QAccessible::installFactory(AccessibleAnnouncer), true);
    Q_UNUSED(known)
    view_->hide();
}

void Announcer::Announce(const QString& text)
{
    view_->setAccessibleName(text);
    // Orca reads a notification as it is shown.
    QAccessibleEvent shown(view_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace platform
