// Reads the entry list of a database of 65,535 records (the most a header can count), as
// the contents panel does when it is filled: open, header, list, sizes and checks.
// Goal: well under 50 ms.
// usage: bench_contents [ROUNDS]
#include "BenchSupport.h"
#include "palmdb/CategoryBlock.h"
#include "palmdb/DatabaseCheck.h"
#include "palmdb/DatabaseContents.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
    const PalmFileBuilder b = bench::LargestDatabase();
    QTemporaryDir folder;
    const std::string path =
        QFile::encodeName(b.WriteTo(folder.filePath(QStringLiteral("large.pdb")))).toStdString();

    size_t entries = 0;
    size_t findings = 0;
    bool categories = false;
    const std::vector<double> medians = bench::InterleavedMedians(
        rounds, {[&] {
                     std::string error;
                     const auto source = FileByteSource::Open(path, &error);
                     const DatabaseContents contents = ReadDatabaseContents(*source);
                     categories = ReadCategoryBlock(*source, contents).has_value();
                     entries = contents.Entries.size();
                 },
                 [&] {
                     std::string error;
                     const auto source = FileByteSource::Open(path, &error);
                     findings = CheckDatabase(ReadDatabaseContents(*source), path).size();
                 }});
    std::printf("A database of %zu records, median of %d rounds, warm cache\n", entries, rounds);
    std::printf("  list, sizes and category names read: %7.2f ms (goal: under 50 ms)\n",
                medians[0]);
    std::printf("  list read and checked:               %7.2f ms (%zu findings)\n", medians[1],
                findings);
    return entries == size_t(b.recordOffsets.size()) && categories && findings == 0 ? 0 : 1;
}
