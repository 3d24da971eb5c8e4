#include "export/EntryPreview.h"

#include "export/ExportRun.h"
#include "export/RecordPreview.h"
#include "i18n/Translate.h"

namespace {

// The bytes of an entry, or nothing with the cause in why.
std::optional<QByteArray> ReadRecord(ByteSource& source, const ContentsEntry& entry, QString& why) {
    if (entry.Problem != EntryProblem::None) {
        why = Translated(EntryProblemText(entry.Problem));
        return std::nullopt;
    }
    const EntryBytes bytes = ReadEntryBytes(source, entry, 0, MaxPreviewRecordBytes);
    if (!bytes.Error.empty())
        why = QString::fromStdString(bytes.Error);
    else if (bytes.Shrank)
        why = Translated("the file shrank while it was read");
    else if (bytes.MoreFollow)
        why = Translated("larger than any such record");
    if (!why.isEmpty())
        return std::nullopt;
    return QByteArray::fromStdString(bytes.Bytes);
}

} // namespace

std::optional<QString> PreviewEntry(ByteSource& source, const DatabaseContents& contents,
                                    const ContentsEntry& entry, const CodePage& codePage) {
    if (entry.Kind != ContentsEntryKind::Record || contents.Kind != ContentsKind::Records)
        return std::nullopt;
    char ids[8] = {};
    std::string error;
    if (source.ReadAt(60, reinterpret_cast<unsigned char*>(ids), sizeof ids, &error) !=
        int64_t(sizeof ids))
        return std::nullopt;
    PreviewDatabase database{std::string(ids, 4), std::string(ids + 4, 4), {}, {}};
    if (!HasRecordPreview(database.Type, database.Creator))
        return std::nullopt;

    QString why;
    const std::optional<QByteArray> record = ReadRecord(source, entry, why);
    if (!record)
        return UnreadableRecordText(why);
    // A block that cannot be read is left out: the record is still shown, its category by
    // number and its labels by their usual names.
    QString ignored;
    const QByteArray appInfo =
        contents.HasAppInfo ? ReadRecord(source, contents.AppInfo, ignored).value_or(QByteArray())
                            : QByteArray();
    database.AppInfo = appInfo;
    QByteArray header;
    if (KindOf(database.Type, database.Creator) == ExportKind::EBook && entry.Index > 0 &&
        !contents.Entries.empty() && contents.Entries.front().Index == 0)
        header = ReadRecord(source, contents.Entries.front(), ignored).value_or(QByteArray());
    database.EbookHeader = header;
    return PreviewRecord(database, entry.Index,
                         PalmRecordBytes{QByteArrayView(*record),
                                         uint8_t(entry.Attributes | entry.Category),
                                         entry.UniqueId},
                         codePage);
}
