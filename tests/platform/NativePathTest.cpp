// File names as bytes: the lossless decoding, the way back, the shown text and the URL.
#include "platform/NativePath.h"

#include "support/TempFolder.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString Escaped(unsigned char byte) {
    return QString(QChar(char16_t(0xDC00 + byte)));
}

} // namespace

TEST(NativePath, EveryNameComesBackAsTheSameBytesAndShowsItsBestText) {
    struct Case {
        const char* what;
        QByteArray bytes;
        QString decoded;
        QString shown;
    };
    const Case cases[] = {
        {"ascii", "Adressbuch.pdb", u"Adressbuch.pdb"_s, u"Adressbuch.pdb"_s},
        {"utf-8",
         "Adre\xC3\x9F"
         "buch.pdb",
         u"Adreßbuch.pdb"_s, u"Adreßbuch.pdb"_s},
        {"latin-1",
         "Adre\xDF"
         "buch.pdb",
         u"Adre"_s + Escaped(0xDF) + u"buch.pdb"_s, u"Adreßbuch.pdb"_s},
        {"windows-1252 quotes and euro",
         "\x93"
         "a\x94 \x80",
         Escaped(0x93) + u"a"_s + Escaped(0x94) + u" "_s + Escaped(0x80), u"“a” €"_s},
        {"byte windows-1252 leaves undefined", "a\x81", u"a"_s + Escaped(0x81), u"a\u0081"_s},
        {"lone continuation bytes", "a\x80\xBF", u"a"_s + Escaped(0x80) + Escaped(0xBF), u"a€¿"_s},
        {"overlong NUL", "\xC0\x80", Escaped(0xC0) + Escaped(0x80), u"À€"_s},
        {"overlong three bytes", "\xE0\x80\xAF", Escaped(0xE0) + Escaped(0x80) + Escaped(0xAF),
         u"à€¯"_s},
        // U+DC80 written as CESU would be: taken for an escape it would come back as 0x80.
        {"encoded surrogate", "\xED\xB2\x80", Escaped(0xED) + Escaped(0xB2) + Escaped(0x80),
         u"í²€"_s},
        {"cut off at the end", "ab\xE2\x82", u"ab"_s + Escaped(0xE2) + Escaped(0x82), u"abâ‚"_s},
        {"past U+10FFFF", "\xF4\x90\x80\x80",
         Escaped(0xF4) + Escaped(0x90) + Escaped(0x80) + Escaped(0x80), u"ô\u0090€€"_s},
        // Its low surrogate is DC80, but as half of a pair it is a character, not a byte.
        {"U+10080, a pair ending in DC80", "\xF0\x90\x82\x80.pdb", u"\U00010080.pdb"_s,
         u"\U00010080.pdb"_s},
        {"leading byte order mark",
         "\xEF\xBB\xBF"
         "a.pdb",
         u"\uFEFFa.pdb"_s, u"\uFEFFa.pdb"_s},
        {"byte order mark and a Latin-1 byte", "\xEF\xBB\xBF\xE9", u"\uFEFF"_s + Escaped(0xE9),
         u"\uFEFFé"_s},
        {"a real replacement character", "\xEF\xBF\xBD.pdb", u"\uFFFD.pdb"_s, u"\uFFFD.pdb"_s},
        {"mixed UTF-8 and Latin-1", "Caf\xC3\xA9 \xE9t\xE9",
         u"Café "_s + Escaped(0xE9) + u"t"_s + Escaped(0xE9), u"Café été"_s},
        {"path with a Latin-1 folder", "/tmp/M\xFCll/a.pdb",
         u"/tmp/M"_s + Escaped(0xFC) + u"ll/a.pdb"_s, u"/tmp/Müll/a.pdb"_s},
    };
    for (const Case& c : cases) {
        const QString decoded = DecodePath(c.bytes);
        EXPECT_EQ(decoded, c.decoded) << c.what;
        EXPECT_EQ(EncodePath(decoded), c.bytes) << c.what;
        EXPECT_EQ(HasEscapedBytes(decoded), c.decoded != c.shown) << c.what;
        EXPECT_EQ(DisplayName(decoded), c.shown) << c.what;
    }
}

TEST(NativePath, FileUrlsCarryTheExactBytes) {
    struct Case {
        QByteArray path;
        QByteArray url;
    };
    const Case cases[] = {
        {"/tmp/Adre\xDF"
         "buch.pdb",
         "file:///tmp/Adre%DFbuch.pdb"},
        {"/tmp/a b%#?.pdb", "file:///tmp/a%20b%25%23%3F.pdb"},
        {"/tmp/Adre\xC3\x9F"
         "buch.pdb",
         "file:///tmp/Adre%C3%9Fbuch.pdb"},
    };
    for (const Case& c : cases) {
        const QString path = DecodePath(c.path);
        const QUrl url = LocalFileUrl(path);
        EXPECT_EQ(url.toEncoded(), c.url) << c.path.constData();
        EXPECT_EQ(QByteArray::fromPercentEncoding(url.toEncoded().mid(7)), c.path);
        if (!HasEscapedBytes(path)) { // Qt's own URL for names it can decode
            EXPECT_EQ(url, QUrl::fromLocalFile(path)) << c.path.constData();
        }
    }
}

TEST(NativePath, FolderExistsReachesNamesThatAreNotUtf8) {
    const TempFolder root; // removes the names that are not UTF-8 too, by their bytes
    const QByteArray base = QFile::encodeName(root.Path()) + '/';
    const QByteArray folder = base + "Adre\xDF"
                                     "buch";
    const QByteArray file = base + "Notiz\xE9.pdb";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
    struct Case {
        const char* what;
        QByteArray bytes;
        bool folder;
    };
    const Case cases[] = {
        {"latin-1 folder", folder, true},
        {"latin-1 folder with a trailing slash", folder + '/', true},
        {"file", file, false},
        {"nothing of that name", base + "fehlt\xDF", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FolderExists(DecodePath(c.bytes)), c.folder) << c.what;
}
