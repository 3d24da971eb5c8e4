// Writing entries of a Palm database (records, resources, the app info and sort info
// blocks) to files of their own, named after what they are. An existing file is never
// replaced unless the caller says so (after asking); a write that fails leaves nothing.
#pragma once

#include "palmdb/DatabaseContents.h"

#include <QString>

class FolderHandle;

// "record-0001-00A1B2.bin" (index, unique ID), "tSTR-03E8.bin" (type, ID; a type byte
// that is not a letter, digit, '-' or '_' becomes %XX), "appinfo.bin", "sortinfo.bin".
QString EntryFileName(const ContentsEntry& entry);

enum class ExtractOutcome { Written, Exists, Failed };

struct ExtractResult {
    QString Name; // the file's name in the folder
    ExtractOutcome Outcome = ExtractOutcome::Failed;
    QString Error; // for Failed: the cause (translated)
};

// Writes the bytes of entry from source into folder under EntryFileName. Reads and writes
// in pieces, so that a large entry is never held whole. A file that shrank since its
// list was read fails the extraction.
ExtractResult ExtractEntry(ByteSource& source, const ContentsEntry& entry,
                           const FolderHandle& folder, bool replace);
