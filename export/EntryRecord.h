// A record's (or block's) bytes read from a database file, bounded: the causes of not
// having them (the entry's place is impossible, a read failed, the file shrank, the
// entry is larger than such a record can be) come back as a text for the user.
#pragma once

#include "palmdb/DatabaseContents.h"

#include <QByteArray>
#include <QString>
#include <optional>

std::optional<QByteArray> ReadEntryRecord(ByteSource& source, const ContentsEntry& entry,
                                          std::size_t maxBytes, QString* why);
