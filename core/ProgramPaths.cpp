#include "core/ProgramPaths.h"

#include "common/Helpers.h"
#include "core/CopyMove.h"
#include "i18n/Translate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramPaths::ManualPath(const QString& language) const {
    const QString manual = ShareFolder + QStringLiteral("manual") + QDir::separator();
    const QString code = language.section(u'.', 0, 0).section(u'_', 0, 0).section(u'-', 0, 0);
    if (!code.isEmpty() && code.compare(QStringLiteral("en"), Qt::CaseInsensitive) != 0) {
        const QString translated =
            manual + code.toLower() + QDir::separator() + QStringLiteral("index.html");
        if (QFileInfo(translated).isFile())
            return translated;
    }
    return manual + QStringLiteral("index.html");
}

QString ProgramPaths::ManualPath() const {
    return ManualPath(CurrentLanguage());
}

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
    // An installed program: bin/../share/brisko holds the translations, the manual and the
    // first catalogue. Such a program never writes beside itself, not even when its folder
    // is writable (run by root).
    const QString installed =
        QDir::cleanPath(paths.ProgramFolder + QStringLiteral("../share/brisko"));
    const bool isInstalled = QFileInfo(installed).isDir();
    if (!isInstalled && QFileInfo(paths.ProgramFolder).isWritable()) {
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
    if (isInstalled)
        paths.ShareFolder = AddTrailingBackslash(QDir::toNativeSeparators(installed));
    // A user without a catalogue of their own starts from the installed one.
    const QString firstCatalogue = paths.ShareFolder + QStringLiteral("CreatorIDs.ini");
    // Copied whole or not at all: a start that is killed half-way leaves no half catalogue.
    if (!QFileInfo::exists(paths.CataloguePath()) && QFileInfo(firstCatalogue).isFile())
        CopyMoveFile(firstCatalogue, paths.CataloguePath(), true, false);
    return paths;
}

ProgramPaths ProgramPaths::ForThisProgram() {
    return ForProgramFolder(QCoreApplication::applicationDirPath());
}

QString NoPalmDesktopText() {
    return Translated("No Palm Desktop was found; Install uses the install tool chosen in "
                      "Options.");
}
