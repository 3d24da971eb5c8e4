#include "export/PalmDocDecoder.h"

#include "export/DecodeErrors.h"
#include "export/RecordBytes.h"

Decoded<PalmDocHeader> DecodePalmDocHeader(QByteArrayView record0) {
    RecordReader reader(record0);
    const auto version = reader.Word();
    reader.Skip(2);
    const auto textLength = reader.Long();
    const auto recordCount = reader.Word();
    const auto recordSize = reader.Word();
    if (!recordSize)
        return Decoded<PalmDocHeader>::Failure(RecordTooShortText());
    if (*version != PalmDocHeader::Plain && *version != PalmDocHeader::Compressed)
        return Decoded<PalmDocHeader>::Failure(UnknownEbookVersionText(*version));
    return Decoded<PalmDocHeader>::Of(
        PalmDocHeader{*version, *textLength, *recordCount, *recordSize});
}

QString DecompressPalmDocRecord(QByteArrayView compressed, int limit, QByteArray& out) {
    const qsizetype start = out.size();
    const qsizetype end = start + limit;
    const qsizetype size = compressed.size();
    for (qsizetype i = 0; i < size;) {
        const auto byte = uint8_t(compressed[i++]);
        if (byte >= 1 && byte <= 8) { // the next 1..8 bytes as they are
            if (size - i < byte)
                return RecordTooShortText();
            if (out.size() + byte > end)
                return EbookRecordTooLongText(limit);
            out.append(compressed.sliced(i, byte));
            i += byte;
        } else if (byte < 0x80) { // itself
            if (out.size() + 1 > end)
                return EbookRecordTooLongText(limit);
            out.append(char(byte));
        } else if (byte >= 0xC0) { // a space and a character
            if (out.size() + 2 > end)
                return EbookRecordTooLongText(limit);
            out.append(' ');
            out.append(char(byte ^ 0x80));
        } else { // 11 bits of distance, 3 of length - 3
            if (i >= size)
                return RecordTooShortText();
            const int pair = (byte << 8 | uint8_t(compressed[i++])) & 0x3FFF;
            const qsizetype distance = pair >> 3;
            const qsizetype length = (pair & 7) + 3;
            if (distance == 0 || distance > out.size() - start)
                return EbookReferenceBeforeStartText();
            if (out.size() + length > end)
                return EbookRecordTooLongText(limit);
            // Byte by byte: the copy may overlap what it writes.
            for (qsizetype k = 0; k < length; ++k)
                out.append(out.at(out.size() - distance));
        }
    }
    return QString();
}

Decoded<QString> DecodePalmDocText(QByteArrayView record0, const QList<QByteArrayView>& textRecords,
                                   const CodePage& codePage) {
    const auto header = DecodePalmDocHeader(record0);
    if (!header.Ok())
        return Decoded<QString>::Failure(header.Error);
    const int count = header.Value->RecordCount;
    if (textRecords.size() < count)
        return Decoded<QString>::Failure(EbookRecordsMissingText(count, int(textRecords.size())));
    const int limit = header.Value->RecordLimit();
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        const QByteArrayView record = textRecords[i];
        if (header.Value->Version == PalmDocHeader::Plain) {
            if (record.size() > limit)
                return Decoded<QString>::Failure(EbookRecordTooLongText(limit));
            text.append(record);
            continue;
        }
        const QString error = DecompressPalmDocRecord(record, limit, text);
        if (!error.isEmpty())
            return Decoded<QString>::Failure(error);
    }
    return Decoded<QString>::Of(codePage.Decode(text));
}
