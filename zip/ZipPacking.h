// Writing files into a new ZIP archive with libzip, for emulators and other tools that
// install Palm files from one. The archive is built whole and then written under a
// temporary name (PendingFile's ".brisko-<random>.part") in the target's folder, and
// takes its name only when it is complete: a failure or a cancel leaves no new file, and
// an archive already there is either replaced whole or not touched.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

struct PackSource {
    QString Path; // the file to read
    QString Name; // its name in the archive
};

struct PackResult {
    bool Written = false;
    bool Cancelled = false;
    QString Error;       // why nothing was written (empty when written or cancelled)
    QStringList Packed;  // the names in the archive, in its order
    QStringList Skipped; // "name: cause" of every source not packed
};

// (done, total) before each step; false cancels.
using PackProgress = std::function<bool(size_t done, size_t total)>;

// Every file packed together may hold at most this much: the archive is built in memory.
constexpr int64_t MaxPackBytes = int64_t(1024) * 1024 * 1024;

// Each path with its file name as the name in the archive, as it is shown: a name that is
// not UTF-8 is stored in UTF-8 as read in Windows-1252, so that other tools can read it.
std::vector<PackSource> PackSourcesOf(const QStringList& paths);

// name, or with " (2)", " (3)"... before its suffix the first form not in taken (compared
// without case: the archive may be unpacked where case does not tell names apart).
QString UniqueEntryName(const QString& name, const QStringList& taken);

// Packs the readable sources, deflated, with their modification times. A source that
// cannot be read, or that is the archive itself, is skipped and named with its cause;
// when none is left no archive is written. An existing archive is replaced only when
// replace is true. maxBytes bounds the sources together (tests make it small).
PackResult PackFiles(const std::vector<PackSource>& sources, const QString& archivePath,
                     bool replace, const PackProgress& progress = {},
                     int64_t maxBytes = MaxPackBytes);
