// Lists a generated folder of Palm files in the main window (offscreen), beside the
// command-line listing of the same folder, and prints both times and their ratio.
// usage: bench_window_listing [FILE_COUNT] [ROUNDS]
#include "browser/FileListModel.h"
#include "browser/FolderListing.h"
#include "browser/Prompts.h"
#include "browser/TFBrowser.h"
#include "creators/CreatorCatalogue.h"
#include "support/PalmFileBuilder.h"

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Nobody answers in a benchmark.
class SilentPrompts : public Prompts {
public:
    void Information(QWidget*, const QString&) override {}
    void Error(QWidget*, const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool Confirm(QWidget*, const QString&) override { return false; }
    OverwriteAnswer AskOverwrite(QWidget*, const QString&) override { return OverwriteAnswer::No; }
    QString PickFolder(QWidget*, const QString&, const QString&) override { return {}; }
    QString PickFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    bool OpenUrl(const QUrl&) override { return true; }
    std::optional<QString> AskText(QWidget*, const QString&, const QString&,
                                   const QString&) override {
        return std::nullopt;
    }
    int ExecDialog(QDialog*) override { return 0; } // rejected
};

double MedianMilliseconds(int rounds, const std::function<void()>& run) {
    std::vector<double> times;
    run(); // warm the caches once
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir program;
    QTemporaryDir dir;
    const char* creators[] = {"memo", "addr", "date", "todo", "MAIL", "Dict", "Tetr", "SLTR"};
    for (int i = 0; i < files; ++i) {
        PalmFileBuilder b;
        b.name = "Database " + std::to_string(i);
        b.creator = creators[i % 8];
        b.type = "DATA";
        b.recordOffsets = {200, 300};
        b.tail = QByteArray(300, 'r');
        b.WriteTo(dir.filePath(QStringLiteral("file%1.pdb").arg(i)));
    }

    const double cliMs = MedianMilliseconds(rounds, [&] {
        TPalmPDB reader(std::string(), false);
        ListeDerLinks catalogue;
        FolderLister(reader, catalogue).ListFolder(dir.path(), {});
    });

    SilentPrompts prompts;
    TFBrowser window(ProgramPaths::ForProgramFolder(program.path()), prompts);
    window.show();
    const double windowMs = MedianMilliseconds(rounds, [&] {
        window.ListFolder(dir.path());
        QCoreApplication::processEvents(); // the view lays out and paints the new rows
    });

    std::printf("Listing %d Palm files, median of %d rounds, warm cache\n", files, rounds);
    std::printf("  command-line listing:        %9.1f ms\n", cliMs);
    std::printf("  window listing (offscreen):  %9.1f ms (%d rows)\n", windowMs,
                window.FileModel().rowCount());
    std::printf("  ratio window/command line:   %9.2f\n", windowMs / cliMs);
    return window.FileModel().rowCount() == files ? 0 : 1;
}
