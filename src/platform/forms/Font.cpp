#include "Font.h"

#include "forms/Text.h"

namespace platform {

QFont MakeFont(const FontDesc& desc, const QFont& base)
{
    QFont font = base;
    if (!desc.face.empty()) font.setFamily(ToQString(desc.face));
    if (desc.points > 0) font.setPointSizeF(desc.points);
    font.setBold(desc.bold);
    font.setItalic(desc.italic);
    return font;
}

QFont ForDisplay(QFont font, double scale)
{
    if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

} // namespace platform
