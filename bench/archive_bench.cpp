// Opens a generated archive of small Palm files through the archive listing (extract
// each entry safely, read its header, make its row), beside Info-ZIP's `unzip -o` of the
// same archive into a temporary folder.
// usage: bench_archive [ENTRY_COUNT] [ROUNDS]
#include "BenchSupport.h"
#include "core/ArchiveListing.h"
#include "creators/CreatorCatalogue.h"
#include "support/PalmFileBuilder.h"
#include "support/ZipBuilder.h"
#include "zip/ExtractionFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty()) {
        std::fprintf(stderr, "bench_archive: unzip is not installed (scripts/setup installs it)\n");
        return 2;
    }

    QTemporaryDir dir;
    ZipBuilder builder;
    for (int i = 0; i < entries; ++i) {
        PalmFileBuilder b = bench::BackupDatabase(i);
        b.tail = QByteArray(300 + i % 700, char('a' + i % 26));
        builder.Add("Backup/file" + std::to_string(i) + (i % 10 == 0 ? ".prc" : ".pdb"), b.Bytes());
    }
    const QString archive = builder.WriteTo(dir.filePath(QStringLiteral("Backup.zip")));
    // Every run writes into a folder of its own, and all are removed at the end: ext4
    // creates files slowly for a minute or more after many were deleted, which would
    // weigh on whichever side came after a clean-up.
    int run = 0;
    QString unzipped;
    QString temp;

    size_t unzipCount = 0;
    size_t listedCount = 0;
    // Each run starts from an empty folder, as the first opening of an archive does.
    const std::vector<double> medians = bench::InterleavedMedians(
        rounds,
        {[&] {
             QProcess process;
             process.start(unzip, {QStringLiteral("-o"), QStringLiteral("-qq"), archive,
                                   QStringLiteral("-d"), unzipped});
             process.waitForFinished(-1);
             unzipCount =
                 size_t(QDir(unzipped + QStringLiteral("/Backup")).entryList(QDir::Files).size());
         },
         [&] {
             TPalmPDB reader(std::string(), false);
             ListeDerLinks catalogue;
             ExtractionFolder extraction(temp);
             const ArchiveListing listing =
                 ArchiveLister(reader, catalogue, extraction).List(archive);
             listedCount = listing.Rows.size() - listing.Errors.size();
         }},
        {[&] { unzipped = dir.filePath(QStringLiteral("unzipped%1").arg(++run)); },
         [&] {
             temp = dir.filePath(QStringLiteral("Temp%1").arg(++run));
         }});
    const double unzipMs = medians[0];
    const double listingMs = medians[1];

    std::printf(
        "Opening an archive of %d small Palm files, median of %d interleaved rounds, warm cache\n",
        entries, rounds);
    std::printf("  unzip -o into a folder:                 %9.1f ms (%zu files)\n", unzipMs,
                unzipCount);
    std::printf("  archive listing (extract, read, rows):  %9.1f ms (%zu rows)\n", listingMs,
                listedCount);
    std::printf("  ratio listing/unzip:                    %9.2f\n", listingMs / unzipMs);
    return unzipCount == size_t(entries) && listedCount == size_t(entries) ? 0 : 1;
}
