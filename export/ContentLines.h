// The line format that iCalendar (RFC 5545) and vCard 3.0 (RFC 2426) share: NAME;PARAMS:VALUE
// lines ending in CRLF, folded so that no line is longer than 75 octets, with the special
// characters of a text value escaped.
#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// A text value: backslash, semicolon, comma and line breaks escaped.
QString EscapedText(const QString& value);

// A parameter value, in quotes when it holds a character that ends a parameter; quotes
// themselves cannot appear there and become apostrophes.
QString ParameterValue(const QString& value);

// One content line, folded: continuation lines start with a space, and no UTF-8 sequence
// or surrogate pair is split.
QString FoldedLine(const QString& line);

// "20070315" and "20070315T093000" (floating local time, no zone).
QString DateValue(const QDate& date);
QString LocalDateTimeValue(const QDate& date, const QTime& time);

// Collects the lines of one file.
class ContentLines {
public:
    // name may carry parameters ("DTSTART;VALUE=DATE"); value is put as it is.
    void Add(const QString& name, const QString& value);
    // A text property: the value escaped; nothing written for an empty value.
    void AddText(const QString& name, const QString& value);
    const QString& Text() const { return text_; }

private:
    QString text_;
};
