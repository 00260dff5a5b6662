#pragma once

#include "forms/Forms.h"
#include "forms/MessageBoxes.h"
#include "forms/Services.h"
#include "machine/App.h"
#include "machine/Clock.h"
#include "machine/Display.h"
#include "machine/EndSignals.h"
#include "machine/Settings.h"
#include "machine/Sound.h"
#include "machine/Speech.h"
#include "machine/Translations.h"
#include "rules/Levels.h"
#include "shell/ClassroomMode.h"

#include <memory>

namespace platform {
class ScreenReaderWatch;
}

// The program as it runs on a desktop: the machine's own displays, clock, boxes, sounds and voice,
// the screens, and the event loop.
class Program {
public:
    explicit Program(const platform::Settings& settings = {});
    ~Program();
    // Runs Main and then the event loop while a screen is loaded, and ends within a second of the
    // moment the program decides to; the process's exit status.
    int Run();

private:
    platform::Settings settings_;
    std::unique_ptr<platform::ScreenReaderWatch> screenReader_;
    platform::App app_;
    platform::Translations translations_{settings_.language, app_.Path()};
    platform::SystemDisplay display_;
    platform::SystemClock clock_;
    platform::DialogBoxes boxes_{[this] { translations_.LoadQtWords(); }};
    platform::Sound sound_;
    platform::Speech speech_;
    platform::Forms forms_; // the screens go first: they use the rest
    ClassroomMode classroom_{settings_};
    rules::Levels levels_{settings_.level}; // the games' levels, for as long as the program runs
    platform::Services services_{app_, forms_, display_, clock_, boxes_, sound_, speech_, settings_, classroom_};
    platform::EndSignals signals_{[this] { forms_.End(); }}; // as "Esci" answered Yes
};
