#include "forms/Picture.h"

#include "machine/Log.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>

namespace platform {

namespace {

// Larger claims are refused before decoding: no card needs more, and a forged header must
// not make the deal allocate gigabytes or stall.
constexpr qint64 MaxPixels = 64LL * 1024 * 1024;

// One line per file and reason: a board of seven cards from one broken file says it once.
void ReportOnce(const QString& path, const QString& reason)
{
    static QSet<QString> reported;
    const QString key = path + QLatin1Char('\n') + reason;
    if (reported.contains(key)) return;
    reported.insert(key);
    qCWarning(lcPicture, "cannot show picture %s: %s", qPrintable(path), qPrintable(reason));
}

// libjpeg pads a file cut short with grey and only warns, on every decode: look for the end
// marker first, so that such a file is reported once and drawn as a stand-in.
bool EndsWithEndOfImage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const qint64 tail = std::min<qint64>(file.size(), 64);
    file.seek(file.size() - tail);
    return file.read(tail).contains(QByteArray("\xFF\xD9", 2));
}

QString Check(const QString& path, QImageReader& reader, QSize& decodeSize, QSize targetSize)
{
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("file not found");
    if (!info.isFile()) return QStringLiteral("not a file");
    if (!info.isReadable()) return QStringLiteral("permission denied");
    if (info.size() == 0) return QStringLiteral("the file is empty");
    if (!reader.canRead()) return QStringLiteral("not a picture (%1)").arg(reader.errorString());
    if (reader.format() == "jpeg" && !EndsWithEndOfImage(path)) return QStringLiteral("the file is cut short");
    const QSize size = reader.size();
    if (size.isValid()) {
        if (qint64(size.width()) * size.height() > MaxPixels)
            return QStringLiteral("picture too large (%1 x %2 pixels)").arg(size.width()).arg(size.height());
        decodeSize = size;
        if (targetSize.isValid() && !targetSize.isEmpty() &&
            (size.width() > targetSize.width() || size.height() > targetSize.height()))
            decodeSize = targetSize;
    }
    return {};
}

// Decodes at the size asked for, in a format that paints without conversion; null on failure.
QImage Decode(QImageReader& reader, QSize size)
{
    if (size.isValid()) reader.setScaledSize(size);
    QImage image;
    if (!reader.read(&image) || image.isNull()) return {};
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

} // namespace

Picture Picture::LoadPicture(const QString& path, QSize targetSize)
{
    auto data = std::make_shared<Data>();
    data->source = path;

    QImageReader reader(path);
    reader.setAutoTransform(false);
    QSize decodeSize;
    QString error = Check(path, reader, decodeSize, targetSize);
    if (error.isEmpty()) {
        data->image = Decode(reader, decodeSize);
        if (data->image.isNull()) error = QStringLiteral("cannot decode (%1)").arg(reader.errorString());
    }
    if (!error.isEmpty()) ReportOnce(path, error);
    Picture p;
    p.data_ = std::move(data);
    return p;
}

void Picture::Refine(QSize targetSize) const
{
    if (!data_ || data_->complete || data_->image.isNull() || data_->source.isEmpty() || targetSize.isEmpty()) return;
    const QSize held = data_->image.size();
    if (held.width() >= targetSize.width() && held.height() >= targetSize.height()) return;
    QString file = data_->source;
    const QString base = file.left(file.lastIndexOf(QLatin1Char('.')));
    for (const char* render : {"@2x.png", "@4x.png"})
        if (QFileInfo::exists(base + QLatin1String(render))) file = base + QLatin1String(render);
    // Qt's reader decodes straight to the size asked: JPEG at a fraction of its scale.
    QImageReader reader(file);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    const QSize want = targetSize.boundedTo(size);
    data_->complete = want == size;
    if (!want.isValid() || (held.width() >= want.width() && held.height() >= want.height())) return;
    if (QImage image = Decode(reader, want); !image.isNull()) data_->image = std::move(image);
}

const QImage& Picture::Image() const
{
    static const QImage none;
    return data_ ? data_->image : none;
}

} // namespace platform
