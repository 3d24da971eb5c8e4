#include "cli/PackCommand.h"

#include "cli/CliCommands.h"
#include "cli/CliText.h"
#include "core/DatabaseCheckRun.h"
#include "zip/ZipPacking.h"

#include <QFileInfo>

int PackCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                const char* usage) {
    QString target;
    bool replace = false;
    QStringList paths;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == Latin("--to") && i + 1 < arguments.size() && target.isEmpty()) {
            target = arguments[++i];
        } else if (argument == Latin("--replace")) {
            replace = true;
        } else if (argument == Latin("--")) {
            paths << arguments.mid(i + 1);
            break;
        } else if (!argument.startsWith(u'-') || argument == Latin("-")) {
            paths << argument;
        } else {
            err << usage;
            return ExitUsage;
        }
    }
    if (target.isEmpty() || paths.isEmpty()) {
        err << usage;
        return ExitUsage;
    }
    if (!replace && QFileInfo(target).exists()) {
        ReportError(err, target, Latin("the archive exists; give --replace to replace it"));
        return ExitSomeUnreadable;
    }
    const QStringList files = FindPalmFiles(paths, false);
    if (files.isEmpty()) {
        ReportError(err, target, Latin("no Palm files to pack"));
        return ExitSomeUnreadable;
    }

    const PackResult result = PackFiles(PackSourcesOf(files), target, replace);
    for (const QString& packed : result.Packed)
        out << Printable(packed) << '\n';
    for (const QString& skipped : result.Skipped)
        err << Printable(skipped) << '\n';
    if (!result.Written) {
        err << "brisko-cli: " << Printable(result.Error) << '\n';
        return ExitSomeUnreadable;
    }
    out << result.Packed.size() << " file(s) packed into " << Printable(target) << ", "
        << result.Skipped.size() << " skipped.\n";
    return result.Skipped.isEmpty() ? ExitOk : ExitSomeUnreadable;
}
