// The record preview on any database file: every record of a file whose header names a
// known kind is shown (or said to be unreadable), the blocks and other databases' records
// never, and nothing is read beyond the file.
#include "FuzzInput.h"
#include "export/EntryPreview.h"
#include "export/ExportRun.h"
#include "export/RecordPreview.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryByteSource source(std::string(reinterpret_cast<const char*>(data), size));
    const DatabaseContents contents = ReadDatabaseContents(source);
    ExportKind kind = ExportKind::Unknown;
    if (size >= 68 && contents.Kind == ContentsKind::Records)
        kind = KindOf(std::string(reinterpret_cast<const char*>(data) + 60, 4),
                      std::string(reinterpret_cast<const char*>(data) + 64, 4));
    for (const ContentsEntry& entry : contents.Entries) {
        const auto preview = PreviewEntry(source, contents, entry, CodePage());
        if (preview && kind == ExportKind::Unknown)
            Broken("a record of a database of no known kind was shown");
        // Only an e-book's records after its text (bookmarks) have none.
        if (!preview && kind != ExportKind::Unknown && kind != ExportKind::EBook)
            Broken("a record of a known database was not shown");
    }
    if ((contents.HasAppInfo && PreviewEntry(source, contents, contents.AppInfo, CodePage())) ||
        (contents.HasSortInfo && PreviewEntry(source, contents, contents.SortInfo, CodePage())))
        Broken("a block was shown as a record");
    return 0;
}
