#include "machine/Ending.h"

#include "machine/App.h"
#include "machine/Sound.h"
#include "machine/Speech.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#ifdef MERENDELLA_COVERAGE
extern "C" void __gcov_dump(); // a quick exit skips the clean-up that writes the counts
#endif

namespace platform {

namespace {

constexpr int Second = 1000;
// What each of the two modules may take; the rest of the second is the toolkit's own end.
constexpr int ModuleShare = 350;

} // namespace

bool EndModules(App& app, Sound& sound, Speech& speech)
{
    app.Release();
    const bool soundDone = sound.Close(QDeadlineTimer(ModuleShare));
    const bool speechDone = speech.Close(QDeadlineTimer(ModuleShare));
    return soundDone && speechDone;
}

void EndWithinASecond(int status)
{
    // A thread of its own and no Qt: the toolkit's end (its display connection, its accessibility
    // bus, the audio library's leftovers) is what it guards against.
    std::thread([status] {
        std::this_thread::sleep_for(std::chrono::milliseconds(Second - 50));
        EndNow(status);
    }).detach();
}

void EndNow(int status)
{
#ifdef MERENDELLA_COVERAGE
    __gcov_dump();
#endif
    std::_Exit(status);
}

} // namespace platform
