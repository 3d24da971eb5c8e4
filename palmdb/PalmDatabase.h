// Readers for the 78-byte header and the record list of Palm OS database files
// (.pdb data files and .prc applications). They only read; a file is open for the
// length of one read and shared with other programs meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Days since 1899-12-30 00:00 local time; the fraction is the time of day.
using TDateTime = double;

// The file is not a Palm database we can read.
class EInvalidPalmDatabase : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An input/output failure of the platform (open, seek or a short read of the record list).
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The decoded header. Texts are the file's bytes, unconverted (Palm character set).
struct TPDBHeader {
    std::string Name;
    uint16_t Attributes = 0; // the whole attribute word, for tools that show it raw
    bool ReadOnly = false;
    bool Dirty = false;
    bool Backup = false;
    bool Overwrite = false;
    bool ForceReset = false;
    bool NoBeaming = false;
    int32_t Version = 0;
    TDateTime Created = 0;
    TDateTime Modified = 0;
    TDateTime BackedUp = 0;
    int32_t ModNumber = 0;
    int32_t AppInfoArea = 0;
    int32_t SortInfoArea = 0;
    std::string DBType;
    std::string Creator;
    int32_t IDSeed = 0;
    int32_t NextRecordList = 0;
    int32_t RecordCount = 0;
};

// Seconds stored in a header date (since 1904, or since 1970 for small values) as a
// date-time value; no time zone is applied.
TDateTime PalmDateToDateTime(uint32_t seconds);

class TPalmDatabase {
public:
    static constexpr int HeaderSize = 78;

    // Reads the header at once when readNow is true; a failure then fails the construction.
    TPalmDatabase(std::string fileName, bool readNow);
    virtual ~TPalmDatabase();
    TPalmDatabase(const TPalmDatabase&) = delete;
    TPalmDatabase& operator=(const TPalmDatabase&) = delete;

    // Points the reader at another file without reading it: Header and FileSize keep
    // describing the previous file until ReadHeader runs.
    void SetFileName(std::string fileName);

    // One open, one fstat (size and time), one 78-byte read, one close. Throws
    // EInvalidPalmDatabase; Header is then unchanged, and FileSize/FileTime describe the
    // new file when it could be opened.
    void ReadHeader();
    // SetFileName(fileName) and ReadHeader, with the file opened by its name relative to
    // a folder the caller holds open (a POSIX descriptor; ignored on Windows): a listing
    // reads thousands of files of one folder, and the system then need not walk the
    // folder's path for each. fileName is the whole path; its part from nameStart on is
    // the name in that folder.
    void ReadHeaderInFolder(std::string fileName, int folderDescriptor, std::size_t nameStart);

    const TPDBHeader& Header() const { return FHeader; }
    // Size in bytes taken at the last read (64 bits: no wrap for large files).
    int64_t FileSize() const { return FFileSize; }
    // Last-write time (seconds since the Unix epoch) taken by the same open as FileSize,
    // so that a listing needs no second look-up of the file.
    std::time_t FileTime() const { return FFileTime; }
    const std::string& FileName() const { return FFileName; }
    bool ReadNow() const { return FReadNow; }

private:
    void ReadHeaderFrom(int folderDescriptor, std::size_t nameStart);

    TPDBHeader FHeader;
    int64_t FFileSize = 0;
    std::time_t FFileTime = 0;
    std::string FFileName;
    bool FReadNow;
};

// One entry of the record list.
struct TPDBRecordHeader {
    // Throws EInvalidPalmDatabase when either value is negative.
    TPDBRecordHeader(int32_t offset, int32_t size);

    int32_t Offset;
    int32_t Size;
    std::unique_ptr<std::vector<uint8_t>> Data; // never filled here
};

// Header reader that also reads the record list when constructed with readNow.
class TPalmPDB : public TPalmDatabase {
public:
    TPalmPDB(std::string fileName, bool readNow);
    ~TPalmPDB() override;

    // Reads Header().RecordCount entries after the header and replaces the list with them.
    // Throws EInOutError when the list cannot be read, EInvalidPalmDatabase for a
    // negative offset; the list is then left as it was.
    void ReadRecordHeaders();
    void ClearRecords();

    const std::vector<std::unique_ptr<TPDBRecordHeader>>& Records() const { return FRecords; }

private:
    std::vector<std::unique_ptr<TPDBRecordHeader>> FRecords;
};
