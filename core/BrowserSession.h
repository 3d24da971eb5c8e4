// What the main window decides, without widgets: which folder is listed and whether an
// archive of it is shown in its place, where Refresh and One level up lead from there,
// which commands that leaves enabled, what a listing and an archive's opening come to,
// the sort direction of a header click, where a typed copy or move target lies and which
// rows a run hands over, which rows the trash took, and which selected files the install
// tool may be given. It owns the settings record and what a run reads with: the creator
// catalogue, the header reader and the folder that archives are extracted into. The window draws
// and asks; what it shows of this state (the list model's folder and archive flag among it) it
// takes from here.
#pragma once

#include "core/ArchiveListing.h"
#include "core/BrowserSettings.h"
#include "core/CopyMove.h"
#include "core/FolderListing.h"
#include "core/InstallCommand.h"
#include "core/ListOrdering.h"
#include "creators/CreatorCatalogue.h"
#include "palmdb/PalmDatabase.h"
#include "zip/ExtractionFolder.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class FileListModel;

// Where a command leads: nowhere, a folder to list, or an archive to open.
struct BrowserDestination {
    enum class Kind { None, Folder, Archive };
    Kind Step = Kind::None;
    QString Path;
};

// What opening an archive came to: its rows when it is shown, else why the list stays as
// it was (a cancel says nothing; the other two have a text for the user).
struct ArchiveOpening {
    enum class Kind { Shown, Cancelled, Unreadable, Empty };
    Kind Outcome = Kind::Cancelled;
    QString Message;
    ArchiveListing Listing;
};

// The commands whose enabled state follows the listed place.
struct BrowserCommands {
    bool CopyMoveDelete = false;
    bool Install = false;
};

// The selected rows of a copy or move: the files handed to the run, each with its row,
// and the archive rows that were never extracted, which fail at once with their cause.
struct CopyMovePlan {
    std::vector<CopyMoveItem> Items;
    QList<int> ItemRows;
    QList<int> NotExtracted;
    QStringList Failures;
};

// The rows after a run: handled ones leave the selection, moved ones the list.
struct CopyMoveRows {
    QList<int> Handled;
    QList<int> Moved;
};

// What a trash run did with the selected rows: the ones it reached leave the selection,
// the trashed ones the list; the others stay with their names and causes.
struct TrashRows {
    QList<int> Handled;
    QList<int> Trashed;
    QStringList Failures;
};

// The files a command on the selection takes (export, pack): the rows' files, and the
// rows without one (archive entries never extracted) as "name: cause".
struct SelectedFiles {
    QStringList Paths;
    QStringList Unavailable;
};

// What Open comes to for a row: the file to hand to the desktop, or why there is none.
struct FileToOpen {
    QString Path;
    QString Error;
};

// A selected row offered to the install tool: its file, and the name it is shown by.
struct InstallCandidate {
    QString Path;
    QString Name;
};

class BrowserSession {
public:
    // Archives are extracted into tempFolder.
    BrowserSession(BrowserSettings settings, const QString& tempFolder);

    // The settings as read at start-up and changed since (Options, Language); the window
    // adds its layout to a copy of them when it writes them.
    BrowserSettings& Settings() { return FSettings; }
    const BrowserSettings& Settings() const { return FSettings; }

    // The creator catalogue, loaded and saved by the window (which reports its errors).
    ListeDerLinks& Catalogue() { return FCatalogue; }
    // The header reader that the listing and the details share.
    TPalmPDB& Reader() { return FReader; }
    // Where the shown archive's entries are extracted.
    const QString& ExtractionFolderPath() const { return FExtraction.Folder(); }
    // Removes what the archive views extracted, and nothing else of the folder.
    void RemoveExtractedCopies() { FExtraction.RemoveWritten(); }

    // The listed folder, with its trailing separator; empty before the first listing.
    // While an archive is shown this is still the folder that holds it.
    const QString& CurrentFolder() const { return FCurrentFolder; }
    bool ArchiveView() const { return !FArchivePath.isEmpty(); }
    // The shown archive; empty outside the archive view.
    const QString& ArchivePath() const { return FArchivePath; }

    // The folder becomes the listed one (any archive view is left); returns it as listed.
    const QString& EnterFolder(const QString& folder);
    // The archive is shown in place of the folder's files, once it could be listed.
    void EnterArchive(const QString& archive);

    // The folder becomes the listed one and its Palm files are read, as the settings'
    // file types filter them.
    FolderListing ListFolder(const QString& folder);
    // The archive's Palm files are extracted and read (progress(done, total) before each;
    // false cancels). Only an archive that could be read and holds files is shown;
    // otherwise the listed place stays as it was.
    ArchiveOpening OpenArchive(const QString& archive,
                               const std::function<bool(size_t done, size_t total)>& progress = {});

    // Refresh lists the same again: the archive, else the folder (none before the first).
    BrowserDestination RefreshDestination() const;
    // One level up leaves the archive view for its folder first; then the parent folder,
    // none at the root.
    BrowserDestination UpDestination() const;
    // Back to the folder from the archive view; nowhere outside it.
    BrowserDestination LeaveArchiveDestination() const;

    // Copy, move and delete are the folder's commands, never the archive copies'; Install
    // also needs an install tool that exists.
    BrowserCommands Commands() const;
    // Copy, move and delete alone: no look at the install tool's file.
    bool FileCommandsEnabled() const { return !ArchiveView(); }
    bool InstallToolUsable() const;
    ListingFilter Filter() const;

    // The status line after a listing: the rows, and how many of them could not be read.
    static QString ListedStatus(int rows, size_t unreadable);
    // The row that Up, Down, Home or End moves to from the first selected one; -1 for
    // another key or where the list ends, so that the details stay.
    static int RowAfterKey(int key, int first, int count);

    // A header click: the column and direction to sort by now.
    Qt::SortOrder SortClick(FileColumn column) { return FSort.Click(column); }
    const SortState& Sort() const { return FSort; }

    // The target of copy and move as typed: "~" and "~/x" from the home folder, a relative
    // path from the listed folder, an absolute one as it is; empty stays empty.
    QString ResolveTarget(const QString& typed) const;
    // A folder typed into the folder box: like a target, cleaned, and a relative path
    // taken from the working folder while nothing is listed.
    QString ResolveTypedFolder(const QString& typed) const;
    // The target the Copy/Move dialog offers next.
    const QString& LastTargetFolder() const { return FLastTargetFolder; }
    void RememberTarget(const QString& typed) { FLastTargetFolder = typed; }

    // An archive row whose entry was never extracted has no copy to show, open or copy;
    // its Error tells why. A folder's row is always its folder's file.
    bool WithoutCopy(const FileRow& row) const { return ArchiveView() && row.File.isEmpty(); }
    // The header the details show; a file that cannot be read throws, named with its cause.
    static TPDBHeader HeaderOf(const QString& path);
    // Open: a row without a copy, or whose file is gone, names its cause instead.
    FileToOpen OpenRow(const FileListModel& model, int row) const;
    // An archive row's copy has the entry's file name; a folder's row has its file's name,
    // by its bytes (a row's Name is only its shown text when that is not UTF-8).
    CopyMovePlan PlanCopyMove(const FileListModel& model, const QList<int>& rows) const;
    // The selected rows' files, or with none selected every listed row's; archives listed
    // in a folder are left out (they are no databases themselves).
    SelectedFiles FilesOfRows(const FileListModel& model, const QList<int>& rows) const;
    // Rows the run did not reach stay selected; the not extracted ones count as handled.
    static CopyMoveRows RowsAfterRun(const CopyMovePlan& plan, const CopyMoveReport& report,
                                     bool copy);

    // The question before the trash: one file by its name, more as "selected files".
    static QString TrashQuestion(const FileListModel& model, const QList<int>& rows);
    // Moves the rows' files to the desktop's trash from the top down; step(done, total)
    // comes before each, and false ends the run there.
    static TrashRows TrashFiles(const FileListModel& model, const QList<int>& rows,
                                const std::function<bool(size_t done, size_t total)>& step);
    // One file to the trash; a file that is gone is a failure, not a success.
    static bool MoveToRecycleBin(const QString& path, QString* error);

    // The tool reads its paths from one quoted command line, so a path with a double quote
    // would split into other paths: those are refused and their names returned. The others
    // join the install lists as forProgram gives them.
    QStringList QueueInstall(const std::vector<InstallCandidate>& candidates,
                             const std::function<QString(const QString&)>& forProgram);
    void AddInstallFile(const QString& programPath) { FInstallLists.AddInstallFile(programPath); }
    // The queued lists, leaving none behind for the next Install.
    InstallFileLists TakeInstallLists();

private:
    BrowserSettings FSettings;
    ListeDerLinks FCatalogue;
    TPalmPDB FReader{std::string(), false};
    ExtractionFolder FExtraction;
    QString FCurrentFolder;
    QString FArchivePath;
    SortState FSort;
    QString FLastTargetFolder;
    InstallFileLists FInstallLists;
};
