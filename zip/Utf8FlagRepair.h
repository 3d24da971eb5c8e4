// Some archivers set the "name is UTF-8" flag on names that are not UTF-8 (the bytes of
// a Windows code page). unzip lists and tests such an archive; libzip refuses the whole
// archive as inconsistent. Such an archive is read through a source that clears the flag
// of exactly those entries, in the central directory and in their local headers, so that
// libzip reads them as entries without the flag. The file itself is never changed.
#pragma once

#include <QByteArray>
#include <QSet>
#include <cstdint>
#include <vector>

struct zip_source;
struct zip_error;

struct FalseUtf8Flags {
    // File offsets of the general-purpose flag fields (central directory and local
    // header) of the entries whose name or comment is flagged UTF-8 but is not.
    std::vector<uint64_t> FlagOffsets;
    QSet<QByteArray> Names; // the stored names among them that are not UTF-8
};
// Empty when there is none, or when the central directory cannot be found (libzip's
// refusal then stands).
FalseUtf8Flags FindFalseUtf8Flags(int fd);

// A libzip source that reads fd with the UTF-8 flag cleared in the flag fields at
// offsets. It owns fd from then on and closes it when libzip frees it. nullptr, with
// error set, when it cannot be made; fd is then still the caller's.
zip_source* SourceWithoutUtf8Flags(int fd, std::vector<uint64_t> offsets, zip_error* error);
