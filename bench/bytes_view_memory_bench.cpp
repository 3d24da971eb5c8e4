// The resident memory the bytes view costs on a 200 MB entry: read from /proc/self/statm
// before it opens and after it has shown its first rows, the middle, the end and a
// selection of every row. Goal: under 50 MB more than before.
// usage: bench_bytes_view_memory [MEGABYTES]
#include "BenchSupport.h"
#include "core/EntryBytesModel.h"
#include "gui/BytesGrid.h"
#include "gui/BytesView.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double ResidentMegabytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? std::atoll(argv[1]) : 200;
    // One record of the whole file, its bytes written (not a sparse hole) in pieces.
    PalmFileBuilder b;
    b.name = "Large";
    b.recordOffsets = {78 + 8 + 2};
    b.tail = QByteArray(2, '\0');
    QTemporaryDir folder;
    const QString path = b.WriteTo(folder.filePath(QStringLiteral("large.pdb")));
    {
        QFile file(path);
        if (!file.open(QIODevice::Append))
            return 2;
        const QByteArray piece(1024 * 1024, 'r');
        for (qint64 i = 0; i < megabytes; ++i)
            file.write(piece);
    }
    std::string error;
    auto source = FileByteSource::Open(QFile::encodeName(path).toStdString(), &error);
    const DatabaseContents contents = ReadDatabaseContents(*source);

    QWidget window; // the view's owner, shown once so that the first show costs nothing extra
    window.show();
    QCoreApplication::processEvents();
    const double before = ResidentMegabytes();
    auto* view =
        new BytesView(std::move(source), contents.Entries.at(0), QStringLiteral("bench"), &window);
    view->show();
    QCoreApplication::processEvents();
    QScrollBar* bar = view->List()->verticalScrollBar();
    for (const int value : {bar->maximum() / 2, bar->maximum()}) {
        bar->setValue(value);
        view->List()->viewport()->repaint();
    }
    view->List()->SelectAll();
    view->List()->viewport()->repaint();
    QCoreApplication::processEvents();
    const double after = ResidentMegabytes();
    std::printf("The bytes view on an entry of %lld MB (%d rows)\n", megabytes,
                view->Bytes().rowCount());
    std::printf("  resident before: %7.1f MB, with the view: %7.1f MB, more: %6.1f MB "
                "(goal: under 50 MB)\n",
                before, after, after - before);
    return after - before < 50 ? 0 : 1;
}
