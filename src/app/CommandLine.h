#pragma once

#include <QString>
#include <QStringList>

namespace pw
{

// What the command line asks of the program.
struct CommandLine {
    enum class Action {
        Run,         // start the dock
        ShowHelp,    // print `text` to standard output, exit 0
        ShowVersion, // print `text` to standard output, exit 0
        Fail,        // print `text` to standard error, exit 2
    };
    Action action = Action::Run;
    QString text;
    // The folder given with --home, as given; empty when none.
    QString home;
};

// Reads the program's arguments (the program's name first), before the
// application object exists, so that --help and --version need no display.
// Qt's own options (-platform, -display, -session...) are let through for
// the application object to take; other arguments are ignored.
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace pw
