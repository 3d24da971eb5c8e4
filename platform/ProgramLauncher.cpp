#include "platform/ProgramLauncher.h"

#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "platform/SystemError.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <vector>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

namespace {

// True when program is a Windows program that runs through Wine on this platform.
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

#ifndef Q_OS_WIN
namespace {

// Starts program (a path) with the arguments' bytes, without waiting: a grandchild that
// the system adopts, so that no zombie stays behind. Our own because QProcess encodes its
// arguments from QString, which loses the bytes of a file name that is not UTF-8. Returns
// 0, or the errno value of the failed fork or exec.
int SpawnDetached(const QByteArray& program, const QList<QByteArray>& arguments) {
    // Everything the children need is made before fork: only system calls follow it.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.constData()));
    for (const QByteArray& argument : arguments)
        argv.push_back(const_cast<char*>(argument.constData()));
    argv.push_back(nullptr);
    // Closed by a successful exec; carries the errno value of a failed one.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return errno;
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int failure = errno;
        ::close(report[0]);
        ::close(report[1]);
        return failure;
    }
    if (middle == 0) {
        ::close(report[0]);
        const pid_t child = ::fork();
        if (child > 0)
            ::_exit(0);
        if (child == 0) {
            ::setsid();
            ::execv(argv[0], argv.data());
        }
        const int failure = errno;
        [[maybe_unused]] const ssize_t written = ::write(report[1], &failure, sizeof failure);
        ::_exit(127);
    }
    ::close(report[1]);
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    int failure = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &failure, sizeof failure);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    return got == ssize_t(sizeof failure) ? failure : 0;
}

} // namespace
#endif

bool StartProgram(const QString& program, const QString& parameters, QString* error) {
#ifdef Q_OS_WIN
    QProcess process;
    process.setProgram(program);
    process.setNativeArguments(parameters);
    if (process.startDetached())
        return true;
    if (error) {
        *error = FillPlaceholders(Translated("%s could not be started."), {{u"%s", program}});
        if (!process.errorString().isEmpty())
            *error += QLatin1Char(' ') + process.errorString();
    }
    return false;
#else
    QStringList arguments = SplitWindowsCommandLine(parameters);
    QString executable = program;
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
        executable = wine;
    } else if (!program.contains(u'/')) {
        // A bare name is looked up on PATH, as the shell would.
        const QString found = QStandardPaths::findExecutable(program);
        if (!found.isEmpty())
            executable = found;
    }
    QList<QByteArray> encoded;
    for (const QString& argument : std::as_const(arguments))
        encoded << EncodePath(argument);
    const int failure = SpawnDetached(EncodePath(executable), encoded);
    if (failure == 0)
        return true;
    if (error)
        *error = FillPlaceholders(Translated("%s could not be started."), {{u"%s", program}}) +
                 QLatin1Char(' ') + SystemErrorText(failure);
    return false;
#endif
}
