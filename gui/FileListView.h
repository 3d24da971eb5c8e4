// The file list's view: its columns as designed, its rows from a FileListModel it owns.
// Dragging rows shows the drag cursor with a plus sign while Ctrl is held (a copy) and the
// plain one otherwise; Qt follows the key during the drag.
#pragma once

#include "core/ListOrdering.h"

#include <QTreeView>
#include <array>

class FileListModel;

class QAction;

class FileListView : public QTreeView {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);

    FileListModel& Rows() const { return *FRows; }
    // The selected rows, top down.
    QList<int> SelectedRows() const;
    // Rows a command has handled leave the selection; the others stay selected.
    void Deselect(const QList<int>& rows);
    // The width a column needs to show the text in full in this view's font and style.
    int WidthForText(const QString& text) const;
    // The designed width; the Size and Changed columns' are measured for the widest value.
    int DesignedColumnWidth(int column) const;
    // Stored widths, -1 for the designed one; sizes and dates are never cut.
    void ApplyColumnWidths(const std::array<int, FileColumnCount>& stored);
    // The widths to store: a hidden column's as it was applied.
    std::array<int, FileColumnCount> ColumnWidths() const;
    // The optional Database column (also from the header's popup menu).
    void ShowDatabaseColumn(bool shown);
    bool DatabaseColumnShown() const;
    // Sizes with a unit ("800 Bytes", in an archive) are wider than a folder's byte counts.
    void WidenSizeColumnToContents();

protected:
    void startDrag(Qt::DropActions supportedActions) override;

private:
    QAction* FDatabaseColumnItem;
    std::array<int, FileColumnCount> FStoredWidths{-1, -1, -1, -1, -1};
    FileListModel* FRows;
};
