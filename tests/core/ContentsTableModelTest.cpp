// The contents panel's rows: what each column says for records, resources and the blocks,
// damaged entries marked, and sorting by each column.
#include "core/ContentsTableModel.h"

#include "support/PalmFileBuilder.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

namespace {

DatabaseContents ContentsOf(const PalmFileBuilder& b) {
    MemoryByteSource source(b.Bytes().toStdString());
    return ReadDatabaseContents(source);
}

// Three records after a 10-byte app info block; the last points beyond the file.
PalmFileBuilder Records() {
    PalmFileBuilder b;
    b.name = "Records";
    const uint32_t appInfo = 78 + 3 * 8 + 2;
    b.appInfoArea = appInfo;
    b.recordOffsets = {appInfo + 10, appInfo + 14, 0xFFFFFFF0};
    b.recordInfo = {(0x90u | 2u) << 24 | 0x00ABCD, (0x40u | 1u) << 24 | 0x000002, 0x000001};
    b.tail = QByteArray(2 + 10, 'a') + QByteArray(4, 'b') + QByteArray(9, 'c');
    return b;
}

QStringList Row(const ContentsTableModel& model, int row) {
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column)
        texts << model.index(row, column).data().toString();
    return texts;
}

QStringList Column(const ContentsTableModel& model, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

QStringList Names(const char* text) {
    return QString::fromUtf8(text).split(u'|');
}

} // namespace

TEST(ContentsTableModel, RecordRowsSayWhatTheListHolds) {
    ContentsTableModel model;
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    QStringList categories(16, QString());
    categories[2] = QStringLiteral("Business");
    model.SetContents(ContentsOf(Records()), categories);
    model.SetProblemIcon(QStringLiteral("marked"));

    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(Row(model, 0), Names("App info|0x00000068|10|||"));
    EXPECT_EQ(Row(model, 1), Names("0|0x00000072|4|deleted, secret|2 Business|0x00ABCD"));
    EXPECT_EQ(Row(model, 2), Names("1|0x00000076|9|dirty|1|0x000002"));
    EXPECT_EQ(Row(model, 3), Names("2|0xFFFFFFF0|0||0|0x000001"));
    // Only the damaged entry is marked, and says why.
    for (int row = 0; row < 4; ++row) {
        const bool damaged = row == 3;
        EXPECT_EQ(model.index(row, 0).data(Qt::DecorationRole).isValid(), damaged) << row;
        EXPECT_EQ(model.index(row, 4).data(Qt::ToolTipRole).toString().isEmpty(), !damaged) << row;
    }
    EXPECT_EQ(model.headerData(5, Qt::Horizontal).toString(), QStringLiteral("Unique ID"));
}

TEST(ContentsTableModel, ResourceRowsShowTypeAndId) {
    PalmFileBuilder b;
    b.name = "Resources";
    b.attributes = 0x0001;
    const uint32_t first = 78 + 2 * 10 + 2;
    b.resources = {{"tSTR", 1000, first}, {"code", 1, first + 3}};
    b.tail = QByteArray(2 + 3 + 5, 'r');
    ContentsTableModel model;
    model.SetContents(ContentsOf(b));
    ASSERT_EQ(model.columnCount(), int(ContentsTableModel::ResourceColumnCount));
    EXPECT_EQ(Row(model, 0), Names("0|tSTR|1000|0x00000064|3"));
    EXPECT_EQ(Row(model, 1), Names("1|code|1|0x00000067|5"));
    model.sort(ContentsTableModel::ResourceType, Qt::AscendingOrder);
    EXPECT_EQ(Column(model, 0), Names("1|0"));
    EXPECT_EQ(model.Entry(0).Type, "code");
}

TEST(ContentsTableModel, SortsEachColumnByValueWithTheBlocksFirst) {
    const struct {
        int column;
        Qt::SortOrder order;
        const char* indexes; // the index column after sorting
    } cases[] = {
        {ContentsTableModel::RecordIndex, Qt::DescendingOrder, "2|1|0|App info"},
        {ContentsTableModel::RecordSize, Qt::AscendingOrder, "2|0|1|App info"},
        {ContentsTableModel::RecordSize, Qt::DescendingOrder, "App info|1|0|2"},
        {ContentsTableModel::RecordOffset, Qt::DescendingOrder, "2|1|0|App info"},
        {ContentsTableModel::RecordAttributes, Qt::AscendingOrder, "App info|2|1|0"},
        {ContentsTableModel::RecordCategory, Qt::AscendingOrder, "App info|2|1|0"},
        {ContentsTableModel::RecordUniqueId, Qt::AscendingOrder, "App info|2|1|0"},
        {ContentsTableModel::RecordUniqueId, Qt::DescendingOrder, "0|1|2|App info"},
    };
    for (const auto& c : cases) {
        ContentsTableModel model;
        model.SetContents(ContentsOf(Records()));
        model.sort(c.column, c.order);
        EXPECT_EQ(Column(model, 0), Names(c.indexes)) << c.column << " " << int(c.order);
    }
}

TEST(ContentsTableModel, ASelectedRowStaysSelectedAcrossASort) {
    ContentsTableModel model;
    model.SetContents(ContentsOf(Records()));
    const QPersistentModelIndex kept = model.index(1, 2); // record 0
    model.sort(ContentsTableModel::RecordIndex, Qt::DescendingOrder);
    ASSERT_TRUE(kept.isValid());
    EXPECT_EQ(kept.row(), 2);
    EXPECT_EQ(model.Entry(kept.row()).Index, 0);
}

TEST(ContentsTableModel, ClearedItHasNoRows) {
    ContentsTableModel model;
    model.SetContents(ContentsOf(Records()));
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
}
