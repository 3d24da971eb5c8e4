// brisko-cli: Brisko's header reader and folder listing on the command line.
#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = RunCli(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
