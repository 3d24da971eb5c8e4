#include "PeImage.h"

#include <algorithm>

namespace PeImage {

void PutU32(QByteArray& image, uint32_t offset, uint32_t value) {
    for (uint32_t i = 0; i < 4; ++i)
        image[offset + i] = char((value >> (8 * i)) & 0xff);
}

uint32_t GetU32(const QByteArray& image, uint32_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | uint8_t(image[offset + uint32_t(i)]);
    return value;
}

namespace {
void PutU16(QByteArray& image, uint32_t offset, uint16_t value) {
    image[offset] = char(value & 0xff);
    image[offset + 1] = char(value >> 8);
}
} // namespace

QByteArray Dll(std::vector<std::string> names, bool is64) {
    std::sort(names.begin(), names.end()); // Windows looks names up by binary search
    // The section: directory, function addresses, name addresses, ordinals, strings, code.
    const auto count = uint32_t(names.size());
    const uint32_t functions = 40, nameTable = functions + 4 * count;
    const uint32_t ordinals = nameTable + 4 * count;
    QByteArray section(int(ordinals + 2 * count), '\0');
    const uint32_t code = SectionRva + 0x800;
    for (uint32_t i = 0; i < count; ++i) {
        PutU32(section, functions + 4 * i, code + 16 * i);
        PutU32(section, nameTable + 4 * i, SectionRva + uint32_t(section.size()));
        PutU16(section, ordinals + 2 * i, uint16_t(i));
        section.append(names[i].c_str(), qsizetype(names[i].size() + 1));
    }
    const auto exportSize = uint32_t(section.size());
    section.resize(qsizetype(code - SectionRva + 16 * count + 16), '\xc3');
    PutU32(section, 20, count);
    PutU32(section, 24, count);
    PutU32(section, 28, SectionRva + functions);
    PutU32(section, 32, SectionRva + nameTable);
    PutU32(section, 36, SectionRva + ordinals);

    QByteArray image(int(SectionRaw), '\0');
    image[0] = 'M';
    image[1] = 'Z';
    PutU32(image, 0x3c, PeHeader);
    image.replace(PeHeader, 4, QByteArray("PE\0\0", 4));
    PutU16(image, Coff, is64 ? 0x8664 : 0x14c);
    PutU16(image, Coff + 2, 1);                    // one section
    PutU16(image, Coff + 16, is64 ? 0xf0 : 0xe0);  // optional header size
    PutU16(image, Coff + 18, 0x2102);              // DLL, executable, 32-bit words
    PutU16(image, Optional, is64 ? 0x20b : 0x10b); // PE32+ or PE32
    PutU32(image, Optional + 60, SectionRaw);      // size of headers
    const uint32_t directories = Optional + (is64 ? 112 : 96);
    PutU32(image, directories - 4, 16);
    PutU32(image, directories, SectionRva); // the export table
    PutU32(image, directories + 4, exportSize);
    const uint32_t table = Optional + (is64 ? 0xf0 : 0xe0);
    image.replace(table, 8, QByteArray(".edata\0\0", 8));
    const auto raw = uint32_t((section.size() + 0x1ff) & ~0x1ff);
    PutU32(image, table + 8, uint32_t(section.size())); // virtual size
    PutU32(image, table + 12, SectionRva);
    PutU32(image, table + 16, raw);
    PutU32(image, table + 20, SectionRaw);
    section.resize(raw, '\0');
    image.append(section);
    return image;
}

} // namespace PeImage
