#pragma once

#include "forms/Form.h"

#include <QPointer>
#include <cstdint>
#include <vector>

namespace platform {
class Control;
} // namespace platform

// The design position and size of one control, in the form's scale unit.
struct ControlRecord {
    platform::Control* Control = nullptr;
    std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

// Keeps a form's layout proportional to its size: records every control's geometry once, at
// the form's design size, and from then on sets each control to its recorded geometry times
// the ratio of the form's present inner size to the design size. Rescaling always starts
// from the recorded values, so it never drifts. A control's Tag may restrict what is
// rescaled: "@" followed by any of the letters L, T, W, H; any other Tag rescales all four.
class clsResize {
public:
    clsResize() = default;
    clsResize(const clsResize&) = delete;
    clsResize& operator=(const clsResize&) = delete;

    platform::Form* SourceForm() const;
    void SetSourceForm(platform::Form* form);

    // Records the table again from the form's present state.
    void ReInitialise();
    // Sizes the form to this share of the display, centred, and rescales its controls.
    void SizeFormToScreen(std::uint8_t percent);
    // Rescales every recorded control to the form's present inner size. The first call on a
    // fresh scaler only records.
    void ResizeControls();

    std::int32_t DesignWidth() const { return designWidth_; }
    std::int32_t DesignHeight() const { return designHeight_; }
    const std::vector<ControlRecord>& ControlTable() const { return controlTable_; }
    bool NeedsRecording() const { return needsRecording_; }

private:
    void RecordControlPositions();

    QPointer<platform::Form> sourceForm_; // a form may go before its scaler
    std::int32_t designWidth_ = 0;
    std::int32_t designHeight_ = 0;
    std::vector<ControlRecord> controlTable_;
    bool needsRecording_ = true;
};
