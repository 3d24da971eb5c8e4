// The contents reader on any bytes, read whole and again after the file shrank: it
// marks what is damaged and keeps every entry inside the file it saw.
#include "FuzzInput.h"
#include "palmdb/DatabaseContents.h"

#include <algorithm>
#include <string>

namespace {

void CheckEntry(const DatabaseContents& contents, const ContentsEntry& entry) {
    if (entry.Size < 0)
        Broken("an entry has a negative size");
    if (entry.Problem == EntryProblem::OutsideFile) {
        if (entry.Size != 0 || int64_t(entry.Offset) <= contents.FileSize)
            Broken("an entry outside the file breaks its promises");
        return;
    }
    if (int64_t(entry.Offset) + entry.Size > contents.FileSize)
        Broken("an entry runs beyond the file");
    if (entry.Problem == EntryProblem::None && int64_t(entry.Offset) < contents.ListEnd())
        Broken("a sound entry lies in the header or the list");
    if (entry.Category > 15 || entry.UniqueId > 0xFFFFFF || (entry.Attributes & 0x0F) != 0)
        Broken("a record field holds more bits than its place");
}

void ReadEntries(ByteSource& source, const DatabaseContents& contents, bool shrunk) {
    for (const ContentsEntry& entry : contents.Entries) {
        const EntryBytes bytes = ReadEntryBytes(source, entry, 1, 64);
        const int64_t expected = std::min<int64_t>(std::max<int64_t>(entry.Size - 1, 0), 64);
        if (int64_t(bytes.Bytes.size()) > expected)
            Broken("an entry read gave more than was asked");
        if (!shrunk && (int64_t(bytes.Bytes.size()) != expected || bytes.Shrank))
            Broken("an entry of an unchanged file was not read whole");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryByteSource source(std::string(reinterpret_cast<const char*>(data), size));
    const DatabaseContents contents = ReadDatabaseContents(source);
    if (contents.FileSize != int64_t(size))
        Broken("the size differs from the input's");
    if (contents.Entries.size() > contents.Header.EntryCount)
        Broken("more entries than the header counts");
    const std::size_t entrySize = contents.Kind == ContentsKind::Resources
                                      ? DatabaseContents::ResourceEntrySize
                                      : DatabaseContents::RecordEntrySize;
    if (DatabaseContents::HeaderSize + contents.Entries.size() * entrySize > size &&
        !contents.Entries.empty())
        Broken("entries read from beyond the input");
    for (const ContentsEntry& entry : contents.Entries)
        CheckEntry(contents, entry);
    if (contents.HasAppInfo)
        CheckEntry(contents, contents.AppInfo);
    if (contents.HasSortInfo)
        CheckEntry(contents, contents.SortInfo);
    ReadEntries(source, contents, false);
    source.Truncate(size / 2);
    ReadEntries(source, contents, true);
    return 0;
}
