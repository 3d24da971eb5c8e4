#include "browser/ListOrdering.h"

#include "TestRows.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);
const QLocale Swedish(QLocale::Swedish, QLocale::Sweden);

std::vector<int> Identity(size_t count) {
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

std::vector<int> FastOrder(const std::vector<FileRow>& rows, FileColumn column, Qt::SortOrder order,
                           const QCollator& collator) {
    if (column == FileColumn::Name || column == FileColumn::Type)
        return OrderByRanks(TextRanks(rows, column, collator), Identity(rows.size()), order);
    return OrderByValues(rows, Identity(rows.size()), column, order);
}

} // namespace

TEST(ListOrdering, SizesAndDatesCompareByValue) {
    const QCollator collator = ListCollator(English);
    const auto sized = [](int64_t bytes, bool withUnit) {
        FileRow row = MakeRow(QStringLiteral("x.pdb"), QStringLiteral("memo"), bytes);
        row.SizeWithUnit = withUnit;
        return row;
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
        {"999 and 1.000", FileColumn::Size, sized(999, false), sized(1000, false), -1},
        {"equal sizes", FileColumn::Size, sized(1000, false), sized(1000, false), 0},
        {"over 4 GB", FileColumn::Size, sized(int64_t(5) << 30, false), sized(1000, false), 1},
        // "900 Bytes" and "1.5 KB" would sort the other way as texts
        {"sizes with units", FileColumn::Size, sized(900, true), sized(1536, true), -1},
        {"two seconds apart", FileColumn::Changed, dated(Stamp(2024, 3, 1, 10)),
         dated(Stamp(2024, 3, 1, 10, 0, 2)), -1},
        {"same moment", FileColumn::Changed, dated(Stamp(2024, 3, 1, 10)),
         dated(Stamp(2024, 3, 1, 10)), 0},
        {"a day against a later time of the day before", FileColumn::Changed,
         dated(Stamp(2024, 3, 2)), dated(Stamp(2024, 3, 1, 23, 59, 58)), 1},
        // from 2044 the stamp's top bit is set; it must not sort before 1980
        {"2044 and 2043", FileColumn::Changed, dated(Stamp(2044, 1, 1)), dated(Stamp(2043, 12, 31)),
         1},
        {"2107 and 1980", FileColumn::Changed, dated(Stamp(2107, 12, 31, 23, 59, 58)),
         dated(Stamp(1980, 1, 1)), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CompareRows(c.column, c.a, c.b, collator), c.expected);
        EXPECT_EQ(CompareRows(c.column, c.b, c.a, collator), -c.expected);
    }
}

TEST(ListOrdering, NamesFollowTheLocaleWithoutLetterCase) {
    const QStringList plain = Texts({"c.pdb", "a.pdb", "B.pdb"});
    const QStringList umlauts = Texts({"Zebra.pdb", "Ärger.pdb", "apfel.pdb"});
    const struct {
        QLocale locale;
        QStringList names;
        QStringList expected;
    } cases[] = {
        {QLocale::c(), plain, Texts({"a.pdb", "B.pdb", "c.pdb"})},
        {English, plain, Texts({"a.pdb", "B.pdb", "c.pdb"})},
        {German, plain, Texts({"a.pdb", "B.pdb", "c.pdb"})},
        {German, umlauts, Texts({"apfel.pdb", "Ärger.pdb", "Zebra.pdb"})},
        {Swedish, umlauts, Texts({"apfel.pdb", "Zebra.pdb", "Ärger.pdb"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        std::vector<FileRow> rows;
        for (const QString& name : c.names)
            rows.push_back(MakeRow(name, QStringLiteral("memo"), 1, 45000));
        const QCollator collator = ListCollator(c.locale);
        EXPECT_EQ(
            NamesOf(SortedByCompareRows(rows, FileColumn::Name, Qt::AscendingOrder, collator)),
            c.expected);
        EXPECT_EQ(CompareRows(FileColumn::Name, MakeRow(QStringLiteral("a.PDB"), {}, 1, 0),
                              MakeRow(QStringLiteral("A.pdb"), {}, 1, 0), collator),
                  0);
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
        rows.push_back(row);
    }
    for (const QLocale& locale : {QLocale::c(), English, German, Swedish}) {
        const QCollator collator = ListCollator(locale);
        for (int column = 0; column < FileColumnCount; ++column) {
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                SCOPED_TRACE(locale.name().toStdString() + " column " + std::to_string(column) +
                             (order == Qt::AscendingOrder ? " ascending" : " descending"));
                // Rows carry their starting position in Error so that ties can be told apart.
                std::vector<FileRow> tagged = rows;
                for (size_t i = 0; i < tagged.size(); ++i)
                    tagged[i].Error = QString::number(i);
                std::vector<int> expected;
                for (const FileRow& row :
                     SortedByCompareRows(tagged, FileColumn(column), order, collator))
                    expected.push_back(row.Error.toInt());
                EXPECT_EQ(FastOrder(tagged, FileColumn(column), order, collator), expected);
            }
        }
    }
}

TEST(SortState, HeaderClicksReverseTheSortColumnAndKeepTheDirectionOtherwise) {
    SortState state;
    EXPECT_FALSE(state.Column().has_value());
    EXPECT_EQ(state.Order(), Qt::AscendingOrder);
    const struct {
        FileColumn clicked;
        Qt::SortOrder expected;
    } clicks[] = {
        {FileColumn::Size, Qt::AscendingOrder},    {FileColumn::Size, Qt::DescendingOrder},
        {FileColumn::Name, Qt::DescendingOrder},   {FileColumn::Name, Qt::AscendingOrder},
        {FileColumn::Changed, Qt::AscendingOrder}, {FileColumn::Type, Qt::AscendingOrder},
        {FileColumn::Type, Qt::DescendingOrder},   {FileColumn::Type, Qt::AscendingOrder},
    };
    for (const auto& click : clicks) {
        EXPECT_EQ(state.Click(click.clicked), click.expected);
        EXPECT_EQ(state.Column(), click.clicked);
        EXPECT_EQ(state.Order(), click.expected);
    }
}
