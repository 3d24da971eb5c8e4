#include "palmdesktop/RegistryHive.h"

#include <QList>
#include <QStringView>
#include <cstring>

namespace {

QString KeyOf(QString path) {
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (path.startsWith(QLatin1Char('\\')))
        path.remove(0, 1);
    while (path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    return path.toLower();
}

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Reads a quoted text that starts at text[pos] == '"' (or, for key names, ends at
// closing); pos ends after the closing character. Wine's escapes: \\ \" \[ \] \a \b \e
// \f \n \r \t \v, \x with up to four hex digits (a UTF-16 unit), up to three octal
// digits; any other escaped character stands for itself.
std::optional<QString> Unescape(QStringView text, qsizetype& pos, QChar closing) {
    QString out;
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c == closing)
            return out;
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (pos >= text.size())
            return std::nullopt;
        const QChar e = text[pos++];
        static constexpr char Letters[] = "abefnrtv";
        static constexpr char16_t Controls[] = {7, 8, 27, 12, 10, 13, 9, 11};
        if (const char* letter = e.unicode() < 128 && e.unicode() != 0
                                     ? std::strchr(Letters, char(e.unicode()))
                                     : nullptr) {
            out += QChar(Controls[letter - Letters]);
        } else if (e == QLatin1Char('x') && pos < text.size() && HexDigit(text[pos]) >= 0) {
            char16_t value = 0;
            for (int digits = 0; digits < 4 && pos < text.size() && HexDigit(text[pos]) >= 0;
                 ++digits)
                value = char16_t(value * 16 + HexDigit(text[pos++]));
            out += QChar(value);
        } else if (e >= QLatin1Char('0') && e <= QLatin1Char('7')) {
            char16_t value = char16_t(e.unicode() - '0');
            for (int digits = 1; digits < 3 && pos < text.size() && text[pos] >= QLatin1Char('0') &&
                                 text[pos] <= QLatin1Char('7');
                 ++digits)
                value = char16_t(value * 8 + (text[pos++].unicode() - '0'));
            out += QChar(value);
        } else {
            out += e;
        }
    }
    return std::nullopt;
}

// "xx,xx,..." as bytes; nullopt on anything else.
std::optional<QByteArray> HexBytes(QStringView text) {
    QByteArray bytes;
    for (QStringView item : text.split(QLatin1Char(','))) {
        item = item.trimmed();
        if (item.isEmpty())
            continue;
        if (item.size() > 2 || HexDigit(item[0]) < 0 || (item.size() == 2 && HexDigit(item[1]) < 0))
            return std::nullopt;
        bytes +=
            char(item.size() == 1 ? HexDigit(item[0]) : HexDigit(item[0]) * 16 + HexDigit(item[1]));
    }
    return bytes;
}

// A REG_SZ or REG_EXPAND_SZ stored as bytes: UTF-16LE up to its terminator.
QString Utf16String(const QByteArray& bytes) {
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        if (unit == 0)
            break;
        text += QChar(unit);
    }
    return text;
}

// The string that a value's data stands for, or nullopt for data of other types.
std::optional<QString> StringData(QStringView data) {
    qsizetype pos = 0;
    for (const QLatin1StringView prefix : {QLatin1StringView("str(2):"), QLatin1StringView("")}) {
        if (!data.startsWith(prefix))
            continue;
        pos = prefix.size();
        if (pos < data.size() && data[pos] == QLatin1Char('"')) {
            ++pos;
            return Unescape(data, pos, QLatin1Char('"'));
        }
    }
    for (const QLatin1StringView prefix :
         {QLatin1StringView("hex(1):"), QLatin1StringView("hex(2):")}) {
        if (data.startsWith(prefix)) {
            const auto bytes = HexBytes(data.mid(prefix.size()));
            if (bytes)
                return Utf16String(*bytes);
        }
    }
    return std::nullopt;
}

// Physical lines joined where hex data goes on: Wine and regedit end such a line with a
// backslash and continue on an indented line.
QList<QString> LogicalLines(const QString& text) {
    QList<QString> lines;
    QString current;
    bool continuing = false;
    bool hexValue = false;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (continuing) {
            current += line.trimmed();
        } else {
            current = line.toString();
            hexValue = line.contains(QLatin1String("=hex"));
        }
        continuing = hexValue && current.endsWith(QLatin1Char('\\'));
        if (continuing)
            current.chop(1);
        else
            lines << current;
    }
    if (continuing)
        lines << current;
    return lines;
}

} // namespace

RegistryHive RegistryHive::Parse(const QByteArray& bytes) {
    RegistryHive hive;
    QHash<QString, QString>* current = nullptr;
    for (const QString& line : LogicalLines(QString::fromUtf8(bytes))) {
        const QStringView view(line);
        if (view.startsWith(QLatin1Char('['))) {
            qsizetype pos = 1;
            const auto key = Unescape(view, pos, QLatin1Char(']'));
            current = key ? &hive.FKeys[KeyOf(*key)] : nullptr;
            continue;
        }
        if (!current)
            continue;
        QString name;
        qsizetype pos = 0;
        if (view.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else if (view.startsWith(QLatin1Char('"'))) {
            pos = 1;
            const auto unescaped = Unescape(view, pos, QLatin1Char('"'));
            if (!unescaped)
                continue;
            name = *unescaped;
        } else {
            continue; // comments (;), options (#), blank lines, damage
        }
        if (pos >= view.size() || view[pos] != QLatin1Char('='))
            continue;
        const auto value = StringData(view.mid(pos + 1).trimmed());
        if (value)
            current->insert(name.toLower(), *value);
    }
    return hive;
}

std::optional<QString> RegistryHive::ReadString(const QString& key, const QString& name) const {
    const auto k = FKeys.constFind(KeyOf(key));
    if (k == FKeys.constEnd())
        return std::nullopt;
    const QString valueName = name == QLatin1String("@") ? QString() : name.toLower();
    const auto v = k->constFind(valueName);
    if (v == k->constEnd())
        return std::nullopt;
    return *v;
}
