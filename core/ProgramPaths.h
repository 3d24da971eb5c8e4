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
    // No Palm Desktop at all on this desktop (found at start): said once in the status
    // line and in the About box instead of as an error.
    bool PalmDesktopMissing = false;

    QString SettingsPath() const { return DataFolder + QStringLiteral("Brisko.ini"); }
    QString CataloguePath() const { return DataFolder + QStringLiteral("CreatorIDs.ini"); }
    QString LocaleFolder() const { return ShareFolder + QStringLiteral("locale"); }
    // The manual in a language ("de", "de_DE"): manual/<ll>/index.html when there is one,
    // else the English manual/index.html.
    QString ManualPath(const QString& language) const;
    // The manual in the language of the user interface.
    QString ManualPath() const;

    // True when the data folder holds no settings file yet, whatever its letter case.
    bool IsFirstRun() const;

    // Everything beside the given folder when it is writable and not installed (no
    // ../share/brisko beside it), else the user's folders, where a missing catalogue is
    // first copied from the installed share/brisko/CreatorIDs.ini (or the program folder's).
    static ProgramPaths ForProgramFolder(const QString& programFolder);
    // For the running executable.
    static ProgramPaths ForThisProgram();
};

// What the status line and the About box say where PalmDesktopMissing.
QString NoPalmDesktopText();
