// Checks a generated folder tree of Palm files with `brisko-cli check --recursive` (its
// output thrown away), beside the floor it is held to: a plain loop that walks the same
// tree and reads every file whole. Goal: at most 1.5 times the floor.
// usage: bench_check [FILE_COUNT] [ROUNDS] [FOLDER]
// With FOLDER, that tree is checked as it is and nothing is generated.
#include "BenchSupport.h"
#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

// A backup tree: folders of 1,000 files each.
void WriteTree(const QString& root, int files) {
    constexpr int PerFolder = 1000;
    for (int start = 0; start < files; start += PerFolder) {
        const QString folder = root + QStringLiteral("/backup%1").arg(start / PerFolder);
        QDir().mkpath(folder);
        bench::WritePalmFolder(folder, std::min(PerFolder, files - start), true);
    }
}

// The floor: walk the tree, and open, read whole and close every file.
size_t ReadTreeWhole(const std::string& folder, std::vector<char>& buffer) {
    size_t count = 0;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string path = folder + "/" + entry->d_name;
        if (entry->d_type == DT_DIR) {
            count += ReadTreeWhole(path, buffer);
            continue;
        }
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        while (read(fd, buffer.data(), buffer.size()) > 0) {
        }
        close(fd);
        ++count;
    }
    closedir(dir);
    return count;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir generated;
    QString root = generated.path();
    if (argc > 3)
        root = QString::fromLocal8Bit(argv[3]);
    else
        WriteTree(root, files);

    std::vector<char> buffer(1 << 16);
    size_t floorCount = 0;
    int cliStatus = -1;
    QFile nowhere(QStringLiteral("/dev/null"));
    nowhere.open(QIODevice::WriteOnly);
    const std::vector<double> medians = bench::InterleavedMedians(
        rounds, {[&] { floorCount = ReadTreeWhole(QFile::encodeName(root).toStdString(), buffer); },
                 [&] {
                     QTextStream out(&nowhere);
                     QTextStream err(&nowhere);
                     cliStatus = RunCli(
                         {QStringLiteral("check"), QStringLiteral("--recursive"), root}, out, err);
                 }});
    std::printf("Checking %zu Palm files in a tree, median of %d interleaved rounds, warm cache\n",
                floorCount, rounds);
    std::printf("  plain walk, open/read whole/close loop: %9.1f ms\n", medians[0]);
    std::printf("  brisko-cli check --recursive:           %9.1f ms\n", medians[1]);
    std::printf("  ratio check/floor:                      %9.2f (goal: at most 1.50)\n",
                medians[1] / medians[0]);
    if (argc > 3)
        return 0;
    return floorCount == size_t(files) && cliStatus == 0 ? 0 : 1;
}
