// brisko-cli's commands run in-process, with their exit status and output captured.
#pragma once

#include "cli/CliCommands.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

struct CliOutput {
    int status = -1;
    QString out;
    QString err;
};

inline CliOutput RunCapturing(const QStringList& arguments) {
    CliOutput run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = RunCli(arguments, out, err);
    out.flush();
    err.flush();
    return run;
}
