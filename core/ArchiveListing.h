// The rows of the file list for a ZIP archive, without widgets: the window shows them,
// the command-line tool prints them. Each Palm entry (.pdb or .prc in any letter case)
// is extracted into the extraction folder and its copy's header read with the shared
// reader; other entries are skipped. An entry that cannot be extracted or read keeps
// its row, marked, with the cause, and the listing goes on with the next entry.
#pragma once

#include "core/FolderListing.h"

#include <functional>

class ExtractionFolder;
class ListeDerLinks;

struct ArchiveListing {
    QString Archive;
    bool Opened = false; // false: the archive could not be read at all (OpenError says why)
    QString OpenError;
    bool Cancelled = false;
    size_t EntryCount = 0; // file entries of every kind
    std::vector<FileRow> Rows;
    std::vector<ListingError> Errors;
};

class ArchiveLister {
public:
    ArchiveLister(TPalmPDB& reader, ListeDerLinks& catalogue, ExtractionFolder& extraction)
        : FReader(reader), FCatalogue(catalogue), FExtraction(extraction) {}

    // progress(done, total) runs before each Palm entry; false cancels the listing.
    ArchiveListing List(const QString& archive,
                        const std::function<bool(size_t done, size_t total)>& progress = {});

private:
    TPalmPDB& FReader;
    ListeDerLinks& FCatalogue;
    ExtractionFolder& FExtraction;
};

// True for a .pdb or .prc name, in any letter case.
bool IsPalmFileName(const QString& name);
