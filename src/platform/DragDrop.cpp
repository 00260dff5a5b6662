// Dragging a card inside its screen: an outline follows the pointer, and the release calls
// the drop handler of the enabled card under it.

#include "Form.h"
#include "FormWindow.h"
#include "Image.h"
#include "Sound.h"
#include "Units.h"

namespace platform {

void Form::BeginDrag(Image& source, QPoint grab)
{
    // Picked up; a press that is to put a selected card down says so when it lands.
    if (!selected_) Sound::Play(Sound::Pick);
    dragSource_ = &source;
    grab_ = grab;
    outline_->setGeometry(source.Widget()->geometry());
    outline_->raise();
    outline_->show();
}

void Form::DragTo(QPoint clientPos)
{
    if (!dragSource_) return;
    // Moving a visible widget repaints its whole rectangle, mask or not; hidden while it
    // moves, only its ring is repainted, at the old place and the new.
    outline_->hide();
    outline_->move(clientPos - grab_);
    outline_->show();
}

void Form::DropAt(QPoint clientPos)
{
    Image* source = dragSource_;
    CancelDrag();
    if (!source) return;
    auto* target = dynamic_cast<Image*>(ControlOf(client_->childAt(clientPos)));
    if (!target || !target->Enabled() || !target->AcceptsDrops()) return Sound::Play(Sound::Nothing);
    const QPoint inside = clientPos - target->Widget()->pos();
    target->DragDrop(*source, PixelsToTwips(inside.x()), PixelsToTwips(inside.y()));
}

void Form::CancelDrag()
{
    dragSource_ = nullptr;
    if (outline_) outline_->hide();
}

} // namespace platform
