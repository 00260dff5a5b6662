#pragma once

namespace platform {

class App;
class Classroom;
class Clock;
class Display;
class Forms;
class MessageBoxes;
class Sound;
class Speech;
struct Settings;

// What the screens take from the machine they run on, given to each when it is made. The program
// gives the real ones; tests give fakes that they drive and that write down what they were asked.
struct Services {
    App& app;
    Forms& forms;
    const Display& display;
    const Clock& clock;
    MessageBoxes& boxes;
    Sound& sound;
    Speech& speech;
    const Settings& settings;
    const Classroom& classroom; // what the child may do to the program
};

} // namespace platform
