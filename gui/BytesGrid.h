// The rows of the bytes view, painted as they are shown: offset, hex and text of 16 bytes
// a row under a heading line. A list view keeps an item for every row, which for an
// entry of 200 MB (13 million rows) costs more memory than the entry itself; this keeps
// nothing per row. Rows are selected as one range (click, Shift+click, drag, keys).
#pragma once

#include <QAbstractScrollArea>

class EntryBytesModel;

class BytesGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    BytesGrid(EntryBytesModel& bytes, QWidget* parent = nullptr);

    // The selected rows, first <= last; both -1 when none is selected.
    int SelectionFirst() const { return std::min(FAnchor, FCurrent); }
    int SelectionLast() const { return std::max(FAnchor, FCurrent); }
    void SelectRows(int anchor, int current);
    void SelectAll();
    int CurrentRow() const { return FCurrent; }
    int FirstShownRow() const;
    // The row under a point of the viewport; -1 on the heading or below the last row.
    int RowAt(int y) const;
    int RowHeight() const { return FRowHeight; }
    // The width that shows offset, hex and text whole, with the frame and scroll bar.
    int NeededWidth() const;

Q_SIGNALS:
    void SelectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int ShownRows() const; // whole rows below the heading
    void UpdateScrollRange();
    void MakeVisible(int row);

    EntryBytesModel& FBytes;
    int FAnchor = -1;
    int FCurrent = -1;
    int FRowHeight;
    int FOffsetWidth;
    int FHexWidth;
    int FMargin;
};
