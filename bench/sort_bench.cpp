// Sorts the file list's model by each column in both directions and prints milliseconds.
// Every sort starts from a freshly listed, shuffled set of rows, so that it also pays for
// the collation keys it needs (the worst case: the first click after a listing).
// usage: bench_sort [ROW_COUNT] [ROUNDS]
#include "common/DateTime.h"
#include "common/Helpers.h"
#include "core/FileListModel.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<FileRow> MakeRows(int count, QRandomGenerator& random) {
    static const char* const words[] = {"Memo Pad", "memo",  "Address",   "Kalender", "Übung",
                                        "Größe",    "Ärzte", "todo list", "DATEBOOK", "Zettel",
                                        "Backup",   "photo", "Öffnungen", "Éclair",   "games"};
    static const char* const extensions[] = {".pdb", ".PDB", ".prc", ".zip"};
    QStringList creators; // about 200 creator IDs, as a large backup folder holds
    for (int i = 0; i < 200; ++i) {
        QString id;
        for (int c = 0; c < 4; ++c)
            id += QChar(random.bounded(2) ? u'a' + random.bounded(26) : u'A' + random.bounded(26));
        creators << id;
    }
    const std::time_t first = 978307200; // 2001-01-01
    std::vector<FileRow> rows;
    rows.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        FileRow row;
        const char* extension = extensions[random.bounded(4)];
        row.Name = QString::fromUtf8(words[random.bounded(15)]) + u' ' +
                   QString::number(random.bounded(100000)) + QString::fromUtf8(extension);
        const bool archive = extension[1] == 'z';
        row.Type = archive ? QStringLiteral("Zip") : creators[random.bounded(200)];
        row.Icon = archive ? RowIcon::Archive : RowIcon::PalmFile;
        row.Bytes = int64_t(random.bounded(2000000));
        // two-second steps over twenty years, like file times
        row.ChangedStamp = PackFileTime(first + std::time_t(random.bounded(315000000)) * 2);
        rows.push_back(std::move(row));
    }
    return rows;
}

double MedianSortMilliseconds(FileListModel& model, const std::vector<FileRow>& rows, int column,
                              Qt::SortOrder order, int rounds, QRandomGenerator& random) {
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        std::vector<FileRow> shuffled = rows;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        // A listing makes its texts in listing order: copies, not shares, so that they lie
        // in memory as a real listing's do.
        for (FileRow& row : shuffled)
            for (QString* text : {&row.Name, &row.Type})
                *text = QString(text->constData(), text->size());
        model.SetRows(std::move(shuffled));
        const auto start = Clock::now();
        model.sort(column, order);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A second sort of the same column in the other direction, with the keys already made.
double ResortMilliseconds(FileListModel& model, int column) {
    const auto start = Clock::now();
    model.sort(column, Qt::DescendingOrder);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int largest = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::vector<int> counts = {10000};
    if (largest != 10000)
        counts.push_back(largest);

    const char* const columns[] = {"Name", "Type", "Size", "Changed"};
    const QLocale locales[] = {QLocale(QLocale::German, QLocale::Germany), QLocale::c()};
    QRandomGenerator random(42);
    std::printf("Sorting the file list model, median of %d rounds, milliseconds; each sort "
                "starts shuffled and makes its keys\n",
                rounds);
    for (const QLocale& locale : locales) {
        std::printf("\nlocale %s\n%-8s %-4s", qPrintable(locale.name()), "column", "dir");
        for (int count : counts)
            std::printf(" %10d rows", count);
        std::printf("   again, keys kept (%d rows)\n", counts.back());
        std::vector<std::vector<FileRow>> rowSets;
        for (int count : counts)
            rowSets.push_back(MakeRows(count, random));
        FileListModel model;
        model.SetLocale(locale);
        for (int column = 0; column < 4; ++column) {
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                std::printf("%-8s %-4s", columns[column],
                            order == Qt::AscendingOrder ? "asc" : "desc");
                for (const std::vector<FileRow>& rows : rowSets)
                    std::printf(" %15.1f",
                                MedianSortMilliseconds(model, rows, column, order, rounds, random));
                if (order == Qt::AscendingOrder)
                    std::printf(" %15.1f", ResortMilliseconds(model, column));
                std::printf("\n");
            }
        }
    }
    return 0;
}
