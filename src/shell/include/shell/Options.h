#pragma once

#include "machine/Settings.h"

#include <QStringList>
#include <variant>

// How a grown-up sets the game up: merendella.conf in the system's configuration folders and in
// the user's, and the command line, each winning over the one before. Read once, before the
// program opens a window; nothing is ever written.
namespace Options {

// The program ends without starting: the help or the version (status 0, for standard output), or
// a bad option or value named with the valid ones (status 2, for standard error).
struct Exit {
    int status;
    QString text;
};

// arguments: the program's, its name first. A bad value in a file is told in one log line and
// ignored.
std::variant<platform::Settings, Exit> Read(const QStringList& arguments);

} // namespace Options
