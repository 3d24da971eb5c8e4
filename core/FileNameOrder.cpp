#include "core/FileNameOrder.h"

#include "platform/NativePath.h"

#include <QChar>
#include <algorithm>
#include <cstdint>

namespace {

unsigned char AsciiUpper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// The code point of a valid UTF-8 sequence at text[at], moving at past it; a byte that
// starts no valid sequence is taken alone as U+DC00 plus its value.
char32_t NextCodePoint(std::string_view text, size_t& at) {
    char32_t code = 0;
    const int length = ValidUtf8Sequence(reinterpret_cast<const unsigned char*>(text.data() + at),
                                         qsizetype(text.size() - at), code);
    if (length == 0)
        return 0xDC00 + static_cast<unsigned char>(text[at++]);
    at += size_t(length);
    return code;
}

// A character as the file system compares it: its UTF-16 units, the first in the upper
// half, the second (for a character beyond the BMP) in the lower one, so that whole
// numbers compare as the unit sequences do. Only BMP characters have upper-case forms in
// the file system's table.
uint32_t ComparedUnits(char32_t code) {
    if (code < 0x10000) {
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        const char32_t upper = surrogate ? code : QChar::toUpper(code);
        return static_cast<uint32_t>(upper < 0x10000 ? upper : code) << 16;
    }
    const char32_t offset = code - 0x10000;
    return ((0xD800 + (offset >> 10)) << 16) | (0xDC00 + (offset & 0x3FF));
}

} // namespace

int CompareFileNames(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if ((ca | cb) < 0x80) {
            if (ca != cb) {
                const unsigned char ua = AsciiUpper(ca);
                const unsigned char ub = AsciiUpper(cb);
                if (ua != ub)
                    return ua < ub ? -1 : 1;
            }
            ++i;
            ++j;
            continue;
        }
        const uint32_t ua = ComparedUnits(NextCodePoint(a, i));
        const uint32_t ub = ComparedUnits(NextCodePoint(b, j));
        if (ua != ub)
            return ua < ub ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

bool FileNameLess(std::string_view a, std::string_view b) {
    const int order = CompareFileNames(a, b);
    return order != 0 ? order < 0 : a < b;
}

void SortFileNames(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return FileNameLess(a, b); });
}
