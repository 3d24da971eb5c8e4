// The preview of one entry of a database file, read from the file itself: its type and
// creator from the header, its app info block and, for an e-book, its first record, each
// read within a bound, as the list gives them.
#pragma once

#include "export/CodePage.h"
#include "palmdb/DatabaseContents.h"

#include <QString>
#include <optional>

// No record of the built-in databases can be larger: the handheld keeps a record in one
// chunk of less than 64 KB.
inline constexpr std::size_t MaxPreviewRecordBytes = 64 * 1024;

// The record's text (PreviewRecord) or why it cannot be read; nothing for an app info or
// sort info block, a resource, or a record of a database of a kind not known.
std::optional<QString> PreviewEntry(ByteSource& source, const DatabaseContents& contents,
                                    const ContentsEntry& entry, const CodePage& codePage);
