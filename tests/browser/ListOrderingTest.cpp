#include "browser/ListOrdering.h"

#include "TestRows.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

namespace {

constexpr TDateTime OneMillisecond = 1.0 / 86400000.0;

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);
const QLocale Swedish(QLocale::Swedish, QLocale::Sweden);

FileRow SizedRow(const QString& sizeText, int64_t bytes) {
    FileRow row = MakeRow(QStringLiteral("x.pdb"), QStringLiteral("memo"), bytes, 45000.5);
    row.Size = sizeText;
    return row;
}

FileRow DatedRow(TDateTime value, const QString& text) {
    FileRow row = MakeRow(QStringLiteral("x.pdb"), QStringLiteral("memo"), 1, value);
    row.Changed = text;
    return row;
}

std::vector<int> Identity(size_t count) {
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

std::vector<int> FastOrder(const std::vector<FileRow>& rows, FileColumn column, Qt::SortOrder order,
                           const QCollator& collator) {
    if (column == FileColumn::Name || column == FileColumn::Type)
        return OrderByRanks(TextRanks(rows, column, collator), Identity(rows.size()), order);
    return OrderByValues(rows, Identity(rows.size()), column, order, collator);
}

} // namespace

TEST(ListOrdering, SizesCompareByByteCountThenText) {
    const QCollator collator = ListCollator(English);
    const struct {
        FileRow a, b;
        int expected;
    } cases[] = {
        {SizedRow(QStringLiteral("999"), 999), SizedRow(QStringLiteral("1.000"), 1000), -1},
        {SizedRow(QStringLiteral("25.000"), 25000), SizedRow(QStringLiteral("1.000"), 1000), 1},
        {SizedRow(QStringLiteral("1.000"), 1000), SizedRow(QStringLiteral("1.000"), 1000), 0},
        {SizedRow(QStringLiteral("-1"), -1), SizedRow(QStringLiteral("0"), 0), -1},
        // an archive view's texts carry units that text order would get wrong
        {SizedRow(QStringLiteral("900 Bytes"), 900), SizedRow(QStringLiteral("1.5 KB"), 1536), -1},
        {SizedRow(QStringLiteral("1.5 KB"), 1536), SizedRow(QStringLiteral("1.5 KB"), 1540), -1},
        {SizedRow(QStringLiteral("2.00 MB"), 2097152), SizedRow(QStringLiteral("1.5 KB"), 1536), 1},
        // equal counts written differently: by text
        {SizedRow(QStringLiteral("1,5 KB"), 1536), SizedRow(QStringLiteral("1.5 KB"), 1536), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a.Size.toStdString() + " vs " + c.b.Size.toStdString());
        EXPECT_EQ(CompareRows(FileColumn::Size, c.a, c.b, collator), c.expected);
        EXPECT_EQ(CompareRows(FileColumn::Size, c.b, c.a, collator), -c.expected);
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

TEST(ListOrdering, ChangedComparesMomentsToTheMillisecondThenText) {
    const QCollator collator = ListCollator(English);
    const TDateTime t = EncodeDateTime(2024, 3, 1, 10, 0, 0);
    const QString text = QStringLiteral("3/1/24 10:00:00 AM");
    const struct {
        const char* what;
        FileRow a, b;
        int expected;
    } cases[] = {
        {"equal values", DatedRow(t, text), DatedRow(t, text), 0},
        {"half a millisecond apart", DatedRow(t - OneMillisecond / 4, text),
         DatedRow(t + OneMillisecond / 4, text), 0},
        {"two seconds apart", DatedRow(t, text), DatedRow(t + 2.0 / 86400, text), -1},
        {"1.2 ms apart", DatedRow(t, text), DatedRow(t + 1.2 * OneMillisecond, text), -1},
        {"equal values, texts of two formats", DatedRow(t, QStringLiteral("01.03.24 10:00:00")),
         DatedRow(t, text), -1},
        {"a text that no longer parses", DatedRow(t, QStringLiteral("??")),
         DatedRow(t - 1, QStringLiteral("zz")), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CompareRows(FileColumn::Changed, c.a, c.b, collator), c.expected);
        EXPECT_EQ(CompareRows(FileColumn::Changed, c.b, c.a, collator), -c.expected);
    }
}

// Tolerating "less than a millisecond apart" pairwise is not transitive; the sort must not
// depend on the order the rows started in.
TEST(ListOrdering, ChangedOrderDoesNotDependOnTheStartingOrder) {
    const QCollator collator = ListCollator(English);
    const TDateTime t = EncodeDateTime(2024, 3, 1, 10, 0, 0);
    std::vector<FileRow> rows;
    for (double offset : {0.0, 0.6, 1.2, 1.8})
        rows.push_back(DatedRow(t + offset * OneMillisecond, QStringLiteral("same")));
    std::vector<int> start = {0, 1, 2, 3};
    do {
        std::vector<FileRow> shuffled;
        for (int i : start)
            shuffled.push_back(rows[size_t(i)]);
        const std::vector<FileRow> sorted =
            SortedByCompareRows(shuffled, FileColumn::Changed, Qt::AscendingOrder, collator);
        for (size_t i = 0; i + 1 < sorted.size(); ++i)
            for (size_t j = i + 1; j < sorted.size(); ++j)
                EXPECT_LE(CompareRows(FileColumn::Changed, sorted[i], sorted[j], collator), 0);
    } while (std::next_permutation(start.begin(), start.end()));
}

// The counting sort over cached ranks and the value sort must give exactly what a stable
// sort by CompareRows gives, ties included, in every locale kind.
TEST(ListOrdering, FastOrdersEqualStableSortByCompareRows) {
    QRandomGenerator random(20240301);
    const QStringList names = Texts(
        {"memo.pdb", "Memo.pdb", "MEMO.PDB", "Äpfel.pdb", "apfel.pdb", "Zettel.prc", "zettel.prc",
         "_x.pdb", "10 Tage.pdb", "9 Tage.pdb", "ß.pdb", "ss.pdb", "é.pdb", "e.pdb", "E.pdb", ""});
    const QStringList types = Texts({"memo", "MEMO", "addr", "Zip", "", "ZIP", "Ätsc", "date"});
    const TDateTime base = EncodeDateTime(2023, 5, 6, 7, 8, 10);
    std::vector<FileRow> rows;
    for (int i = 0; i < 400; ++i) {
        FileRow row = MakeRow(
            names[random.bounded(int(names.size()))], types[random.bounded(int(types.size()))],
            int64_t(random.bounded(6)) * 512,
            base + random.bounded(4) * 2.0 / 86400 + (random.bounded(3) - 1) * OneMillisecond / 10);
        if (random.bounded(4) == 0)
            row.Size = SizeText(row.Bytes); // as an archive view writes it
        if (random.bounded(5) == 0)
            row.Changed = QStringLiteral("unreadable %1").arg(random.bounded(3));
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
