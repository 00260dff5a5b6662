#include "shell/FormAvvio.h"

#include "forms/CommandButton.h"
#include "forms/Forms.h"
#include "layout/GestoreLayout.h"
#include "screens/ScreenDescriptions.h"
#include "shell/ModuloColoriSuoni.h"

using namespace platform;

namespace {
constexpr std::uint32_t RGB(int r, int g, int b)
{
    return std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16);
}
} // namespace

FormAvvio::FormAvvio(Services& services)
    : Form(screens::FormAvvio, services),
      BottoneAvvio(Get<CommandButton>(QStringLiteral("BottoneAvvio")))
{
    BottoneAvvio.SetClickHandler([this] { BottoneAvvio_Click(); });
}

void FormAvvio::Form_Load()
{
    layout::CreateLayout(*this);
    SetBackColor(std::uint32_t(ModuloColoriSuoni::ColoreCasuale()));
}

void FormAvvio::Form_Resize() { layout::ResizeLayout(); }

void FormAvvio::Form_Activate()
{
    CoverDisplay();

    const int savedScaleMode = ScaleMode();
    const bool savedAutoRedraw = AutoRedraw();
    SetAutoRedraw(true);
    SetScaleMode(ScalePixels);
    SetScaleHeight(256);
    // 256 bands, turquoise at the top to blue at the bottom, each filled in the copy pen.
    // Band i covers units i to i + 1 of the 256, so that together they fill the client area
    // from edge to edge; the width, in twips, lies far beyond the right edge.
    for (int i = 0; i <= 255; ++i) FillBox(0, i, Width(), i + 1, RGB(19, 255 - i, 228));
    SetScaleMode(savedScaleMode);
    SetAutoRedraw(savedAutoRedraw);
}

void FormAvvio::BottoneAvvio_Click()
{
    services_.forms.Show(QStringLiteral("FormMenu"));
    services_.forms.Unload(*this);
}
