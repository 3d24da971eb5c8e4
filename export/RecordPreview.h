// A record of one of the handheld's built-in databases as a person reads it, for the
// preview beside its bytes: its fields as "Label: value" lines, a memo's or a book's text.
// Records come from files of unknown origin: a damaged one gives a text that says it
// cannot be read and why, never a guess.
#pragma once

#include "export/CodePage.h"
#include "export/RecordBytes.h"

#include <QByteArrayView>
#include <QString>
#include <optional>
#include <string>

// What a preview needs of the database besides the record.
struct PreviewDatabase {
    std::string Type; // as the header stores them
    std::string Creator;
    QByteArrayView AppInfo; // empty when the database has none
    // An e-book's record 0, its header: whether the text records are compressed and how
    // far they may expand. Empty when it could not be read.
    QByteArrayView EbookHeader;
};

// Whether records of a database of this type and creator have a preview.
bool HasRecordPreview(const std::string& type, const std::string& creator);

// The record at place index of the database's list as text; nothing for a database of a
// kind not known, and for an e-book's records after its text (bookmarks).
std::optional<QString> PreviewRecord(const PreviewDatabase& database, int index,
                                     const PalmRecordBytes& record, const CodePage& codePage);

// The preview of a record that cannot be read, saying why.
QString UnreadableRecordText(const QString& why);
