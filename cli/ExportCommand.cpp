#include "cli/ExportCommand.h"

#include "cli/CliCommands.h"
#include "cli/CliText.h"
#include "core/DatabaseCheckRun.h"
#include "export/ExportRun.h"

int ExportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                  const char* usage) {
    ExportSettings settings;
    QString target;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == Latin("--to") && hasValue && target.isEmpty()) {
            target = arguments[++i];
        } else if (argument == Latin("--format") && hasValue) {
            const std::optional<ExportFormat> format = ExportFormatNamed(arguments[++i]);
            if (!format) {
                err << usage;
                return ExitUsage;
            }
            settings.Format = *format;
        } else if (argument == Latin("--encoding") && hasValue) {
            const QString name = arguments[++i];
            const std::optional<CodePage> page = CodePage::Named(name);
            if (!page) {
                err << UnknownCodePageText(name) << '\n';
                return ExitUsage;
            }
            settings.Page = *page;
        } else if (argument == Latin("--include-deleted")) {
            settings.Options.IncludeDeleted = true;
        } else if (argument == Latin("--")) {
            files << FindPalmFiles(arguments.mid(i + 1), false);
            break;
        } else if (!argument.startsWith(u'-') || argument == Latin("-")) {
            files << FindPalmFiles({argument}, false);
        } else {
            err << usage;
            return ExitUsage;
        }
    }
    if (target.isEmpty() || files.isEmpty()) {
        err << usage;
        return ExitUsage;
    }
    const ExportSummary summary = ExportFiles(files, target, settings);
    // The summary goes to the terminal, never into the export folder.
    for (const QString& written : summary.Written)
        out << Printable(written) << '\n';
    for (const QString& skipped : summary.Skipped)
        err << Printable(skipped) << '\n';
    out << summary.Written.size() << " file(s) written, " << summary.Skipped.size()
        << " skipped.\n";
    return summary.Skipped.isEmpty() ? ExitOk : ExitSomeUnreadable;
}
