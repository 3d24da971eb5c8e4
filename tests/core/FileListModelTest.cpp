#include "core/FileListModel.h"

#include "TestRows.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QSet>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);

// One unreadable database, an application whose creator ID reads "Zip", and ties on Type,
// Size and Changed.
std::vector<FileRow> MixedListing() {
    FileRow broken = MakeRow(QStringLiteral("broken.pdb"), QString(), 10, Stamp(2024, 3, 1, 10),
                             RowIcon::Unreadable);
    broken.Error = QStringLiteral("Error reading file");
    return {
        MakeRow(QStringLiteral("memo.pdb"), QStringLiteral("memo"), 2048, Stamp(2024, 3, 1, 10)),
        MakeRow(QStringLiteral("Address.pdb"), QStringLiteral("addr"), 999, Stamp(2023, 12, 24)),
        broken,
        MakeRow(QStringLiteral("Zany.prc"), QStringLiteral("Zip"), 1000,
                Stamp(2022, 6, 1, 23, 59, 58)),
        MakeRow(QStringLiteral("games.zip"), QStringLiteral("Zip"), 25000,
                Stamp(2024, 1, 15, 8, 30), RowIcon::Archive),
        MakeRow(QStringLiteral("backup.zip"), QStringLiteral("Zip"), 1000, Stamp(2024, 5, 5, 12),
                RowIcon::Archive),
    };
}

// Rows of the given names, of one size each.
std::vector<FileRow> Rows(const QStringList& names) {
    std::vector<FileRow> rows;
    for (const QString& name : names)
        rows.push_back(MakeRow(name, QStringLiteral("memo"), 1));
    return rows;
}

// r0, r1, ...: each row's size is its number.
std::vector<FileRow> Numbered(int count) {
    std::vector<FileRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(MakeRow(QStringLiteral("r%1").arg(i), QStringLiteral("memo"), i));
    return rows;
}

QStringList ModelNames(const FileListModel& model) {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.index(row, 0).data().toString();
    return names;
}

// The model under Qt's own checker of the model contract, through every change it makes.
struct Model {
    Model() {
        previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& text) {
                if (type != QtDebugMsg && type != QtInfoMsg)
                    ADD_FAILURE() << text.toStdString();
            });
        model.SetLocale(English);
    }
    ~Model() { qInstallMessageHandler(previous); }
    QtMessageHandler previous;
    FileListModel model;
    QAbstractItemModelTester tester{&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning};
};

} // namespace

// The cached ranks, the selection and the current row move with the rows through sorts and
// removals.
TEST(FileListModel, RepeatedSortsAgreeWithCompareRowsFromTheCurrentOrder) {
    Model m;
    std::vector<FileRow> rows = MixedListing();
    for (int copy = 0; copy < 3; ++copy)
        for (FileRow row : MixedListing()) {
            row.Name = row.Name.toUpper() + QString::number(copy);
            rows.push_back(row);
        }
    m.model.SetRows(rows);
    QItemSelectionModel selection(&m.model);
    QStringList selected;
    for (int row = 1; row < 24; row += 4) {
        selection.select(m.model.index(row, 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selected << m.model.Row(row).Name;
    }
    selection.setCurrentIndex(m.model.index(4, 1), QItemSelectionModel::NoUpdate); // games.zip
    const QCollator collator = ListCollator(English);
    const struct {
        FileColumn column;
        Qt::SortOrder order;
        QList<int> removeBefore;
    } steps[] = {
        {FileColumn::Type, Qt::AscendingOrder, {}},
        {FileColumn::Name, Qt::DescendingOrder, {}},
        {FileColumn::Type, Qt::DescendingOrder, {}},
        {FileColumn::Size, Qt::AscendingOrder, {}},
        {FileColumn::Name, Qt::AscendingOrder, {0, 5, 6}},
        {FileColumn::Type, Qt::AscendingOrder, {}},
        {FileColumn::Changed, Qt::DescendingOrder, {3}},
        {FileColumn::Name, Qt::DescendingOrder, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(&step - steps);
        for (int row : step.removeBefore)
            selected.removeOne(m.model.Row(row).Name);
        m.model.RemoveRows(step.removeBefore);
        std::vector<FileRow> current;
        for (int row = 0; row < m.model.RowCountValue(); ++row)
            current.push_back(m.model.Row(row));
        m.model.sort(int(step.column), step.order);
        EXPECT_EQ(ModelNames(m.model),
                  NamesOf(SortedByCompareRows(current, step.column, step.order, collator)));
        QStringList names;
        for (const QModelIndex& index : selection.selectedRows())
            names << index.data().toString();
        EXPECT_EQ(QSet<QString>(names.begin(), names.end()),
                  QSet<QString>(selected.begin(), selected.end()));
        EXPECT_EQ(selection.currentIndex().column(), 1);
        EXPECT_EQ(selection.currentIndex().siblingAtColumn(0).data().toString(),
                  QStringLiteral("games.zip"));
    }
}

TEST(FileListModel, ANewLocaleOrANewListingIsSortedAfresh) {
    Model m;
    m.model.SetRows(Rows(Texts({"Öl.pdb", "Zoo.pdb", "Oase.pdb"})));
    m.model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(ModelNames(m.model), Texts({"Oase.pdb", "Öl.pdb", "Zoo.pdb"}));
    m.model.SetLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
    m.model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(ModelNames(m.model), Texts({"Oase.pdb", "Zoo.pdb", "Öl.pdb"}));
    m.model.SetRows(Rows(Texts({"c.pdb", "a.pdb", "b.pdb"}))); // "Refresh": in the listing's order
    EXPECT_EQ(ModelNames(m.model), Texts({"c.pdb", "a.pdb", "b.pdb"}));
    m.model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(ModelNames(m.model), Texts({"a.pdb", "b.pdb", "c.pdb"}));
    m.model.Clear();
    m.model.sort(0, Qt::DescendingOrder);
    EXPECT_EQ(m.model.rowCount(), 0);
}

// Few runs of removed rows go with a signal each, bottom run first; thousands of scattered
// rows go in one layout change. Either way the rest keep their order, selection and indexes.
TEST(FileListModel, RemovedRowsGoAndTheRestKeepTheirOrderSelectionAndIndexes) {
    for (const int count : {10, 3000}) {
        SCOPED_TRACE(count);
        Model m;
        m.model.SetRows(Numbered(count));
        m.model.sort(int(FileColumn::Size), Qt::DescendingOrder); // r(count - 1) ... r0
        const QPersistentModelIndex gone = m.model.index(1, 0);
        const QPersistentModelIndex kept = m.model.index(4, 2);
        QItemSelectionModel selection(&m.model);
        selection.select(m.model.index(count - 2, 0), // r1
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        // What a view sees at each signal: the model must already be that much smaller.
        QList<QPair<int, int>> runs;
        QList<int> left;
        QObject::connect(&m.model, &QAbstractItemModel::rowsRemoved,
                         [&](const QModelIndex&, int first, int last) {
                             runs.append({first, last});
                             left.append(m.model.RowCountValue());
                         });
        QList<int> doomed{2, 3, -1, count + 5};
        for (int row = 1; row < count; row += 2)
            doomed.append(row);
        m.model.RemoveRows(doomed);

        if (count == 10) {
            EXPECT_EQ(runs, (QList<QPair<int, int>>{{9, 9}, {7, 7}, {5, 5}, {1, 3}}));
            EXPECT_EQ(left, (QList<int>{9, 8, 7, 4}));
        } else {
            EXPECT_TRUE(runs.isEmpty());
        }
        QStringList expected{QStringLiteral("r%1").arg(count - 1)};
        for (int row = 4; row < count; row += 2)
            expected << QStringLiteral("r%1").arg(count - 1 - row);
        EXPECT_EQ(ModelNames(m.model), expected);
        EXPECT_FALSE(gone.isValid());
        EXPECT_EQ(kept.row(), 1);
        EXPECT_EQ(kept.column(), 2);
        ASSERT_EQ(selection.selectedRows().size(), 1);
        EXPECT_EQ(selection.selectedRows()[0].data().toString(), QStringLiteral("r1"));
        m.model.sort(int(FileColumn::Name), Qt::AscendingOrder);
        EXPECT_EQ(m.model.Row(0).Name, QStringLiteral("r1"));

        const int before = int(runs.size());
        m.model.RemoveRows({-3, count}); // nothing valid to remove: no signal at all
        EXPECT_EQ(runs.size(), before);
        EXPECT_EQ(m.model.RowCountValue(), int(expected.size()));
    }
}

TEST(FileListModel, IconsTipsAndTextsFollowTheKindOfRow) {
    Model m;
    m.model.SetRows(MixedListing());
    m.model.SetRowIcons(QStringLiteral("palm"), QStringLiteral("archive"),
                        QStringLiteral("unreadable"));
    const char* icons[] = {"palm", "palm", "unreadable", "palm", "archive", "archive"};
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        const QModelIndex name = m.model.index(row, 0);
        EXPECT_EQ(name.data(Qt::DecorationRole).toString(), QString::fromUtf8(icons[row]));
        EXPECT_FALSE(name.siblingAtColumn(1).data(Qt::DecorationRole).isValid());
        EXPECT_EQ(name.siblingAtColumn(3).data(Qt::ToolTipRole).toString(),
                  row == 2 ? QStringLiteral("Error reading file") : QString());
    }
    const QModelIndex memo = m.model.index(0, 0);
    EXPECT_EQ(memo.siblingAtColumn(2).data().toString(), QStringLiteral("2.048"));
    EXPECT_EQ(memo.siblingAtColumn(3).data().toString(), FileDateText(Stamp(2024, 3, 1, 10)));
    EXPECT_EQ(memo.siblingAtColumn(2).data(Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
}

TEST(FileListModel, DraggedRowsAreFileUrlsOncePerRowAndArchiveEntriesLoseTheirFolders) {
    Model m;
    m.model.SetRows(Rows(Texts({"a b.pdb", "games/chess.prc", "win\\memo.pdb"})));
    m.model.SetFolder(QStringLiteral("/data/Palm/"));
    // A selected row brings all its columns, in any order.
    std::unique_ptr<QMimeData> dragged(m.model.mimeData(
        {m.model.index(1, 3), m.model.index(0, 0), m.model.index(1, 0), m.model.index(0, 2)}));
    ASSERT_TRUE(dragged);
    EXPECT_EQ(dragged->data(QStringLiteral("text/uri-list")),
              QByteArray("file:///data/Palm/a%20b.pdb\r\nfile:///data/Palm/games/chess.prc\r\n"));
    EXPECT_EQ(m.model.mimeData({}), nullptr);

    m.model.SetFolder(QStringLiteral("/tmp/x/"));
    m.model.SetArchiveView(true);
    EXPECT_EQ(m.model.RowPath(1), QStringLiteral("/tmp/x/chess.prc"));
    EXPECT_EQ(m.model.RowPath(2), QStringLiteral("/tmp/x/memo.pdb"));
}
