#include "support/ZipBuilder.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <zip.h>

namespace {

struct ZeroSource {
    uint64_t size = 0;
    uint64_t position = 0;
    std::time_t modified = 0;
};

zip_int64_t ZeroCallback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto* source = static_cast<ZeroSource*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        source->position = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const uint64_t n = std::min<uint64_t>(length, source->size - source->position);
        std::memset(data, 0, size_t(n));
        source->position += n;
        return zip_int64_t(n);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* stat = static_cast<zip_stat_t*>(data);
        zip_stat_init(stat);
        stat->size = source->size;
        stat->mtime = source->modified;
        stat->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return 2 * sizeof(int);
    case ZIP_SOURCE_FREE:
        delete source;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
    default:
        return -1;
    }
}

void Check(bool ok, zip_t* archive, const std::string& what) {
    if (!ok)
        throw std::runtime_error(what + ": " + zip_strerror(archive));
}

} // namespace

ZipBuilder& ZipBuilder::Add(const std::string& name, const QByteArray& content,
                            std::time_t modified) {
    entries.push_back({name, content, 0, false, false, modified});
    return *this;
}

ZipBuilder& ZipBuilder::AddFolder(const std::string& name) {
    entries.push_back({name, {}, 0, true, false, 0});
    return *this;
}

ZipBuilder& ZipBuilder::AddLink(const std::string& name, const std::string& target) {
    entries.push_back({name, QByteArray::fromStdString(target), 0, false, true, 0});
    return *this;
}

ZipBuilder& ZipBuilder::AddZeros(const std::string& name, uint64_t size) {
    entries.push_back({name, {}, size, false, false, 0});
    return *this;
}

QString ZipBuilder::WriteTo(const QString& path) const {
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        throw std::runtime_error("cannot create " + path.toStdString());
    for (const Entry& entry : entries) {
        if (entry.folder) {
            Check(zip_dir_add(archive, entry.name.c_str(), ZIP_FL_ENC_UTF_8) >= 0, archive,
                  entry.name);
            continue;
        }
        zip_source_t* source = nullptr;
        if (entry.zeros > 0) {
            source = zip_source_function(archive, ZeroCallback,
                                         new ZeroSource{entry.zeros, 0, entry.modified});
        } else {
            // libzip reads the buffer at zip_close and frees its own copy then.
            const size_t size = size_t(entry.content.size());
            void* copy = size > 0 ? std::malloc(size) : nullptr;
            if (size > 0)
                std::memcpy(copy, entry.content.constData(), size);
            source = zip_source_buffer(archive, copy, zip_uint64_t(size), 1);
        }
        Check(source != nullptr, archive, entry.name);
        const zip_int64_t index =
            zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            Check(false, archive, entry.name);
        }
        if (entry.modified > 0)
            Check(zip_file_set_mtime(archive, zip_uint64_t(index), entry.modified, 0) == 0, archive,
                  entry.name);
        if (entry.link)
            Check(zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                                   zip_uint32_t(0120777) << 16) == 0,
                  archive, entry.name);
    }
    Check(zip_close(archive) == 0, archive, "close");
    return path;
}

void PatchDeclaredSize(const QString& archivePath, const std::string& name, uint32_t size) {
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadWrite))
        throw std::runtime_error("cannot open " + archivePath.toStdString());
    QByteArray bytes = file.readAll();
    auto put32 = [&](qsizetype at) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char((size >> (8 * i)) & 0xFF);
    };
    const QByteArray wanted = QByteArray::fromStdString(name);
    int patched = 0;
    for (qsizetype at = 0; at + 46 <= bytes.size(); ++at) {
        // Local header: signature, ..., name length at 26, name at 30, size at 22.
        if (bytes.mid(at, 4) == QByteArray("PK\x03\x04", 4) &&
            bytes.mid(at + 30, wanted.size()) == wanted) {
            put32(at + 22);
            ++patched;
        }
        // Central directory: name length at 28, name at 46, size at 24.
        if (bytes.mid(at, 4) == QByteArray("PK\x01\x02", 4) &&
            bytes.mid(at + 46, wanted.size()) == wanted) {
            put32(at + 24);
            ++patched;
        }
    }
    if (patched != 2)
        throw std::runtime_error("entry not found once in both directories: " + name);
    file.seek(0);
    file.write(bytes);
}

void DamageEntry(const QString& archivePath, const std::string& name) {
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadWrite))
        throw std::runtime_error("cannot open " + archivePath.toStdString());
    QByteArray bytes = file.readAll();
    const QByteArray wanted = QByteArray::fromStdString(name);
    for (qsizetype at = 0; at + 30 <= bytes.size(); ++at) {
        if (bytes.mid(at, 4) != QByteArray("PK\x03\x04", 4) ||
            bytes.mid(at + 30, wanted.size()) != wanted)
            continue;
        const auto u16 = [&](qsizetype i) {
            return uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8);
        };
        const qsizetype data = at + 30 + u16(at + 26) + u16(at + 28);
        for (qsizetype i = data + 2; i < data + 12 && i < bytes.size(); ++i)
            bytes[i] = char(bytes[i] ^ 0x5A);
        file.seek(0);
        file.write(bytes);
        return;
    }
    throw std::runtime_error("entry not found: " + name);
}

namespace {

uint32_t Crc32(const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void Put16(QByteArray& out, uint32_t value) {
    out.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
}

void Put32(QByteArray& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

QByteArray RawZip(const std::vector<RawZipEntry>& entries) {
    constexpr uint32_t DosDate = (24u << 25) | (5u << 21) | (6u << 16) | (12u << 11);
    QByteArray out;
    QByteArray central;
    for (const RawZipEntry& entry : entries) {
        const uint32_t flags = (entry.utf8Flag ? 1u << 11 : 0u) | (entry.dataDescriptor ? 8u : 0u);
        const uint32_t crc = Crc32(entry.content);
        const auto size = uint32_t(entry.content.size());
        const auto offset = uint32_t(out.size());
        out.append("PK\x03\x04", 4);
        Put16(out, 10); // version needed
        Put16(out, flags);
        Put16(out, 0); // stored
        Put32(out, DosDate);
        // As Info-ZIP's zip -fd writes it: CRC and packed size 0, the unpacked size given.
        Put32(out, entry.dataDescriptor ? 0 : crc);
        Put32(out, entry.dataDescriptor ? 0 : size);
        Put32(out, size);
        Put16(out, uint32_t(entry.name.size()));
        Put16(out, 0);
        out.append(entry.name).append(entry.content);
        if (entry.dataDescriptor) {
            out.append("PK\x07\x08", 4);
            Put32(out, crc);
            Put32(out, size);
            Put32(out, size);
        }
        central.append("PK\x01\x02", 4);
        Put16(central, 0x031E); // made by Unix, version 3.0
        Put16(central, 10);
        Put16(central, flags);
        Put16(central, 0);
        Put32(central, DosDate);
        Put32(central, crc);
        Put32(central, size);
        Put32(central, size);
        Put16(central, uint32_t(entry.name.size()));
        Put16(central, 0); // extra
        Put16(central, 0); // comment
        Put16(central, 0); // disk
        Put16(central, 0); // internal attributes
        Put32(central, 0100644u << 16);
        Put32(central, offset);
        central.append(entry.name);
    }
    const auto centralOffset = uint32_t(out.size());
    out.append(central);
    out.append("PK\x05\x06", 4);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, uint32_t(entries.size()));
    Put16(out, uint32_t(entries.size()));
    Put32(out, uint32_t(central.size()));
    Put32(out, centralOffset);
    Put16(out, 0);
    return out;
}

QStringList EntryNamesOf(const QString& archive) {
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return {QStringLiteral("<no archive>")};
    QStringList names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i)
        names << QString::fromUtf8(zip_get_name(zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS));
    zip_discard(zip);
    return names;
}
