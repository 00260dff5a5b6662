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

QPixmap LoadIcon(const QString& path, int side)
{
    // The smallest render at least this large, or else the largest; drawn at the size asked.
    QPixmap pixmap;
    for (const QString& render : Picture::Renders(path))
        if (pixmap.load(render) && pixmap.width() >= side) break;
    return pixmap.isNull() || pixmap.width() == side
               ? pixmap
               : pixmap.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QCursor LoadPointer(const QString& path)
{
    if (path.isEmpty()) return QCursor(Qt::ArrowCursor);
    const int side = int(std::lround(32 * Screen::TextScale()));
    static QHash<QString, QCursor> cache;
    const QString key = path + QLatin1Char('@') + QString::number(side);
    if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;

    QCursor cursor(Qt::ArrowCursor);
    if (const QPixmap pixmap = LoadIcon(path, side); !pixmap.isNull()) {
        // The hot spot is given on the 32-pixel image, and grows with it.
        QPoint hot = path.endsWith(QLatin1String(".cur"), Qt::CaseInsensitive) ? CursorHotSpot(path) : QPoint(16, 16);
        if (hot.x() < 0) hot = QPoint(16, 16);
        cursor = QCursor(pixmap, hot.x() * side / 32, hot.y() * side / 32);
    }
    cache.insert(key, cursor);
    return cursor;
}

} // namespace platform
