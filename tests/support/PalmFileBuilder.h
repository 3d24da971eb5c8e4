// Builds Palm database files byte by byte, so that tests and benchmarks state exactly
// what lies in a header.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

struct PalmFileBuilder {
    std::string name; // up to 32 bytes; no NUL is added when it is 32 long
    uint16_t attributes = 0;
    uint16_t version = 0;
    uint32_t created = 0;
    uint32_t modified = 0;
    uint32_t backedUp = 0;
    uint32_t modNumber = 0;
    uint32_t appInfoArea = 0;
    uint32_t sortInfoArea = 0;
    std::string type;    // up to 4 bytes
    std::string creator; // up to 4 bytes
    uint32_t idSeed = 0;
    uint32_t nextRecordList = 0;
    std::vector<uint32_t> recordOffsets; // record count = its size unless overridden
    // The second word of each record entry (attribute byte, 3-byte unique ID); 0 where
    // the vector is shorter.
    std::vector<uint32_t> recordInfo;
    // A resource database's list, written instead of the record list when not empty.
    struct Resource {
        std::string type; // 4 bytes
        uint16_t id = 0;
        uint32_t offset = 0;
    };
    std::vector<Resource> resources;
    int recordCountOverride = -1;
    QByteArray tail; // bytes after the record list

    QByteArray Bytes() const;
    // Writes the file; returns its path.
    QString WriteTo(const QString& path) const;
};

// The standard category block that begins most app info blocks: the renamed flags, 16
// names of 16 bytes (the given ones first), IDs of 0, a last unique ID of 0, a pad byte.
QByteArray CategoryAppInfo(const std::vector<QByteArray>& names, uint16_t renamed = 0);

// A record database "Test" (DATA, creator "test") whose list holds these offsets (and the
// second words info), followed by tailBytes bytes 'r': entries laid out exactly, damage too.
PalmFileBuilder RecordsAt(std::vector<uint32_t> offsets, int tailBytes,
                          std::vector<uint32_t> info = {});

// A record database of the records, each with its attribute byte (attributes[i], 0 where
// the vector is shorter) and the unique ID i + 1, after the app info block when one is
// given; the list is followed by the usual two bytes of padding.
PalmFileBuilder RecordDatabase(const std::string& name, const std::string& type,
                               const std::string& creator, const std::vector<QByteArray>& records,
                               const QByteArray& appInfo = {},
                               const std::vector<uint8_t>& attributes = {});

// A record database named "db" of type DATA with the creator, followed by tailBytes bytes.
QByteArray PalmFileBytes(const std::string& creator, int tailBytes = 0);

// Writes raw bytes to a file (for damaged and odd files).
void WriteBytes(const QString& path, const QByteArray& bytes);
