#include "Pointer.h"

#include "Picture.h"
#include "Screen.h"

#include <QFile>
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <cmath>

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

QIcon LoadIcon(const QString& path)
{
    QIcon icon;
    for (const QString& file : Picture::Renders(path)) icon.addFile(file);
    return icon;
}

QCursor LoadPointer(const QString& path)
{
    if (path.isEmpty()) return QCursor(Qt::ArrowCursor);
    const int side = int(std::lround(32 * Screen::TextScale()));
    static QHash<QString, QCursor> cache;
    const QString key = path + QLatin1Char('@') + QString::number(side);
    if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;

    QCursor cursor(Qt::ArrowCursor);
    const QPixmap pixmap = LoadIcon(path).pixmap(QSize(side, side));
    if (!pixmap.isNull()) {
        // The hot spot is given on the 32-pixel image, and grows with it.
        QPoint hot = path.endsWith(QLatin1String(".cur"), Qt::CaseInsensitive) ? CursorHotSpot(path) : QPoint(16, 16);
        if (hot.x() < 0) hot = QPoint(16, 16);
        cursor = QCursor(pixmap, int(hot.x() * pixmap.width() / 32.0), int(hot.y() * pixmap.height() / 32.0));
    }
    cache.insert(key, cursor);
    return cursor;
}

} // namespace platform
