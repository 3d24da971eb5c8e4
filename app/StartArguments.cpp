#include "app/StartArguments.h"

#include "common/Helpers.h"
#include "platform/NativePath.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

// The options QGuiApplication and QApplication read and remove from the command line;
// the first list takes a value.
const char* const QtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "title",         "name",    "qmljsdebugger"};
const char* const QtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// -option or --option, and for options with a value -option=value.
bool IsQtOption(const QString& argument, bool* takesValue) {
    if (!argument.startsWith(QLatin1Char('-')))
        return false;
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    const bool inlineValue = name.contains(QLatin1Char('='));
    name = name.section(QLatin1Char('='), 0, 0);
    for (const char* option : QtOptionsWithValue)
        if (name == QLatin1String(option)) {
            *takesValue = !inlineValue;
            return true;
        }
    for (const char* flag : QtFlags)
        if (name == QLatin1String(flag) && !inlineValue) {
            *takesValue = false;
            return true;
        }
    return false;
}

QStringList WithoutQtOptions(const QStringList& arguments) {
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool takesValue = false;
        if (i > 0 && IsQtOption(arguments[i], &takesValue)) {
            if (takesValue)
                ++i;
            continue;
        }
        if (arguments[i] == QLatin1String("--")) { // the rest are paths, whatever they look like
            kept += arguments.mid(i);
            break;
        }
        kept << arguments[i];
    }
    return kept;
}

bool IsPalmFile(const QFileInfo& file) {
    const QString suffix = file.suffix();
    return suffix.compare(QStringLiteral("pdb"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QStringLiteral("prc"), Qt::CaseInsensitive) == 0;
}

} // namespace

StartArguments ParseStartArguments(const QStringList& arguments) {
    StartArguments start;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A file manager for Palm OS databases (.pdb, .prc) and ZIP archives."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FOLDER"),
        QStringLiteral("The folder to list at start, a ZIP archive to open in the list, or a "
                       "Palm file to select in its folder's list."),
        QStringLiteral("[FOLDER | ARCHIVE.zip | FILE.pdb | FILE.prc]"));

    const QString program =
        arguments.isEmpty() ? QStringLiteral("brisko") : QFileInfo(arguments.first()).fileName();
    if (!parser.parse(WithoutQtOptions(arguments))) {
        start.What = StartArguments::Action::Fail;
        start.Text = program + QStringLiteral(": ") + parser.errorText() +
                     QStringLiteral("\nTry '") + program + QStringLiteral(" --help'.\n");
        return start;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        start.What = StartArguments::Action::ShowText;
        start.Text = parser.helpText();
        if (parser.isSet(QStringLiteral("help-all"))) {
            QStringList qtOptions;
            for (const char* option : QtOptionsWithValue)
                qtOptions << u'-' + QLatin1String(option) + QStringLiteral(" <value>");
            for (const char* flag : QtFlags)
                qtOptions << u'-' + QLatin1String(flag);
            start.Text += QStringLiteral("\nQt's options, passed on to Qt:\n  ") +
                          qtOptions.join(QStringLiteral("\n  ")) + u'\n';
        }
        return start;
    }
    if (parser.isSet(version)) {
        start.What = StartArguments::Action::ShowText;
        start.Text = QStringLiteral("Brisko " BRISKO_VERSION "\n");
        return start;
    }
    const QStringList paths = parser.positionalArguments();
    if (paths.isEmpty())
        return start;
    const QFileInfo path(paths.first());
    // By the path's bytes, which QFileInfo cannot reach when they are not UTF-8.
    const bool isFile = RegularFileExists(path.absoluteFilePath());
    if (isFile && IsZipFile(path.fileName())) {
        start.Archive = path.absoluteFilePath();
        start.Folder = path.absolutePath();
    } else if (isFile && IsPalmFile(path)) {
        start.File = path.fileName();
        start.Folder = path.absolutePath();
    } else if (FolderExists(path.absoluteFilePath())) {
        start.Folder = path.absoluteFilePath();
    } else {
        start.What = StartArguments::Action::Fail;
        start.Text = program + QStringLiteral(": ") +
                     DisplayName(QDir::toNativeSeparators(path.absoluteFilePath())) +
                     QStringLiteral(": no such folder, ZIP archive or Palm file\n");
    }
    return start;
}
