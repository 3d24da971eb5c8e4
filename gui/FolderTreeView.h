// The folder tree. It takes rows dragged from the file list: a folder under the pointer
// is highlighted while they hover over it, and a drop reports the folder; what is done
// with the files is the window's business (the tree's model never touches them).
#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>

class QFileSystemModel;

class FolderTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTreeView(QWidget* parent = nullptr);

    // The folders of the file system from its root, read-only, names only; returns the
    // model, which the tree owns.
    QFileSystemModel* ShowFileSystemFolders();

    // The folder (cleaned, absolute) becomes the current one; a folder the tree does not
    // hold (a typed one that does not exist) leaves none current rather than another one.
    void ShowFolder(const QString& folder);
    // The current folder's path, without a trailing separator (but "/"); empty for none.
    QString CurrentFolder() const;

    // Only drags that start in this widget are taken.
    void SetDragSource(QWidget* source) { FDragSource = source; }
    // The folder (file-system path) under a point of the viewport; empty where there is
    // none or it has no path.
    QString FolderAt(const QPoint& position) const;
    // The folder highlighted as the target of the files dragged over the tree, if any.
    QModelIndex DropTarget() const { return FDropTarget; }

Q_SIGNALS:
    void FilesDropped(const QString& folder);

protected:
    // Whether the dragged data come from the drag source. Tests, whose platform has no
    // drag of its own, stand in for it here.
    virtual bool IsFromDragSource(const QDropEvent* event) const;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    static QString FolderOf(const QModelIndex& index);
    void SetDropTarget(const QModelIndex& index);

    QFileSystemModel* FFolders = nullptr;
    QWidget* FDragSource = nullptr;
    QPersistentModelIndex FDropTarget;
};
