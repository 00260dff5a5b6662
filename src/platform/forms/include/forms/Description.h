#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

// A screen description is plain data: what a screen holds before any of its code runs.
// Geometry is in twips from the top-left corner of the client area.

enum class ControlKind { Image, Label, CommandButton, Timer, MenuItem };
enum class Alignment { Left, Center, Right };

inline constexpr std::int64_t DefaultColor = -1; // the platform's own colour

struct FontDesc {
    std::string_view face{};
    double points = 0; // 0: the screen's font
    bool bold = false;
    bool italic = false;
};

struct ControlDesc {
    ControlKind kind = ControlKind::Label;
    std::string_view name{};
    int index = -1; // -1: not an element of an array
    int left = 0, top = 0, width = 0, height = 0;
    std::string_view caption{};
    FontDesc font{};
    std::int64_t foreColor = DefaultColor;
    std::int64_t backColor = DefaultColor;
    bool transparent = false; // labels: the screen shows through (every label of the game is)
    Alignment alignment = Alignment::Left;
    std::string_view pointer{}; // resource path of an .ico or .cur; empty: standard arrow
    std::string_view picture{}; // resource path of an embedded picture
    bool stretch = false;
    bool border = false; // thin sunken border
    bool dragAutomatic = false;
    int tabIndex = -1; // -1: cannot take the focus
    bool visible = true;
    bool enabled = true;
    bool graphical = false; // buttons: picture centred above the caption
    int interval = 0;       // timers, milliseconds
};

struct FormDesc {
    std::string_view name{};
    std::string_view caption{};
    std::string_view accessibleName{}; // what a screen reader calls the screen
    int clientWidth = 0, clientHeight = 0;
    std::int64_t backColor = DefaultColor;
    FontDesc font{};
    std::string_view icon{};
    std::string_view pointer{};
    std::span<const ControlDesc> controls{};
};

} // namespace platform
