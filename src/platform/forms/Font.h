#pragma once

#include "forms/Description.h"

#include <QFont>
#include <QSize>
#include <QString>

namespace platform {

// A designed font: its face, size in points, weight and slant, on top of a base font.
QFont MakeFont(const FontDesc& desc, const QFont& base);
// A font as a display shows it: scale times its designed size.
QFont ForDisplay(QFont font, double scale);
// The font, made as much smaller as it takes for the text to fit in the box when laid out with the
// flags (Qt::TextWordWrap, Qt::TextSingleLine...); the font itself when the text fits. Measuring
// starts the font system: a control measures once it is on screen.
QFont Fitted(const QFont& font, const QString& text, QSize box, int flags);

} // namespace platform
