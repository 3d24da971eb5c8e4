#include "core/ContentsTableModel.h"

#include "common/PalmText.h"
#include "i18n/Translate.h"

#include <algorithm>
#include <unordered_map>

namespace {

QString Hex(quint64 value, int digits) {
    return QLatin1String("0x") +
           QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

bool IsBlock(const ContentsEntry& entry) {
    return entry.Kind == ContentsEntryKind::AppInfo || entry.Kind == ContentsEntryKind::SortInfo;
}

} // namespace

ContentsTableModel::ContentsTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ContentsTableModel::SetContents(DatabaseContents contents, QStringList categoryNames) {
    beginResetModel();
    FContents = std::move(contents);
    FCategoryNames = std::move(categoryNames);
    FRows.clear();
    FRows.reserve(FContents.Entries.size() + 2);
    if (FContents.HasAppInfo)
        FRows.push_back(&FContents.AppInfo);
    if (FContents.HasSortInfo)
        FRows.push_back(&FContents.SortInfo);
    for (const ContentsEntry& entry : FContents.Entries)
        FRows.push_back(&entry);
    endResetModel();
}

void ContentsTableModel::Clear() {
    SetContents(DatabaseContents());
}

const ContentsEntry& ContentsTableModel::Entry(int row) const {
    Q_ASSERT(row >= 0 && size_t(row) < FRows.size());
    return *FRows[size_t(row)];
}

int ContentsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(FRows.size());
}

int ContentsTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return Resources() ? int(ResourceColumnCount) : int(RecordColumnCount);
}

QString ContentsTableModel::AttributeText(unsigned attributes) {
    QStringList words;
    if (attributes & RecordDeleted)
        words << Translated("deleted");
    if (attributes & RecordDirty)
        words << Translated("dirty");
    if (attributes & RecordBusy)
        words << Translated("busy");
    if (attributes & RecordSecret)
        words << Translated("secret");
    return words.join(QLatin1String(", "));
}

QString ContentsTableModel::Text(const ContentsEntry& entry, int column) const {
    const int indexColumn = Resources() ? int(ResourceIndex) : int(RecordIndex);
    const int offsetColumn = Resources() ? int(ResourceOffset) : int(RecordOffset);
    const int sizeColumn = Resources() ? int(ResourceSize) : int(RecordSize);
    if (column == offsetColumn)
        return Hex(entry.Offset, 8);
    if (column == sizeColumn)
        return QString::number(entry.Size);
    if (column == indexColumn) {
        if (entry.Kind == ContentsEntryKind::AppInfo)
            return Translated("App info");
        if (entry.Kind == ContentsEntryKind::SortInfo)
            return Translated("Sort info");
        return QString::number(entry.Index);
    }
    if (IsBlock(entry))
        return {};
    if (Resources()) {
        if (column == ResourceType)
            return PalmTextToQString(entry.Type);
        if (column == ResourceId)
            return QString::number(entry.Id);
        return {};
    }
    switch (column) {
    case RecordAttributes:
        return AttributeText(entry.Attributes);
    case RecordCategory: {
        const QString name = entry.Category < unsigned(FCategoryNames.size())
                                 ? FCategoryNames[int(entry.Category)]
                                 : QString();
        return name.isEmpty() ? QString::number(entry.Category)
                              : QStringLiteral("%1 %2").arg(entry.Category).arg(name);
    }
    case RecordUniqueId:
        return Hex(entry.UniqueId, 6);
    default:
        return {};
    }
}

QVariant ContentsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(FRows.size()))
        return {};
    const ContentsEntry& entry = *FRows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return Text(entry, index.column());
    case Qt::ToolTipRole:
        if (entry.Problem != EntryProblem::None)
            return Translated(EntryProblemText(entry.Problem));
        return {};
    case Qt::DecorationRole:
        if (index.column() == 0 && entry.Problem != EntryProblem::None)
            return FProblemIcon;
        return {};
    case Qt::TextAlignmentRole: {
        const bool text =
            Resources() ? index.column() == ResourceType
                        : (index.column() == RecordAttributes || index.column() == RecordCategory);
        return text ? QVariant() : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    }
    default:
        return {};
    }
}

QVariant ContentsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const records[] = {N_("Index"),      N_("Offset"),   N_("Size"),
                                          N_("Attributes"), N_("Category"), N_("Unique ID")};
    static const char* const resources[] = {N_("Index"), N_("Type"), N_("ID"), N_("Offset"),
                                            N_("Size")};
    if (section < 0 || section >= columnCount())
        return {};
    return Translated(Resources() ? resources[section] : records[section]);
}

qint64 ContentsTableModel::NumericKey(const ContentsEntry& entry, int column) const {
    const int offsetColumn = Resources() ? int(ResourceOffset) : int(RecordOffset);
    const int sizeColumn = Resources() ? int(ResourceSize) : int(RecordSize);
    if (column == offsetColumn)
        return entry.Offset;
    if (column == sizeColumn)
        return entry.Size;
    if (column == 0) // the blocks before every entry
        return entry.Kind == ContentsEntryKind::AppInfo    ? -2
               : entry.Kind == ContentsEntryKind::SortInfo ? -1
                                                           : entry.Index;
    if (IsBlock(entry))
        return -1;
    if (Resources())
        return column == ResourceId ? qint64(entry.Id) : 0;
    switch (column) {
    case RecordAttributes:
        return entry.Attributes;
    case RecordCategory:
        return entry.Category;
    case RecordUniqueId:
        return entry.UniqueId;
    default:
        return 0;
    }
}

void ContentsTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount())
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<const ContentsEntry*> old = FRows;
    const bool byType = Resources() && column == ResourceType;
    auto less = [&](const ContentsEntry* a, const ContentsEntry* b) {
        if (byType) {
            const bool blockA = IsBlock(*a), blockB = IsBlock(*b);
            if (blockA != blockB)
                return blockA;
            return a->Type < b->Type;
        }
        return NumericKey(*a, column) < NumericKey(*b, column);
    };
    // Stable in list order either way: ties keep the order of the entry list.
    std::stable_sort(FRows.begin(), FRows.end(),
                     [&](const ContentsEntry* a, const ContentsEntry* b) {
                         return order == Qt::AscendingOrder ? less(a, b) : less(b, a);
                     });
    QModelIndexList after;
    if (!before.isEmpty()) {
        std::unordered_map<const ContentsEntry*, int> placeOf;
        for (size_t row = 0; row < FRows.size(); ++row)
            placeOf.emplace(FRows[row], int(row));
        for (const QModelIndex& index : before)
            after << createIndex(placeOf.at(old[size_t(index.row())]), index.column());
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
