#include "core/EntryExtraction.h"

#include "i18n/Translate.h"
#include "platform/SafeWrite.h"

namespace {

// Pieces small enough that a 200 MB entry costs no more memory than a small one.
constexpr std::size_t PieceSize = 1 << 20;

QString Hex(uint32_t value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

// The type bytes as a part of a file name: letters, digits, '-' and '_' as they are.
QString SafeType(const std::string& type) {
    QString safe;
    for (const char c : type) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || byte == '-' || byte == '_')
            safe += QLatin1Char(c);
        else
            safe += u'%' + Hex(byte, 2);
    }
    return safe;
}

} // namespace

QString EntryFileName(const ContentsEntry& entry) {
    switch (entry.Kind) {
    case ContentsEntryKind::Record:
        return QStringLiteral("record-%1-%2.bin")
            .arg(entry.Index, 4, 10, QLatin1Char('0'))
            .arg(Hex(entry.UniqueId, 6));
    case ContentsEntryKind::Resource:
        return SafeType(entry.Type) + u'-' + Hex(entry.Id, 4) + QStringLiteral(".bin");
    case ContentsEntryKind::AppInfo:
        return QStringLiteral("appinfo.bin");
    case ContentsEntryKind::SortInfo:
        return QStringLiteral("sortinfo.bin");
    }
    return QString();
}

ExtractResult ExtractEntry(ByteSource& source, const ContentsEntry& entry,
                           const FolderHandle& folder, bool replace) {
    ExtractResult result;
    result.Name = EntryFileName(entry);
    PendingFile file;
    if (!file.Create(folder, &result.Error))
        return result;
    for (int64_t start = 0; start < entry.Size;) {
        const EntryBytes piece = ReadEntryBytes(source, entry, start, PieceSize);
        if (!piece.Error.empty()) {
            result.Error = QString::fromLocal8Bit(piece.Error.c_str());
            return result;
        }
        if (piece.Shrank || piece.Bytes.empty()) {
            result.Error = Translated("the file shrank while it was read");
            return result;
        }
        if (!file.Write(piece.Bytes.data(), piece.Bytes.size(), &result.Error))
            return result;
        start += int64_t(piece.Bytes.size());
    }
    if (!file.Finish(std::nullopt, std::nullopt, false, &result.Error))
        return result;
    bool existed = false;
    if (!file.Commit(result.Name, replace, &result.Error, &existed)) {
        if (existed) {
            result.Outcome = ExtractOutcome::Exists;
            result.Error.clear();
        }
        return result;
    }
    result.Outcome = ExtractOutcome::Written;
    return result;
}
