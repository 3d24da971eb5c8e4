#include "common/IniFile.h"

#include "platform/WriteError.h"
#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <limits>
#include <utility>
#include <vector>

// Readable failure messages (found by argument-dependent lookup).
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

IniFile Document(const QByteArray& text) {
    IniFile ini;
    ini.FromBytes(text);
    return ini;
}

QString Text(const IniFile& ini) {
    return QString::fromUtf8(ini.ToBytes());
}

TEST(IniFileRead, FollowsThePrivateProfileRules) {
    const IniFile ini =
        Document("Orphan=before any section\n[ Brisko ]\n"
                 "StartPath =  /home/palm  \nDouble=\"  quoted  \"\nSingle='x'\n"
                 "Mixed=\"x'\nEquation=a=b\n;Comment=no key\n  ;Indented=no key\n"
                 "Latin1=M\xFCller\nEmpty=\nTwice=first\ntwice=second\n"
                 "[brisko]\nLater=hidden by the first section\n[Other]\nKey=other\n");
    const auto read = [&ini](const char* section, const char* key) {
        return ini.ReadString(QLatin1String(section), QLatin1String(key), QStringLiteral("-"));
    };
    EXPECT_EQ(read("BRISKO", "startpath"), QStringLiteral("/home/palm"));
    EXPECT_EQ(read(" brisko ", "StartPath"), QStringLiteral("/home/palm"));
    EXPECT_EQ(read("Other", "Key"), QStringLiteral("other"));
    const std::pair<const char*, const char*> cases[] = {
        {"Double", "  quoted  "}, {"Single", "x"},      {"Mixed", "\"x'"},
        {"Equation", "a=b"},      {";Comment", "-"},    {"Comment", "-"},
        {"Indented", "-"},        {"Latin1", "Müller"}, {"Empty", ""},
        {"Twice", "first"},       {"Later", "-"},       {"Key", "-"},
        {"Orphan", "-"}};
    for (const auto& [key, value] : cases)
        EXPECT_EQ(read("Brisko", key), QString::fromUtf8(value)) << key;

    EXPECT_EQ(ini.SectionNames(), (QStringList{QStringLiteral("Brisko"), QStringLiteral("Other")}));
    EXPECT_EQ(ini.KeyNames(QStringLiteral("brisko")).join(u','),
              QStringLiteral("StartPath,Double,Single,Mixed,Equation,Latin1,Empty,Twice"));
}

TEST(IniFileRead, IntegersAndBooleans) {
    const QString S = QStringLiteral("S"), K = QStringLiteral("K");
    const auto value = [](const char* text) {
        return Document(QByteArray("[S]\nK=") + text);
    };
    const std::pair<const char*, int64_t> integers[] = {{"-4", -4},     {"+7", 7},     {"0X2f", 47},
                                                        {"$FF", 255},   {"-$10", -16}, {" 42 ", 42},
                                                        {"\"42\"", 42}, {"0", 0}};
    for (const auto& [text, integer] : integers) {
        EXPECT_EQ(value(text).ReadInteger(S, K, 99), integer) << text;
        EXPECT_EQ(value(text).ReadBool(S, K, true), integer != 0) << text;
    }
    EXPECT_EQ(value("9223372036854775807").ReadInteger(S, K, 99),
              std::numeric_limits<int64_t>::max());
    // Anything else gives the default.
    for (const char* text :
         {"yes", "", "12abc", "0x", "$", "9223372036854775808", "0x8000000000000000"}) {
        EXPECT_EQ(value(text).ReadInteger(S, K, 99), 99) << text;
        EXPECT_TRUE(value(text).ReadBool(S, K, true) && !value(text).ReadBool(S, K, false)) << text;
    }
    IniFile ini;
    ini.WriteBool(S, QStringLiteral("On"), true);
    ini.WriteBool(S, QStringLiteral("Off"), false);
    ini.WriteInteger(S, QStringLiteral("Neg"), -32);
    EXPECT_EQ(Text(ini), QStringLiteral("[S]\nOn=1\nOff=0\nNeg=-32\n"));
}

TEST(IniFileWrite, KeepsEverythingElseWhereItStands) {
    IniFile ini = Document("; written by hand\n[Brisko]\nStartPath=/old\nUnknown = keep me\n\n"
                           "[TBXdpFolders]\nRev=2000\n\n\n[Other]\nFoo = bar");
    ini.WriteString(QStringLiteral("brisko"), QStringLiteral("startpath"), QStringLiteral("/new"));
    ini.WriteInteger(QStringLiteral("Brisko"), QStringLiteral("MainWindowX"), 32);
    ini.WriteBool(QStringLiteral("tbxdpfolders"), QStringLiteral("Visible"), true);
    ini.WriteString(QStringLiteral("Favorites"), QStringLiteral("0"), QStringLiteral("/palm"));
    ini.WriteString(QStringLiteral("Favorites"), QStringLiteral("1"), QStringLiteral("/backup"));
    ini.WriteString(QStringLiteral("Other"), QStringLiteral("foo"), QStringLiteral("baz"));
    EXPECT_EQ(Text(ini), QStringLiteral("; written by hand\n[Brisko]\nstartpath=/new\n"
                                        "Unknown = keep me\nMainWindowX=32\n\n"
                                        "[TBXdpFolders]\nRev=2000\nVisible=1\n\n\n"
                                        "[Other]\nfoo=baz\n\n"
                                        "[Favorites]\n0=/palm\n1=/backup\n"));
}

// The index of later sections must follow the lines inserted before them.
TEST(IniFileWrite, SectionsAfterAGrowingOneAreStillFound) {
    IniFile ini = Document("[A]\na=1\n[B]\nb=2\n");
    for (int i = 0; i < 3; ++i)
        ini.WriteInteger(QStringLiteral("A"), QStringLiteral("n%1").arg(i), i);
    ini.WriteInteger(QStringLiteral("B"), QStringLiteral("n2"), 9);
    EXPECT_EQ(Text(ini), QStringLiteral("[A]\na=1\nn0=0\nn1=1\nn2=2\n[B]\nb=2\nn2=9\n"));
}

TEST(IniFileWrite, ValuesReadBackAsWrittenAndCannotAddLines) {
    for (const char* text : {" leading", "trailing ", "\"quoted\"", "'single'", "\"",
                             ";not a comment", "/home/jürgen/Палм", ""}) {
        const QString value = QString::fromUtf8(text);
        IniFile ini;
        ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), value);
        EXPECT_EQ(Document(ini.ToBytes())
                      .ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("?")),
                  value);
    }

    IniFile ini;
    ini.WriteString(QStringLiteral("S"), QStringLiteral("Long"), QString(3000, u'x'));
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("Long"), QString()).size(), 2047);
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral("a=b"), QString()),
                 std::invalid_argument);

    // A folder name must not be able to add lines of its own.
    ini.WriteString(QStringLiteral("Favorites"), QStringLiteral("0"),
                    QStringLiteral("/x\n[Brisko]\nInstallTool=/bin/evil"));
    ini.WriteString(QStringLiteral("a\r\n[b]"), QStringLiteral("k"), QStringLiteral("v"));
    ini.WriteString(QStringLiteral("a\r\n[b]"), QStringLiteral("k2"), QStringLiteral("v"));
    const IniFile reread = Document(ini.ToBytes());
    EXPECT_EQ(reread.SectionNames().join(u'|'), QStringLiteral("S|Favorites|a  [b]"));
    EXPECT_EQ(reread.KeyNames(QStringLiteral("Favorites")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(reread.KeyNames(QStringLiteral("a\r\n[b]")).join(u','), QStringLiteral("k,k2"));
}

// The few keys written since must not replace what could not be read.
TEST(IniFileLoad, NeverReplacesAFileItCouldNotRead) {
    TempFolder temp;
    EXPECT_TRUE(IniFile(temp.File(QStringLiteral("none.ini"))).Load());
    QStringList unreadable = {temp.MakeFolder(QStringLiteral("folder.ini"))};
#ifndef Q_OS_WIN
    // A link to a file that is not there (on a drive that is not mounted, say).
    unreadable.append(temp.File(QStringLiteral("link.ini")));
    ASSERT_TRUE(QFile::link(temp.File(QStringLiteral("target.ini")), unreadable.back()));
#endif
    for (const QString& path : unreadable) {
        IniFile ini(path);
        EXPECT_FALSE(ini.Load());
        EXPECT_TRUE(ini.ErrorText().startsWith(QStringLiteral("Unable to read ") + path))
            << ini.ErrorText().toStdString();
        ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
        EXPECT_THROW(ini.Save(), EWriteError) << path.toStdString();
    }
    EXPECT_FALSE(QFile::exists(temp.File(QStringLiteral("target.ini"))));
}

// A CR LF that went through a Windows text-mode write comes back as CR CR LF: every CR
// before the line end goes, or a second save would change the file again; the same for
// byte order marks at the start, while the text keeps its own.
TEST(IniFileRead, LineEndsAndByteOrderMarksReadTheSameAfterASave) {
    const std::vector<std::pair<QByteArray, QByteArray>> cases = {
        {"[Brisko]\r\r\nStartPath=/palm\r\r\n", "[Brisko]\nStartPath=/palm\n"},
        {"a\rb\r\r\r\n", "a\rb\n"},
        {"\xEF\xBB\xBF\xEF\xBB\xBF[D]\n\xEF\xBB\xBFx=1\n", "[D]\n\xEF\xBB\xBFx=1\n"},
    };
    for (const auto& [content, expected] : cases) {
        const IniFile ini = Document(content);
        QByteArray written = ini.ToBytes();
#ifdef Q_OS_WIN
        written.replace("\r\n", "\n");
#endif
        EXPECT_EQ(written, expected) << content.toStdString();
        EXPECT_EQ(Document(ini.ToBytes()).ToBytes(), ini.ToBytes()) << content.toStdString();
    }
}

} // namespace
