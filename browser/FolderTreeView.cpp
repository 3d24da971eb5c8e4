#include "browser/FolderTreeView.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFileSystemModel>

FolderTreeView::FolderTreeView(QWidget* parent) : QTreeView(parent) {
    setAutoExpandDelay(800); // a folder under dragged files opens after a moment
}

QString FolderTreeView::FolderAt(const QPoint& position) const {
    const QModelIndex index = indexAt(position);
    if (!index.isValid())
        return QString();
    const QString path = index.data(QFileSystemModel::FilePathRole).toString();
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

void FolderTreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (FDragSource && event->source() == FDragSource) {
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
    if (!FDragSource || event->source() != FDragSource || FolderAt(position).isEmpty()) {
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
    SetDropTarget({});
    const QString folder = FolderAt(event->position().toPoint());
    if (!FDragSource || event->source() != FDragSource || folder.isEmpty()) {
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
