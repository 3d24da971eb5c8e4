#include "gui/BytesGrid.h"

#include "core/EntryBytesModel.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

BytesGrid::BytesGrid(EntryBytesModel& bytes, QWidget* parent)
    : QAbstractScrollArea(parent), FBytes(bytes) {
    setObjectName(QStringLiteral("BytesList"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(font());
    FRowHeight = metrics.height() + 2;
    FMargin = 2 * metrics.horizontalAdvance(u'0');
    FOffsetWidth = metrics.horizontalAdvance(QStringLiteral("00000000")) + FMargin;
    FHexWidth = metrics.horizontalAdvance(QString(47, u'0')) + FMargin;
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setRange(0, 0);
    UpdateScrollRange();
}

int BytesGrid::NeededWidth() const {
    const int text =
        QFontMetrics(font()).horizontalAdvance(QString(EntryBytesModel::BytesPerRow, u'0'));
    return FOffsetWidth + FHexWidth + text + FMargin + verticalScrollBar()->sizeHint().width() +
           2 * frameWidth();
}

int BytesGrid::ShownRows() const {
    return std::max(1, viewport()->height() / FRowHeight - 1);
}

int BytesGrid::FirstShownRow() const {
    return verticalScrollBar()->value();
}

int BytesGrid::RowAt(int y) const {
    if (y < FRowHeight)
        return -1;
    const int row = FirstShownRow() + (y - FRowHeight) / FRowHeight;
    return row < FBytes.rowCount() ? row : -1;
}

void BytesGrid::UpdateScrollRange() {
    verticalScrollBar()->setRange(0, std::max(0, FBytes.rowCount() - ShownRows()));
    verticalScrollBar()->setPageStep(ShownRows());
}

void BytesGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void BytesGrid::SelectRows(int anchor, int current) {
    const int last = FBytes.rowCount() - 1;
    FAnchor = std::clamp(anchor, -1, last);
    FCurrent = std::clamp(current, -1, last);
    if (FAnchor < 0 || FCurrent < 0)
        FAnchor = FCurrent = -1;
    viewport()->update();
    Q_EMIT SelectionChanged();
}

void BytesGrid::SelectAll() {
    SelectRows(0, FBytes.rowCount() - 1);
}

void BytesGrid::MakeVisible(int row) {
    if (row < FirstShownRow())
        verticalScrollBar()->setValue(row);
    else if (row >= FirstShownRow() + ShownRows())
        verticalScrollBar()->setValue(row - ShownRows() + 1);
}

void BytesGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPalette& colours = palette();
    painter.fillRect(viewport()->rect(), colours.base());
    const int textLeft = FOffsetWidth + FHexWidth;
    auto drawRow = [&](int y, const QString& offset, const QString& hex, const QString& text) {
        const QRect line(0, y, viewport()->width(), FRowHeight);
        painter.drawText(line.adjusted(FMargin / 2, 0, 0, 0), Qt::AlignVCenter, offset);
        painter.drawText(line.adjusted(FOffsetWidth, 0, 0, 0), Qt::AlignVCenter, hex);
        painter.drawText(line.adjusted(textLeft, 0, 0, 0), Qt::AlignVCenter, text);
    };
    painter.fillRect(QRect(0, 0, viewport()->width(), FRowHeight), colours.button());
    painter.setPen(colours.buttonText().color());
    drawRow(0, FBytes.headerData(EntryBytesModel::OffsetColumn, Qt::Horizontal).toString(),
            FBytes.headerData(EntryBytesModel::HexColumn, Qt::Horizontal).toString(),
            FBytes.headerData(EntryBytesModel::TextColumn, Qt::Horizontal).toString());
    const int first = FirstShownRow();
    const int end = std::min(FBytes.rowCount(), first + ShownRows() + 1);
    for (int row = first; row < end; ++row) {
        const int y = FRowHeight * (1 + row - first);
        const bool selected = FAnchor >= 0 && row >= SelectionFirst() && row <= SelectionLast();
        if (selected)
            painter.fillRect(QRect(0, y, viewport()->width(), FRowHeight), colours.highlight());
        painter.setPen(selected ? colours.highlightedText().color() : colours.text().color());
        drawRow(y, FBytes.index(row, EntryBytesModel::OffsetColumn).data().toString(),
                FBytes.index(row, EntryBytesModel::HexColumn).data().toString(),
                FBytes.index(row, EntryBytesModel::TextColumn).data().toString());
    }
}

void BytesGrid::mousePressEvent(QMouseEvent* event) {
    const int row = RowAt(event->position().toPoint().y());
    if (event->button() != Qt::LeftButton || row < 0)
        return QAbstractScrollArea::mousePressEvent(event);
    SelectRows(event->modifiers() & Qt::ShiftModifier && FAnchor >= 0 ? FAnchor : row, row);
}

void BytesGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || FAnchor < 0)
        return;
    const int y = event->position().toPoint().y();
    int row = RowAt(y);
    if (y < FRowHeight)
        row = std::max(0, FirstShownRow() - 1);
    else if (row < 0)
        row = std::min(FBytes.rowCount() - 1, FirstShownRow() + ShownRows());
    MakeVisible(row);
    SelectRows(FAnchor, row);
}

void BytesGrid::keyPressEvent(QKeyEvent* event) {
    int row = std::max(FCurrent, 0);
    switch (event->key()) {
    case Qt::Key_Up:
        row -= 1;
        break;
    case Qt::Key_Down:
        row += 1;
        break;
    case Qt::Key_PageUp:
        row -= ShownRows();
        break;
    case Qt::Key_PageDown:
        row += ShownRows();
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = FBytes.rowCount() - 1;
        break;
    default:
        return QAbstractScrollArea::keyPressEvent(event);
    }
    row = std::clamp(row, 0, std::max(0, FBytes.rowCount() - 1));
    SelectRows(event->modifiers() & Qt::ShiftModifier && FAnchor >= 0 ? FAnchor : row, row);
    MakeVisible(row);
}
