// Lists a generated folder of Palm files in the main window (offscreen), beside the floor
// (a plain loop that reads the folder and opens, reads 78 bytes and closes each file) and
// the listing code the command-line tool uses; prints the times, their ratios and the
// process's peak resident memory once the window has listed the folder.
// usage: bench_window_listing [FILE_COUNT] [ROUNDS] [FOLDER]
// With FOLDER, that folder is listed as it is and nothing is generated.
#include "BenchSupport.h"
#include "core/FileListModel.h"
#include "core/FolderListing.h"
#include "creators/CreatorCatalogue.h"
#include "gui/FakePrompts.h"
#include "gui/TFBrowser.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir program;
    QTemporaryDir generated;
    const QString folder = bench::FolderToList(argc, argv, generated.path(), files, false);

    size_t floorCount = 0;
    const QByteArray path = QFile::encodeName(folder);
    FakePrompts prompts; // nobody answers in a benchmark; messages are printed at the end
    TFBrowser window(ProgramPaths::ForProgramFolder(program.path()), prompts);
    window.show();
    const std::vector<double> medians = bench::InterleavedMedians(
        rounds, {[&] { floorCount = bench::PlainListingLoop(path); },
                 [&] {
                     TPalmPDB reader(std::string(), false);
                     ListeDerLinks catalogue;
                     FolderLister(reader, catalogue).ListFolder(folder, {});
                 },
                 [&] {
                     window.ListFolder(folder);
                     QCoreApplication::processEvents(); // the view lays out and paints the rows
                 }});
    const double floorMs = medians[0];
    const double cliMs = medians[1];
    const double windowMs = medians[2];

    std::printf("Listing %d Palm files, median of %d interleaved rounds, warm cache\n",
                window.FileModel().rowCount(), rounds);
    std::printf("  plain open/read 78 bytes/close loop: %9.1f ms (%zu files)\n", floorMs,
                floorCount);
    std::printf("  listing code (as brisko-cli uses it): %8.1f ms\n", cliMs);
    std::printf("  window listing (offscreen):          %9.1f ms (%d rows)\n", windowMs,
                window.FileModel().rowCount());
    std::printf("  ratio window/floor:                  %9.2f\n", windowMs / floorMs);
    std::printf("  ratio window/command line:           %9.2f\n", windowMs / cliMs);
    std::printf("  resident memory, peak (VmHWM):       %9.1f MiB\n", bench::StatusMiB("VmHWM"));
    std::printf("  resident memory, now (VmRSS):        %9.1f MiB\n", bench::StatusMiB("VmRSS"));
    for (const QString& message : prompts.Messages)
        std::fprintf(stderr, "%s\n", qPrintable(message));
    if (argc > 3)
        return 0;
    return floorCount == size_t(files) && window.FileModel().rowCount() == files ? 0 : 1;
}
