// A Wine prefix ($WINEPREFIX, else ~/.wine) as the stand-in for Windows on other systems:
// its user hive user.reg is the current user's registry, its drives (dosdevices/c: and
// so on, or drive_c) hold the Windows paths, and its Windows libraries are "loaded" by
// reading their export tables (PeExports.h), since they cannot run in this process.
#pragma once

#include "palmdesktop/PeExports.h"
#include "palmdesktop/PlatformAccess.h"

#include <QHash>
#include <QStringList>
#include <map>

class WinePrefix : public UserRegistry {
public:
    explicit WinePrefix(QString folder);
    static QString DefaultFolder(); // $WINEPREFIX, else ~/.wine

    const QString& Folder() const { return FFolder; }
    std::optional<QString> ReadString(const QString& key, const QString& name) const override;
    QString NativeFolder(const QString& windowsFolder) const override;
    bool Exists() const override;
    // A Windows path (folder or file) in the prefix's drives, each part matched without
    // regard to case as Windows would; empty for a path without a drive letter or with
    // a drive the prefix does not have.
    QString NativePath(const QString& windowsPath) const;
    // Where Windows looks for a library given by its bare name, after the program's own
    // folder: C:\windows\system32, C:\windows.
    QStringList LibrarySearchFolders() const;

private:
    QString FFolder;
};

// Libraries of a Wine prefix: Load reads the file's export table; a file that is no
// valid PE image does not load.
class PeLibraryLoader : public LibraryLoader {
public:
    explicit PeLibraryLoader(QStringList searchFolders);

    Handle Load(const QString& pathOrName) override;
    std::uintptr_t FindSymbol(Handle library, const char* name) override;
    void Unload(Handle library) override;

private:
    QStringList FSearchFolders;
    Handle FNextHandle = 1;
    std::map<Handle, QHash<QByteArray, uint32_t>> FLoaded; // handle -> name -> address
};

// The file name in folder, found without regard to case when no exact match exists;
// empty when there is none.
QString FindFileNoCase(const QString& folder, const QString& name);
