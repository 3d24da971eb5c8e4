#include "browser/ProgramPaths.h"

#include "common/Helpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

bool ProgramPaths::IsFirstRun() const {
    const QStringList names = QDir(DataFolder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        if (name.compare(QStringLiteral("brisko.ini"), Qt::CaseInsensitive) == 0)
            return false;
    return true;
}

ProgramPaths ProgramPaths::ForProgramFolder(const QString& programFolder) {
    ProgramPaths paths;
    paths.ProgramFolder = AddTrailingBackslash(QDir::toNativeSeparators(programFolder));
    paths.ShareFolder = paths.ProgramFolder;
    if (QFileInfo(paths.ProgramFolder).isWritable()) {
        paths.DataFolder = paths.ProgramFolder;
        paths.TempFolder = paths.ProgramFolder + QStringLiteral("Temp") + QDir::separator();
        return paths;
    }
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    paths.DataFolder =
        AddTrailingBackslash(QDir::toNativeSeparators(config + QStringLiteral("/Brisko")));
    paths.TempFolder =
        AddTrailingBackslash(QDir::toNativeSeparators(cache + QStringLiteral("/Brisko/Temp")));
    QDir().mkpath(paths.DataFolder);
    // An installed program: bin/../share/brisko holds the translations and the manual.
    const QString installed =
        QDir::cleanPath(paths.ProgramFolder + QStringLiteral("../share/brisko"));
    if (QFileInfo(installed).isDir())
        paths.ShareFolder = AddTrailingBackslash(QDir::toNativeSeparators(installed));
    return paths;
}

ProgramPaths ProgramPaths::ForThisProgram() {
    return ForProgramFolder(QCoreApplication::applicationDirPath());
}
