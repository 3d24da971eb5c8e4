#include "core/ListOrdering.h"

#include "TestRows.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);
const QLocale Swedish(QLocale::Swedish, QLocale::Sweden);

std::vector<int> FastOrder(const std::vector<FileRow>& rows, FileColumn column, Qt::SortOrder order,
                           const QCollator& collator) {
    std::vector<int> current(rows.size());
    std::iota(current.begin(), current.end(), 0);
    if (IsTextColumn(column))
        return OrderByRanks(TextRanks(rows, column, collator), current, order);
    return OrderByValues(rows, current, column, order);
}

} // namespace

TEST(ListOrdering, SizesAndDatesCompareByValue) {
    const QCollator collator = ListCollator(English);
    const auto sized = [](int64_t bytes) {
        return MakeRow(QStringLiteral("x.pdb"), QStringLiteral("memo"), bytes);
    };
    const auto dated = [](int32_t stamp) {
        return MakeRow(QStringLiteral("x.pdb"), QStringLiteral("memo"), 1, stamp);
    };
    const struct {
        const char* what;
        FileColumn column;
        FileRow a, b;
        int expected;
    } cases[] = {
        {"999 and 1.000", FileColumn::Size, sized(999), sized(1000), -1},
        {"over 4 GB", FileColumn::Size, sized(int64_t(5) << 30), sized(1000), 1},
        {"two seconds apart", FileColumn::Changed, dated(Stamp(2024, 3, 1, 10)),
         dated(Stamp(2024, 3, 1, 10, 0, 2)), -1},
        {"a day against a later time of the day before", FileColumn::Changed,
         dated(Stamp(2024, 3, 2)), dated(Stamp(2024, 3, 1, 23, 59, 58)), 1},
        // from 2044 the stamp's top bit is set; it must not sort before 1980
        {"2044 and 2043", FileColumn::Changed, dated(Stamp(2044, 1, 1)), dated(Stamp(2043, 12, 31)),
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CompareRows(c.column, c.a, c.b, collator), c.expected);
        EXPECT_EQ(CompareRows(c.column, c.b, c.a, collator), -c.expected);
    }
}

// The counting sort over cached ranks and the value sort must give exactly what a stable
// sort by CompareRows gives, ties included, in every locale kind.
TEST(ListOrdering, FastOrdersEqualStableSortByCompareRows) {
    QRandomGenerator random(20240301);
    const QStringList names = Texts(
        {"memo.pdb", "Memo.pdb", "MEMO.PDB", "Äpfel.pdb", "apfel.pdb", "Zettel.prc", "zettel.prc",
         "_x.pdb", "10 Tage.pdb", "9 Tage.pdb", "ß.pdb", "ss.pdb", "é.pdb", "e.pdb", "E.pdb", ""});
    const QStringList types = Texts({"memo", "MEMO", "addr", "Zip", "", "ZIP", "Ätsc", "date"});
    const int32_t stamps[] = {Stamp(2023, 5, 6, 7, 8, 10), Stamp(2023, 5, 6, 7, 8, 12),
                              Stamp(2050, 1, 1), Stamp(1980, 1, 1)};
    std::vector<FileRow> rows;
    for (int i = 0; i < 400; ++i) {
        FileRow row = MakeRow(names[random.bounded(int(names.size()))],
                              types[random.bounded(int(types.size()))],
                              int64_t(random.bounded(6)) * 512, stamps[random.bounded(4)]);
        row.Name += QString::number(random.bounded(2)); // ties that are not identical texts
        row.Error = QString::number(i);                 // the starting position, to tell ties apart
        row.Database = types[random.bounded(int(types.size()))] + u' ' + names[i % 3];
        rows.push_back(row);
    }
    for (const QLocale& locale : {QLocale::c(), English, German, Swedish}) {
        const QCollator collator = ListCollator(locale);
        for (int column = 0; column < FileColumnCount; ++column) {
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                SCOPED_TRACE(locale.name().toStdString() + " column " + std::to_string(column) +
                             (order == Qt::AscendingOrder ? " ascending" : " descending"));
                std::vector<int> expected;
                for (const FileRow& row :
                     SortedByCompareRows(rows, FileColumn(column), order, collator))
                    expected.push_back(row.Error.toInt());
                EXPECT_EQ(FastOrder(rows, FileColumn(column), order, collator), expected);
            }
        }
    }
}
