#include "shell/Program.h"

#include "layout/GestoreLayout.h"
#include "platform/Modules.h"
#include "platform/ScreenReaderWatch.h"
#include "shell/Modulo1.h"
#include "shell/Screens.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

Program::Program(const platform::Settings& settings)
    : settings_(settings)
{
    platform::App::Initialise();
}

Program::~Program() { layout::GestoreLayout.reset(); }

int Program::Run()
{
    // A screen reader reads the captions and the boxes itself; the voice says the rest. Asked first:
    // the answer comes while the first screen is put on the display.
    const platform::ScreenReaderWatch screenReader([this](bool running) { speech_.SetScreenReader(running); });
    RegisterScreens(services_);
    Modulo1::Main(services_);
    if (forms_.Loaded().empty()) return 0;
    // What the first window need not wait for: the icon of windows without one of their own (the
    // title screen has its own), the sounds and the voice, from beside the program.
    QTimer::singleShot(0, [this] {
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/screens/art/appicon.png")));
        sound_.SetOutput(platform::OpenSoundOutput(app_.Path()));
        speech_.SetEngine(platform::OpenSpeech(app_.Path()));
    });
    return QApplication::exec();
}
