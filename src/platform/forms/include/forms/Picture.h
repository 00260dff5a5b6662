#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>

namespace platform {

// A picture is an object with identity: every load gives a new one, and two pictures are
// equal only when they are the same object (two empty pictures are equal, as two null
// handles are). A load that fails still gives a picture of its own, marked as failed, so
// that a card without its file keeps its identity and can be drawn as a stand-in.
class Picture {
public:
    Picture() = default;

    // Reads a picture file. targetSize, when valid, is the size in device pixels at which
    // the picture will be shown: larger files are decoded straight to that size.
    static Picture LoadPicture(const QString& path, QSize targetSize = {});

    bool IsEmpty() const { return !data_; }
    bool Failed() const { return data_ && data_->image.isNull(); }
    const QImage& Image() const;
    // Reads the picture again when it is shown larger than it was decoded, up to the file's own
    // size or from its largest render (name@4x.png or name@2x.png beside it, if there is one);
    // the picture stays the same object.
    void Refine(QSize targetSize) const;

    friend bool operator==(const Picture& a, const Picture& b) { return a.data_ == b.data_; }

private:
    struct Data {
        mutable QImage image;
        mutable bool complete = false; // decoded at the file's own size: nothing to refine
        QString source;
    };
    std::shared_ptr<const Data> data_;
};

} // namespace platform
