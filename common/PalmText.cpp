#include "common/PalmText.h"

#include "platform/Windows1252.h"

#include <QByteArrayView>
#include <QList>
#include <array>

namespace {

char EncodeChar(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (std::size_t i = 0; i < Windows1252High.size(); ++i)
        if (Windows1252High[i] == code)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QString PalmTextToQString(const std::string& bytes) {
    QString result(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = result.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : char16_t(byte));
    }
    return result;
}

std::string QStringToPalmText(const QString& text) {
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    // Code points rather than UTF-16 units: a character outside the BMP is one "?".
    for (const char32_t code : text.toUcs4())
        result += EncodeChar(code);
    return result;
}

QString Utf8OrWindows1252ToQString(const std::string& bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return view.isValidUtf8() ? QString::fromUtf8(view) : PalmTextToQString(bytes);
}
