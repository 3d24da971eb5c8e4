// Big files on 32-bit builds: off_t and fstat must be 64-bit before any system header.
#if !defined(_WIN32) && !defined(_FILE_OFFSET_BITS)
#define _FILE_OFFSET_BITS 64
#endif

#include "palmdb/PalmDatabase.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <limits>
#include <system_error>
#include <utility>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr const char* ErrorReadingFile = "Error reading file";
constexpr const char* HeaderCorrupt = "Not a Palm database, or header corrupt";
constexpr const char* RecordHeadersCorrupt = "Invalid Palm database: record headers corrupt";

constexpr int RecordEntrySize = 8;

// Seconds from 1904-01-01 to 1970-01-01, and from 1899-12-30 to 1904-01-01 (1462 days).
constexpr uint64_t Seconds1904To1970 = 2082844800u;
constexpr uint64_t Seconds1899To1904 = 126316800u;
constexpr uint64_t SecondsPerDay = 86400u;

uint16_t BigEndian16(const unsigned char* p) {
    return uint16_t((p[0] << 8) | p[1]);
}

uint32_t BigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// The stored bits as a signed number (two's complement), without relying on a narrowing cast.
int32_t Signed32(uint32_t v) {
    return v <= uint32_t(std::numeric_limits<int32_t>::max())
               ? int32_t(v)
               : int32_t(v - 0x80000000u) + std::numeric_limits<int32_t>::min();
}

// A fixed-size text field up to its first NUL byte, byte for byte.
std::string FixedText(const unsigned char* p, std::size_t size) {
    const unsigned char* end = std::find(p, p + size, '\0');
    return std::string(reinterpret_cast<const char*>(p), std::size_t(end - p));
}

// What one open of a file gives: the size and last-write time from the open handle, and
// as many of the wanted bytes as the file holds. The file is closed before this returns,
// and whatever happens; a close error is ignored because the bytes are already read.
struct FileRead {
    bool opened = false; // opened, and it is a file (not a folder)
    int64_t size = 0;
    std::time_t time = 0;
    std::size_t bytesRead = 0; // from the requested offset; fewer than asked means EOF or error
    std::error_code error;     // the first failure, if any
};

#ifdef _WIN32

std::wstring WidePath(const std::string& utf8) {
    if (utf8.empty())
        return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), length);
    return wide;
}

std::error_code LastError() {
    return std::error_code(int(GetLastError()), std::system_category());
}

// Windows has no opening relative to a folder: the whole path is used.
FileRead ReadFileBytes(const std::string& fileName, int /*folderDescriptor*/,
                       std::size_t /*nameStart*/, int64_t offset, unsigned char* buffer,
                       std::size_t count) {
    FileRead result;
    const std::wstring path = WidePath(fileName);
    if (path.empty()) {
        result.error = std::make_error_code(std::errc::no_such_file_or_directory);
        return result;
    }
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened, as wanted.
    HANDLE h = CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        result.error = LastError();
        return result;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info)) {
        result.error = LastError();
        CloseHandle(h);
        return result;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        result.error = std::make_error_code(std::errc::is_a_directory);
        CloseHandle(h);
        return result;
    }
    result.opened = true;
    result.size = int64_t((uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    // FILETIME counts 100 ns steps since 1601-01-01.
    const uint64_t ticks =
        (uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    result.time = std::time_t((int64_t(ticks) - 116444736000000000LL) / 10000000LL);

    if (offset != 0) {
        LARGE_INTEGER distance;
        distance.QuadPart = offset;
        if (!SetFilePointerEx(h, distance, nullptr, FILE_BEGIN)) {
            result.error = LastError();
            CloseHandle(h);
            return result;
        }
    }
    while (result.bytesRead < count) {
        const std::size_t want = std::min<std::size_t>(count - result.bytesRead, 1u << 30);
        DWORD got = 0;
        if (!ReadFile(h, buffer + result.bytesRead, DWORD(want), &got, nullptr)) {
            result.error = LastError();
            break;
        }
        if (got == 0)
            break; // end of file
        result.bytesRead += got;
    }
    CloseHandle(h);
    return result;
}

#else

std::error_code Errno() {
    return std::error_code(errno, std::generic_category());
}

// folderDescriptor -1: fileName is opened as it is; else its part from nameStart on is
// opened relative to that folder.
FileRead ReadFileBytes(const std::string& fileName, int folderDescriptor, std::size_t nameStart,
                       int64_t offset, unsigned char* buffer, std::size_t count) {
    FileRead result;
    const char* name = fileName.c_str();
    if (folderDescriptor < 0) {
        folderDescriptor = AT_FDCWD;
        nameStart = 0;
    }
    // O_NONBLOCK: a FIFO named like a Palm file must not hang a folder listing; it has no
    // effect on regular files.
    int fd;
    do
        fd = ::openat(folderDescriptor, name + nameStart,
                      O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        result.error = Errno();
        return result;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        result.error = Errno();
        ::close(fd);
        return result;
    }
    // On Windows a folder cannot be opened as a file; here open() succeeds, so refuse it
    // before its size is taken, as if the open had failed. A FIFO or a device is refused
    // too: what it gives is no file's content.
    if (!S_ISREG(st.st_mode)) {
        result.error = std::make_error_code(S_ISDIR(st.st_mode) ? std::errc::is_a_directory
                                                                : std::errc::invalid_argument);
        ::close(fd);
        return result;
    }
    result.opened = true;
    result.size = int64_t(st.st_size);
    result.time = st.st_mtime;

    if (offset != 0 && ::lseek(fd, off_t(offset), SEEK_SET) == off_t(-1)) {
        result.error = Errno();
        ::close(fd);
        return result;
    }
    while (result.bytesRead < count) {
        const ssize_t got = ::read(fd, buffer + result.bytesRead, count - result.bytesRead);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.error = Errno();
            break;
        }
        if (got == 0)
            break; // end of file
        result.bytesRead += std::size_t(got);
    }
    ::close(fd); // the bytes are read: a close error changes nothing
    return result;
}

#endif

std::string Quoted(const std::string& fileName) {
    return "\"" + fileName + "\"";
}

} // namespace

TDateTime PalmDateToDateTime(uint32_t seconds) {
    // Some programs store seconds since 1970 instead of since 1904; a value below the
    // 1970 mark is taken that way. The sum needs more than 32 bits.
    uint64_t total = seconds;
    if (total < Seconds1904To1970)
        total += Seconds1904To1970;
    total += Seconds1899To1904;
    const uint64_t days = total / SecondsPerDay;
    const uint64_t rest = total % SecondsPerDay;
    return TDateTime(days) + TDateTime(rest) / TDateTime(SecondsPerDay);
}

TPalmDatabase::TPalmDatabase(std::string fileName, bool readNow)
    : FFileName(std::move(fileName)), FReadNow(readNow) {
    if (FReadNow)
        ReadHeader();
}

TPalmDatabase::~TPalmDatabase() = default;

void TPalmDatabase::SetFileName(std::string fileName) {
    FFileName = std::move(fileName);
}

void TPalmDatabase::ReadHeader() {
    ReadHeaderFrom(-1, 0);
}

void TPalmDatabase::ReadHeaderInFolder(std::string fileName, int folderDescriptor,
                                       std::size_t nameStart) {
    FFileName = std::move(fileName);
    ReadHeaderFrom(folderDescriptor, nameStart < FFileName.size() ? nameStart : 0);
}

void TPalmDatabase::ReadHeaderFrom(int folderDescriptor, std::size_t nameStart) {
    std::array<unsigned char, HeaderSize> raw{};
    const FileRead read =
        ReadFileBytes(FFileName, folderDescriptor, nameStart, 0, raw.data(), raw.size());
    if (read.opened) {
        FFileSize = read.size;
        FFileTime = read.time;
    }
    if (!read.opened || read.bytesRead < raw.size())
        throw EInvalidPalmDatabase(ErrorReadingFile);

    // Decoded into a copy first, so that a failure leaves Header as it was.
    TPDBHeader header;
    try {
        const unsigned char* p = raw.data();
        header.Name = FixedText(p, 32);
        const uint16_t attributes = BigEndian16(p + 32);
        header.Attributes = attributes;
        header.ReadOnly = (attributes & 0x0002) != 0;
        header.Dirty = (attributes & 0x0004) != 0;
        header.Backup = (attributes & 0x0008) != 0;
        header.Overwrite = (attributes & 0x0010) != 0;
        header.ForceReset = (attributes & 0x0020) != 0;
        header.NoBeaming = (attributes & 0x0040) != 0;
        header.Version = BigEndian16(p + 34);
        header.Created = PalmDateToDateTime(BigEndian32(p + 36));
        header.Modified = PalmDateToDateTime(BigEndian32(p + 40));
        header.BackedUp = PalmDateToDateTime(BigEndian32(p + 44));
        header.ModNumber = Signed32(BigEndian32(p + 48));
        header.AppInfoArea = Signed32(BigEndian32(p + 52));
        header.SortInfoArea = Signed32(BigEndian32(p + 56));
        header.DBType = FixedText(p + 60, 4);
        header.Creator = FixedText(p + 64, 4);
        header.IDSeed = Signed32(BigEndian32(p + 68));
        header.NextRecordList = Signed32(BigEndian32(p + 72));
        header.RecordCount = BigEndian16(p + 76);
    } catch (...) {
        throw EInvalidPalmDatabase(HeaderCorrupt);
    }
    FHeader = std::move(header);
}

TPDBRecordHeader::TPDBRecordHeader(int32_t offset, int32_t size) : Offset(offset), Size(size) {
    if (offset < 0 || size < 0)
        throw EInvalidPalmDatabase(RecordHeadersCorrupt);
}

TPalmPDB::TPalmPDB(std::string fileName, bool readNow)
    : TPalmDatabase(std::move(fileName), readNow) {
    if (readNow)
        ReadRecordHeaders();
}

TPalmPDB::~TPalmPDB() {
    ClearRecords();
}

void TPalmPDB::ReadRecordHeaders() {
    // The whole list in one read (at most 65535 entries of 8 bytes); the entries are then
    // taken in file order, so that a bad offset is reported before a list cut short after it.
    const std::size_t count = std::size_t(std::max<int32_t>(Header().RecordCount, 0));
    std::vector<unsigned char> raw(count * RecordEntrySize);
    const FileRead read = ReadFileBytes(FileName(), -1, 0, HeaderSize, raw.data(), raw.size());
    if (!read.opened)
        throw EInOutError("Cannot open " + Quoted(FileName()) + ": " + read.error.message());
    if (count == 0 && read.error) // nothing to read, so only going to offset 78 can have failed
        throw EInOutError("Cannot read the record list of " + Quoted(FileName()) + ": " +
                          read.error.message());

    // Built aside and put in place only when complete: a failure releases what was made.
    std::vector<std::unique_ptr<TPDBRecordHeader>> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if ((i + 1) * RecordEntrySize > read.bytesRead) {
            if (read.error)
                throw EInOutError("Cannot read the record list of " + Quoted(FileName()) + ": " +
                                  read.error.message());
            throw EInOutError("Read beyond end of file " + Quoted(FileName()));
        }
        const int32_t offset = Signed32(BigEndian32(raw.data() + i * RecordEntrySize));
        records.push_back(std::make_unique<TPDBRecordHeader>(offset, 0));
        if (i > 0) {
            TPDBRecordHeader& previous = *records[i - 1];
            // Both are non-negative: the difference fits; the order is not checked, so it
            // may come out negative.
            previous.Size = offset - previous.Offset;
        }
    }
    if (!records.empty()) {
        TPDBRecordHeader& last = *records.back();
        const int64_t size = read.size - int64_t(last.Offset);
        // A Palm database never nears 2 GB; a larger file saturates instead of wrapping.
        last.Size = int32_t(std::clamp<int64_t>(size, std::numeric_limits<int32_t>::min(),
                                                std::numeric_limits<int32_t>::max()));
    }
    FRecords = std::move(records);
}

void TPalmPDB::ClearRecords() {
    FRecords.clear();
}
