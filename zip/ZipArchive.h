// Reading ZIP archives with libzip. An archive is untrusted input: its names, sizes and
// contents are checked by the code that uses them (ExtractionFolder).
#pragma once

#include <QString>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

struct ZipEntry {
    uint64_t Index = 0; // libzip's number of the entry
    QString Name;       // as stored, "/" and "\" both shown as the native separator
    QString FileName;   // the part after the last separator (and a drive's colon)
    int64_t Size = -1;  // the unpacked size the archive declares; -1 when unknown
    std::time_t Modified = 0;
    bool IsLink = false; // a symbolic link stored by a Unix zip
};

class ZipArchive {
public:
    ZipArchive();
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Reads the archive's central directory. False, with ErrorText, for a missing file, a
    // folder or other non-file (a named pipe would block), or a file that is no readable
    // ZIP archive. An archive that unzip reads opens, whatever its entries are like: two
    // entries of one name, data descriptors, names falsely flagged UTF-8 (those are then
    // read as Windows-1252, the code page their makers most likely wrote them in; names
    // not flagged and not UTF-8 are read as CP437). Path() is set either way.
    bool Open(const QString& path);
    void Close();
    bool IsOpen() const;

    const QString& Path() const { return FPath; }
    const QString& ErrorText() const { return FError; }
    // The archive's file entries in the order of its directory; folders are left out.
    const std::vector<ZipEntry>& Entries() const { return FEntries; }

    // Unpacks an entry chunk by chunk into sink. Stops with an error when more than
    // maxBytes come out, whatever the archive declares, or when sink returns false (the
    // sink then knows the cause). Returns empty on success, else the cause.
    QString ReadEntry(const ZipEntry& entry, int64_t maxBytes,
                      const std::function<bool(const char* data, size_t size)>& sink);

private:
    struct Handle;
    std::unique_ptr<Handle> FHandle;
    QString FPath;
    QString FError;
    std::vector<ZipEntry> FEntries;
};

// A limit on unpacked bytes as the messages name it: whole MiB (rounded down) from 1 MiB
// up, bytes below.
QString SizeLimitText(int64_t bytes);
