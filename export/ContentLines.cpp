#include "export/ContentLines.h"

namespace {

constexpr int MaxOctets = 75;

int Utf8Octets(QChar unit, bool startsPair) {
    const char16_t code = unit.unicode();
    if (startsPair)
        return 4;
    return code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
}

} // namespace

QString EscapedText(const QString& value) {
    QString escaped;
    escaped.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' || c == u';' || c == u',') {
            escaped += u'\\';
            escaped += c;
        } else if (c == u'\r') {
            if (i + 1 < value.size() && value[i + 1] == u'\n')
                ++i;
            escaped += u"\\n";
        } else if (c == u'\n') {
            escaped += u"\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QString ParameterValue(const QString& value) {
    QString text = value;
    text.replace(u'"', u'\'');
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    if (text.contains(u';') || text.contains(u':') || text.contains(u','))
        return u'"' + text + u'"';
    return text;
}

QString FoldedLine(const QString& line) {
    QString folded;
    folded.reserve(line.size() + line.size() / 64 * 3 + 2);
    int octets = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const bool pair =
            line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate();
        const int size = Utf8Octets(line[i], pair);
        if (octets + size > MaxOctets) {
            folded += u"\r\n ";
            octets = 1; // the space
        }
        folded += line[i];
        if (pair)
            folded += line[++i];
        octets += size;
    }
    folded += u"\r\n";
    return folded;
}

QString DateValue(const QDate& date) {
    return date.toString(u"yyyyMMdd");
}

QString LocalDateTimeValue(const QDate& date, const QTime& time) {
    return DateValue(date) + u'T' + time.toString(u"HHmmss");
}

void ContentLines::Add(const QString& name, const QString& value) {
    text_ += FoldedLine(name + u':' + value);
}

void ContentLines::AddText(const QString& name, const QString& value) {
    if (!value.isEmpty())
        Add(name, EscapedText(value));
}
