#include "support/PalmFileBuilder.h"

#include <QFile>
#include <stdexcept>

namespace {
void put16(QByteArray& b, uint16_t v) {
    b.append(char(v >> 8));
    b.append(char(v & 0xFF));
}
void put32(QByteArray& b, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        b.append(char((v >> shift) & 0xFF));
}
void putFixed(QByteArray& b, const std::string& text, int size) {
    QByteArray field(size, '\0');
    for (int i = 0; i < size && i < int(text.size()); ++i)
        field[i] = text[size_t(i)];
    b.append(field);
}
} // namespace

QByteArray PalmFileBuilder::Bytes() const {
    QByteArray b;
    putFixed(b, name, 32);
    put16(b, attributes);
    put16(b, version);
    put32(b, created);
    put32(b, modified);
    put32(b, backedUp);
    put32(b, modNumber);
    put32(b, appInfoArea);
    put32(b, sortInfoArea);
    putFixed(b, type, 4);
    putFixed(b, creator, 4);
    put32(b, idSeed);
    put32(b, nextRecordList);
    const size_t count = resources.empty() ? recordOffsets.size() : resources.size();
    put16(b, uint16_t(recordCountOverride >= 0 ? recordCountOverride : int(count)));
    for (const Resource& resource : resources) {
        putFixed(b, resource.type, 4);
        put16(b, resource.id);
        put32(b, resource.offset);
    }
    for (size_t i = 0; resources.empty() && i < recordOffsets.size(); ++i) {
        put32(b, recordOffsets[i]);
        put32(b, i < recordInfo.size() ? recordInfo[i] : 0);
    }
    b.append(tail);
    return b;
}

QByteArray CategoryAppInfo(const std::vector<QByteArray>& names, uint16_t renamed) {
    QByteArray block;
    put16(block, renamed);
    for (size_t i = 0; i < 16; ++i)
        block += (i < names.size() ? names[i] : QByteArray()).leftJustified(16, '\0', true);
    return block + QByteArray(16 + 2, '\0');
}

PalmFileBuilder RecordsAt(std::vector<uint32_t> offsets, int tailBytes,
                          std::vector<uint32_t> info) {
    PalmFileBuilder b;
    b.name = "Test";
    b.type = "DATA";
    b.creator = "test";
    b.recordOffsets = std::move(offsets);
    b.recordInfo = std::move(info);
    b.tail = QByteArray(tailBytes, 'r');
    return b;
}

PalmFileBuilder RecordDatabase(const std::string& name, const std::string& type,
                               const std::string& creator, const std::vector<QByteArray>& records,
                               const QByteArray& appInfo, const std::vector<uint8_t>& attributes) {
    PalmFileBuilder b;
    b.name = name;
    b.type = type;
    b.creator = creator;
    const uint32_t listEnd = uint32_t(78 + records.size() * 8 + 2);
    if (!appInfo.isEmpty())
        b.appInfoArea = listEnd;
    b.tail = QByteArray(2, '\0') + appInfo;
    uint32_t offset = listEnd + uint32_t(appInfo.size());
    for (size_t i = 0; i < records.size(); ++i) {
        b.recordOffsets.push_back(offset);
        const uint32_t flags = i < attributes.size() ? attributes[i] : 0;
        b.recordInfo.push_back(flags << 24 | uint32_t(i + 1));
        offset += uint32_t(records[i].size());
        b.tail += records[i];
    }
    return b;
}

QString PalmFileBuilder::WriteTo(const QString& path) const {
    WriteBytes(path, Bytes());
    return path;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

QByteArray PalmFileBytes(const std::string& creator, int tailBytes) {
    PalmFileBuilder b;
    b.name = "db";
    b.type = "DATA";
    b.creator = creator;
    b.tail = QByteArray(tailBytes, 'x');
    return b.Bytes();
}
