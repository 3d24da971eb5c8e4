#include "core/FileListModel.h"

#include "platform/NativePath.h"

#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <numeric>

FileListModel::FileListModel(QObject* parent)
    : QAbstractTableModel(parent),
      FCollator(ListCollator()), FCaptions{QStringLiteral("Name"), QStringLiteral("Type"),
                                           QStringLiteral("Size"), QStringLiteral("Changed")} {}

void FileListModel::SetRows(std::vector<FileRow> rows) {
    beginResetModel();
    FRows = std::move(rows);
    FOrder.resize(FRows.size());
    std::iota(FOrder.begin(), FOrder.end(), 0);
    ClearRanks();
    endResetModel();
}

void FileListModel::Clear() {
    SetRows({});
}

void FileListModel::RemoveRows(const QList<int>& rows) {
    const int count = RowCountValue();
    std::vector<int> doomed;
    doomed.reserve(size_t(rows.size()));
    for (int row : rows)
        if (row >= 0 && row < count)
            doomed.push_back(row);
    std::sort(doomed.begin(), doomed.end());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    if (doomed.empty())
        return;

    std::vector<std::pair<int, int>> runs; // first and last row, bottom run first
    for (auto row = doomed.rbegin(); row != doomed.rend(); ++row) {
        if (!runs.empty() && runs.back().first == *row + 1)
            runs.back().first = *row;
        else
            runs.emplace_back(*row, *row);
    }
    if (runs.size() <= ManyRuns) {
        // Bottom run first: the rows above it keep their numbers for the runs to come.
        for (const auto& [top, bottom] : runs) {
            beginRemoveRows(QModelIndex(), top, bottom);
            FOrder.erase(FOrder.begin() + top, FOrder.begin() + bottom + 1);
            endRemoveRows();
        }
    } else {
        // A view and a selection model spend time on every removal signal in proportion to
        // the selection; thousands of scattered rows go in one layout change instead.
        Q_EMIT layoutAboutToBeChanged();
        std::vector<int> newRow(size_t(count), -1);
        std::vector<int> order;
        order.reserve(size_t(count) - doomed.size());
        auto next = doomed.begin();
        for (int row = 0; row < count; ++row) {
            if (next != doomed.end() && *next == row) {
                ++next;
                continue;
            }
            newRow[size_t(row)] = int(order.size());
            order.push_back(FOrder[size_t(row)]);
        }
        FOrder = std::move(order);
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& index : from) {
            const int row = newRow[size_t(index.row())];
            to.append(row < 0 ? QModelIndex() : this->index(row, index.column()));
        }
        changePersistentIndexList(from, to);
        Q_EMIT layoutChanged();
    }

    // Drop the removed rows from FRows and the ranks, and renumber the order.
    std::vector<int> renumbered(FRows.size(), -1);
    for (int kept : FOrder)
        renumbered[size_t(kept)] = 0;
    int next = 0;
    for (size_t from = 0; from < FRows.size(); ++from) {
        if (renumbered[from] < 0)
            continue;
        renumbered[from] = next;
        if (size_t(next) != from) {
            FRows[size_t(next)] = std::move(FRows[from]);
            for (size_t slot = 0; slot < FRanks.size(); ++slot)
                if (FRanksValid[slot])
                    FRanks[slot][size_t(next)] = FRanks[slot][from];
        }
        ++next;
    }
    FRows.resize(size_t(next));
    for (size_t slot = 0; slot < FRanks.size(); ++slot)
        if (FRanksValid[slot])
            FRanks[slot].resize(size_t(next));
    for (int& row : FOrder)
        row = renumbered[size_t(row)];
}

void FileListModel::SetColumnCaptions(const QStringList& captions) {
    FCaptions = captions;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, FileColumnCount - 1);
}

void FileListModel::SetRowIcons(const QVariant& palm, const QVariant& archive,
                                const QVariant& unreadable) {
    FIcons = {palm, archive, unreadable};
    if (RowCountValue() > 0)
        Q_EMIT dataChanged(index(0, 0), index(RowCountValue() - 1, 0), {Qt::DecorationRole});
}

void FileListModel::SetTrouble(int row, const QString& trouble) {
    if (row < 0 || row >= RowCountValue())
        return;
    FRows[size_t(FOrder[size_t(row)])].Trouble = trouble;
    Q_EMIT dataChanged(index(row, 0), index(row, FileColumnCount - 1),
                       {Qt::DecorationRole, Qt::ToolTipRole});
}

void FileListModel::SetLocale(const QLocale& locale) {
    FCollator = ListCollator(locale);
    ClearRanks();
}

QString FileListModel::RowPath(int row) const {
    const FileRow& fileRow = Row(row);
    const QString& name = fileRow.Name;
    // An entry's own copy, also when another entry has the same name; a file by its bytes.
    if (!fileRow.File.isEmpty())
        return fileRow.File;
    if (!FArchiveView)
        return FFolder + name;
    // Entries are extracted without their folders; archives made on Windows may use "\".
    const qsizetype cut = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    return FFolder + name.mid(cut + 1);
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCountValue();
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FileColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const FileRow& row = Row(index.row());
    const auto column = FileColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case FileColumn::Name:
            return row.Name;
        case FileColumn::Type:
            return row.Type;
        case FileColumn::Size:
            return SizeColumnText(row, FArchiveView);
        case FileColumn::Changed:
            return ChangedColumnText(row);
        case FileColumn::Database:
            return row.Database;
        }
        return {};
    case Qt::DecorationRole:
        if (column == FileColumn::Name)
            return row.Trouble.isEmpty() || row.Icon != RowIcon::PalmFile ? FIcons[size_t(row.Icon)]
                                                                          : FTroubleIcon;
        return {};
    case Qt::ToolTipRole:
        if (!row.Error.isEmpty())
            return row.Error;
        if (!row.Trouble.isEmpty())
            return row.Trouble;
        return {};
    case Qt::TextAlignmentRole:
        if (column == FileColumn::Size)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= FileColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return section < FCaptions.size() ? FCaptions[section] : QString();
    if (role == Qt::TextAlignmentRole && FileColumn(section) == FileColumn::Size)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QStringList FileListModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const {
    // A selected row brings one index per column.
    std::vector<int> rows;
    for (const QModelIndex& index : indexes)
        if (checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
            rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return nullptr;
    QList<QUrl> urls;
    urls.reserve(qsizetype(rows.size()));
    for (int row : rows)
        urls.append(LocalFileUrl(RowPath(row)));
    auto* mime = new QMimeData;
    mime->setUrls(urls);
    return mime;
}

// The window copies or moves the files itself and then removes the rows it moved; the
// view's own removal after a move (removeRows) is left a no-op on purpose.
Qt::DropActions FileListModel::supportedDragActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

void FileListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= FileColumnCount)
        return;
    const auto fileColumn = FileColumn(column);
    std::vector<int> sorted = IsTextColumn(fileColumn)
                                  ? OrderByRanks(Ranks(fileColumn), FOrder, order)
                                  : OrderByValues(FRows, FOrder, fileColumn, order);
    if (sorted == FOrder)
        return;

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Asked for only now: a selection model turns its selection into persistent indexes
    // on layoutAboutToBeChanged.
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    if (!from.isEmpty()) {
        std::vector<int> newPosition(FRows.size());
        for (size_t i = 0; i < sorted.size(); ++i)
            newPosition[size_t(sorted[i])] = int(i);
        to.reserve(from.size());
        for (const QModelIndex& index : from)
            to.append(
                this->index(newPosition[size_t(FOrder[size_t(index.row())])], index.column()));
    }
    FOrder = std::move(sorted);
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const std::vector<int>& FileListModel::Ranks(FileColumn column) {
    const auto slot = column == FileColumn::Database ? size_t(2) : size_t(column);
    if (!FRanksValid[slot]) {
        FRanks[slot] = TextRanks(FRows, column, FCollator);
        FRanksValid[slot] = true;
    }
    return FRanks[slot];
}

void FileListModel::ClearRanks() {
    for (size_t slot = 0; slot < FRanks.size(); ++slot) {
        FRanks[slot].clear();
        FRanksValid[slot] = false;
    }
}
