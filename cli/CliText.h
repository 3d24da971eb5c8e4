// Text output shared by brisko-cli's commands: control characters escaped so that a
// name cannot split a line or reach the terminal, and errors in one form.
#pragma once

#include <QString>
#include <QTextStream>

inline QString Latin(const char* text) {
    return QString::fromLatin1(text);
}

// Appends text with its control characters escaped (\t, \n, \r, \xNN).
void AppendPrintable(QString& out, QStringView text);
QString Printable(QStringView text);

// "brisko-cli: FILE: MESSAGE" on err.
void ReportError(QTextStream& err, const QString& file, const QString& message);
