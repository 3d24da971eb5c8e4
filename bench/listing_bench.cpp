// Lists a generated folder of Palm files through the listing code (as it runs, and held
// to one reading thread) and through the command-line tool's "list" command (its output
// thrown away), beside the floor: a plain loop that reads the folder and opens, reads 78
// bytes and closes each file. Also shows the part of reading and ordering the names.
// usage: bench_listing [FILE_COUNT] [ROUNDS] [FOLDER]
// With FOLDER, that folder is listed as it is (a real backup folder, say) and nothing is
// generated; FILE_COUNT is then ignored.
#include "BenchSupport.h"
#include "cli/CliCommands.h"
#include "core/FolderListing.h"
#include "core/FolderScan.h"
#include "creators/CreatorCatalogue.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir generated;
    const QString folder = bench::FolderToList(argc, argv, generated.path(), files, true);

    size_t floorCount = 0;
    size_t listedCount = 0;
    size_t oneThreadCount = 0;
    size_t scannedCount = 0;
    int cliStatus = -1;
    const QByteArray path = QFile::encodeName(folder);
    QFile nowhere(QStringLiteral("/dev/null"));
    nowhere.open(QIODevice::WriteOnly);
    // The listing code with the reading threads it picks itself (0) or with the given number.
    const auto listWith = [&](size_t threads) {
        TPalmPDB reader(std::string(), false);
        ListeDerLinks catalogue;
        FolderLister lister(reader, catalogue);
        lister.SetReadingThreads(threads);
        return lister.ListFolder(folder, {}).Rows.size();
    };
    const std::vector<double> medians = bench::InterleavedMedians(
        rounds, {[&] { floorCount = bench::PlainListingLoop(path); },
                 [&] { listedCount = listWith(0); }, [&] { oneThreadCount = listWith(1); },
                 [&] {
                     QTextStream out(&nowhere);
                     QTextStream err(&nowhere);
                     cliStatus = RunCli({QStringLiteral("list"), folder}, out, err);
                 },
                 [&] {
                     const PalmFolderEntries entries = ScanPalmFolder(folder);
                     scannedCount = entries.PDB.size() + entries.PRC.size() + entries.ZIP.size();
                 }});
    const double floorMs = medians[0];
    const double listingMs = medians[1];
    const double oneThreadMs = medians[2];
    const double cliMs = medians[3];
    const double scanMs = medians[4];

    std::printf("Listing %zu Palm files, median of %d interleaved rounds, warm cache\n",
                listedCount, rounds);
    std::printf("  plain open/read 78 bytes/close loop:   %9.1f ms (%zu files)\n", floorMs,
                floorCount);
    std::printf("  listing code (rows):                   %9.1f ms (%zu rows)\n", listingMs,
                listedCount);
    std::printf("  listing code, one reading thread:      %9.1f ms (%zu rows)\n", oneThreadMs,
                oneThreadCount);
    std::printf("  brisko-cli list, printed to /dev/null: %9.1f ms\n", cliMs);
    std::printf("  of the listing: names read and ordered:%9.1f ms (%zu names)\n", scanMs,
                scannedCount);
    std::printf("  ratio listing/floor:                   %9.2f\n", listingMs / floorMs);
    std::printf("  ratio one reading thread/floor:        %9.2f\n", oneThreadMs / floorMs);
    std::printf("  ratio brisko-cli list/floor:           %9.2f\n", cliMs / floorMs);
    if (argc > 3)
        return cliStatus == 0 ? 0 : 1; // a real folder may hold other files and unreadable ones
    return floorCount == size_t(files) && listedCount == size_t(files) && cliStatus == 0 ? 0 : 1;
}
