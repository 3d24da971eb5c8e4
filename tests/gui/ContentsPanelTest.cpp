// The contents panel through the real window: it follows the selected row, in a folder
// and in an archive's view, marks damaged entries, and keeps its place across a restart.
#include "gui/ContentsPanel.h"

#include "WindowFixture.h"
#include "core/ContentsTableModel.h"
#include "support/ZipBuilder.h"

#include <QDockWidget>
#include <QLabel>
#include <QTreeView>

namespace {

QByteArray RecordBytes(int records) {
    PalmFileBuilder b;
    b.name = "Records";
    b.type = "DATA";
    b.creator = "test";
    const uint32_t first = 78 + uint32_t(records) * 8 + 2;
    for (int i = 0; i < records; ++i) {
        b.recordOffsets.push_back(first + uint32_t(i) * 4);
        b.recordInfo.push_back(uint32_t(i + 1));
    }
    b.tail = QByteArray(2 + records * 4, 'r');
    return b.Bytes();
}

// The header counts five records; the file ends after the first entry.
QByteArray CutList() {
    PalmFileBuilder b;
    b.name = "Cut";
    b.type = "DATA";
    b.creator = "test";
    b.recordOffsets = {200};
    b.recordCountOverride = 5;
    return b.Bytes();
}

QByteArray ResourceBytes() {
    PalmFileBuilder b;
    b.name = "Resources";
    b.type = "appl";
    b.creator = "test";
    b.attributes = 0x0001;
    const uint32_t first = 78 + 2 * 10 + 2;
    b.resources = {{"tSTR", 1000, first}, {"code", 1, 0xFFFFFF00}};
    b.tail = QByteArray(2 + 6, 'r');
    return b.Bytes();
}

class ContentsPanelWindow : public WindowFixture {
protected:
    ContentsTableModel& Rows() { return w->Contents->Rows(); }
    QString Cell(int row, int column) { return Rows().index(row, column).data().toString(); }
};

} // namespace

TEST_F(ContentsPanelWindow, FollowsTheSelectedRow) {
    files.Write(QStringLiteral("a.pdb"), RecordBytes(3));
    files.Write(QStringLiteral("b.prc"), ResourceBytes());
    files.Write(QStringLiteral("c.pdb"), CutList());
    Start(files.Path());
    w->tbxdpContents->show();

    ClickRow(QStringLiteral("a.pdb"));
    EXPECT_EQ(Rows().rowCount(), 3);
    EXPECT_EQ(Rows().columnCount(), int(ContentsTableModel::RecordColumnCount));
    EXPECT_EQ(Cell(2, ContentsTableModel::RecordUniqueId), QStringLiteral("0x000003"));
    EXPECT_TRUE(w->Contents->ProblemText().isEmpty());

    ClickRow(QStringLiteral("b.prc"));
    ASSERT_EQ(Rows().rowCount(), 2);
    EXPECT_EQ(Cell(0, ContentsTableModel::ResourceType), QStringLiteral("tSTR"));
    // The resource beyond the file's end is marked and says why.
    EXPECT_TRUE(Rows().index(1, 0).data(Qt::DecorationRole).isValid());
    EXPECT_FALSE(Rows().index(1, 1).data(Qt::ToolTipRole).toString().isEmpty());
    EXPECT_FALSE(Rows().index(0, 0).data(Qt::DecorationRole).isValid());

    ClickRow(QStringLiteral("c.pdb"));
    EXPECT_EQ(Rows().rowCount(), 1); // the one whole entry
    EXPECT_TRUE(w->Contents->ProblemText().contains(QStringLiteral("cut off")))
        << w->Contents->ProblemText().toStdString();

    w->FileList()->selectionModel()->clearSelection();
    w->ShowDetails(QString());
    EXPECT_EQ(Rows().rowCount(), 0);
    EXPECT_TRUE(w->Contents->File().isEmpty());
}

TEST_F(ContentsPanelWindow, DescribesTheExtractedCopyOfAnArchiveRow) {
    ZipBuilder()
        .Add("a.pdb", RecordBytes(5))
        .Add("b.prc", ResourceBytes())
        .WriteTo(files.File(QStringLiteral("Backup.zip")));
    Start(files.Path());
    w->tbxdpContents->show();
    ClickRow(QStringLiteral("Backup.zip"));
    EXPECT_EQ(Rows().rowCount(), 0); // an archive has no entry list of its own
    DoubleClickRow(QStringLiteral("Backup.zip"));
    ASSERT_TRUE(w->ArchiveView());
    ClickRow(QStringLiteral("a.pdb"));
    EXPECT_EQ(Rows().rowCount(), 5);
    EXPECT_TRUE(w->Contents->File().startsWith(TempFolderPath()));
    ClickRow(QStringLiteral("b.prc"));
    EXPECT_EQ(Rows().rowCount(), 2);
}

TEST_F(ContentsPanelWindow, SortsByAClickOnAColumnHeader) {
    files.Write(QStringLiteral("a.pdb"), RecordBytes(4));
    Start(files.Path());
    w->tbxdpContents->show();
    ClickRow(QStringLiteral("a.pdb"));
    QTreeView* list = w->Contents->List();
    list->sortByColumn(ContentsTableModel::RecordUniqueId, Qt::DescendingOrder);
    EXPECT_EQ(Cell(0, ContentsTableModel::RecordIndex), QStringLiteral("3"));
    // Another file is listed in its own order again.
    ClickRow(QStringLiteral("a.pdb"));
    EXPECT_EQ(Cell(0, ContentsTableModel::RecordIndex), QStringLiteral("0"));
}

TEST_F(ContentsPanelWindow, ItsVisibilityAndPlaceAreKeptAcrossARestart) {
    Start(files.Path());
    EXPECT_TRUE(w->tbxdpContents->isHidden()); // hidden until asked for
    w->tbxiContents->trigger();
    EXPECT_TRUE(w->tbxdpContents->isVisible());
    w->tbxdpContents->setFloating(true);
    w->tbxdpContents->setGeometry(200, 150, 500, 300);
    QCoreApplication::processEvents();
    Close();
    const QByteArray ini = Read(program.File(QStringLiteral("Brisko.ini")));
    EXPECT_TRUE(ini.contains("FileInfoContentsVisible=1")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("[tbxdpContents]")) << ini.toStdString();

    Start(files.Path());
    EXPECT_TRUE(w->tbxdpContents->isVisible());
    EXPECT_TRUE(w->tbxdpContents->isFloating());
    EXPECT_EQ(w->tbxdpContents->size(), QSize(500, 300));
    w->tbxiContents->trigger();
    Close();
    Start(files.Path());
    EXPECT_TRUE(w->tbxdpContents->isHidden());

    // Docked: its side and height come back.
    w->tbxiContents->trigger();
    w->tbxdpContents->setFloating(false);
    w->addDockWidget(Qt::TopDockWidgetArea, w->tbxdpContents);
    w->resizeDocks({w->tbxdpContents}, {230}, Qt::Vertical);
    QCoreApplication::processEvents();
    const int height = w->tbxdpContents->height();
    Close();
    Start(files.Path());
    QCoreApplication::processEvents();
    EXPECT_FALSE(w->tbxdpContents->isFloating());
    EXPECT_EQ(w->dockWidgetArea(w->tbxdpContents), Qt::TopDockWidgetArea);
    EXPECT_EQ(w->tbxdpContents->height(), height);
}
