// The structure check (palmdb/DatabaseCheck.h) run over files, a folder or a folder tree,
// with progress and cancelling, its texts translated. Files that cannot be read are
// findings too. What the command-line tool prints and the window's report shows.
#pragma once

#include "palmdb/DatabaseCheck.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <functional>
#include <vector>

struct FileFinding {
    int Entry = -1; // index in the entry list; -1 for the file as a whole
    CheckSeverity Severity = CheckSeverity::Note;
    QString Code; // a stable word, such as "offset-outside-file"
    QString Text; // translated
};

struct CheckedFile {
    QString File;
    std::vector<FileFinding> Findings; // empty for a sound file
    // Whether a finding is damaged or suspicious (notes are not trouble).
    bool HasTrouble() const;
    bool IsDamaged() const;
};

struct CheckRunResult {
    std::vector<CheckedFile> Files; // every file checked, in the order found
    bool Cancelled = false;         // Files then holds those checked before
    bool HasTrouble() const;
};

// Called before each file with the number checked so far and of all found; returning
// false stops the run.
using CheckProgress = std::function<bool(std::size_t checked, std::size_t total)>;

// The Palm files among paths (what check, export and pack take): a file as it is (whatever its
// name), a folder's .pdb and .prc files (any letter case), with recursive those of its folders
// below too (links to folders are not followed, so no loop is walked). A path that does not exist
// stays in the list, to be reported as unreadable. Each folder's files by name.
QStringList FindPalmFiles(const QStringList& paths, bool recursive);

// Checks one file: its header and entry list are read, nothing else.
CheckedFile CheckPalmFile(const QString& path);

// FindPalmFiles, then CheckPalmFile for each.
CheckRunResult CheckPalmFiles(const QStringList& paths, bool recursive,
                              const CheckProgress& progress = {});
