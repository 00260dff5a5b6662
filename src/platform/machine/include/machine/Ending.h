#pragma once

namespace platform {

class App;
class Sound;
class Speech;

// How the program ends once it has decided to: within a second, whatever a sound, speech or
// display service does, so that the next child can always start it.

// The single-copy key first, so that even a slow end never refuses the next start; then each
// module's thread gets its share of the second, and one still held by its service is left to the
// system, with one line saying which (the game writes nothing, so nothing is lost). True when
// every thread finished; else the process should end at once, without waiting for them again.
bool EndModules(App& app, Sound& sound, Speech& speech);

// The process ends with this status a second from now at the latest, whatever still runs then.
void EndWithinASecond(int status);

// The process ends now, with this status: no library's clean-up runs, since one may wait for a
// thread that its service holds.
[[noreturn]] void EndNow(int status);

} // namespace platform
