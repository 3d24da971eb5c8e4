// CSV as RFC 4180 writes it: a comma between fields, a field in quotes when it holds a
// comma, a quote or a line break (its quotes doubled), CRLF line ends.
#pragma once

#include <QString>
#include <QStringList>

// One row with its CRLF.
QString CsvRow(const QStringList& fields);
