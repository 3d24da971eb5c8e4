#include "export/EntryPreview.h"

#include "export/EntryRecord.h"
#include "export/ExportRun.h"
#include "export/RecordPreview.h"

std::optional<QString> PreviewEntry(ByteSource& source, const DatabaseContents& contents,
                                    const ContentsEntry& entry, const CodePage& codePage) {
    if (entry.Kind != ContentsEntryKind::Record || contents.Kind != ContentsKind::Records)
        return std::nullopt;
    PreviewDatabase database{contents.Header.Type, contents.Header.Creator, {}, {}};
    if (!HasRecordPreview(database.Type, database.Creator))
        return std::nullopt;

    QString why;
    const std::optional<QByteArray> record =
        ReadEntryRecord(source, entry, MaxPreviewRecordBytes, &why);
    if (!record)
        return UnreadableRecordText(why);
    // A block that cannot be read is left out: the record is still shown, its category by
    // number and its labels by their usual names.
    const QByteArray appInfo = contents.HasAppInfo ? ReadEntryRecord(source, contents.AppInfo,
                                                                     MaxPreviewRecordBytes, nullptr)
                                                         .value_or(QByteArray())
                                                   : QByteArray();
    database.AppInfo = appInfo;
    QByteArray header;
    if (KindOf(database.Type, database.Creator) == ExportKind::EBook && entry.Index > 0 &&
        !contents.Entries.empty() && contents.Entries.front().Index == 0)
        header = ReadEntryRecord(source, contents.Entries.front(), MaxPreviewRecordBytes, nullptr)
                     .value_or(QByteArray());
    database.EbookHeader = header;
    return PreviewRecord(database, entry.Index,
                         PalmRecordBytes{QByteArrayView(*record),
                                         uint8_t(entry.Attributes | entry.Category),
                                         entry.UniqueId},
                         codePage);
}
