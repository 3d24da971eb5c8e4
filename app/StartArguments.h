// The command line of the window program, read before any window system is reached, so
// that --help, --version and a mistyped start path answer in a terminal without a
// display (an ssh session).
#pragma once

#include <QString>
#include <QStringList>

struct StartArguments {
    enum class Action { Run, ShowText, Fail };
    Action What = Action::Run;
    // ShowText: the help or version text for standard output; Fail: the message for
    // standard error.
    QString Text;
    QString Folder;  // listed at start instead of the settings' start folder
    QString Archive; // opened after its folder is listed
    QString File;    // a Palm file selected in its folder's list
};

// arguments as the program got them, the program's own name first. Qt's window-system
// options (-platform, -style, -geometry, ...) are passed over: the application object
// takes them itself.
StartArguments ParseStartArguments(const QStringList& arguments);
