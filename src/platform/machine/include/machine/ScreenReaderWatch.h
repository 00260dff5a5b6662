#pragma once

#include <QObject>
#include <QVariantMap>
#include <functional>

namespace platform {

// Whether a screen reader runs, as the desktop's accessibility bus says (its ScreenReaderEnabled
// status), told once it is known and again whenever it changes. Asked without waiting: a session
// bus that is slow or absent never holds up the start; without one, or with no answer within
// 5 s, no screen reader is told.
class ScreenReaderWatch : public QObject {
    Q_OBJECT
public:
    explicit ScreenReaderWatch(std::function<void(bool running)> changed);
    ~ScreenReaderWatch() override;

private slots:
    void PropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    std::function<void(bool)> changed_;
};

} // namespace platform
