#pragma once

#include <QLoggingCategory>

// What the program tells on standard error, one category per area, so that a user can turn
// one off (QT_LOGGING_RULES) and tests can expect a message.
Q_DECLARE_LOGGING_CATEGORY(lcStart)
Q_DECLARE_LOGGING_CATEGORY(lcPicture)
Q_DECLARE_LOGGING_CATEGORY(lcSound)
Q_DECLARE_LOGGING_CATEGORY(lcSpeech)
