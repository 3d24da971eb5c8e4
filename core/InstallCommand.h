// The command line of the install tool, without widgets. The paths are collected in
// two lists: plain, joined by single spaces, and each in its own double quotes. The
// Palm Desktop's PInstall.exe reads one path per quoted argument; every other tool
// (Instapp.exe among them) gets the plain list inside one pair of quotes.
#pragma once

#include <QString>

class InstallFileLists {
public:
    void AddInstallFile(const QString& path);
    // The parameter string for the tool at toolPath.
    QString Parameters(const QString& toolPath) const;
    bool IsEmpty() const { return FInstallFileList.isEmpty(); }
    void Clear();

    const QString& InstallFileList() const { return FInstallFileList; }
    const QString& InstallFileListQuoted() const { return FInstallFileListQuoted; }

private:
    QString FInstallFileList;
    QString FInstallFileListQuoted;
};

// True when the file-name part of toolPath (after its last "\", "/" or ":") is
// "pinstall.exe" with A to Z in any case.
bool IsPInstall(const QString& toolPath);
