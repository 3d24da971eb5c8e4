#include "gui/FileListView.h"

#include "common/DateTime.h"
#include "common/Helpers.h"
#include "core/BrowserSettings.h"
#include "core/FileListModel.h"
#include "i18n/Translate.h"
#include "resources/Icons.h"

#include <QAction>
#include <QDrag>
#include <QHeaderView>
#include <QItemSelection>
#include <QMimeData>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <ctime>

FileListView::FileListView(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("AdvListView"));
    FRows = new FileListModel(this);
    FRows->SetTroubleIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    FRows->SetRowIcons(BriskoIcon(IconId::PalmFile), BriskoIcon(IconId::ZipArchive),
                       BriskoIcon(IconId::UnreadableFile));
    FRows->SetColumnCaptions({Translated("Name"), Translated("Type"), Translated("Size"),
                              Translated("Changed"), Translated("Database")});
    setModel(FRows);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setIconSize(QSize(16, 16));
    setAlternatingRowColors(true);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    for (int column = 0; column < FileColumnCount; ++column)
        setColumnWidth(column, DesignedColumnWidth(column));
    // The header's popup menu shows and hides the Database column.
    FDatabaseColumnItem = new QAction(Translated("Database"), this);
    FDatabaseColumnItem->setCheckable(true);
    connect(FDatabaseColumnItem, &QAction::toggled, this,
            [this](bool shown) { setColumnHidden(int(FileColumn::Database), !shown); });
    header()->setContextMenuPolicy(Qt::ActionsContextMenu);
    header()->addAction(FDatabaseColumnItem);
    ShowDatabaseColumn(false);
}

int FileListView::DesignedColumnWidth(int column) const {
    const int designed = DesignedMainListWidths[size_t(column)];
    // Sizes up to 999.999.999 bytes (large e-books) and a date with two-digit month, day
    // and hour, in the list's own font and style and the user's date format.
    if (column == int(FileColumn::Size))
        return std::max(designed, WidthForText(FormatThousands(999'999'999)));
    if (column == int(FileColumn::Changed)) {
        std::tm wide{};
        wide.tm_year = 2028 - 1900;
        wide.tm_mon = 11;
        wide.tm_mday = 28;
        wide.tm_hour = 22;
        wide.tm_min = 58;
        wide.tm_sec = 58;
        wide.tm_isdst = -1;
        return std::max(designed, WidthForText(FileDateText(PackFileTime(std::mktime(&wide)))));
    }
    return designed;
}

void FileListView::ShowDatabaseColumn(bool shown) {
    FDatabaseColumnItem->setChecked(shown);
    setColumnHidden(int(FileColumn::Database), !shown);
}

bool FileListView::DatabaseColumnShown() const {
    return FDatabaseColumnItem->isChecked();
}

std::array<int, FileColumnCount> FileListView::ColumnWidths() const {
    std::array<int, FileColumnCount> widths{};
    for (int column = 0; column < FileColumnCount; ++column)
        widths[size_t(column)] =
            isColumnHidden(column) ? FStoredWidths[size_t(column)] : columnWidth(column);
    return widths;
}

void FileListView::ApplyColumnWidths(const std::array<int, FileColumnCount>& stored) {
    FStoredWidths = stored; // a hidden column keeps what was stored
    for (int column = 0; column < FileColumnCount; ++column) {
        const int width = stored[size_t(column)];
        const int designed = DesignedColumnWidth(column);
        // A Size or Changed column stored narrower (the widths of earlier versions) is
        // widened.
        const bool neverCut = column == int(FileColumn::Size) || column == int(FileColumn::Changed);
        setColumnWidth(column, width == -1 ? designed
                               : neverCut  ? std::max(width, designed)
                                           : width);
    }
}

QList<int> FileListView::SelectedRows() const {
    QList<int> rows;
    const QModelIndexList selected = selectionModel()->selectedRows();
    for (const QModelIndex& index : selected)
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileListView::Deselect(const QList<int>& rows) {
    QItemSelection selection;
    for (int row : rows)
        selection.select(FRows->index(row, 0), FRows->index(row, FRows->columnCount() - 1));
    selectionModel()->select(selection, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

void FileListView::WidenSizeColumnToContents() {
    const int column = int(FileColumn::Size);
    setColumnWidth(column, std::max(columnWidth(column), sizeHintForColumn(column)));
}

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
