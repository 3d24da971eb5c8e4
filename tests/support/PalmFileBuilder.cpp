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
