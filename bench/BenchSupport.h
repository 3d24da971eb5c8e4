// What the listing benchmarks share: the generated folder, the floor they are measured
// against, medians and the process's peak memory.
#pragma once

#include "support/PalmFileBuilder.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

// The i-th database of a backup's mix: eight creators, two records; the caller gives
// it its tail.
inline PalmFileBuilder BackupDatabase(int i) {
    const char* creators[] = {"memo", "addr", "date", "todo", "MAIL", "Dict", "Tetr", "SLTR"};
    PalmFileBuilder b;
    b.name = "Database " + std::to_string(i);
    b.creator = creators[i % 8];
    b.type = "DATA";
    b.recordOffsets = {200, 300};
    return b;
}

// A backup folder: one application in ten when withApplications, and files changed over
// weeks (distinct times, so that no text cache has it easy).
// A database of 65,535 records (the most a header can count) of 16 bytes each, in all 16
// categories in turn, after an app info block of categories.
inline PalmFileBuilder LargestDatabase() {
    constexpr int Records = 65535;
    std::vector<uint8_t> categories;
    for (int i = 0; i < Records; ++i)
        categories.push_back(uint8_t(i % 16));
    return RecordDatabase("Large", "", "", std::vector<QByteArray>(Records, QByteArray(16, 'r')),
                          QByteArray(276, '\0'), categories);
}

inline void WritePalmFolder(const QString& folder, int files, bool withApplications) {
    const time_t now = time(nullptr);
    for (int i = 0; i < files; ++i) {
        PalmFileBuilder b = BackupDatabase(i);
        b.tail = QByteArray(300, 'r');
        const char* ext = withApplications && i % 10 == 0 ? ".prc" : ".pdb";
        const QString path =
            b.WriteTo(folder + QStringLiteral("/file%1").arg(i) + QString::fromLatin1(ext));
        const struct timespec times[2] = {{now, 0}, {now - time_t(i) * 37, 0}};
        utimensat(AT_FDCWD, path.toLocal8Bit().constData(), times, 0);
    }
}

// The folder a listing benchmark lists: the one given as its third argument, as it is,
// else `generated` filled with `files` databases.
inline QString FolderToList(int argc, char** argv, const QString& generated, int files,
                            bool withApplications) {
    if (argc > 3)
        return QString::fromLocal8Bit(argv[3]);
    WritePalmFolder(generated, files, withApplications);
    return generated;
}

// The floor: read the folder, and open, read 78 bytes and close each file by its path.
inline size_t PlainListingLoop(const QByteArray& folder) {
    size_t count = 0;
    DIR* dir = opendir(folder.constData());
    if (!dir)
        return 0;
    char header[78];
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string path = folder.toStdString() + "/" + entry->d_name;
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (read(fd, header, sizeof header) == sizeof header)
            ++count;
        close(fd);
    }
    closedir(dir);
    return count;
}

// The median time of each side. One warm-up run of each first, so that every side reads
// from the page cache; then the sides take turns in every round, so that the load of a
// shared machine weighs on all of them alike. prepare[side], where given, runs untimed
// before each run of that side.
inline std::vector<double>
InterleavedMedians(int rounds, const std::vector<std::function<void()>>& sides,
                   const std::vector<std::function<void()>>& prepare = {}) {
    auto prepareSide = [&](size_t side) {
        if (side < prepare.size() && prepare[side])
            prepare[side]();
    };
    std::vector<std::vector<double>> times(sides.size());
    for (size_t side = 0; side < sides.size(); ++side) {
        prepareSide(side);
        sides[side]();
    }
    for (int i = 0; i < rounds; ++i) {
        for (size_t side = 0; side < sides.size(); ++side) {
            prepareSide(side);
            const auto start = Clock::now();
            sides[side]();
            times[side].push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
    }
    std::vector<double> medians;
    for (std::vector<double>& side : times) {
        std::sort(side.begin(), side.end());
        medians.push_back(side.empty() ? 0 : side[side.size() / 2]);
    }
    return medians;
}

// A line of /proc/self/status in MiB ("VmHWM": the peak resident set, "VmRSS": now);
// -1 where there is no such file.
inline double StatusMiB(const char* field) {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    double kib = -1;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, length) == 0 && line[length] == ':')
            kib = std::atof(line + length + 1);
    std::fclose(status);
    return kib < 0 ? -1 : kib / 1024;
}

} // namespace bench
