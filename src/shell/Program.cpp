#include "shell/Program.h"

#include "layout/GestoreLayout.h"
#include "platform/Form.h"
#include "platform/Modules.h"
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
    RegisterScreens(services_);
    Modulo1::Main(services_);
    if (forms_.Loaded().empty()) return 0;
    // What the first screen's first frame need not wait for: the icon of windows without one of
    // their own (the title screen has its own), the sounds and the voice, from beside the program.
    forms_.Active()->AfterFirstFrame([this] {
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/screens/art/appicon.png")));
        sound_.SetOutput(platform::OpenSoundOutput(app_.Path()));
        speech_.SetEngine(platform::OpenSpeech(app_.Path()));
    });
    return QApplication::exec();
}
