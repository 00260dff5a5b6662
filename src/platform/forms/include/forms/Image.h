#pragma once

#include "forms/Control.h"
#include "forms/Picture.h"

#include <QSize>

namespace platform {

class ImageWidget;

// An image control: a picture, stretched or not, with an optional thin sunken border. Images in
// automatic drag mode are the cards that CardMoves moves.
class Image : public WidgetControl {
public:
    Image(Form& form, QString name, int index, QWidget* parent);

    const platform::Picture& Picture() const { return picture_; }
    void SetPicture(const platform::Picture& picture);

    void SetStretch(bool on);
    void SetBorder(bool on);
    bool DragAutomatic() const { return dragAutomatic_; }
    void SetDragAutomatic(bool on) { dragAutomatic_ = on; }

    // What is drawn over the image: the rings of the pick of a tap or a key and of the keyboard's
    // highlight, and the golden glow of a hint's cards.
    enum Mark { Picked = 1, Highlighted = 2, Glow = 4 };
    int Marks() const { return marks_; }
    void SetMarks(int marks);

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
    int marks_ = 0;
};

} // namespace platform
