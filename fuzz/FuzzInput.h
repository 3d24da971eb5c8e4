// Shared by the fuzz targets: the input as a file that the readers can open by name,
// without touching the disk (readers that take a path are fuzzed through the path).
#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <string>

// Replaces the content of one in-memory file by the input; returns its path.
std::string InputAsFile(const uint8_t* data, size_t size);

// A folder of this process for targets that must write; emptied by the target itself.
std::string ScratchFolder();

inline QByteArray InputBytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Stops the run so that the fuzzer records the input: an invariant the code promises is
// broken (the sanitizers report the crashes themselves).
[[noreturn]] void Broken(const char* what);
