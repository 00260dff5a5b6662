#include "Pointer.h"

#include "Picture.h"
#include "Screen.h"

#include <QFile>
#include <QHash>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

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

namespace {

// The renders are PNG files, which Qt reads itself: naming the format spares loading every image
// plugin to ask whether it would rather read the file. Each file is read once: a screen's icon
// serves its window and its button.
QPixmap Read(const QString& path)
{
    static QHash<QString, QImage> read; // images, not pixmaps: they may outlive the application
    if (auto it = read.constFind(path); it != read.constEnd()) return QPixmap::fromImage(*it);
    QImageReader reader(path);
    if (path.endsWith(QLatin1String(".png"))) {
        reader.setFormat("png");
        reader.setAutoDetectImageFormat(false);
    }
    return QPixmap::fromImage(read[path] = reader.read());
}

} // namespace

QPixmap LoadIcon(const QString& path, int side)
{
    // The renders are the 32-pixel original and ones twice and four times as large, smallest
    // first. Read first those that cover the size asked, smallest first, then the others from the
    // largest down: no larger file, and no image plugin for a format that is not used, is read
    // to no purpose.
    const QStringList all = Picture::Renders(path);
    const auto covers = [side](const QString& render) {
        const int scale = render.endsWith(QLatin1String("@4x.png"))   ? 4
                          : render.endsWith(QLatin1String("@2x.png")) ? 2
                                                                      : 1;
        return 32 * scale >= side;
    };
    QStringList renders;
    std::copy_if(all.begin(), all.end(), std::back_inserter(renders), covers);
    std::copy_if(all.rbegin(), all.rend(), std::back_inserter(renders), std::not_fn(covers));
    QPixmap pixmap;
    for (const QString& render : renders)
        if (pixmap = Read(render); !pixmap.isNull()) break;
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
