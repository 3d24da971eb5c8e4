// brisko-cli: Brisko's header reader and folder listing on the command line.
#include "cli/CliCommands.h"
#include "platform/NativePath.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    // From argv's bytes: QCoreApplication::arguments() loses those of a name that is not
    // UTF-8, and such a file could then not be opened.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << DecodePath(QByteArray(argv[i]));
    const int status = RunCli(arguments, out, err);
    out.flush();
    err.flush();
    return status;
}
