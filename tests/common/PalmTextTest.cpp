#include "common/PalmText.h"

#include <gtest/gtest.h>

namespace {

TEST(PalmText, EveryByteSurvivesDecodingAndEncoding) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString decoded = PalmTextToQString(all);
    ASSERT_EQ(decoded.size(), 256);
    EXPECT_EQ(QStringToPalmText(decoded), all);
}

TEST(PalmText, DecodesAsWindows1252) {
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
}

TEST(PalmText, EncodesMissingCharactersAsQuestionMarks) {
    const struct {
        QString text;
        std::string bytes;
    } cases[] = {{QString::fromUtf8("Memo \u20AC"), "Memo \x80"},
                 {QString::fromUtf8("\u03A9"), "?"},
                 {QString(QChar(0x0080)), "?"},              // its byte stands for the euro sign
                 {QString::fromUtf8("a\U0001F600b"), "a?b"}, // one character, two UTF-16 units
                 {QString(), ""}};
    for (const auto& c : cases)
        EXPECT_EQ(QStringToPalmText(c.text), c.bytes) << c.text.toStdString();
}

} // namespace
