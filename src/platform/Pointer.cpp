#include "Pointer.h"

#include <QFile>
#include <QHash>
#include <QIcon>
#include <QPixmap>

namespace platform {

QPoint CursorHotSpot(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {-1, -1};
    const QByteArray head = file.read(6 + 16);
    // ICONDIR (reserved, type, count) then the first ICONDIRENTRY; type 2 is a cursor,
    // whose entry keeps the hot spot where an icon keeps planes and bit count.
    if (head.size() < 22) return {-1, -1};
    auto word = [&](int at) { return int(quint8(head[at])) | (int(quint8(head[at + 1])) << 8); };
    if (word(0) != 0 || word(2) != 2 || word(4) < 1) return {-1, -1};
    return {word(6 + 4), word(6 + 6)};
}

QCursor LoadPointer(const QString& path)
{
    if (path.isEmpty()) return QCursor(Qt::ArrowCursor);
    static QHash<QString, QCursor> cache;
    if (auto it = cache.constFind(path); it != cache.constEnd()) return *it;

    QCursor cursor(Qt::ArrowCursor);
    const QIcon icon(path);
    const QPixmap pixmap = icon.pixmap(QSize(32, 32));
    if (!pixmap.isNull()) {
        QPoint hot = path.endsWith(QLatin1String(".cur"), Qt::CaseInsensitive) ? CursorHotSpot(path) : QPoint(-1, -1);
        if (hot.x() < 0) hot = QPoint(pixmap.width() / 2, pixmap.height() / 2);
        cursor = QCursor(pixmap, hot.x(), hot.y());
    }
    cache.insert(path, cursor);
    return cursor;
}

} // namespace platform
