// The file list's rows for the list view: the texts of a listing, sorted in place, and
// dragged out as file URLs. It stays in QtCore terms so that the window's logic can be
// tested without a screen; the window fills in the icons and the translated captions.
#pragma once

#include "core/FolderListing.h"
#include "core/ListOrdering.h"

#include <QAbstractTableModel>
#include <QCollator>
#include <QStringList>
#include <array>
#include <vector>

class FileListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit FileListModel(QObject* parent = nullptr);

    // A listing is shown in the order it was made; only a header click sorts it.
    void SetRows(std::vector<FileRow> rows);
    void Clear();
    // Rows of deleted or moved files; the others keep their order. Each run of adjacent
    // rows is one removal, bottom run first. Out-of-range and repeated numbers are ignored.
    void RemoveRows(const QList<int>& rows);

    const FileRow& Row(int row) const {
        Q_ASSERT(row >= 0 && row < RowCountValue());
        return FRows[size_t(FOrder[size_t(row)])];
    }
    int RowCountValue() const { return int(FOrder.size()); }

    // Translated by the window, which calls this again when the language changes.
    void SetColumnCaptions(const QStringList& captions);
    // The window's icons for the three kinds of row (QIcons; QtGui is not linked here).
    void SetRowIcons(const QVariant& palm, const QVariant& archive, const QVariant& unreadable);
    // The mark of a row whose file the check found damaged or suspicious.
    void SetTroubleIcon(const QVariant& icon) { FTroubleIcon = icon; }
    // Marks the row (in the order shown) with what the check found; empty clears it.
    void SetTrouble(int row, const QString& trouble);
    // The locale whose text comparison orders Name, Type and ties; QLocale() at first.
    void SetLocale(const QLocale& locale);

    // Where the rows' files are, with its trailing separator. While an archive is shown
    // this is the extraction folder, and the rows' names are entry paths: a row's file
    // is its own extracted copy (FileRow::File), else the name's file-name part in the
    // folder. A row whose name is not UTF-8 has its file in FileRow::File too.
    void SetFolder(const QString& folder) { FFolder = folder; }
    void SetArchiveView(bool archiveView) { FArchiveView = archiveView; }
    QString Folder() const { return FFolder; }
    bool ArchiveView() const { return FArchiveView; }
    QString RowPath(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    // Stable in both directions; selections and other persistent indexes follow their rows.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    // More runs of removed rows than this are removed in one layout change.
    static constexpr size_t ManyRuns = 64;

    const std::vector<int>& Ranks(FileColumn column);
    void ClearRanks();

    // The rows stay where the listing put them; a sort reorders only FOrder, the list's
    // rows as indexes into FRows, and the ranks need no reordering.
    std::vector<FileRow> FRows;
    std::vector<int> FOrder;
    // Ranks of Name, Type and Database per entry of FRows, made at their first sort.
    std::array<std::vector<int>, 3> FRanks; // Name, Type, Database
    std::array<bool, 3> FRanksValid{};
    QCollator FCollator;
    QStringList FCaptions;
    std::array<QVariant, 3> FIcons;
    QVariant FTroubleIcon;
    QString FFolder;
    bool FArchiveView = false;
};
