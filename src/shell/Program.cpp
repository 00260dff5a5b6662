#include "shell/Program.h"

#include "forms/Form.h"
#include "layout/GestoreLayout.h"
#include "machine/Ending.h"
#include "machine/Modules.h"
#include "machine/ScreenReaderWatch.h"
#include "shell/Modulo1.h"
#include "shell/Screens.h"

#include <QApplication>
#include <QIcon>

Program::Program(const platform::Settings& settings)
    : settings_(settings)
{
    platform::App::Initialise();
}

Program::~Program() { layout::GestoreLayout.reset(); }

int Program::Run()
{
    RegisterScreens(services_, classroom_, levels_);
    Modulo1::Main(services_);
    if (forms_.Loaded().empty()) return 0;
    // What the first screen's first frame need not wait for: the icon of windows without one of
    // their own (the title screen has its own), the sounds and the voice, from beside the program.
    forms_.Active()->AfterFirstFrame([this] {
        // A screen reader reads the captions and the boxes itself; the voice says the rest. Asked
        // before the voice is read, which usually takes longer than the answer; until it comes the
        // voice says no caption.
        speech_.SetScreenReader(std::nullopt);
        screenReader_ =
            std::make_unique<platform::ScreenReaderWatch>([this](bool running) { speech_.SetScreenReader(running); });
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/screens/art/appicon.png")));
        sound_.SetOutput(platform::OpenSoundOutput(app_.Path()));
        if (settings_.voice) // else none at all
            speech_.SetEngine(platform::OpenSpeech(app_.Path(), translations_.Language()));
    });
    const int status = QApplication::exec();
    // Decided: the end comes within a second, whatever a sound, speech or display service does.
    platform::EndWithinASecond(status);
    if (!platform::EndModules(app_, sound_, speech_)) {
        // A module's thread still waits for its service; the toolkit's own end would wait for it.
        platform::EndNow(status);
    }
    return status;
}
