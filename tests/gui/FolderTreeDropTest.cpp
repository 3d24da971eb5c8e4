// Files dropped on the folder tree go to the folder highlighted at the drop, also when
// the tree's rows have moved under the pointer since it was highlighted (a folder opened
// or loaded during the drag).
#include "gui/FolderTreeView.h"
#include "support/TempFolder.h"

#include <QDragMoveEvent>
#include <QFileSystemModel>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The offscreen platform has no drag of its own (and the application hands drag events
// only to the target of a running drag), so the test gives the tree its events itself,
// taken as coming from the file list.
class TreeUnderTest : public FolderTreeView {
public:
    void Give(QDragEnterEvent* event) { dragEnterEvent(event); }
    void Give(QDragMoveEvent* event) { dragMoveEvent(event); }
    void Give(QDropEvent* event) { dropEvent(event); }

protected:
    bool IsFromDragSource(const QDropEvent*) const override { return true; }
};

struct DropCase {
    const char* Title;
    std::function<void(QStandardItemModel&, const TempFolder&)> DuringTheDrag;
    const char* Expected; // folder name dropped on; null: the drop is refused
};

QStandardItem* FolderItem(const TempFolder& files, const char* name) {
    auto* item = new QStandardItem(QString::fromLatin1(name));
    item->setData(files.MakeFolder(QLatin1String(name)), QFileSystemModel::FilePathRole);
    return item;
}

} // namespace

TEST(FolderTreeDrop, TheHighlightedFolderIsTheTargetEvenWhenRowsMoved) {
    const std::vector<DropCase> cases{
        {"nothing moves", [](QStandardItemModel&, const TempFolder&) {}, "b"},
        {"a row comes in above",
         [](QStandardItemModel& model, const TempFolder& files) {
             model.insertRow(0, FolderItem(files, "new"));
         },
         "b"},
        {"a row above goes",
         [](QStandardItemModel& model, const TempFolder&) { model.removeRow(0); }, "b"},
        {"a folder above opens",
         [](QStandardItemModel& model, const TempFolder& files) {
             model.item(0)->appendRow(FolderItem(files, "a1"));
             model.item(0)->appendRow(FolderItem(files, "a2"));
         },
         "b"},
        {"the highlighted folder goes",
         [](QStandardItemModel& model, const TempFolder&) { model.removeRow(1); }, nullptr},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.Title);
        TempFolder files;
        QStandardItemModel model;
        for (const char* name : {"a", "b", "c"})
            model.appendRow(FolderItem(files, name));
        TreeUnderTest tree;
        tree.setModel(&model);
        tree.resize(300, 300);
        tree.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
        tree.expandAll();
        QSignalSpy dropped(&tree, &FolderTreeView::FilesDropped);

        QMimeData data;
        const QPoint overB = tree.visualRect(model.index(1, 0)).center();
        QDragEnterEvent enter(overB, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        tree.Give(&enter);
        QDragMoveEvent move(overB, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        tree.Give(&move);
        ASSERT_EQ(tree.DropTarget(), model.index(1, 0)) << "b is highlighted";

        c.DuringTheDrag(model, files);
        tree.expandAll();
        QDropEvent drop(QPointF(overB), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        tree.Give(&drop);

        if (c.Expected) {
            ASSERT_EQ(dropped.size(), 1);
            EXPECT_EQ(dropped[0][0].toString(), files.File(QLatin1String(c.Expected)));
            EXPECT_TRUE(drop.isAccepted());
            EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
        } else {
            EXPECT_EQ(dropped.size(), 0);
            EXPECT_FALSE(drop.isAccepted());
        }
        EXPECT_FALSE(tree.DropTarget().isValid()) << "no highlight after the drop";
    }
}
