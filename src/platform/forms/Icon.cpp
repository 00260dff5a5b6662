#include "Icon.h"

#include <QFileInfo>
#include <QHash>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <vector>

namespace platform {

namespace {

// The icon's renders, read as a size first needs one. Hand-written because Qt 6.4's own engine for
// icons made from files reads every render as soon as it is added: five million instructions
// before the first window, for pictures that will not be shown.
class RendersEngine final : public QIconEngine {
public:
    explicit RendersEngine(const QString& path)
    {
        const QString base = path.left(path.lastIndexOf(QLatin1Char('.')));
        renders_.push_back({32, path, {}}); // the designed picture is 32 pixels square
        for (const auto& [side, suffix] : {std::pair{64, "@2x.png"}, std::pair{128, "@4x.png"}})
            if (QFileInfo::exists(base + QLatin1String(suffix)))
                renders_.push_back({side, base + QLatin1String(suffix), {}});
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        // The smallest render that covers the size, or else the largest.
        const int side = std::max(size.width(), size.height());
        auto render =
            std::find_if(renders_.begin(), renders_.end(), [side](const Render& r) { return r.side >= side; });
        if (render == renders_.end()) --render;
        if (render->pixmap.isNull()) {
            QImageReader reader(render->file);
            // PNG is Qt's own: naming it spares loading every image plugin to ask about the file.
            if (render->file.endsWith(QLatin1String(".png")))
                reader.setFormat("png"), reader.setAutoDetectImageFormat(false);
            render->pixmap = QPixmap::fromImage(reader.read());
        }
        const QPixmap& shown = render->pixmap;
        return shown.isNull() || shown.size() == size
                   ? shown
                   : shown.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device()->devicePixelRatioF();
        QPixmap shown = pixmap((QSizeF(rect.size()) * dpr).toSize(), mode, state);
        shown.setDevicePixelRatio(dpr);
        painter->drawPixmap(rect, shown);
    }

    QIconEngine* clone() const override { return new RendersEngine(*this); }

private:
    struct Render {
        int side;
        QString file;
        QPixmap pixmap; // read when first needed
    };
    std::vector<Render> renders_;
};

} // namespace

QIcon LoadIcon(const QString& path)
{
    static QHash<QString, QIcon> icons; // a screen's icon serves its window and its button
    if (auto it = icons.constFind(path); it != icons.constEnd()) return *it;
    return *icons.insert(path, QIcon(new RendersEngine(path)));
}

} // namespace platform
