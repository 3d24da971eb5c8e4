// Big files on 32-bit builds: off_t and fstat must be 64-bit before any system header.
#if !defined(_WIN32) && !defined(_FILE_OFFSET_BITS)
#define _FILE_OFFSET_BITS 64
#endif

#include "palmdb/DatabaseContents.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <system_error>

#ifdef _WIN32
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// Marks English texts for the translation catalogue; the callers look them up.
#define N_(text) text

namespace {

uint16_t BigEndian16(const unsigned char* p) {
    return uint16_t((p[0] << 8) | p[1]);
}

uint32_t BigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// The end of the bytes of whatever starts at offset: the nearest start after it among the
// entries and blocks, else the file's end.
int64_t NextStartAfter(const DatabaseContents& contents, int64_t offset) {
    int64_t next = contents.FileSize;
    const auto consider = [&](int64_t start) {
        if (start > offset && start < next)
            next = start;
    };
    for (const ContentsEntry& entry : contents.Entries)
        consider(entry.Offset);
    if (contents.HasAppInfo)
        consider(contents.AppInfo.Offset);
    if (contents.HasSortInfo)
        consider(contents.SortInfo.Offset);
    return next;
}

// Sets up the app info or sort info block at offset (0: none).
void LayOutBlock(DatabaseContents& contents, uint32_t offset, ContentsEntryKind kind, bool& has,
                 ContentsEntry& block, ContentsProblem outside, ContentsProblem inside) {
    if (offset == 0)
        return;
    if (int64_t(offset) > contents.FileSize) {
        contents.Problems.push_back(outside);
        return;
    }
    has = true;
    block.Kind = kind;
    block.Offset = offset;
    if (int64_t(offset) < contents.ListEnd()) {
        block.Problem = EntryProblem::InsideHeader;
        contents.Problems.push_back(inside);
    }
}

// Whether the bytes of entry hold the start of a block that has bytes of its own.
bool HoldsBlock(const ContentsEntry& entry, bool has, const ContentsEntry& block) {
    return has && block.Size > 0 && block.Offset >= entry.Offset &&
           int64_t(block.Offset) < int64_t(entry.Offset) + entry.Size;
}

} // namespace

ByteSource::~ByteSource() = default;

#ifdef _WIN32

// Windows builds read through a stream; a file there cannot be a FIFO under a Palm name.
std::unique_ptr<FileByteSource> FileByteSource::Open(const std::string& path, std::string* error) {
    std::ifstream probe(path, std::ios::binary | std::ios::ate);
    if (!probe) {
        *error = "cannot be opened";
        return nullptr;
    }
    const int64_t size = int64_t(probe.tellg());
    probe.close();
    auto* source = new FileByteSource(-1, size);
    source->FPath = path;
    return std::unique_ptr<FileByteSource>(source);
}

FileByteSource::~FileByteSource() = default;

int64_t FileByteSource::ReadAt(int64_t offset, unsigned char* buffer, std::size_t count,
                               std::string* error) {
    std::ifstream stream(FPath, std::ios::binary);
    if (!stream) {
        *error = "cannot be opened";
        return -1;
    }
    stream.seekg(offset);
    stream.read(reinterpret_cast<char*>(buffer), std::streamsize(count));
    return int64_t(stream.gcount());
}

#else

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::string& path, std::string* error) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it changes nothing for a
    // regular file, which is all that is read.
    int fd;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        *error = std::generic_category().message(errno);
        return nullptr;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        *error = std::generic_category().message(errno);
        ::close(fd);
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        *error = S_ISDIR(st.st_mode) ? "is a folder" : "is not a regular file";
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<FileByteSource>(new FileByteSource(fd, int64_t(st.st_size)));
}

FileByteSource::~FileByteSource() {
    ::close(FFd);
}

int64_t FileByteSource::ReadAt(int64_t offset, unsigned char* buffer, std::size_t count,
                               std::string* error) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(FFd, buffer + done, count - done, off_t(offset + int64_t(done)));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            *error = std::generic_category().message(errno);
            return done > 0 ? int64_t(done) : -1;
        }
        if (got == 0)
            break;
        done += std::size_t(got);
        // A short read up to the size at opening is the end: no further call to learn it.
        if (offset + int64_t(done) >= FSize)
            break;
    }
    return int64_t(done);
}

#endif

int64_t MemoryByteSource::ReadAt(int64_t offset, unsigned char* buffer, std::size_t count,
                                 std::string*) {
    if (offset < 0 || uint64_t(offset) >= FBytes.size())
        return 0;
    const std::size_t n = std::min(count, FBytes.size() - std::size_t(offset));
    std::memcpy(buffer, FBytes.data() + offset, n);
    return int64_t(n);
}

const char* EntryProblemText(EntryProblem problem) {
    switch (problem) {
    case EntryProblem::None:
        return "";
    case EntryProblem::OutsideFile:
        return N_("The offset lies beyond the end of the file.");
    case EntryProblem::InsideHeader:
        return N_("The offset lies inside the header or the entry list.");
    case EntryProblem::NotAscending:
        return N_("The offset lies before the previous entry's offset.");
    case EntryProblem::OverlapsAppInfo:
        return N_("The entry overlaps the app info block.");
    case EntryProblem::OverlapsSortInfo:
        return N_("The entry overlaps the sort info block.");
    }
    return "";
}

const char* ContentsProblemText(ContentsProblem problem) {
    switch (problem) {
    case ContentsProblem::HeaderCut:
        return N_("The file is shorter than a database header (78 bytes).");
    case ContentsProblem::ListCut:
        return N_("The entry list is cut off: the file ends before the last entry.");
    case ContentsProblem::ListUnreadable:
        return N_("The entry list could not be read.");
    case ContentsProblem::AppInfoOutsideFile:
        return N_("The app info block lies beyond the end of the file.");
    case ContentsProblem::SortInfoOutsideFile:
        return N_("The sort info block lies beyond the end of the file.");
    case ContentsProblem::AppInfoInsideHeader:
        return N_("The app info block lies inside the header or the entry list.");
    case ContentsProblem::SortInfoInsideHeader:
        return N_("The sort info block lies inside the header or the entry list.");
    }
    return "";
}

int64_t DatabaseContents::ListEnd() const {
    const int entrySize = Kind == ContentsKind::Resources ? ResourceEntrySize : RecordEntrySize;
    return HeaderSize + int64_t(Header.EntryCount) * entrySize;
}

bool DatabaseContents::HasProblem(ContentsProblem problem) const {
    return std::find(Problems.begin(), Problems.end(), problem) != Problems.end();
}

DatabaseContents ReadDatabaseContents(ByteSource& source) {
    DatabaseContents contents;
    contents.FileSize = source.Size();

    // The header and, for the usual short list, the list too in one read: a check of a
    // large folder is mostly system calls.
    unsigned char first[4096];
    std::string firstError; // matters only when it cut the header short
    const int64_t got = source.ReadAt(0, first, sizeof first, &firstError);
    const unsigned char* raw = first;
    if (got < DatabaseContents::HeaderSize) {
        contents.ReadError = firstError;
        contents.Problems.push_back(ContentsProblem::HeaderCut);
        return contents;
    }
    ContentsHeader& header = contents.Header;
    header.NameField.assign(reinterpret_cast<const char*>(raw), 32);
    header.Attributes = BigEndian16(raw + 32);
    header.AppInfoOffset = BigEndian32(raw + 52);
    header.SortInfoOffset = BigEndian32(raw + 56);
    header.Type.assign(reinterpret_cast<const char*>(raw) + 60, 4);
    header.Creator.assign(reinterpret_cast<const char*>(raw) + 64, 4);
    header.NextRecordList = BigEndian32(raw + 72);
    header.EntryCount = BigEndian16(raw + 76);
    const bool resources = (header.Attributes & 0x0001) != 0;
    contents.Kind = resources ? ContentsKind::Resources : ContentsKind::Records;

    // The list is read up to the file's end only: a count of 65,535 in a short file is
    // a cut list, not a large allocation.
    const std::size_t entrySize = std::size_t(resources ? DatabaseContents::ResourceEntrySize
                                                        : DatabaseContents::RecordEntrySize);
    const int64_t available =
        std::max<int64_t>(contents.FileSize - DatabaseContents::HeaderSize, 0);
    const std::size_t wanted = std::size_t(header.EntryCount) * entrySize;
    std::size_t listBytes = std::size_t(std::min<int64_t>(int64_t(wanted), available));
    listBytes -= listBytes % entrySize;
    std::vector<unsigned char> list;
    std::size_t listed = listBytes;
    if (DatabaseContents::HeaderSize + int64_t(listBytes) <= got) {
        list.assign(first + DatabaseContents::HeaderSize,
                    first + DatabaseContents::HeaderSize + listBytes);
    } else if (listBytes > 0) {
        list.resize(listBytes);
        const int64_t read = source.ReadAt(DatabaseContents::HeaderSize, list.data(), listBytes,
                                           &contents.ReadError);
        listed = read < 0 ? 0 : std::size_t(read);
    }
    if (listed < listBytes && !contents.ReadError.empty())
        contents.Problems.push_back(ContentsProblem::ListUnreadable);
    else if (listed < wanted)
        contents.Problems.push_back(ContentsProblem::ListCut);

    const std::size_t count = listed / entrySize;
    contents.Entries.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* p = list.data() + i * entrySize;
        ContentsEntry& entry = contents.Entries[i];
        entry.Index = int(i);
        if (resources) {
            entry.Kind = ContentsEntryKind::Resource;
            entry.Type.assign(reinterpret_cast<const char*>(p), 4);
            entry.Id = BigEndian16(p + 4);
            entry.Offset = BigEndian32(p + 6);
        } else {
            entry.Kind = ContentsEntryKind::Record;
            entry.Offset = BigEndian32(p);
            entry.Attributes = p[4] & 0xF0u;
            entry.Category = p[4] & 0x0Fu;
            entry.UniqueId = (uint32_t(p[5]) << 16) | (uint32_t(p[6]) << 8) | uint32_t(p[7]);
        }
    }

    LayOutBlock(contents, header.AppInfoOffset, ContentsEntryKind::AppInfo, contents.HasAppInfo,
                contents.AppInfo, ContentsProblem::AppInfoOutsideFile,
                ContentsProblem::AppInfoInsideHeader);
    LayOutBlock(contents, header.SortInfoOffset, ContentsEntryKind::SortInfo, contents.HasSortInfo,
                contents.SortInfo, ContentsProblem::SortInfoOutsideFile,
                ContentsProblem::SortInfoInsideHeader);
    if (contents.HasAppInfo)
        contents.AppInfo.Size =
            NextStartAfter(contents, contents.AppInfo.Offset) - int64_t(contents.AppInfo.Offset);
    if (contents.HasSortInfo)
        contents.SortInfo.Size =
            NextStartAfter(contents, contents.SortInfo.Offset) - int64_t(contents.SortInfo.Offset);

    // An entry outside the file neither ends the one before it nor orders the one after.
    const int64_t listEnd = contents.ListEnd();
    int64_t end = contents.FileSize;
    for (std::size_t i = count; i-- > 0;) {
        ContentsEntry& entry = contents.Entries[i];
        const int64_t offset = entry.Offset;
        if (offset > contents.FileSize) {
            entry.Problem = EntryProblem::OutsideFile;
            continue;
        }
        entry.Size = std::max<int64_t>(end - offset, 0);
        end = offset;
    }
    int64_t previous = -1;
    for (ContentsEntry& entry : contents.Entries) {
        if (entry.Problem == EntryProblem::OutsideFile)
            continue;
        if (int64_t(entry.Offset) < listEnd)
            entry.Problem = EntryProblem::InsideHeader;
        else if (int64_t(entry.Offset) < previous)
            entry.Problem = EntryProblem::NotAscending;
        else if (HoldsBlock(entry, contents.HasAppInfo, contents.AppInfo))
            entry.Problem = EntryProblem::OverlapsAppInfo;
        else if (HoldsBlock(entry, contents.HasSortInfo, contents.SortInfo))
            entry.Problem = EntryProblem::OverlapsSortInfo;
        previous = entry.Offset;
    }
    return contents;
}

EntryBytes ReadEntryBytes(ByteSource& source, const ContentsEntry& entry, int64_t start,
                          std::size_t maxCount) {
    EntryBytes result;
    if (start < 0 || start >= entry.Size)
        return result;
    const int64_t rest = entry.Size - start;
    const std::size_t count = std::size_t(std::min<int64_t>(rest, int64_t(maxCount)));
    result.MoreFollow = rest > int64_t(count);
    result.Bytes.resize(count);
    std::string error;
    const int64_t got =
        source.ReadAt(int64_t(entry.Offset) + start,
                      reinterpret_cast<unsigned char*>(result.Bytes.data()), count, &error);
    const std::size_t kept = got < 0 ? 0 : std::size_t(got);
    result.Bytes.resize(kept);
    if (!error.empty())
        result.Error = error;
    else if (kept < count)
        result.Shrank = true;
    return result;
}
