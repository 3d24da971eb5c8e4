// Memos, addresses and to-dos as CSV (RFC 4180): a header row, CRLF line ends, fields in
// quotes when they hold a comma, a quote or a line break, quotes doubled.
#pragma once

#include "export/AddressDecoder.h"
#include "export/ExportOptions.h"
#include "export/MemoDecoder.h"
#include "export/ToDoDecoder.h"

#include <QList>
#include <QString>
#include <QStringList>

QString MemosAsCsv(const QList<Memo>& memos, const CategoryInfo& categories,
                   const ExportOptions& options);
// The header names the fields by the app info's labels (renamed custom fields included);
// each phone has a column for its label and one for its number.
QString AddressesAsCsv(const QList<Address>& addresses, const AddressAppInfo& appInfo,
                       const ExportOptions& options);
QString ToDosAsCsv(const QList<ToDoItem>& items, const CategoryInfo& categories,
                   const ExportOptions& options);
