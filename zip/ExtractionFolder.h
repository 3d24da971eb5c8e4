// The folder that archives are opened into (the program's Temp folder). Entries are
// untrusted: only the file-name part of an entry's name is used, so nothing lands
// outside the folder whatever the name says ("..", "/etc/x", "C:\x"); a link in the
// folder is never followed; an entry is written under a temporary name and named when
// complete; at most MaxEntryBytes come out of one entry, and all entries of one archive
// together take at most the smaller of MaxArchiveBytes and half the space that was free
// when the archive was opened, so an archive bomb of one or many entries cannot fill the
// disk; link entries are not extracted.
//
// Each archive gets a folder of its own, made fresh on its first opening and used
// again when it is opened again; inside it, the first entry of a file name lies at the
// top and the n-th entry of the same name in a numbered subfolder "n", so that x/c.pdb
// and y/c.pdb each keep their own copy. Everything written is remembered, and
// RemoveWritten removes exactly that, never a file of someone else's. Each such folder
// holds a marker file, locked while its ExtractionFolder lives, so that RemoveAbandoned
// can remove what a killed run left without touching a running program's copies.
#pragma once

#include "platform/SafeWrite.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class ZipArchive;
struct ZipEntry;

class ExtractionFolder {
public:
    static constexpr int64_t MaxEntryBytes = int64_t(256) * 1024 * 1024;
    static constexpr int64_t MaxArchiveBytes = int64_t(1024) * 1024 * 1024;

    explicit ExtractionFolder(QString folder, int64_t maxEntryBytes = MaxEntryBytes,
                              int64_t maxArchiveBytes = MaxArchiveBytes);
    ~ExtractionFolder();
    ExtractionFolder(const ExtractionFolder&) = delete;
    ExtractionFolder& operator=(const ExtractionFolder&) = delete;

    const QString& Folder() const { return FFolder; }

    struct Result {
        QString Path;  // the extracted copy
        QString Error; // empty on success; the copy then exists
    };
    // Starts the space allowance of an archive about to be extracted: the smaller of the
    // archive cap and half the space free in the folder's file system now, where the
    // copies of an earlier opening of the same archive count as free. An extraction
    // without it begins the allowance at its first entry.
    void BeginArchive(const QString& archivePath);
    int64_t ArchiveAllowance() const { return FArchiveAllowance; }
    // How the free space is measured; tests put in a small file system of their own.
    std::function<int64_t(const QString& folder)> FreeBytes;

    // Writes an entry of the open archive as its copy number copyNumber (1 for the
    // first entry of its file name in this archive, 2 for the second, ...), replacing
    // the copy of an earlier opening.
    Result Extract(ZipArchive& archive, const ZipEntry& entry, int copyNumber);

    // Removes every file written here and then the folders made here, as far as they
    // are empty. Call at shut-down.
    void RemoveWritten();

    // Removes from the folder tempFolder the archive folders of runs that ended without
    // RemoveWritten (killed): only folders with this class's marker that no running
    // program holds, and in them only what this class writes (a file someone else put
    // there stays, and the folder with it); nothing else is touched. Returns how many
    // folders it removed.
    static int RemoveAbandoned(const QString& tempFolder);

private:
    struct ArchiveFolder;
    ArchiveFolder* FolderFor(const QString& archivePath, QString* error);

    QString FFolder;
    int64_t FMaxEntryBytes;
    int64_t FMaxArchiveBytes;
    int64_t FArchiveAllowance;
    int64_t FArchiveWritten = 0; // by the entries extracted since BeginArchive
    bool FArchiveBegun = false;
    QHash<QString, std::shared_ptr<ArchiveFolder>> FArchiveFolders;
    std::vector<QString> FWritten;
    QSet<QString> FWrittenSet;
    std::vector<QString> FMadeFolders; // in the order made; removed in reverse
};
