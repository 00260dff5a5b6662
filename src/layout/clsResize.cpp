#include "layout/clsResize.h"

#include "forms/Control.h"
#include "forms/Form.h"

#include <algorithm>
#include <cmath>

using platform::Form;
using platform::Prop;

namespace {

// Rounding to the nearest whole number, an exact half to the even neighbour.
std::int32_t RoundToInt(double value)
{
    if (!std::isfinite(value)) return 0;
    return std::int32_t(std::clamp(std::nearbyint(value), -2147483648.0, 2147483647.0));
}

struct Directive {
    bool left = true, top = true, width = true, height = true;
};

Directive ParseTag(const QString& tag)
{
    const QString upper = tag.toUpper();
    if (upper.isEmpty() || !upper.startsWith(QLatin1Char('@'))) return {};
    return {upper.contains(QLatin1Char('L')), upper.contains(QLatin1Char('T')), upper.contains(QLatin1Char('W')),
            upper.contains(QLatin1Char('H'))};
}

// The drawing freeze is released however the rescale ends.
class DrawingFreeze {
public:
    explicit DrawingFreeze(Form& form)
        : form_(form)
    {
        form_.LockWindowUpdate(true);
    }
    ~DrawingFreeze() { form_.LockWindowUpdate(false); }
    DrawingFreeze(const DrawingFreeze&) = delete;
    DrawingFreeze& operator=(const DrawingFreeze&) = delete;

private:
    Form& form_;
};

} // namespace

Form* clsResize::SourceForm() const { return sourceForm_; }

void clsResize::SetSourceForm(Form* form) { sourceForm_ = form; }

void clsResize::ReInitialise() { RecordControlPositions(); }

void clsResize::RecordControlPositions()
{
    Form* form = SourceForm();
    if (!form) return;
    designWidth_ = RoundToInt(form->ScaleWidth());
    designHeight_ = RoundToInt(form->ScaleHeight());
    const auto& controls = form->Controls();
    controlTable_.assign(controls.size(), ControlRecord{});
    for (std::size_t i = 0; i < controls.size(); ++i) {
        ControlRecord& record = controlTable_[i];
        platform::Control* control = controls[i];
        record.Control = control;
        // A value that the control does not have stays 0.
        if (control->Has(Prop::Left)) record.Left = RoundToInt(control->Left());
        if (control->Has(Prop::Top)) record.Top = RoundToInt(control->Top());
        if (control->Has(Prop::Width)) record.Width = RoundToInt(control->Width());
        if (control->Has(Prop::Height)) record.Height = RoundToInt(control->Height());
    }
    needsRecording_ = false;
}

void clsResize::SizeFormToScreen(std::uint8_t percent)
{
    Form* form = SourceForm();
    if (!form) return;
    if (needsRecording_) RecordControlPositions();
    const platform::Screen screen = form->Screen();
    const double screenWidth = screen.Width();
    const double screenHeight = screen.Height();
    const double newHeight = std::floor(percent / 100.0 * screenHeight);
    const double newWidth = std::floor(percent / 100.0 * screenWidth);
    form->SetTop((screenHeight - newHeight) / 2);
    form->SetLeft((screenWidth - newWidth) / 2);
    form->SetHeight(newHeight);
    form->SetWidth(newWidth);
    ResizeControls();
}

void clsResize::ResizeControls()
{
    Form* form = SourceForm();
    if (!form || form->Controls().empty()) return;
    if (form->WindowState() == Form::Minimized) return;
    if (needsRecording_) {
        RecordControlPositions();
        return;
    }
    // A form recorded without a size cannot be scaled from it.
    if (designWidth_ == 0 || designHeight_ == 0) return;

    DrawingFreeze freeze(*form);
    const double vertical = form->ScaleHeight() / designHeight_;
    const double horizontal = form->ScaleWidth() / designWidth_;
    for (const ControlRecord& record : controlTable_) {
        platform::Control* control = record.Control;
        const Directive d = ParseTag(control->Tag());
        // A value the control does not have is skipped; the others are still set.
        if (d.left && control->Has(Prop::Left)) control->SetLeft(record.Left * horizontal);
        if (d.top && control->Has(Prop::Top)) control->SetTop(record.Top * vertical);
        if (d.width && control->Has(Prop::Width)) control->SetWidth(record.Width * horizontal);
        if (d.height && control->Has(Prop::Height)) control->SetHeight(record.Height * vertical);
    }
}
