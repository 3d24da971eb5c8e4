// The commands of brisko-cli, writing to the given streams so that tests can run them
// in-process.
#pragma once

#include <QStringList>
#include <QTextStream>

enum ExitCode { ExitOk = 0, ExitSomeUnreadable = 1, ExitUsage = 2 };

// Runs one command line (without the program name); returns the exit status.
int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err);
