#pragma once

#include "Control.h"
#include "Picture.h"

#include <QPoint>
#include <functional>

namespace platform {

class ImageWidget;

// An image control: a picture, stretched or not, with an optional thin sunken border. In
// automatic drag mode a press on the enabled image starts a drag inside its screen; a drop
// onto an image that has a drop handler calls it with that image's index.
class Image : public WidgetControl {
public:
    // index: the target's index in its array; source: the dragged control; x, y: the drop
    // position inside the target, in twips.
    using DropHandler = std::function<void(int index, Control& source, double x, double y)>;

    Image(Form& form, QString name, int index, QWidget* parent);

    const platform::Picture& Picture() const { return picture_; }
    void SetPicture(const platform::Picture& picture);

    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool Border() const { return border_; }
    void SetBorder(bool on);
    bool DragAutomatic() const { return dragAutomatic_; }
    void SetEnabled(bool on) override;
    void SetDragAutomatic(bool on) { dragAutomatic_ = on; }

    void SetDropHandler(DropHandler handler) { dropHandler_ = std::move(handler); }
    bool AcceptsDrops() const { return bool(dropHandler_); }
    // Raises the drop handler, as a release over this image does.
    void DragDrop(Control& source, double x, double y);

    // The size, in device pixels, at which a picture fills this image.
    QSize PictureSize() const;

protected:
    void TagChanged() override;

private:
    friend class ImageWidget;
    ImageWidget* view_;
    platform::Picture picture_;
    bool stretch_ = false;
    bool border_ = false;
    bool dragAutomatic_ = false;
    DropHandler dropHandler_;
};

} // namespace platform
