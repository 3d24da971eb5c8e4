#include "gui/FolderTreeView.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFileSystemModel>

FolderTreeView::FolderTreeView(QWidget* parent) : QTreeView(parent) {
    setAutoExpandDelay(800); // a folder under dragged files opens after a moment
}

QFileSystemModel* FolderTreeView::ShowFileSystemFolders() {
    auto* folders = FFolders = new QFileSystemModel(this);
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders->setRootPath(QDir::rootPath());
    folders->setReadOnly(true);
    setModel(folders);
    for (int column = 1; column < folders->columnCount(); ++column)
        hideColumn(column);
    setHeaderHidden(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setUniformRowHeights(true);
    setAnimated(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    setMinimumHeight(80);
    return folders;
}

void FolderTreeView::ShowFolder(const QString& folder) {
    const QModelIndex index = FFolders->index(folder);
    if (!index.isValid()) {
        if (currentIndex().isValid())
            selectionModel()->clear();
        return;
    }
    if (index == currentIndex())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

QString FolderTreeView::CurrentFolder() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? QDir::toNativeSeparators(FFolders->filePath(current)) : QString();
}

QString FolderTreeView::FolderAt(const QPoint& position) const {
    return FolderOf(indexAt(position));
}

QString FolderTreeView::FolderOf(const QModelIndex& index) {
    if (!index.isValid())
        return QString();
    const QString path = index.data(QFileSystemModel::FilePathRole).toString();
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

bool FolderTreeView::IsFromDragSource(const QDropEvent* event) const {
    return FDragSource && event->source() == FDragSource;
}

void FolderTreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (IsFromDragSource(event)) {
        event->acceptProposedAction();
        return;
    }
    event->ignore();
}

void FolderTreeView::dragMoveEvent(QDragMoveEvent* event) {
    // The tree scrolls and opens folders under the pointer as usual; whether it takes
    // the drop is decided here, not by the model.
    QTreeView::dragMoveEvent(event);
    const QPoint position = event->position().toPoint();
    if (!IsFromDragSource(event) || FolderAt(position).isEmpty()) {
        SetDropTarget({});
        event->ignore();
        return;
    }
    SetDropTarget(indexAt(position));
    // A drop always copies, whatever the keys say.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void FolderTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
    SetDropTarget({});
    event->accept();
}

void FolderTreeView::dropEvent(QDropEvent* event) {
    // The folder highlighted is the one the user drops on. The row under the pointer may
    // be another one by now: rows move while the tree opens and loads folders, and the
    // highlight moves with its row.
    const QString folder = FolderOf(FDropTarget);
    SetDropTarget({});
    if (!IsFromDragSource(event) || folder.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    Q_EMIT FilesDropped(folder);
}

void FolderTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    if (FDropTarget.isValid() && index == FDropTarget) {
        QStyleOptionViewItem marked(option);
        marked.state |= QStyle::State_Selected;
        QTreeView::drawRow(painter, marked, index);
        return;
    }
    QTreeView::drawRow(painter, option, index);
}

void FolderTreeView::SetDropTarget(const QModelIndex& index) {
    if (QPersistentModelIndex(index) == FDropTarget)
        return;
    FDropTarget = index;
    viewport()->update();
}
