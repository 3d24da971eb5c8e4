#include "platform/NativePath.h"

#include "platform/Windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <array>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

constexpr char16_t EscapeBase = 0xDC00; // byte b (0x80..0xFF) is U+DC00 + b

bool IsEscape(char16_t c) {
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF;
}

QString DecodeEscaping(const unsigned char* bytes, qsizetype size) {
    QString result;
    result.reserve(size);
    for (qsizetype i = 0; i < size;) {
        char32_t code = 0;
        const int length = ValidUtf8Sequence(bytes + i, size - i, code);
        if (length == 0) {
            result.append(QChar(char16_t(EscapeBase + bytes[i])));
            ++i;
            continue;
        }
        if (QChar::requiresSurrogates(code)) {
            result.append(QChar(QChar::highSurrogate(code)));
            result.append(QChar(QChar::lowSurrogate(code)));
        } else {
            result.append(QChar(char16_t(code)));
        }
        i += length;
    }
    return result;
}

// A lone escape, not the second half of a surrogate pair (U+10080 is D800 DC80).
bool IsLoneEscape(const QString& text, qsizetype i) {
    return IsEscape(text.at(i).unicode()) && (i == 0 || !text.at(i - 1).isHighSurrogate());
}

} // namespace

QString DecodePath(const char* bytes, qsizetype size) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes);
    // Qt's decoder is the fast path, but it drops a leading byte order mark.
    const bool startsWithMark = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
    if (!startsWithMark) {
        QString text = QString::fromUtf8(bytes, size);
        if (!text.contains(QChar::ReplacementCharacter))
            return text;
    }
    return DecodeEscaping(data, size);
}

bool HasEscapedBytes(const QString& path) {
    for (qsizetype i = 0; i < path.size(); ++i)
        if (IsLoneEscape(path, i))
            return true;
    return false;
}

QByteArray EncodePath(const QString& path) {
    if (!HasEscapedBytes(path))
        return path.toUtf8();
    QByteArray result;
    result.reserve(path.size() * 3);
    qsizetype runStart = 0; // of the text since the last escape
    auto flushText = [&](qsizetype end) {
        result += QStringView(path).mid(runStart, end - runStart).toUtf8();
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!IsLoneEscape(path, i))
            continue;
        flushText(i);
        result += char(path.at(i).unicode() - EscapeBase);
        runStart = i + 1;
    }
    flushText(path.size());
    return result;
}

QString DisplayName(const QString& path) {
    if (!HasEscapedBytes(path))
        return path;
    QString result = path;
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (!IsLoneEscape(path, i))
            continue;
        const auto byte = char16_t(path.at(i).unicode() - EscapeBase);
        result[i] = QChar(byte < 0xA0 ? Windows1252High[byte - 0x80] : byte);
    }
    return result;
}

QUrl LocalFileUrl(const QString& path) {
#ifdef Q_OS_WIN
    return QUrl::fromLocalFile(path);
#else
    const QString absolute = QDir::isAbsolutePath(path) ? path : QDir::current().filePath(path);
    return QUrl::fromEncoded("file://" + EncodePath(absolute).toPercentEncoding("/"),
                             QUrl::StrictMode);
#endif
}

bool EntryExists(const QString& path) {
#ifdef Q_OS_WIN
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
#else
    struct stat info {};
    return ::lstat(EncodePath(path).constData(), &info) == 0;
#endif
}

bool FolderExists(const QString& path) {
#ifdef Q_OS_WIN
    return QFileInfo(path).isDir();
#else
    struct stat info {};
    return ::stat(EncodePath(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
#endif
}

std::optional<EntrySizeAndTime> SizeAndTimeOf(const QString& path) {
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    EntrySizeAndTime entry;
    entry.Bytes = info.isDir() ? 0 : info.size();
    const QDateTime modified = info.lastModified();
    if (modified.isValid())
        entry.Modified = static_cast<std::time_t>(modified.toSecsSinceEpoch());
    return entry;
#else
    struct stat info {};
    if (::stat(EncodePath(path).constData(), &info) != 0)
        return std::nullopt;
    return EntrySizeAndTime{S_ISDIR(info.st_mode) ? 0 : int64_t(info.st_size), info.st_mtime};
#endif
}

bool RegularFileExists(const QString& path) {
#ifdef Q_OS_WIN
    return QFileInfo(path).isFile();
#else
    struct stat info {};
    return ::stat(EncodePath(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
#endif
}

int ValidUtf8Sequence(const unsigned char* bytes, qsizetype left, char32_t& code) {
    const unsigned char lead = bytes[0];
    int length;
    char32_t min;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (bytes[i] & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}
