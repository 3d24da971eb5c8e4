#include "palmdesktop/PeExports.h"

#include <algorithm>
#include <optional>

namespace {

constexpr uint16_t Pe32Magic = 0x10b;
constexpr uint16_t Pe32PlusMagic = 0x20b;
constexpr uint32_t SectionHeaderSize = 40;
constexpr uint32_t ExportDirectorySize = 40;
// Bounds that keep a hostile table from costing time: ordinals are 16 bits wide, and
// real export names are far shorter.
constexpr uint32_t MaxNames = 65536;
constexpr size_t MaxNameLength = 1024;

class Image {
public:
    explicit Image(const QByteArray& bytes) : FBytes(bytes) {}

    uint64_t Size() const { return uint64_t(FBytes.size()); }
    bool Has(uint64_t offset, uint64_t length) const {
        return offset <= Size() && length <= Size() - offset;
    }
    std::optional<uint16_t> U16(uint64_t offset) const {
        if (!Has(offset, 2))
            return std::nullopt;
        return uint16_t(Byte(offset) | Byte(offset + 1) << 8);
    }
    std::optional<uint32_t> U32(uint64_t offset) const {
        if (!Has(offset, 4))
            return std::nullopt;
        return uint32_t(Byte(offset)) | uint32_t(Byte(offset + 1)) << 8 |
               uint32_t(Byte(offset + 2)) << 16 | uint32_t(Byte(offset + 3)) << 24;
    }
    uint8_t Byte(uint64_t offset) const { return uint8_t(FBytes[qsizetype(offset)]); }

private:
    const QByteArray& FBytes;
};

struct Section {
    uint32_t VirtualAddress;
    uint32_t VirtualSize;
    uint32_t RawSize;
    uint32_t RawOffset;
};

// Where an address of the loaded image lies in the file, and how many bytes of the file
// follow it inside its section.
struct Location {
    uint64_t Offset;
    uint64_t Available;
};

class Mapper {
public:
    Mapper(const Image& image, uint32_t headersSize, std::vector<Section> sections)
        : FImage(image), FHeadersSize(headersSize), FSections(std::move(sections)) {}

    std::optional<Location> Map(uint32_t rva) const {
        for (const Section& s : FSections) {
            // Bytes beyond the raw data exist only in memory (zeros), never in the file.
            const uint64_t extent =
                s.VirtualSize != 0 ? std::min<uint64_t>(s.VirtualSize, s.RawSize) : s.RawSize;
            if (rva >= s.VirtualAddress && rva - s.VirtualAddress < extent) {
                const uint64_t into = rva - s.VirtualAddress;
                const uint64_t offset = uint64_t(s.RawOffset) + into;
                if (!FImage.Has(offset, 0))
                    return std::nullopt;
                const uint64_t available = std::min(extent - into, FImage.Size() - offset);
                return Location{offset, available};
            }
        }
        if (rva < FHeadersSize && rva < FImage.Size())
            return Location{rva, std::min<uint64_t>(FHeadersSize, FImage.Size()) - rva};
        return std::nullopt;
    }

    // An array of count elements of the given size at rva, all inside one section.
    std::optional<uint64_t> Array(uint32_t rva, uint64_t count, uint64_t size) const {
        const auto at = Map(rva);
        if (!at || count > at->Available / size)
            return std::nullopt;
        return at->Offset;
    }

    std::optional<std::string> String(uint32_t rva) const {
        const auto at = Map(rva);
        if (!at)
            return std::nullopt;
        std::string text;
        for (uint64_t i = 0; i < at->Available && i < MaxNameLength; ++i) {
            const char c = char(FImage.Byte(at->Offset + i));
            if (c == '\0')
                return text;
            text += c;
        }
        return std::nullopt; // no terminator inside the section
    }

private:
    const Image& FImage;
    uint32_t FHeadersSize;
    std::vector<Section> FSections;
};

PeExportTable Refuse(const char* why) {
    PeExportTable table;
    table.Error = why;
    return table;
}

} // namespace

PeExportTable ReadPeExports(const QByteArray& bytes) {
    const Image image(bytes);
    if (image.Size() < 64 || image.Byte(0) != 'M' || image.Byte(1) != 'Z')
        return Refuse("no MZ header");
    const uint64_t pe = *image.U32(0x3c);
    if (!image.Has(pe, 24) || image.Byte(pe) != 'P' || image.Byte(pe + 1) != 'E' ||
        image.Byte(pe + 2) != 0 || image.Byte(pe + 3) != 0)
        return Refuse("no PE signature");
    const uint64_t coff = pe + 4;
    const uint16_t sectionCount = *image.U16(coff + 2);
    const uint16_t optionalSize = *image.U16(coff + 16);
    const uint64_t optional = coff + 20;
    if (!image.Has(optional, optionalSize))
        return Refuse("optional header beyond the end of the file");

    if (optionalSize < 64)
        return Refuse("optional header too short");

    const uint16_t magic = *image.U16(optional);
    if (magic != Pe32Magic && magic != Pe32PlusMagic)
        return Refuse("unknown optional header");
    const uint64_t directoryCountAt = optional + (magic == Pe32PlusMagic ? 108 : 92);
    const uint64_t directoriesAt = directoryCountAt + 4;
    if (directoriesAt + 8 > optional + optionalSize)
        return Refuse("optional header too short");
    // Every read of the headers from here on lies inside the checked optional header.
    const uint32_t headersSize = *image.U32(optional + 60);
    if (*image.U32(directoryCountAt) < 1)
        return Refuse("no export directory entry");
    const uint32_t exportRva = *image.U32(directoriesAt);
    if (exportRva == 0 || *image.U32(directoriesAt + 4) == 0)
        return Refuse("no export table");

    std::vector<Section> sections;
    const uint64_t sectionTable = optional + optionalSize;
    if (!image.Has(sectionTable, uint64_t(sectionCount) * SectionHeaderSize))
        return Refuse("section table beyond the end of the file");
    for (uint64_t i = 0; i < sectionCount; ++i) {
        const uint64_t at = sectionTable + i * SectionHeaderSize;
        sections.push_back(
            {*image.U32(at + 12), *image.U32(at + 8), *image.U32(at + 16), *image.U32(at + 20)});
    }
    const Mapper map(image, headersSize, std::move(sections));

    const auto directory = map.Array(exportRva, 1, ExportDirectorySize);
    if (!directory)
        return Refuse("export directory outside the file");
    const uint32_t functionCount = *image.U32(*directory + 20);
    const uint32_t nameCount = *image.U32(*directory + 24);
    if (nameCount > MaxNames)
        return Refuse("too many export names");
    const auto functions = map.Array(*image.U32(*directory + 28), functionCount, 4);
    const auto names = map.Array(*image.U32(*directory + 32), nameCount, 4);
    const auto ordinals = map.Array(*image.U32(*directory + 36), nameCount, 2);
    if (nameCount > 0 && (!functions || !names || !ordinals))
        return Refuse("export arrays outside the file");

    PeExportTable table;
    for (uint64_t i = 0; i < nameCount; ++i) {
        const auto name = map.String(*image.U32(*names + 4 * i));
        if (!name)
            return Refuse("export name outside the file");
        const uint16_t index = *image.U16(*ordinals + 2 * i);
        if (index >= functionCount)
            return Refuse("export ordinal beyond the function table");
        table.Exports.push_back({*name, *image.U32(*functions + 4 * uint64_t(index))});
    }
    table.Valid = true;
    return table;
}
