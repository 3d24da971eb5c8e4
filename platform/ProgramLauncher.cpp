#include "platform/ProgramLauncher.h"

#include "i18n/Placeholders.h"
#include "i18n/Translate.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QStringList SplitWindowsCommandLine(const QString& parameters) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    const qsizetype size = parameters.size();
    for (qsizetype i = 0; i < size;) {
        const QChar c = parameters.at(i);
        if (!quoted && (c == u' ' || c == u'\t')) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == u'\\') {
            qsizetype backslashes = 0;
            while (i < size && parameters.at(i) == u'\\') {
                ++backslashes;
                ++i;
            }
            if (i < size && parameters.at(i) == u'"') {
                current.append(QString(backslashes / 2, u'\\'));
                if (backslashes % 2 == 1) {
                    current.append(u'"');
                    ++i;
                }
            } else {
                current.append(QString(backslashes, u'\\'));
            }
            continue;
        }
        if (c == u'"') {
            if (quoted && i + 1 < size && parameters.at(i + 1) == u'"') {
                current.append(u'"');
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        current.append(c);
        ++i;
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

bool RunsThroughWine(const QString& program) {
#ifdef Q_OS_WIN
    Q_UNUSED(program);
    return false;
#else
    const QString suffix = QFileInfo(program).suffix();
    return suffix.compare(QLatin1String("exe"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("com"), Qt::CaseInsensitive) == 0;
#endif
}

namespace {

QString WinePrefix() {
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    return prefix.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine") : prefix;
}

// "Z:\home\me\a.prc" for /home/me/a.prc, through the prefix's drive links.
QString WindowsPathInWine(const QString& path) {
    // Canonical like the drives' targets, so that a link on the way does not hide a drive.
    QString clean = QFileInfo(path).canonicalFilePath();
    if (clean.isEmpty())
        clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString bestDrive;
    QString bestRoot;
    const QDir devices(WinePrefix() + QStringLiteral("/dosdevices"));
    const QFileInfoList drives = devices.entryInfoList(QDir::AllEntries | QDir::System);
    for (const QFileInfo& drive : drives) {
        const QString name = drive.fileName();
        if (name.size() != 2 || name.at(1) != u':' || !drive.isSymLink())
            continue;
        const QString root = QDir::cleanPath(drive.canonicalFilePath());
        if (root.isEmpty())
            continue;
        const bool holds =
            root == QLatin1String("/") || clean == root || clean.startsWith(root + u'/');
        // The deepest drive wins: D: on /media/palm before Z: on /.
        if (holds && (bestDrive.isEmpty() || root.size() > bestRoot.size())) {
            bestDrive = name.toUpper();
            bestRoot = root;
        }
    }
    if (bestDrive.isEmpty()) { // Wine's default drive for the whole file system
        bestDrive = QStringLiteral("Z:");
        bestRoot = QStringLiteral("/");
    }
    QString rest = bestRoot == QLatin1String("/") ? clean : clean.mid(bestRoot.size());
    rest.replace(u'/', u'\\');
    if (!rest.startsWith(u'\\'))
        rest.prepend(u'\\');
    return bestDrive + rest;
}

} // namespace

QString PathForProgram(const QString& program, const QString& path) {
    return RunsThroughWine(program) ? WindowsPathInWine(path) : path;
}

bool StartProgram(const QString& program, const QString& parameters, QString* error) {
    QProcess process;
#ifdef Q_OS_WIN
    process.setProgram(program);
    process.setNativeArguments(parameters);
#else
    QStringList arguments = SplitWindowsCommandLine(parameters);
    if (RunsThroughWine(program)) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty()) {
            if (error)
                *error = FillPlaceholders(Translated("%s is a Windows program, and Wine, which "
                                                     "would start it, is not installed."),
                                          {{u"%s", program}});
            return false;
        }
        arguments.prepend(program);
        process.setProgram(wine);
    } else {
        process.setProgram(program);
    }
    process.setArguments(arguments);
#endif
    if (process.startDetached())
        return true;
    if (error) {
        *error = FillPlaceholders(Translated("%s could not be started."), {{u"%s", program}});
        if (!process.errorString().isEmpty())
            *error += QLatin1Char(' ') + process.errorString();
    }
    return false;
}
