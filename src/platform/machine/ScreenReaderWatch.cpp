#include "machine/ScreenReaderWatch.h"

#ifdef MERENDELLA_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#endif

namespace platform {

namespace {

const QString Service = QStringLiteral("org.a11y.Bus");
const QString Path = QStringLiteral("/org/a11y/bus");
const QString Status = QStringLiteral("org.a11y.Status");
const QString Property = QStringLiteral("ScreenReaderEnabled");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace

ScreenReaderWatch::ScreenReaderWatch(std::function<void(bool)> changed)
    : changed_(std::move(changed))
{
#ifdef MERENDELLA_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        changed_(false);
        return;
    }
    bus.connect(Service, Path, Properties, QStringLiteral("PropertiesChanged"), this,
                SLOT(PropertiesChanged(QString, QVariantMap, QStringList)));
    QDBusMessage get = QDBusMessage::createMethodCall(Service, Path, Properties, QStringLiteral("Get"));
    get << Status << Property;
    // Asking is no reason to start the accessibility bus: where none runs, no screen reader does.
    get.setAutoStartService(false);
    auto* pending = new QDBusPendingCallWatcher(bus.asyncCall(get, 5000), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<QDBusVariant> reply = *call;
        changed_(!reply.isError() && reply.value().variant().toBool()); // no answer in 5 s: none runs
        call->deleteLater();
    });
#else
    changed_(false);
#endif
}

ScreenReaderWatch::~ScreenReaderWatch() = default;

void ScreenReaderWatch::PropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
{
    if (interface == Status && changed.contains(Property)) changed_(changed.value(Property).toBool());
}

} // namespace platform
