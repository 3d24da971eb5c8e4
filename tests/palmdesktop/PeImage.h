// Windows DLL images written byte by byte: DOS header, PE header, one section holding
// the export table. The offsets let tests damage exactly one field.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

namespace PeImage {

constexpr uint32_t PeHeader = 0x40;      // "PE\0\0"
constexpr uint32_t Coff = PeHeader + 4;  // machine, section count, ...
constexpr uint32_t Optional = Coff + 20; // magic, ..., data directories
constexpr uint32_t SectionTable = 0x138; // after a PE32 optional header
constexpr uint32_t SectionRaw = 0x200;   // the section's bytes in the file
constexpr uint32_t SectionRva = 0x1000;  // and in memory
constexpr uint32_t ExportDirectory = SectionRaw;

// A DLL (PE32, or PE32+ when is64) that exports names.
QByteArray Dll(std::vector<std::string> names, bool is64 = false);

void PutU32(QByteArray& image, uint32_t offset, uint32_t value);
uint32_t GetU32(const QByteArray& image, uint32_t offset);

} // namespace PeImage
