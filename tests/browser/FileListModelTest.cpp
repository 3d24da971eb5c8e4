#include "browser/FileListModel.h"

#include "TestRows.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);

FileRow Unreadable(const QString& name, int64_t bytes, int32_t changed = Stamp(2023, 3, 15, 12)) {
    FileRow row = MakeRow(name, QString(), bytes, changed, RowIcon::Unreadable);
    row.Error = QStringLiteral("Error reading file");
    return row;
}

// A folder listing's order: databases, applications, archives; one unreadable database,
// one application whose creator ID reads "Zip", and ties on Type, Size and Changed.
std::vector<FileRow> MixedListing() {
    return {
        MakeRow(QStringLiteral("memo.pdb"), QStringLiteral("memo"), 2048,
                Stamp(2024, 3, 1, 10, 0, 0)),
        MakeRow(QStringLiteral("Address.pdb"), QStringLiteral("addr"), 999, Stamp(2023, 12, 24)),
        Unreadable(QStringLiteral("broken.pdb"), 10, Stamp(2024, 3, 1, 10, 0, 0)),
        MakeRow(QStringLiteral("Zany.prc"), QStringLiteral("Zip"), 1000,
                Stamp(2022, 6, 1, 23, 59, 58)),
        MakeRow(QStringLiteral("games.zip"), QStringLiteral("Zip"), 25000,
                Stamp(2024, 1, 15, 8, 30, 0), RowIcon::Archive),
        MakeRow(QStringLiteral("backup.zip"), QStringLiteral("Zip"), 1000,
                Stamp(2024, 5, 5, 12, 0, 0), RowIcon::Archive),
    };
}

QStringList ModelNames(const FileListModel& model) {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.index(row, 0).data().toString();
    return names;
}

int RowNamed(const FileListModel& model, const QString& name) {
    return int(ModelNames(model).indexOf(name));
}

struct Model {
    FileListModel model;
    Model() { model.SetLocale(English); }
};

} // namespace

TEST(FileListModel, SortsEachColumnBothWaysKeepingTiesInListingOrder) {
    const struct {
        FileColumn column;
        Qt::SortOrder order;
        QStringList expected;
    } cases[] = {
        {FileColumn::Name, Qt::AscendingOrder,
         Texts({"Address.pdb", "backup.zip", "broken.pdb", "games.zip", "memo.pdb", "Zany.prc"})},
        {FileColumn::Name, Qt::DescendingOrder,
         Texts({"Zany.prc", "memo.pdb", "games.zip", "broken.pdb", "backup.zip", "Address.pdb"})},
        {FileColumn::Type, Qt::AscendingOrder,
         Texts({"broken.pdb", "Address.pdb", "memo.pdb", "Zany.prc", "games.zip", "backup.zip"})},
        {FileColumn::Type, Qt::DescendingOrder,
         Texts({"Zany.prc", "games.zip", "backup.zip", "memo.pdb", "Address.pdb", "broken.pdb"})},
        {FileColumn::Size, Qt::AscendingOrder,
         Texts({"broken.pdb", "Address.pdb", "Zany.prc", "backup.zip", "memo.pdb", "games.zip"})},
        {FileColumn::Size, Qt::DescendingOrder,
         Texts({"games.zip", "memo.pdb", "Zany.prc", "backup.zip", "Address.pdb", "broken.pdb"})},
        {FileColumn::Changed, Qt::AscendingOrder,
         Texts({"Zany.prc", "Address.pdb", "games.zip", "memo.pdb", "broken.pdb", "backup.zip"})},
        {FileColumn::Changed, Qt::DescendingOrder,
         Texts({"backup.zip", "memo.pdb", "broken.pdb", "games.zip", "Address.pdb", "Zany.prc"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.column) * 10 + int(c.order));
        Model m;
        m.model.SetRows(MixedListing());
        m.model.sort(int(c.column), c.order);
        EXPECT_EQ(ModelNames(m.model), c.expected);
    }
}

// The cached ranks move with the rows through sorts and removals.
TEST(FileListModel, RepeatedSortsAgreeWithCompareRowsFromTheCurrentOrder) {
    Model m;
    std::vector<FileRow> rows = MixedListing();
    for (int copy = 0; copy < 3; ++copy)
        for (FileRow row : MixedListing()) {
            row.Name = row.Name.toUpper() + QString::number(copy);
            rows.push_back(row);
        }
    m.model.SetRows(rows);
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
        m.model.RemoveRows(step.removeBefore);
        std::vector<FileRow> current;
        for (int row = 0; row < m.model.RowCountValue(); ++row)
            current.push_back(m.model.Row(row));
        m.model.sort(int(step.column), step.order);
        EXPECT_EQ(ModelNames(m.model),
                  NamesOf(SortedByCompareRows(current, step.column, step.order, collator)));
    }
}

TEST(FileListModel, ANewLocaleOrdersTheNamesAgain) {
    Model m;
    m.model.SetRows({MakeRow(QStringLiteral("Öl.pdb"), {}, 1),
                     MakeRow(QStringLiteral("Zoo.pdb"), {}, 1),
                     MakeRow(QStringLiteral("Oase.pdb"), {}, 1)});
    m.model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(ModelNames(m.model), Texts({"Oase.pdb", "Öl.pdb", "Zoo.pdb"}));
    m.model.SetLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
    m.model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(ModelNames(m.model), Texts({"Oase.pdb", "Zoo.pdb", "Öl.pdb"}));
}

TEST(FileListModel, NewListingStandsInGivenOrderAndKeepsTheSortState) {
    Model m;
    SortState state;
    m.model.SetRows(MixedListing());
    m.model.sort(int(FileColumn::Size), state.Click(FileColumn::Size));
    EXPECT_EQ(ModelNames(m.model).first(), QStringLiteral("broken.pdb"));

    m.model.SetRows(MixedListing()); // "Refresh"
    EXPECT_EQ(ModelNames(m.model), NamesOf(MixedListing()));
    EXPECT_EQ(state.Click(FileColumn::Size), Qt::DescendingOrder);
    m.model.sort(int(FileColumn::Size), state.Order());
    EXPECT_EQ(ModelNames(m.model).first(), QStringLiteral("games.zip"));
}

TEST(FileListModel, SelectionAndPersistentIndexesFollowTheirRowsThroughASort) {
    Model m;
    m.model.SetRows(MixedListing());
    QItemSelectionModel selection(&m.model);
    const QString selected[] = {QStringLiteral("games.zip"), QStringLiteral("Address.pdb")};
    for (const QString& name : selected)
        selection.select(m.model.index(RowNamed(m.model, name), 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.setCurrentIndex(m.model.index(RowNamed(m.model, QStringLiteral("memo.pdb")), 1),
                              QItemSelectionModel::NoUpdate);
    const QPersistentModelIndex zany =
        m.model.index(RowNamed(m.model, QStringLiteral("Zany.prc")), 2);

    for (int column = 0; column < FileColumnCount; ++column) {
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            m.model.sort(column, order);
            QStringList names;
            for (const QModelIndex& index : selection.selectedRows())
                names << index.data().toString();
            names.sort();
            EXPECT_EQ(names, Texts({"Address.pdb", "games.zip"}));
            EXPECT_EQ(selection.currentIndex().siblingAtColumn(0).data().toString(),
                      QStringLiteral("memo.pdb"));
            EXPECT_EQ(QModelIndex(zany).siblingAtColumn(0).data().toString(),
                      QStringLiteral("Zany.prc"));
        }
    }
}

TEST(FileListModel, RemoveRowsTakesContiguousRunsAndKeepsTheRestInOrder) {
    Model m;
    std::vector<FileRow> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back(MakeRow(QStringLiteral("r%1").arg(i), QStringLiteral("memo"), i));
    m.model.SetRows(rows);
    const QPersistentModelIndex r5 = m.model.index(5, 0);
    const QPersistentModelIndex r3 = m.model.index(3, 0);
    QItemSelectionModel selection(&m.model);
    selection.select(m.model.index(8, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    // What a view sees after each run: the model must already read as the smaller list.
    QList<QPair<int, int>> runs;
    QList<QStringList> seen;
    QObject::connect(&m.model, &QAbstractItemModel::rowsRemoved,
                     [&](const QModelIndex&, int first, int last) {
                         runs.append({first, last});
                         seen.append(ModelNames(m.model));
                     });
    m.model.RemoveRows({7, 1, 3, 4, 4, -1, 42});

    EXPECT_EQ(runs, (QList<QPair<int, int>>{{7, 7}, {3, 4}, {1, 1}}));
    ASSERT_EQ(seen.size(), 3);
    EXPECT_EQ(seen[0], Texts({"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r8", "r9"}));
    EXPECT_EQ(seen[1], Texts({"r0", "r1", "r2", "r5", "r6", "r8", "r9"}));
    EXPECT_EQ(seen[2], Texts({"r0", "r2", "r5", "r6", "r8", "r9"}));
    EXPECT_EQ(ModelNames(m.model), seen[2]);
    EXPECT_EQ(r5.row(), 2);
    EXPECT_FALSE(r3.isValid());
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows().first().data().toString(), QStringLiteral("r8"));

    // Nothing valid to remove: no signal at all.
    m.model.RemoveRows({-3, 6, 100});
    EXPECT_EQ(runs.size(), 3);
}

TEST(FileListModel, ThousandsOfScatteredRowsGoInOneChange) {
    Model m;
    std::vector<FileRow> rows;
    QList<int> odd;
    for (int i = 0; i < 3000; ++i) {
        rows.push_back(MakeRow(QStringLiteral("r%1").arg(i), QStringLiteral("memo"), i));
        if (i % 2 == 1)
            odd.append(i);
    }
    m.model.SetRows(rows);
    m.model.sort(int(FileColumn::Size), Qt::DescendingOrder); // r2999 ... r0
    const QPersistentModelIndex gone = m.model.index(1, 0);   // r2998
    const QPersistentModelIndex kept = m.model.index(2, 2);   // r2997
    QItemSelectionModel selection(&m.model);
    selection.select(m.model.index(2998, 0), // r1
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QSignalSpy removals(&m.model, &QAbstractItemModel::rowsRemoved);

    m.model.RemoveRows(odd); // the rows now at odd places: r2998, r2996, ... r0

    EXPECT_EQ(removals.size(), 0);
    ASSERT_EQ(m.model.RowCountValue(), 1500);
    for (int row = 0; row < 1500; ++row)
        ASSERT_EQ(m.model.Row(row).Name, QStringLiteral("r%1").arg(2999 - 2 * row));
    EXPECT_EQ(kept.row(), 1);
    EXPECT_EQ(kept.column(), 2);
    EXPECT_FALSE(gone.isValid());
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows().first().data().toString(), QStringLiteral("r1"));
    m.model.sort(int(FileColumn::Name), Qt::AscendingOrder); // ranks made after the removal
    EXPECT_EQ(m.model.Row(0).Name, QStringLiteral("r1"));
}

TEST(FileListModel, RolesFollowTheKindOfRowNotItsTexts) {
    Model m;
    FileRow palmZip = MakeRow(QStringLiteral("Zany.prc"), QStringLiteral("Zip"), 1000);
    m.model.SetRows({MakeRow(QStringLiteral("memo.pdb"), QStringLiteral("memo"), 1234567),
                     MakeRow(QStringLiteral("games.zip"), QStringLiteral("Zip"), 9,
                             Stamp(2023, 3, 15, 12), RowIcon::Archive),
                     Unreadable(QStringLiteral("broken.pdb"), 10), palmZip});
    m.model.SetRowIcons(QStringLiteral("palm"), QStringLiteral("archive"),
                        QStringLiteral("unreadable"));
    const struct {
        const char* icon;
        const char* toolTip;
    } expected[] = {
        {"palm", ""}, {"archive", ""}, {"unreadable", "Error reading file"}, {"palm", ""}};
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(m.model.index(row, 0).data(Qt::DecorationRole).toString(),
                  QString::fromUtf8(expected[row].icon));
        for (int column = 0; column < FileColumnCount; ++column) {
            EXPECT_EQ(m.model.index(row, column).data(Qt::ToolTipRole).toString(),
                      QString::fromUtf8(expected[row].toolTip));
            if (column > 0) {
                EXPECT_FALSE(m.model.index(row, column).data(Qt::DecorationRole).isValid());
            }
        }
    }
    const QModelIndex memo = m.model.index(0, 0);
    EXPECT_EQ(memo.siblingAtColumn(1).data().toString(), QStringLiteral("memo"));
    EXPECT_EQ(memo.siblingAtColumn(2).data().toString(), QStringLiteral("1.234.567"));
    EXPECT_EQ(memo.siblingAtColumn(3).data().toString(), FileDateText(Stamp(2023, 3, 15, 12)));
    EXPECT_EQ(memo.siblingAtColumn(2).data(Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(memo.data(Qt::TextAlignmentRole).isValid());
    EXPECT_TRUE(m.model.flags(memo).testFlag(Qt::ItemIsDragEnabled));

    QSignalSpy captionsChanged(&m.model, &QAbstractItemModel::headerDataChanged);
    m.model.SetColumnCaptions(Texts({"Nom", "Type", "Taille", "Modifié"}));
    EXPECT_EQ(captionsChanged.size(), 1);
    EXPECT_EQ(m.model.headerData(3, Qt::Horizontal).toString(), QString::fromUtf8("Modifié"));
    EXPECT_FALSE(m.model.headerData(4, Qt::Horizontal).isValid());

    FileRow entry = MakeRow(QStringLiteral("sub/e.pdb"), QStringLiteral("memo"), 1536);
    entry.SizeWithUnit = true; // as an archive's rows are
    m.model.SetRows({entry});
    EXPECT_EQ(m.model.index(0, 2).data().toString(), SizeText(1536));
}

TEST(FileListModel, RowPathsInFolderAndArchiveViews) {
    const struct {
        bool archiveView;
        const char* folder;
        const char* name;
        const char* path;
    } cases[] = {
        {false, "/home/u/Palm/", "memo.pdb", "/home/u/Palm/memo.pdb"},
        {false, "/home/u/Palm/", "a b#1.prc", "/home/u/Palm/a b#1.prc"},
        {true, "/opt/brisko/Temp/", "games/chess.prc", "/opt/brisko/Temp/chess.prc"},
        {true, "/opt/brisko/Temp/", "win\\memo.pdb", "/opt/brisko/Temp/memo.pdb"},
        {true, "/opt/brisko/Temp/", "top.pdb", "/opt/brisko/Temp/top.pdb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Model m;
        m.model.SetRows({MakeRow(QString::fromUtf8(c.name), QStringLiteral("memo"), 1)});
        m.model.SetFolder(QString::fromUtf8(c.folder));
        m.model.SetArchiveView(c.archiveView);
        EXPECT_EQ(m.model.RowPath(0), QString::fromUtf8(c.path));
    }
}

TEST(FileListModel, DraggedRowsBecomeFileUrlsOncePerRow) {
    Model m;
    m.model.SetRows({MakeRow(QStringLiteral("a b.pdb"), QStringLiteral("memo"), 1),
                     MakeRow(QStringLiteral("sub/c.prc"), QStringLiteral("memo"), 1),
                     MakeRow(QStringLiteral("d.pdb"), QStringLiteral("memo"), 1)});
    m.model.SetFolder(QStringLiteral("/data/Palm/"));
    EXPECT_EQ(m.model.mimeTypes(), QStringList{QStringLiteral("text/uri-list")});
    // a selected row brings all its columns; the order of the indexes does not matter
    const QModelIndexList dragged = {m.model.index(2, 3), m.model.index(0, 0), m.model.index(2, 0),
                                     m.model.index(0, 2)};
    std::unique_ptr<QMimeData> folderView(m.model.mimeData(dragged));
    ASSERT_TRUE(folderView);
    // what a file manager or the folder tree reads: encoded URLs, one a line
    EXPECT_EQ(folderView->data(QStringLiteral("text/uri-list")),
              QByteArray("file:///data/Palm/a%20b.pdb\r\nfile:///data/Palm/d.pdb\r\n"));

    m.model.SetFolder(QStringLiteral("/opt/brisko/Temp/"));
    m.model.SetArchiveView(true);
    std::unique_ptr<QMimeData> archiveView(m.model.mimeData({m.model.index(1, 0)}));
    ASSERT_TRUE(archiveView);
    EXPECT_EQ(archiveView->urls(),
              QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/opt/brisko/Temp/c.prc"))});
    EXPECT_EQ(m.model.mimeData({}), nullptr);
}

// Qt's own checker of the model contract, run through every change the model makes.
TEST(FileListModel, KeepsQtsModelContract) {
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                warnings << text;
        });
    {
        Model m;
        QAbstractItemModelTester tester(&m.model,
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        m.model.SetRows(MixedListing());
        for (int column = 0; column < FileColumnCount; ++column)
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder})
                m.model.sort(column, order);
        m.model.RemoveRows({0, 2, 3, 5});
        std::vector<FileRow> many;
        QList<int> even;
        for (int i = 0; i < 400; ++i) {
            many.push_back(MakeRow(QStringLiteral("f%1").arg(i), {}, i));
            even.append(2 * i);
        }
        m.model.SetRows(many);
        m.model.RemoveRows(even);
        m.model.SetColumnCaptions(Texts({"a", "b", "c", "d"}));
        m.model.SetRowIcons(1, 2, 3);
        m.model.sort(-1, Qt::AscendingOrder);
        m.model.Clear();
        m.model.sort(0, Qt::DescendingOrder);
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
}
