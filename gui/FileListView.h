// The file list's view. Dragging rows shows the drag cursor with a plus sign while Ctrl
// is held (a copy) and the plain one otherwise; Qt follows the key during the drag.
#pragma once

#include <QTreeView>

class FileListView : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;

    // The width a column needs to show the text in full in this view's font and style.
    int WidthForText(const QString& text) const;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
};
