#include "machine/Log.h"

Q_LOGGING_CATEGORY(lcStart, "merendella.start")
Q_LOGGING_CATEGORY(lcPicture, "merendella.picture")
Q_LOGGING_CATEGORY(lcSound, "merendella.sound")
Q_LOGGING_CATEGORY(lcSpeech, "merendella.speech")
