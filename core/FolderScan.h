// One pass over a folder's entries, sorting the Palm files and archives out by
// extension without regard to letter case (as a Windows file system matches "*.PDB"),
// each kind in the order a Windows file system returns its names (FileNameOrder.h).
#pragma once

#include <QString>
#include <string>
#include <vector>

struct PalmFolderEntries {
    // Names as the file system gives them (bytes; UTF-8 on Linux), by FileNameLess.
    std::vector<std::string> PDB;
    std::vector<std::string> PRC;
    std::vector<std::string> ZIP;
};

// Entries of every kind match, folders included. A folder that cannot be read gives
// no entries.
PalmFolderEntries ScanPalmFolder(const QString& folder);
