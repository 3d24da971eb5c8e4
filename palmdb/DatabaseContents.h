// What a Palm database holds after its header: the list of records (.pdb) or resources
// (.prc), the app info and sort info blocks, and the bytes of any one of them. Every
// byte is untrusted: a damaged list gives entries marked with their problem, never a
// read or an allocation beyond the file's size. Only the list and the blocks asked for
// are read, never a whole file. Standard library only; texts are English (the check's
// callers translate them) and Palm texts are raw bytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Where the bytes come from: a file read in place, or bytes in memory (tests, fuzzing).
class ByteSource {
public:
    virtual ~ByteSource();
    // The size when the source was opened; everything is laid out against it.
    virtual int64_t Size() const = 0;
    // Reads up to count bytes at offset into buffer: the number read (fewer at the end of
    // the data, 0 beyond it), or -1 with the cause in *error.
    virtual int64_t ReadAt(int64_t offset, unsigned char* buffer, std::size_t count,
                           std::string* error) = 0;
};

// A regular file, opened once without blocking (a FIFO or a device under a Palm file's
// name is refused, not waited for) and read with positioned reads.
class FileByteSource : public ByteSource {
public:
    // The source, or null with the cause in *error (missing, not a regular file, ...).
    static std::unique_ptr<FileByteSource> Open(const std::string& path, std::string* error);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    int64_t Size() const override { return FSize; }
    int64_t ReadAt(int64_t offset, unsigned char* buffer, std::size_t count,
                   std::string* error) override;

private:
    FileByteSource(int fd, int64_t size) : FFd(fd), FSize(size) {}
    int FFd;
    int64_t FSize;
    std::string FPath; // Windows reopens the file for each read
};

// Bytes held in memory. Truncate makes it act like a file that shrank after it was opened.
class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::string bytes) : FBytes(std::move(bytes)), FSize(FBytes.size()) {}
    int64_t Size() const override { return int64_t(FSize); }
    int64_t ReadAt(int64_t offset, unsigned char* buffer, std::size_t count,
                   std::string* error) override;
    void Truncate(std::size_t size) { FBytes.resize(std::min(size, FBytes.size())); }

private:
    std::string FBytes;
    std::size_t FSize; // at opening; FBytes may have shrunk since
};

enum class ContentsKind { Records, Resources };
enum class ContentsEntryKind { Record, Resource, AppInfo, SortInfo };

// Why an entry cannot be trusted; None for a sound one. One problem an entry, the first
// of this order that applies.
enum class EntryProblem {
    None,
    OutsideFile,     // the offset lies beyond the file's end
    InsideHeader,    // the offset lies inside the header or the entry list
    NotAscending,    // the offset lies before the previous entry's
    OverlapsAppInfo, // the entry's bytes hold the start of the app info block
    OverlapsSortInfo,
};

// The English text of a problem ("" for None).
const char* EntryProblemText(EntryProblem problem);

// Record attribute bits (the top four bits of the attribute byte; the low four are the
// category).
constexpr unsigned RecordDeleted = 0x80;
constexpr unsigned RecordDirty = 0x40;
constexpr unsigned RecordBusy = 0x20;
constexpr unsigned RecordSecret = 0x10;

struct ContentsEntry {
    ContentsEntryKind Kind = ContentsEntryKind::Record;
    int Index = -1;      // place in the entry list; -1 for the app info and sort info blocks
    uint32_t Offset = 0; // as stored
    // Bytes up to the next entry's offset (the last: to the file's end; a block: to the
    // next thing after it), clipped to the file: 0 for an entry outside it or out of order.
    int64_t Size = 0;
    unsigned Attributes = 0; // record: the attribute byte's top four bits (0x80 .. 0x10)
    unsigned Category = 0;   // record: 0-15
    uint32_t UniqueId = 0;   // record: 24 bits
    std::string Type;        // resource: the four type bytes as stored
    uint16_t Id = 0;         // resource
    EntryProblem Problem = EntryProblem::None;
};

// The header fields the contents depend on, as stored.
struct ContentsHeader {
    std::string NameField; // all 32 bytes of the name field
    uint16_t Attributes = 0;
    uint32_t AppInfoOffset = 0; // 0: none
    uint32_t SortInfoOffset = 0;
    std::string Type;    // the 4 bytes as stored
    std::string Creator; // likewise
    uint32_t NextRecordList = 0;
    uint16_t EntryCount = 0; // as the header says; Entries may hold fewer
};

// Problems of the file as a whole, in the order they are found.
enum class ContentsProblem {
    HeaderCut,           // fewer than 78 bytes: nothing else is read
    ListCut,             // the file ends inside the entry list: only whole entries are listed
    ListUnreadable,      // a read error inside the list: the entries before it are listed
    AppInfoOutsideFile,  // the app info offset lies beyond the end (no AppInfo block given)
    SortInfoOutsideFile, // likewise for sort info
    AppInfoInsideHeader, // the app info block starts inside the header or the entry list
    SortInfoInsideHeader,
};

const char* ContentsProblemText(ContentsProblem problem);

struct DatabaseContents {
    static constexpr int HeaderSize = 78;
    static constexpr int RecordEntrySize = 8;
    static constexpr int ResourceEntrySize = 10;

    ContentsKind Kind = ContentsKind::Records;
    ContentsHeader Header;
    int64_t FileSize = 0;
    std::vector<ContentsEntry> Entries; // records or resources, in list order
    bool HasAppInfo = false;            // AppInfo is set (offset not 0 and inside the file)
    ContentsEntry AppInfo;
    bool HasSortInfo = false;
    ContentsEntry SortInfo;
    std::vector<ContentsProblem> Problems;
    std::string ReadError; // the cause when a read failed (HeaderCut, ListUnreadable)

    // The end of the header and the entry list as the header's count gives it.
    int64_t ListEnd() const;
    bool HasProblem(ContentsProblem problem) const;
};

// Reads the header and the entry list of source, and lays out the entries, the blocks and
// their sizes; one read for the header, one for the list (no more than the file holds).
DatabaseContents ReadDatabaseContents(ByteSource& source);

// The bytes of one entry (or block) read now.
struct EntryBytes {
    std::string Bytes;
    // The entry goes on after what was asked for (a bounded read).
    bool MoreFollow = false;
    // The file now ends before the entry's bytes that were asked for: it shrank (or was
    // replaced) since its list was read. Bytes holds what is still there.
    bool Shrank = false;
    std::string Error; // a read error; Bytes holds what was read before it
};

// Reads at most maxCount bytes of entry from its byte start (0 = its first byte), within
// the entry's size and the file; never more than maxCount are allocated.
EntryBytes ReadEntryBytes(ByteSource& source, const ContentsEntry& entry, int64_t start,
                          std::size_t maxCount);
