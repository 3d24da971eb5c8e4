#include "common/PalmText.h"

#include <QByteArrayView>
#include <QList>
#include <array>

namespace {

// Windows-1252 at 0x80..0x9F; the bytes it leaves undefined keep their own value so that
// decoding and encoding again gives the same bytes.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

char EncodeChar(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == code)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QString PalmTextToQString(const std::string& bytes) {
    QString result(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = result.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : char16_t(byte));
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
