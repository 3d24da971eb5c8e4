// Fills the contents panel (model and view, offscreen) with a database of 65,535 records,
// the most a header can count, and paints it: what a click on such a file costs.
// Goal: under 50 ms.
// usage: bench_contents_panel [ROUNDS]
#include "BenchSupport.h"
#include "core/ContentsTableModel.h"
#include "gui/ContentsPanel.h"
#include "gui/FakePrompts.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
    const PalmFileBuilder b = bench::LargestDatabase();
    QTemporaryDir folder;
    const QString path = b.WriteTo(folder.filePath(QStringLiteral("large.pdb")));

    FakePrompts prompts;
    ContentsPanel panel(prompts);
    panel.resize(700, 400);
    panel.show();
    int rows = 0;
    const std::vector<double> medians =
        bench::InterleavedMedians(rounds, {[&] {
                                               panel.ShowFile(path);
                                               panel.List()->repaint();
                                               rows = panel.Rows().rowCount();
                                           },
                                           [&] {
                                               panel.ShowFile(QString());
                                               panel.List()->repaint();
                                           }});
    std::printf("The contents panel on %d rows, median of %d rounds, warm cache\n", rows, rounds);
    std::printf("  filled and painted: %7.2f ms (goal: under 50 ms)\n", medians[0]);
    std::printf("  emptied and painted: %6.2f ms\n", medians[1]);
    return rows == int(b.recordOffsets.size()) + 1 ? 0 : 1;
}
