#include "export/EntryRecord.h"

#include "i18n/Translate.h"

std::optional<QByteArray> ReadEntryRecord(ByteSource& source, const ContentsEntry& entry,
                                          std::size_t maxBytes, QString* why) {
    QString cause;
    EntryBytes bytes;
    if (entry.Problem != EntryProblem::None) {
        cause = Translated(EntryProblemText(entry.Problem));
    } else {
        bytes = ReadEntryBytes(source, entry, 0, maxBytes);
        if (!bytes.Error.empty())
            cause = QString::fromStdString(bytes.Error);
        else if (bytes.Shrank)
            cause = Translated("the file shrank while it was read");
        else if (bytes.MoreFollow)
            cause = Translated("larger than any such record");
    }
    if (!cause.isEmpty()) {
        if (why)
            *why = cause;
        return std::nullopt;
    }
    return QByteArray::fromStdString(bytes.Bytes);
}
