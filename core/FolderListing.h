// The rows of the file list for one folder, without widgets: the window shows them, the
// command-line tool prints them. Palm databases come first, then applications, then ZIP
// archives, each group by name as a Windows file system returns them (FileNameOrder.h).
#pragma once

#include "palmdb/PalmDatabase.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class ListeDerLinks;

// Chosen by the kind of file, never by the Type text (a creator ID may read "Zip").
enum class RowIcon { PalmFile = 0, Archive = 1, Unreadable = 2 };

// A row keeps values, not the Size and Changed texts: those are made when shown, so that a
// listing of 100,000 rows does not make 200,000 texts of which a screenful is seen.
struct FileRow {
    QString Name; // file name without folder, as shown (see File)
    QString Type; // creator ID, "Zip" for an archive, empty when the header is unreadable
    // The header's database name (the handheld keeps one database of a name); empty for an
    // archive or an unreadable header.
    QString Database;
    int64_t Bytes = 0;
    // The last write as a packed file time stamp (PackFileTime): the file system's
    // two-second resolution, and sorting compares whole numbers.
    int32_t ChangedStamp = 0;
    RowIcon Icon = RowIcon::PalmFile;
    QString Error; // the reader's message when the header could not be read
    // What the structure check found wrong (damaged or suspicious), once it has run.
    QString Trouble;
    // The row's file when it is not the listed folder + Name: an archive entry's
    // extracted copy (empty for an entry that could not be extracted), or a file whose
    // name is not UTF-8, as DecodePath keeps its bytes (Name is then its shown text).
    QString File;
};

// An archive's entries show their size with a unit ("1.5 KB"), a folder's files as a
// grouped byte count.
QString SizeColumnText(const FileRow& row, bool archiveView);
QString ChangedColumnText(const FileRow& row);

// A file that could not be read while listing; its row (if it still exists) is listed
// with an empty Type so that the user can still see, move or delete it.
struct ListingError {
    QString File;    // full path
    QString Message; // the reader's message
};

struct FolderListing {
    QString Folder; // with its trailing separator
    std::vector<FileRow> Rows;
    std::vector<ListingError> Errors;
};

struct ListingFilter {
    bool ShowPDB = true;
    bool ShowPRC = true;
    bool ShowZIP = true;
};

// Lists a folder in one pass over its entries and one header read per Palm file, with
// the shared reader (a large folder is read by more threads, each with a reader of its
// own; the result is the same). Every creator ID not yet in the catalogue joins it. A
// folder that does not exist gives no rows and no error.
class FolderLister {
public:
    FolderLister(TPalmPDB& reader, ListeDerLinks& catalogue)
        : FReader(reader), FCatalogue(catalogue) {}

    FolderListing ListFolder(const QString& folder, const ListingFilter& filter);
    // How many threads read headers (at most one per file); 0, the default, lets the size
    // of the folder and the number of cores decide.
    void SetReadingThreads(size_t threads) { FReadingThreads = threads; }

private:
    // Adds the rows of the Palm files named (in the file system's encoding).
    void ListPalmFiles(const std::vector<std::string>& names, const std::string& folderBytes,
                       int folderFd, FolderListing& listing);

    TPalmPDB& FReader;
    ListeDerLinks& FCatalogue;
    size_t FReadingThreads = 0;
};
