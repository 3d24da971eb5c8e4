#include "core/EntryBytesModel.h"

#include "common/PalmText.h"
#include "i18n/Translate.h"

#include <algorithm>

EntryBytesModel::EntryBytesModel(std::unique_ptr<ByteSource> source, const ContentsEntry& entry,
                                 QObject* parent)
    : QAbstractTableModel(parent), FSource(std::move(source)), FEntry(entry) {}

EntryBytesModel::~EntryBytesModel() = default;

int EntryBytesModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    // An entry lies within a file whose offsets have 32 bits: its rows fit an int.
    return int((FEntry.Size + BytesPerRow - 1) / BytesPerRow);
}

int EntryBytesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const std::string& EntryBytesModel::Block(qint64 block) const {
    const auto kept = FBlocks.find(block);
    if (kept != FBlocks.end())
        return kept->second;
    if (int(FBlockOrder.size()) >= KeptBlocks) {
        FBlocks.erase(FBlockOrder.front());
        FBlockOrder.erase(FBlockOrder.begin());
    }
    EntryBytes read = ReadEntryBytes(*FSource, FEntry, block * BlockSize, BlockSize);
    if (!read.Error.empty())
        FProblem = QString::fromStdString(read.Error);
    else if (read.Shrank)
        FProblem = Translated("The file shrank after its entry list was read.");
    FBlockOrder.push_back(block);
    return FBlocks[block] = std::move(read.Bytes);
}

std::string EntryBytesModel::RowBytes(int row) const {
    const qint64 start = qint64(row) * BytesPerRow;
    const std::string& block = Block(start / BlockSize);
    const size_t inBlock = size_t(start % BlockSize);
    if (inBlock >= block.size())
        return {};
    return block.substr(inBlock, BytesPerRow);
}

QString EntryBytesModel::HexText(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(qsizetype(bytes.size()) * 3);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!text.isEmpty())
            text += u' ';
        text += QLatin1Char(digits[byte >> 4]);
        text += QLatin1Char(digits[byte & 0xF]);
    }
    return text;
}

QString EntryBytesModel::PlainText(const std::string& bytes) {
    QString text = PalmTextToQString(bytes);
    for (QChar& c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0 && !c.isPrint()))
            c = u'.';
    return text;
}

QVariant EntryBytesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == OffsetColumn)
        return QString::number(qint64(index.row()) * BytesPerRow, 16)
            .toUpper()
            .rightJustified(8, u'0');
    const std::string bytes = RowBytes(index.row());
    return index.column() == HexColumn ? HexText(bytes) : PlainText(bytes);
}

QVariant EntryBytesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case OffsetColumn:
        return Translated("Offset");
    case HexColumn:
        return Translated("Hex");
    case TextColumn:
        return Translated("Text");
    default:
        return {};
    }
}

QString EntryBytesModel::CopyRows(int first, int last, bool hex, bool* cut) const {
    first = std::max(first, 0);
    last = std::min(last, rowCount() - 1);
    std::string bytes;
    const qint64 start = qint64(first) * BytesPerRow;
    const qint64 end = std::min<qint64>(qint64(last + 1) * BytesPerRow, FEntry.Size);
    const qint64 wanted = std::min<qint64>(end - start, CopyLimit);
    if (cut)
        *cut = end - start > CopyLimit;
    for (qint64 at = start; at < start + wanted;) {
        const size_t count = size_t(std::min<qint64>(BlockSize * 16, start + wanted - at));
        EntryBytes read = ReadEntryBytes(*FSource, FEntry, at, count);
        bytes += read.Bytes;
        if (read.Bytes.size() < count)
            break; // the file ended or failed: what was there is copied
        at += qint64(count);
    }
    return hex ? HexText(bytes) : PlainText(bytes);
}
