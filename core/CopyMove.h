// Copying and moving files, without widgets: one file (CopyMoveFile) and a run over
// several with the overwrite question (CopyMoveRun). Nothing is ever lost or damaged:
// a file copied or moved onto itself is left alone; a copy is written completely under
// a temporary name and put on the disk before it takes the target's name, so a replaced
// file is given up only for complete new content; a move to another file system removes
// the source only after its copy and the copy's name are on the disk. A run killed
// half-way leaves at most one temporary file, which the next run into that folder removes.
#pragma once

#include "core/OverwriteAnswer.h"
#include "platform/SafeWrite.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

enum class CopyMoveStatus {
    Done,
    TargetExists, // replace was false and a file of that name is there; nothing changed
    SameFile,     // source and target are one file; nothing changed
    Failed        // nothing changed, except as Error says
};

struct CopyMoveFileResult {
    CopyMoveStatus Status = CopyMoveStatus::Failed;
    QString Error; // the cause, for Failed and SameFile
};

// Copies (copy true) or moves the file source to the file path target. replace false
// never touches an existing target; replace true puts the new file in its place in one
// step, but not over a folder or a write-protected file. The copy keeps the source's
// last-write time and permissions.
CopyMoveFileResult CopyMoveFile(const QString& source, const QString& target, bool copy,
                                bool replace,
                                const FileSystemCalls& calls = FileSystemCalls::Real());

struct CopyMoveItem {
    QString Source; // full path
    QString Name;   // the file name it gets in the target folder (as DecodePath keeps it)
};

enum class ItemOutcome {
    Done,
    Declined,  // the user answered No or No to All (or an earlier No to All held)
    Failed,    // reported in Failures
    NotReached // the run was cancelled first
};

struct CopyMoveReport {
    std::vector<ItemOutcome> Outcomes; // one per item, in their order
    QStringList Failures;              // "shown name: cause", one per failed item
    QString FolderError;               // the target folder is unusable: nothing was tried
    bool Cancelled = false;
};

// One run over the selected files. OverwriteAll and SkipAll hold for the run only.
class CopyMoveRun {
public:
    explicit CopyMoveRun(bool copy, const FileSystemCalls& calls = FileSystemCalls::Real())
        : FCopy(copy), FCalls(calls) {}

    // Asked only when a target file exists; the name is the item's Name as shown.
    std::function<OverwriteAnswer(const QString& name)> AskOverwrite;
    // Runs before each item; false cancels the rest of the run.
    std::function<bool(size_t done, size_t total)> Progress;

    CopyMoveReport Run(const QString& targetFolder, const std::vector<CopyMoveItem>& items);

private:
    bool FCopy;
    const FileSystemCalls& FCalls;
};
