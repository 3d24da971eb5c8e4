// The rows of the contents panel: a database's app info and sort info blocks, then its
// records or resources, one row each, sortable by any column. QtCore only, so that the
// panel's logic is tested without a screen; the panel gives the icon for damaged rows.
#pragma once

#include "palmdb/DatabaseContents.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

class ContentsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum RecordColumn {
        RecordIndex,
        RecordOffset,
        RecordSize,
        RecordAttributes,
        RecordCategory,
        RecordUniqueId,
        RecordColumnCount
    };
    enum ResourceColumn {
        ResourceIndex,
        ResourceType,
        ResourceId,
        ResourceOffset,
        ResourceSize,
        ResourceColumnCount
    };

    explicit ContentsTableModel(QObject* parent = nullptr);

    // Shows contents in list order (the blocks first); categoryNames are the app info's
    // 16 names, or empty when it has none.
    void SetContents(DatabaseContents contents, QStringList categoryNames = {});
    void Clear();
    const DatabaseContents& Contents() const { return FContents; }
    // The entry a row shows (in the order shown).
    const ContentsEntry& Entry(int row) const;
    // The icon (a QIcon; QtGui is not linked here) beside a damaged entry.
    void SetProblemIcon(const QVariant& icon) { FProblemIcon = icon; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Stable: equal keys keep their list order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The texts of a record's attribute bits ("deleted, dirty"), translated.
    static QString AttributeText(unsigned attributes);

private:
    bool Resources() const { return FContents.Kind == ContentsKind::Resources; }
    QString Text(const ContentsEntry& entry, int column) const;
    // What a column orders by: a number, or for the type its four bytes.
    qint64 NumericKey(const ContentsEntry& entry, int column) const;

    DatabaseContents FContents;
    QStringList FCategoryNames;
    std::vector<const ContentsEntry*> FRows; // into FContents, in the order shown
    QVariant FProblemIcon;
};
