// e-books of type "TEXt", creator "REAd" (PalmDOC). Record 0 is the header: version
// (1 plain, 2 compressed), a reserved word, the text's length, the number of text records
// and their size before compression. Records 1..n hold the text; records after them
// (bookmarks) are not text.
#pragma once

#include "export/CodePage.h"
#include "export/Decoded.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <cstdint>

struct PalmDocHeader {
    static constexpr int Plain = 1;
    static constexpr int Compressed = 2;
    static constexpr int DefaultRecordSize = 4096;
    int Version = Plain;
    uint32_t TextLength = 0;
    int RecordCount = 0;
    int RecordSize = DefaultRecordSize;

    // The most one text record may expand to: its size, or 4,096 bytes when the header
    // gives none.
    int RecordLimit() const { return RecordSize > 0 ? RecordSize : DefaultRecordSize; }
};

Decoded<PalmDocHeader> DecodePalmDocHeader(QByteArrayView record0);

// Expands one compressed record, appending to out; an empty text when it succeeded. It
// stops with an error rather than write more than limit bytes or copy from before the
// record's own start.
QString DecompressPalmDocRecord(QByteArrayView compressed, int limit, QByteArray& out);

// The book's text: the header's text records, expanded when compressed, decoded as one
// text (a character may span two records). textRecords are the records after the header,
// extra ones ignored.
Decoded<QString> DecodePalmDocText(QByteArrayView record0, const QList<QByteArrayView>& textRecords,
                                   const CodePage& codePage);
