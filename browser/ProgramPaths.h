// Where the program's files live. A portable copy (and a build) keeps its settings, its
// catalogue and Temp beside the program; an installed program whose folder is read-only
// keeps them in the user's configuration and cache folders and finds its translations
// and manual in its installed data folder.
#pragma once

#include <QString>

struct ProgramPaths {
    QString ProgramFolder; // the executable's folder, with a trailing separator
    QString DataFolder;    // Brisko.ini and CreatorIDs.ini
    QString TempFolder;    // ZIP extraction, with a trailing separator
    QString ShareFolder;   // locale/ and the manual

    QString SettingsPath() const { return DataFolder + QStringLiteral("Brisko.ini"); }
    QString CataloguePath() const { return DataFolder + QStringLiteral("CreatorIDs.ini"); }
    QString LocaleFolder() const { return ShareFolder + QStringLiteral("locale"); }
    QString ManualPath() const { return ShareFolder + QStringLiteral("manual/index.html"); }

    // True when the data folder holds no settings file yet, whatever its letter case.
    bool IsFirstRun() const;

    // Everything beside the given folder when it is writable, else the user's folders.
    static ProgramPaths ForProgramFolder(const QString& programFolder);
    // For the running executable.
    static ProgramPaths ForThisProgram();
};
