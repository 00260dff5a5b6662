#include "Font.h"

#include "forms/Text.h"

#include <QFontMetrics>
#include <algorithm>

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

QFont Fitted(const QFont& wanted, const QString& text, QSize box, int flags)
{
    // Each size tried loads a font: shrink in proportion to what is missing, and check again only
    // because wrapped lines may break differently at the new size.
    QFont font = wanted;
    for (int tries = 0; tries < 4 && !box.isEmpty() && !text.isEmpty(); ++tries) {
        const QRect need = QFontMetrics(font).boundingRect(QRect(0, 0, box.width(), 1 << 20), flags, text);
        const double share = std::min(double(box.width()) / std::max(1, need.width()),
                                      double(box.height()) / std::max(1, need.height()));
        if (share >= 1 || font.pointSizeF() <= 4) break;
        font.setPointSizeF(std::max(4.0, font.pointSizeF() * std::max(0.5, share * 0.97)));
    }
    return font;
}

QFont ForDisplay(QFont font, double scale)
{
    if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

} // namespace platform
