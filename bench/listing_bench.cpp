// Lists a generated folder of Palm files through the listing code, beside the floor: a
// plain loop that reads the folder and opens, reads 78 bytes and closes each file.
// usage: bench_listing [FILE_COUNT] [ROUNDS]
#include "browser/FolderListing.h"
#include "creators/CreatorCatalogue.h"
#include "support/PalmFileBuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MedianMilliseconds(int rounds, const std::function<size_t()>& run, size_t& count) {
    std::vector<double> times;
    run(); // warm the caches once, so that both sides read from memory
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        count = run();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

size_t PlainLoop(const QByteArray& folder) {
    size_t count = 0;
    DIR* dir = opendir(folder.constData());
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir dir;
    const char* creators[] = {"memo", "addr", "date", "todo", "MAIL", "Dict", "Tetr", "SLTR"};
    for (int i = 0; i < files; ++i) {
        PalmFileBuilder b;
        b.name = "Database " + std::to_string(i);
        b.creator = creators[i % 8];
        b.type = "DATA";
        b.recordOffsets = {200, 300};
        b.tail = QByteArray(300, 'r');
        const char* ext = i % 10 == 0 ? ".prc" : ".pdb";
        b.WriteTo(dir.filePath(QStringLiteral("file%1").arg(i) + QString::fromLatin1(ext)));
    }

    size_t floorCount = 0;
    size_t listedCount = 0;
    const QByteArray path = QFile::encodeName(dir.path());
    const double floorMs = MedianMilliseconds(rounds, [&] { return PlainLoop(path); }, floorCount);
    const double listingMs = MedianMilliseconds(
        rounds,
        [&] {
            TPalmPDB reader(std::string(), false);
            ListeDerLinks catalogue;
            return FolderLister(reader, catalogue).ListFolder(dir.path(), {}).Rows.size();
        },
        listedCount);

    std::printf("Listing %d Palm files, median of %d rounds, warm cache\n", files, rounds);
    std::printf("  plain open/read 78 bytes/close loop: %9.1f ms (%zu files)\n", floorMs,
                floorCount);
    std::printf("  listing code (rows with texts):      %9.1f ms (%zu rows)\n", listingMs,
                listedCount);
    std::printf("  ratio listing/floor:                 %9.2f\n", listingMs / floorMs);
    return floorCount == size_t(files) && listedCount == size_t(files) ? 0 : 1;
}
