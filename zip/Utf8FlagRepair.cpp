#include "zip/Utf8FlagRepair.h"

#include <QByteArrayView>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

namespace {

constexpr uint16_t Utf8Flag = 1u << 11;
constexpr uint32_t Unknown32 = 0xFFFFFFFFu;
// Far above any real directory (65535 entries of long names); a larger one is a lie.
constexpr uint64_t MaxDirectoryBytes = uint64_t(64) << 20;

uint16_t U16(const unsigned char* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t U32(const unsigned char* p) {
    return uint32_t(U16(p)) | (uint32_t(U16(p + 2)) << 16);
}
uint64_t U64(const unsigned char* p) {
    return uint64_t(U32(p)) | (uint64_t(U32(p + 4)) << 32);
}

bool ReadAt(int fd, uint64_t offset, unsigned char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, buffer + done, size - done, off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += size_t(got);
    }
    return true;
}

bool IsSignature(const unsigned char* p, unsigned char third, unsigned char fourth) {
    return p[0] == 'P' && p[1] == 'K' && p[2] == third && p[3] == fourth;
}

bool IsUtf8(const unsigned char* p, size_t size) {
    return QByteArrayView(p, qsizetype(size)).isValidUtf8();
}

struct CentralDirectory {
    uint64_t Offset = 0;
    uint64_t Size = 0;
};

bool FindCentralDirectory(int fd, uint64_t fileSize, CentralDirectory& found) {
    // The end record (22 bytes) is followed by a comment of at most 65535 bytes.
    const uint64_t tailSize = std::min<uint64_t>(fileSize, 22 + 65535);
    std::vector<unsigned char> tail(tailSize);
    if (tailSize < 22 || !ReadAt(fd, fileSize - tailSize, tail.data(), tail.size()))
        return false;
    for (uint64_t at = tailSize - 22 + 1; at-- > 0;) {
        const unsigned char* end = tail.data() + at;
        if (!IsSignature(end, 5, 6))
            continue;
        found.Size = U32(end + 12);
        found.Offset = U32(end + 16);
        const uint64_t endOffset = fileSize - tailSize + at;
        if ((found.Size == Unknown32 || found.Offset == Unknown32 || U16(end + 10) == 0xFFFF) &&
            endOffset >= 20) {
            unsigned char locator[20];
            unsigned char end64[56];
            if (ReadAt(fd, endOffset - 20, locator, sizeof locator) && IsSignature(locator, 6, 7) &&
                ReadAt(fd, U64(locator + 8), end64, sizeof end64) && IsSignature(end64, 6, 6)) {
                found.Size = U64(end64 + 40);
                found.Offset = U64(end64 + 48);
            }
        }
        return found.Offset <= fileSize && found.Size <= fileSize - found.Offset;
    }
    return false;
}

// The local header's offset, from the zip64 extra field when the entry's own field
// says it is there.
uint64_t LocalHeaderOffset(const unsigned char* entry, const unsigned char* extra,
                           size_t extraSize) {
    uint64_t offset = U32(entry + 42);
    if (offset != Unknown32)
        return offset;
    for (size_t at = 0; at + 4 <= extraSize;) {
        const uint16_t id = U16(extra + at);
        const size_t size = U16(extra + at + 2);
        if (at + 4 + size > extraSize)
            break;
        if (id == 0x0001) {
            // Present only for the fields that are full: unpacked size, packed size, offset.
            size_t field = at + 4;
            if (U32(entry + 24) == Unknown32)
                field += 8;
            if (U32(entry + 20) == Unknown32)
                field += 8;
            if (field + 8 <= at + 4 + size)
                return U64(extra + field);
            break;
        }
        at += 4 + size;
    }
    return offset;
}

struct FlagClearingSource {
    int Fd = -1;
    uint64_t Size = 0;
    uint64_t Position = 0;
    std::vector<uint64_t> Offsets; // sorted
    zip_error_t Error;
};

zip_int64_t ReadClearingFlags(FlagClearingSource& source, unsigned char* data, uint64_t length) {
    const uint64_t wanted = std::min(length, source.Size - source.Position);
    if (!ReadAt(source.Fd, source.Position, data, size_t(wanted))) {
        zip_error_set(&source.Error, ZIP_ER_READ, errno);
        return -1;
    }
    // The flag's high byte holds bit 11.
    const uint64_t from = source.Position;
    for (auto it = std::lower_bound(source.Offsets.begin(), source.Offsets.end(),
                                    from > 0 ? from - 1 : 0);
         it != source.Offsets.end() && *it + 1 < from + wanted; ++it)
        if (*it + 1 >= from)
            data[*it + 1 - from] &= uint8_t(~(Utf8Flag >> 8));
    source.Position += wanted;
    return zip_int64_t(wanted);
}

zip_int64_t SourceCallback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto& source = *static_cast<FlagClearingSource*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        source.Position = 0;
        return 0;
    case ZIP_SOURCE_READ:
        return ReadClearingFlags(source, static_cast<unsigned char*>(data), length);
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* stat = static_cast<zip_stat_t*>(data);
        zip_stat_init(stat);
        stat->size = source.Size;
        stat->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_SEEK: {
        const zip_int64_t position = zip_source_seek_compute_offset(source.Position, source.Size,
                                                                    data, length, &source.Error);
        if (position < 0)
            return -1;
        source.Position = uint64_t(position);
        return 0;
    }
    case ZIP_SOURCE_TELL:
        return zip_int64_t(source.Position);
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&source.Error, data, length);
    case ZIP_SOURCE_FREE:
        ::close(source.Fd);
        zip_error_fini(&source.Error);
        delete &source;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&source.Error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

} // namespace

FalseUtf8Flags FindFalseUtf8Flags(int fd) {
    FalseUtf8Flags found;
    std::vector<uint64_t>& offsets = found.FlagOffsets;
    struct stat info {};
    CentralDirectory directory;
    if (::fstat(fd, &info) != 0 || info.st_size <= 0 ||
        !FindCentralDirectory(fd, uint64_t(info.st_size), directory) ||
        directory.Size > MaxDirectoryBytes)
        return found;
    std::vector<unsigned char> entries(directory.Size);
    if (!ReadAt(fd, directory.Offset, entries.data(), entries.size()))
        return found;
    for (size_t at = 0; at + 46 <= entries.size();) {
        const unsigned char* entry = entries.data() + at;
        if (!IsSignature(entry, 1, 2))
            break;
        const size_t nameSize = U16(entry + 28);
        const size_t extraSize = U16(entry + 30);
        const size_t commentSize = U16(entry + 32);
        const size_t next = at + 46 + nameSize + extraSize + commentSize;
        if (next > entries.size())
            break;
        const unsigned char* name = entry + 46;
        if ((U16(entry + 8) & Utf8Flag) &&
            (!IsUtf8(name, nameSize) || !IsUtf8(name + nameSize + extraSize, commentSize))) {
            if (!IsUtf8(name, nameSize))
                found.Names.insert(
                    QByteArray(reinterpret_cast<const char*>(name), qsizetype(nameSize)));
            offsets.push_back(directory.Offset + at + 8);
            const uint64_t local = LocalHeaderOffset(entry, name + nameSize, extraSize);
            unsigned char header[4];
            if (ReadAt(fd, local, header, sizeof header) && IsSignature(header, 3, 4))
                offsets.push_back(local + 6);
        }
        at = next;
    }
    std::sort(offsets.begin(), offsets.end());
    return found;
}

zip_source* SourceWithoutUtf8Flags(int fd, std::vector<uint64_t> offsets, zip_error* error) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        zip_error_set(error, ZIP_ER_READ, errno);
        return nullptr;
    }
    auto* state = new FlagClearingSource;
    state->Fd = fd;
    state->Size = uint64_t(std::max<off_t>(info.st_size, 0));
    std::sort(offsets.begin(), offsets.end());
    state->Offsets = std::move(offsets);
    zip_error_init(&state->Error);
    zip_source_t* source = zip_source_function_create(SourceCallback, state, error);
    if (!source) {
        zip_error_fini(&state->Error);
        delete state;
    }
    return source;
}
