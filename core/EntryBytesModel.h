// The rows of the bytes view: an entry's bytes, 16 a row, as offset, hex and
// Windows-1252 text. Only the blocks that rows are asked for are read, and only a few
// are kept, so that an entry of any size costs a few kilobytes of memory.
#pragma once

#include "palmdb/DatabaseContents.h"

#include <QAbstractTableModel>
#include <map>
#include <memory>

class EntryBytesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { OffsetColumn, HexColumn, TextColumn, ColumnCount };
    static constexpr int BytesPerRow = 16;
    static constexpr int BlockSize = 4096; // read at once; a multiple of BytesPerRow
    static constexpr int KeptBlocks = 8;
    // The most that Copy hands over; a larger selection is cut there.
    static constexpr qint64 CopyLimit = 16 * 1024 * 1024;

    EntryBytesModel(std::unique_ptr<ByteSource> source, const ContentsEntry& entry,
                    QObject* parent = nullptr);
    ~EntryBytesModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The bytes of rows first to last (inclusive) as "4A 6F ..." or as text (control
    // bytes as "."), at most CopyLimit bytes; *cut tells whether more were selected.
    QString CopyRows(int first, int last, bool hex, bool* cut = nullptr) const;
    // A read error or a file that shrank since it was listed ("" while all reads went well).
    QString Problem() const { return FProblem; }
    // The bytes of the block read now (or kept); fewer at the end or after an error.
    const std::string& Block(qint64 block) const;

    static QString HexText(const std::string& bytes);
    static QString PlainText(const std::string& bytes);

private:
    std::string RowBytes(int row) const;

    std::unique_ptr<ByteSource> FSource;
    ContentsEntry FEntry;
    mutable std::map<qint64, std::string> FBlocks;
    mutable std::vector<qint64> FBlockOrder; // oldest first, for dropping
    mutable QString FProblem;
};
