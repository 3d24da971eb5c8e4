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

} // namespace
