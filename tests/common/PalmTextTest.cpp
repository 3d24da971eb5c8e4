#include "common/PalmText.h"

#include <gtest/gtest.h>

namespace {

TEST(PalmText, DecodesAsWindows1252AndEveryByteSurvivesTheWayBack) {
    const struct {
        unsigned char byte;
        char16_t unicode;
    } cases[] = {{0x00, 0x0000}, {0x41, u'A'},   {0x80, 0x20AC}, {0x81, 0x0081},
                 {0x9D, 0x009D}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xFF, 0x00FF}};
    for (const auto& c : cases) {
        const QString decoded = PalmTextToQString(std::string(1, char(c.byte)));
        ASSERT_EQ(decoded.size(), 1);
        EXPECT_EQ(decoded.at(0).unicode(), c.unicode) << int(c.byte);
    }

    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(QStringToPalmText(PalmTextToQString(all)), all);
    // Characters the character set lacks, also outside the BMP, become one "?" each.
    EXPECT_EQ(QStringToPalmText(QString::fromUtf8("\u03A9a\U0001F600")), "?a?");
}

TEST(PalmText, CatalogueTextsAreUtf8WhereValidAndWindows1252Otherwise) {
    const struct {
        const char* bytes;
        const char* text; // UTF-8
    } cases[] = {
        {"", ""},
        {"plain <b>", "plain <b>"},
        {"Z\xC3\xBCrich", "Z\u00fcrich"},           // UTF-8
        {"Z\xFCrich", "Z\u00fcrich"},               // Windows-1252
        {"\x80 \x9F \xA0", "\u20ac \u0178 \u00a0"}, // the whole line, in one encoding
        {"\xC3\xBC \xFC", "\u00c3\u00bc \u00fc"},
        {"\xC0\xAF", "\u00c0\u00af"},           // an overlong form is no UTF-8
        {"\xED\xA0\x80", "\u00ed\u00a0\u20ac"}, // nor an encoded surrogate
        {"\xF0\x9F\x98\x80", "\U0001F600"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8OrWindows1252ToQString(c.bytes), QString::fromUtf8(c.text)) << c.bytes;
}

} // namespace
