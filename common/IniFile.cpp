#include "common/IniFile.h"

#include "common/PalmText.h"
#include "i18n/Translate.h"
#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"
#include "platform/WriteError.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <limits>
#include <stdexcept>

namespace {

constexpr qsizetype MaxValueLength = 2047;
// Far beyond any settings file; a larger file is not ours to read.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

#ifdef Q_OS_WIN
constexpr char LineEnd[] = "\r\n";
#else
constexpr char LineEnd[] = "\n";
#endif

// A line break would end the line early and let the rest pass for lines of its own.
QString WithoutLineBreaks(QString text) {
    for (QChar& c : text)
        if (c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

// How a name given by the caller compares with the names in the file.
QString Normalized(const QString& name) {
    return WithoutLineBreaks(name).trimmed();
}

QString Folded(const QString& name) {
    return Normalized(name).toCaseFolded();
}

// "[name]" with blanks around; the name ends at the last "]", so that one holding "]"
// itself still finds its section again.
bool ParseSectionLine(QStringView line, QString* name) {
    line = line.trimmed();
    if (!line.startsWith(u'['))
        return false;
    const qsizetype close = line.lastIndexOf(u']');
    if (close < 1)
        return false;
    if (name)
        *name = line.mid(1, close - 1).trimmed().toString();
    return true;
}

// "key=value"; comments (";") and section lines are never keys.
bool ParseKeyLine(QStringView line, QStringView* key, QStringView* value) {
    const QStringView trimmed = line.trimmed();
    if (trimmed.startsWith(u';') || trimmed.startsWith(u'['))
        return false;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return false;
    *key = line.left(equals).trimmed();
    if (value)
        *value = line.mid(equals + 1);
    return true;
}

QString ValueText(QStringView raw) {
    QStringView value = raw.trimmed();
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == u'"' || value.front() == u'\''))
        value = value.mid(1, value.size() - 2);
    if (value.size() > MaxValueLength) {
        qsizetype length = MaxValueLength;
        if (value.at(length - 1).isHighSurrogate())
            --length; // never half a character
        value = value.left(length);
    }
    return value.toString();
}

// The way back: a value that reading would change is put in quotes.
QString StoredValue(const QString& value) {
    QString text = WithoutLineBreaks(value);
    if (text.isEmpty())
        return text;
    const QChar first = text.front();
    const QChar last = text.back();
    const bool quoted = text.size() >= 2 && first == last && (first == u'"' || first == u'\'');
    if (first.isSpace() || last.isSpace() || quoted)
        return u'"' + text + u'"';
    return text;
}

QString DecodeLine(QByteArrayView bytes, QStringDecoder& utf8) {
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    utf8.resetState();
    return PalmTextToQString(std::string(bytes.data(), static_cast<std::size_t>(bytes.size())));
}

} // namespace

IniFile::IniFile(QString path) : FPath(std::move(path)) {}

bool IniFile::Load() {
    FError.clear();
    FLoadFailed = false;
    FromBytes(QByteArray());
    const QFileInfo info(FPath);
    if (!info.exists() && !info.isSymLink())
        return true;
    QString cause;
    if (info.isDir()) {
        cause = Translated("it is a folder");
    } else {
        // Not QFile: a FIFO of that name would hold the start-up in open().
        QByteArray content;
        if (ReadRegularFile(FPath, MaxFileSize, &content, &cause) == FileReadOutcome::Read) {
            FromBytes(content);
            return true;
        }
    }
    FError = Translated("Unable to read %1: %2").arg(FPath, cause);
    FLoadFailed = true;
    return false;
}

void IniFile::Save() const {
    if (FLoadFailed)
        throw EWriteError(Translated("Unable to write to %1: it could not be read, and writing it "
                                     "would lose what it holds")
                              .arg(FPath)
                              .toStdString());
    WriteFileAtomically(FPath, ToBytes());
}

QByteArray IniFile::ToBytes() const {
    QByteArray result;
    for (const QString& line : FLines) {
        result += line.toUtf8();
        result += LineEnd;
    }
    return result;
}

void IniFile::FromBytes(const QByteArray& content) {
    FLines.clear();
    QByteArrayView rest(content);
    // A byte order mark belongs to the start of the file only (an editor that adds one on
    // every save leaves several); inside a line U+FEFF is text and stays, or every save
    // would drop one.
    while (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    while (!rest.isEmpty()) {
        const qsizetype newline = rest.indexOf('\n');
        QByteArrayView line = newline < 0 ? rest : rest.first(newline);
        rest = newline < 0 ? QByteArrayView() : rest.sliced(newline + 1);
        // All of them: a CR LF written through a Windows text-mode stream comes out as
        // CR CR LF, and a CR kept at a line's end would be lost on the next read.
        while (line.endsWith('\r'))
            line.chop(1);
        FLines.append(DecodeLine(line, utf8));
    }
    Reindex();
}

void IniFile::Reindex() {
    FSections.clear();
    FFirstSection.clear();
    QString name;
    for (qsizetype i = 0; i < FLines.size(); ++i) {
        if (!ParseSectionLine(FLines.at(i), &name))
            continue;
        if (!FSections.empty())
            FSections.back().End = i;
        FSections.push_back(Section{name, i, FLines.size()});
        const QString folded = name.toCaseFolded();
        if (!FFirstSection.contains(folded))
            FFirstSection.insert(folded, qsizetype(FSections.size()) - 1);
    }
}

qsizetype IniFile::FindSection(const QString& section) const {
    return FFirstSection.value(Folded(section), -1);
}

qsizetype IniFile::FindKey(qsizetype section, const QString& key) const {
    if (section < 0)
        return -1;
    const Section& s = FSections[std::size_t(section)];
    const QString wanted = Normalized(key);
    QStringView name;
    for (qsizetype i = s.Header + 1; i < s.End; ++i)
        if (ParseKeyLine(FLines.at(i), &name, nullptr) &&
            name.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void IniFile::InsertLine(qsizetype position, const QString& line) {
    FLines.insert(position, line);
    // Sections lie in file order: only those at or after the position move.
    for (auto s = FSections.rbegin(); s != FSections.rend() && s->End >= position; ++s) {
        if (s->Header >= position)
            ++s->Header;
        ++s->End;
    }
}

void IniFile::RemoveLine(qsizetype position) {
    FLines.removeAt(position);
    for (auto s = FSections.rbegin(); s != FSections.rend() && s->End > position; ++s) {
        if (s->Header > position)
            --s->Header;
        --s->End;
    }
}

void IniFile::DeleteKey(const QString& section, const QString& key) {
    const qsizetype index = FindSection(section);
    for (qsizetype line = FindKey(index, key); line >= 0; line = FindKey(index, key))
        RemoveLine(line);
}

bool IniFile::SectionExists(const QString& section) const {
    return FindSection(section) >= 0;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const {
    return FindKey(FindSection(section), key) >= 0;
}

QStringList IniFile::SectionNames() const {
    QStringList names;
    for (std::size_t i = 0; i < FSections.size(); ++i)
        if (FFirstSection.value(FSections[i].Name.toCaseFolded()) == qsizetype(i))
            names.append(FSections[i].Name);
    return names;
}

QStringList IniFile::KeyNames(const QString& section) const {
    QStringList names;
    const qsizetype index = FindSection(section);
    if (index < 0)
        return names;
    const Section& s = FSections[std::size_t(index)];
    QSet<QString> seen;
    QStringView name;
    for (qsizetype i = s.Header + 1; i < s.End; ++i) {
        if (!ParseKeyLine(FLines.at(i), &name, nullptr))
            continue;
        const QString folded = name.toString().toCaseFolded();
        if (!seen.contains(folded)) {
            seen.insert(folded);
            names.append(name.toString());
        }
    }
    return names;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const qsizetype line = FindKey(FindSection(section), key);
    if (line < 0)
        return def;
    QStringView name;
    QStringView value;
    ParseKeyLine(FLines.at(line), &name, &value);
    return ValueText(value);
}

int64_t IniFile::ReadInteger(const QString& section, const QString& key, int64_t def) const {
    int64_t value = 0;
    return ParseIniInteger(ReadString(section, key, QString()), value) ? value : def;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    int64_t value = 0;
    return ParseIniInteger(ReadString(section, key, QString()), value) ? value != 0 : def;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const QString keyText = WithoutLineBreaks(key);
    const QString trimmedKey = keyText.trimmed();
    if (trimmedKey.contains(u'=') || trimmedKey.startsWith(u';') || trimmedKey.startsWith(u'['))
        throw std::invalid_argument("INI key cannot be stored: " + key.toStdString());
    const QString line = keyText + u'=' + StoredValue(value);

    const qsizetype index = FindSection(section);
    if (index >= 0) {
        const qsizetype existing = FindKey(index, key);
        if (existing >= 0) {
            FLines[existing] = line;
            return;
        }
        // After the section's last line that is not blank, so that the blank line that
        // parts it from the next section stays where it is.
        const Section& s = FSections[std::size_t(index)];
        qsizetype position = s.End;
        while (position > s.Header + 1 && FLines.at(position - 1).trimmed().isEmpty())
            --position;
        InsertLine(position, line);
        return;
    }

    if (!FLines.isEmpty() && !FLines.back().trimmed().isEmpty())
        InsertLine(FLines.size(), QString());
    const QString name = WithoutLineBreaks(section);
    const qsizetype header = FLines.size();
    FLines.append(u'[' + name + u']');
    FLines.append(line);
    FSections.push_back(Section{name.trimmed(), header, FLines.size()});
    FFirstSection.insert(Folded(section), qsizetype(FSections.size()) - 1);
}

void IniFile::WriteInteger(const QString& section, const QString& key, int64_t value) {
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool ParseIniInteger(const QString& text, int64_t& value) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int base = 10;
    if (QStringView(text).mid(i).startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        i += 2;
    } else if (i < text.size() && text.at(i) == u'$') {
        base = 16;
        ++i;
    }
    if (i >= text.size())
        return false;
    const uint64_t limit = uint64_t(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        uint64_t digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return false;
        if (magnitude > (limit - digit) / uint64_t(base))
            return false;
        magnitude = magnitude * uint64_t(base) + digit;
    }
    value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}
