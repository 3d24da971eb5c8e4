// The code page choice: the names Qt's converters know, Windows-1252 keeping every byte,
// and an unknown name refused so that the caller can say so.
#include "export/CodePage.h"

#include "export/MemoDecoder.h"

#include <gtest/gtest.h>

TEST(CodePages, TheOfferedNamesAreKnownAndDecodeTheirCharacters) {
    // Each is known and offered with the languages it served.
    for (const QString& name : OfferedCodePageNames()) {
        EXPECT_TRUE(CodePage::Named(name).has_value()) << name.toStdString();
        EXPECT_FALSE(CodePageLanguages(name).isEmpty()) << name.toStdString();
    }
    EXPECT_EQ(CodePageLanguages(QStringLiteral("SHIFT-JIS")), QStringLiteral("Japanese"));
    EXPECT_TRUE(CodePageLanguages(QStringLiteral("koi8-r")).isEmpty());
    const struct {
        const char* Name;
        QByteArray Bytes;
        QString Text;
    } cases[] = {
        {"windows-1252", "\x80\x81\x9f\xe9", QStringLiteral("\u20ac\u0081\u0178\u00e9")},
        {"CP1252", "\x93x\x94", QStringLiteral("\u201cx\u201d")},
        {"shift-jis", "\x82\xa0\x83\x41", QStringLiteral("\u3042\u30a2")},
        {"Shift_JIS", "abc", QStringLiteral("abc")},
        {"iso-8859-1", "\x80\xe9", QStringLiteral("\u0080\u00e9")},
        {"windows-1250", "\x8a\xb9", QStringLiteral("\u0160\u0105")},
        {"windows-1251", "\xc0\xff", QStringLiteral("\u0410\u044f")},
        {"windows-1253", "\xc1", QStringLiteral("\u0391")},
        {"windows-1254", "\xf0", QStringLiteral("\u011f")},
        {"big5", "\xa4\xa4", QStringLiteral("\u4e2d")},
        {"gbk", "\xd6\xd0", QStringLiteral("\u4e2d")},
        {"euc-kr", "\xb0\xa1", QStringLiteral("\uac00")},
    };
    for (const auto& [name, bytes, text] : cases) {
        const auto page = CodePage::Named(QString::fromLatin1(name));
        ASSERT_TRUE(page.has_value()) << name;
        EXPECT_EQ(page->Decode(bytes), text) << name;
    }
}

TEST(CodePages, UnknownNamesAreRefused) {
    for (const char* name : {"", "klingon", "windows-9999"})
        EXPECT_FALSE(CodePage::Named(QString::fromLatin1(name)).has_value()) << name;
    EXPECT_TRUE(UnknownCodePageText(QStringLiteral("klingon")).contains(u"klingon"));
}

TEST(CodePages, DecodersUseTheChosenOne) {
    const QByteArray record("\x82\xa0\0", 3);
    const auto japanese =
        DecodeMemo(PalmRecordBytes{record, 0, 1}, *CodePage::Named(QStringLiteral("shift-jis")));
    EXPECT_EQ(japanese.Value->Text, QStringLiteral("\u3042"));
    const auto western = DecodeMemo(PalmRecordBytes{record, 0, 1}, CodePage());
    EXPECT_EQ(western.Value->Text, QStringLiteral("\u201a\u00a0"));
}
