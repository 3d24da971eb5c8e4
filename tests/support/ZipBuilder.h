// Writes ZIP archives with libzip, so that tests and benchmarks state exactly what an
// archive holds: files, folders, Unix links, and large entries of zeros that are made
// as they are compressed (an archive bomb without the memory for it).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

struct ZipBuilder {
    struct Entry {
        std::string name;
        QByteArray content;
        uint64_t zeros = 0; // when not 0: this many zero bytes instead of content
        bool folder = false;
        bool link = false; // content is the link's target
        std::time_t modified = 0;
    };
    std::vector<Entry> entries;

    ZipBuilder& Add(const std::string& name, const QByteArray& content, std::time_t modified = 0);
    ZipBuilder& AddFolder(const std::string& name);
    ZipBuilder& AddLink(const std::string& name, const std::string& target);
    ZipBuilder& AddZeros(const std::string& name, uint64_t size);

    // Writes the archive (replacing a file there); returns its path. Throws on failure.
    QString WriteTo(const QString& path) const;
};

// The names of an archive's entries in the order of its directory, as stored (UTF-8);
// {"<no archive>"} when it cannot be opened.
QStringList EntryNamesOf(const QString& archive);

// Overwrites the unpacked size that the archive declares for its only entry named name,
// in the local header and the central directory alike (so the archive stays
// consistent): an archive that lies about what comes out.
void PatchDeclaredSize(const QString& archive, const std::string& name, uint32_t size);

// Flips bytes in the packed data of the entry named name, so that unpacking it fails.
void DamageEntry(const QString& archive, const std::string& name);

// An archive written byte by byte (entries stored, not packed), for layouts that libzip
// does not write: two entries of one name, a name flagged UTF-8 that is not UTF-8,
// sizes in data descriptors after the data.
struct RawZipEntry {
    QByteArray name; // the stored bytes
    QByteArray content;
    bool utf8Flag = false;
    // CRC and sizes after the data; the local header has only the unpacked size, as in
    // archives of Info-ZIP's zip -fd.
    bool dataDescriptor = false;
};
QByteArray RawZip(const std::vector<RawZipEntry>& entries);
