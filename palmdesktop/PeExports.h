// The export table of a Windows library (a PE image), read from its bytes. On a system
// that cannot load a Windows library into the process, the names it exports stand in
// for looking its functions up. Every offset and count in the image is checked against
// its size: a truncated or hostile file gives an invalid result, never a crash.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

struct PeExport {
    std::string Name;
    uint32_t Rva = 0; // the function's address relative to the image base
};

struct PeExportTable {
    bool Valid = false;
    std::string Error;             // why the image was refused, for diagnostics
    std::vector<PeExport> Exports; // named exports in the table's order
};

PeExportTable ReadPeExports(const QByteArray& image);
