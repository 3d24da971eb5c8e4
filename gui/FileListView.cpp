#include "gui/FileListView.h"

#include "resources/Icons.h"

#include <QDrag>
#include <QMimeData>
#include <QStyle>
#include <QStyleOptionViewItem>

void FileListView::startDrag(Qt::DropActions supportedActions) {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    QMimeData* mime = model()->mimeData(rows);
    if (!mime)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(rows.first().data(Qt::DecorationRole).value<QIcon>().pixmap(32, 32));
    drag->setDragCursor(DragCursor(true).pixmap(), Qt::CopyAction);
    drag->setDragCursor(DragCursor(false).pixmap(), Qt::MoveAction);
    // What a drop does is the target's choice; the list itself never removes rows here.
    drag->exec(supportedActions & (Qt::CopyAction | Qt::MoveAction), Qt::MoveAction);
}

int FileListView::WidthForText(const QString& text) const {
    // What the item delegate asks of the style for a cell holding the text.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.text = text;
    option.features |= QStyleOptionViewItem::HasDisplay;
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width();
}
