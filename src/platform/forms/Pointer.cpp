#include "Pointer.h"

#include "Icon.h"

#include <QFile>
#include <QHash>
#include <QPixmap>
#include <cmath>

namespace platform {

namespace {

// The hot spot that a .cur file declares for its first image; (-1, -1) when it has none. Read by
// hand: Qt's image reader reads the pictures of a cursor file but not its hot spot.
QPoint CursorHotSpot(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {-1, -1};
    // ICONDIR (reserved, type, count) then the first ICONDIRENTRY; type 2 is a cursor, whose
    // entry keeps the hot spot where an icon keeps planes and bit count.
    const QByteArray head = file.read(6 + 16);
    if (head.size() < 22) return {-1, -1};
    auto word = [&](int at) { return int(quint8(head[at])) | (int(quint8(head[at + 1])) << 8); };
    if (word(0) != 0 || word(2) != 2 || word(4) < 1) return {-1, -1};
    return {word(6 + 4), word(6 + 6)};
}

} // namespace

QCursor LoadPointer(const QString& path, double scale)
{
    if (path.isEmpty()) return QCursor(Qt::ArrowCursor);
    const int side = int(std::lround(32 * scale));
    static QHash<QString, QCursor> cache;
    const QString key = path + QLatin1Char('@') + QString::number(side);
    if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;

    QCursor cursor(Qt::ArrowCursor);
    if (const QPixmap pixmap = LoadIcon(path).pixmap(side, side); !pixmap.isNull()) {
        // The hot spot is given on the 32-pixel image, and grows with it.
        QPoint hot = path.endsWith(QLatin1String(".cur"), Qt::CaseInsensitive) ? CursorHotSpot(path) : QPoint(16, 16);
        if (hot.x() < 0) hot = QPoint(16, 16);
        cursor = QCursor(pixmap, hot.x() * pixmap.width() / 32, hot.y() * pixmap.height() / 32);
    }
    cache.insert(key, cursor);
    return cursor;
}

} // namespace platform
