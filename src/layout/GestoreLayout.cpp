#include "layout/GestoreLayout.h"

namespace layout {

void CreateLayout(platform::Form& form)
{
    GestoreLayout = std::make_unique<clsResize>();
    GestoreLayout->SetSourceForm(&form);
    GestoreLayout->SizeFormToScreen(75);
}

void ResizeLayout()
{
    if (GestoreLayout) GestoreLayout->ResizeControls();
}

} // namespace layout
