#include "common/IniFile.h"

#include "common/Errors.h"
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

IniFile Document(const char* text) {
    IniFile ini;
    ini.FromBytes(QByteArray(text));
    return ini;
}

QString Text(const IniFile& ini) {
    return QString::fromUtf8(ini.ToBytes());
}

TEST(IniFileRead, FollowsThePrivateProfileRules) {
    const IniFile ini = Document("Orphan=before any section\n"
                                 "[ Brisko ]\n"
                                 "StartPath =  /home/palm  \n"
                                 "Double=\"  quoted  \"\n"
                                 "Single='x'\n"
                                 "Mixed=\"x'\n"
                                 "Lone=\"\n"
                                 "Equation=a=b\n"
                                 ";Comment=no key\n"
                                 "  ;Indented=no key either\n"
                                 "Empty=\n"
                                 "Twice=first\n"
                                 "twice=second\n"
                                 "[brisko]\n"
                                 "Later=hidden by the first section\n"
                                 "[Other]\n"
                                 "Key=other\n");
    const QString none = QStringLiteral("<default>");
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {{"Brisko", "StartPath", "/home/palm"},
                 {"BRISKO", "startpath", "/home/palm"},
                 {" brisko ", "StartPath", "/home/palm"},
                 {"Brisko", "Double", "  quoted  "},
                 {"Brisko", "Single", "x"},
                 {"Brisko", "Mixed", "\"x'"},
                 {"Brisko", "Lone", "\""},
                 {"Brisko", "Equation", "a=b"},
                 {"Brisko", ";Comment", "<default>"},
                 {"Brisko", "Comment", "<default>"},
                 {"Brisko", "Indented", "<default>"},
                 {"Brisko", "Empty", ""},
                 {"Brisko", "Twice", "first"},
                 {"Brisko", "Later", "<default>"},
                 {"Brisko", "Key", "<default>"},
                 {"Brisko", "Orphan", "<default>"},
                 {"Other", "Key", "other"},
                 {"Missing", "Key", "<default>"}};
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(QLatin1String(c.section), QLatin1String(c.key), none),
                  QString::fromUtf8(c.value))
            << c.section << "/" << c.key;

    EXPECT_EQ(ini.SectionNames(), (QStringList{QStringLiteral("Brisko"), QStringLiteral("Other")}));
    EXPECT_EQ(ini.KeyNames(QStringLiteral("brisko")),
              (QStringList{QStringLiteral("StartPath"), QStringLiteral("Double"),
                           QStringLiteral("Single"), QStringLiteral("Mixed"),
                           QStringLiteral("Lone"), QStringLiteral("Equation"),
                           QStringLiteral("Empty"), QStringLiteral("Twice")}));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("OTHER"), QStringLiteral("KEY")));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("Missing")));
}

TEST(IniFileRead, CutsLongValuesAt2047Characters) {
    IniFile ini;
    ini.WriteString(QStringLiteral("S"), QStringLiteral("Long"), QString(3000, u'x'));
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("Long"), QString()).size(), 2047);
}

TEST(IniFileRead, IntegersAndBooleans) {
    const struct {
        const char* value;
        int64_t integer; // 99 means: not an integer, the default comes back
    } cases[] = {{"12", 12},
                 {"-4", -4},
                 {"+7", 7},
                 {"0x20", 32},
                 {"0X2f", 47},
                 {"$20", 32},
                 {"$FF", 255},
                 {"-$10", -16},
                 {" 42 ", 42},
                 {"\"42\"", 42},
                 {"0", 0},
                 {"yes", 99},
                 {"", 99},
                 {"12abc", 99},
                 {"0x", 99},
                 {"$", 99},
                 {"1.5", 99},
                 {"- 1", 99},
                 {"0xg", 99},
                 {"9223372036854775807", std::numeric_limits<int64_t>::max()},
                 {"9223372036854775808", 99},
                 {"0x8000000000000000", 99}};
    for (const auto& c : cases) {
        const IniFile ini = Document((std::string("[S]\nK=") + c.value).c_str());
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 99), c.integer)
            << c.value;
        const bool isInteger = c.integer != 99;
        EXPECT_EQ(ini.ReadBool(QStringLiteral("S"), QStringLiteral("K"), false),
                  isInteger && c.integer != 0)
            << c.value;
        EXPECT_EQ(ini.ReadBool(QStringLiteral("S"), QStringLiteral("K"), true),
                  !isInteger || c.integer != 0)
            << c.value;
    }
    IniFile ini;
    ini.WriteBool(QStringLiteral("S"), QStringLiteral("On"), true);
    ini.WriteBool(QStringLiteral("S"), QStringLiteral("Off"), false);
    ini.WriteInteger(QStringLiteral("S"), QStringLiteral("Neg"), -32);
    EXPECT_EQ(Text(ini), QStringLiteral("[S]\nOn=1\nOff=0\nNeg=-32\n"));
}

TEST(IniFileWrite, KeepsEverythingElseWhereItStands) {
    IniFile ini = Document("; written by hand\n"
                           "[Brisko]\n"
                           "StartPath=/old\n"
                           "Unknown = keep me\n"
                           "\n"
                           "[TBXdpFolders]\n"
                           "Rev=2000\n"
                           "\n"
                           "\n"
                           "[Other]\n"
                           "Foo = bar");
    ini.WriteString(QStringLiteral("brisko"), QStringLiteral("startpath"), QStringLiteral("/new"));
    ini.WriteInteger(QStringLiteral("Brisko"), QStringLiteral("MainWindowX"), 32);
    ini.WriteBool(QStringLiteral("tbxdpfolders"), QStringLiteral("Visible"), true);
    ini.WriteString(QStringLiteral("Favorites"), QStringLiteral("0"), QStringLiteral("/palm"));
    ini.WriteString(QStringLiteral("Favorites"), QStringLiteral("1"), QStringLiteral("/backup"));
    ini.WriteString(QStringLiteral("Other"), QStringLiteral("foo"), QStringLiteral("baz"));
    EXPECT_EQ(Text(ini), QStringLiteral("; written by hand\n"
                                        "[Brisko]\n"
                                        "startpath=/new\n"
                                        "Unknown = keep me\n"
                                        "MainWindowX=32\n"
                                        "\n"
                                        "[TBXdpFolders]\n"
                                        "Rev=2000\n"
                                        "Visible=1\n"
                                        "\n"
                                        "\n"
                                        "[Other]\n"
                                        "foo=baz\n"
                                        "\n"
                                        "[Favorites]\n"
                                        "0=/palm\n"
                                        "1=/backup\n"));
}

TEST(IniFileWrite, NewSectionsNeedNoBlankLineAfterABlankLineOrInAnEmptyFile) {
    IniFile empty;
    empty.WriteString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(Text(empty), QStringLiteral("[A]\nk=v\n"));

    IniFile blank = Document("[A]\nk=v\n\n");
    blank.WriteString(QStringLiteral("B"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(Text(blank), QStringLiteral("[A]\nk=v\n\n[B]\nk=v\n"));
}

TEST(IniFileWrite, SectionsAfterAGrowingOneAreStillFound) {
    IniFile ini = Document("[A]\na=1\n[B]\nb=2\n[C]\nc=3\n");
    for (int i = 0; i < 3; ++i)
        ini.WriteInteger(QStringLiteral("A"), QStringLiteral("n%1").arg(i), i);
    ini.WriteInteger(QStringLiteral("B"), QStringLiteral("extra"), 9);
    ini.WriteInteger(QStringLiteral("C"), QStringLiteral("c"), 4);
    EXPECT_EQ(ini.KeyNames(QStringLiteral("B")),
              (QStringList{QStringLiteral("b"), QStringLiteral("extra")}));
    EXPECT_EQ(ini.KeyNames(QStringLiteral("C")), QStringList{QStringLiteral("c")});
    EXPECT_EQ(Text(ini),
              QStringLiteral("[A]\na=1\nn0=0\nn1=1\nn2=2\n[B]\nb=2\nextra=9\n[C]\nc=4\n"));
}

TEST(IniFileWrite, ValuesReadBackAsWrittenAndCannotAddLines) {
    const QString values[] = {QStringLiteral("plain"),
                              QStringLiteral(" leading"),
                              QStringLiteral("trailing "),
                              QStringLiteral("\"quoted\""),
                              QStringLiteral("'single'"),
                              QStringLiteral("\""),
                              QStringLiteral("a = b"),
                              QStringLiteral(";not a comment"),
                              QString::fromUtf8("/home/jürgen/Палм"),
                              QString()};
    for (const QString& value : values) {
        IniFile ini;
        ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), value);
        IniFile reread;
        reread.FromBytes(ini.ToBytes());
        EXPECT_EQ(reread.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("?")),
                  value)
            << value.toStdString();
    }

    IniFile ini;
    ini.WriteString(QStringLiteral("Favorites"), QStringLiteral("0"),
                    QStringLiteral("/x\n[Brisko]\nInstallTool=/bin/evil"));
    ini.WriteString(QStringLiteral("a\r\n[b]"), QStringLiteral("k"), QStringLiteral("v"));
    ini.WriteString(QStringLiteral("a\r\n[b]"), QStringLiteral("k2"), QStringLiteral("v"));
    IniFile reread;
    reread.FromBytes(ini.ToBytes());
    EXPECT_EQ(reread.SectionNames(),
              (QStringList{QStringLiteral("Favorites"), QStringLiteral("a  [b]")}));
    EXPECT_EQ(reread.KeyNames(QStringLiteral("Favorites")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(reread.KeyNames(QStringLiteral("a\r\n[b]")),
              (QStringList{QStringLiteral("k"), QStringLiteral("k2")}));
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral("a=b"), QString()),
                 std::invalid_argument);
}

TEST(IniFileLoad, ReadsAnyFileWithoutFailing) {
    TempFolder temp;
    IniFile missing(temp.File(QStringLiteral("none.ini")));
    EXPECT_TRUE(missing.Load());
    EXPECT_TRUE(missing.SectionNames().isEmpty());

    IniFile windows(
        temp.Write(QStringLiteral("win.ini"),
                   "\xEF\xBB\xBF[Brisko]\r\nStartPath=C:\\M\xFCller\r\nUTF8=\xC3\xA9\r\n"));
    ASSERT_TRUE(windows.Load());
    EXPECT_EQ(windows.ReadString(QStringLiteral("Brisko"), QStringLiteral("StartPath"), QString()),
              QString::fromUtf8("C:\\Müller"));
    EXPECT_EQ(windows.ReadString(QStringLiteral("Brisko"), QStringLiteral("UTF8"), QString()),
              QString::fromUtf8("é"));
    windows.Save();
    IniFile reread(windows.Path());
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(Text(reread), QString::fromUtf8("[Brisko]\nStartPath=C:\\Müller\nUTF8=é\n"));

    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) % 256);
    IniFile binary(temp.Write(QStringLiteral("garbage.ini"), garbage));
    EXPECT_TRUE(binary.Load());

    IniFile folder(temp.MakeFolder(QStringLiteral("folder.ini")));
    EXPECT_FALSE(folder.Load());
    EXPECT_TRUE(folder.ErrorText().startsWith(QStringLiteral("Unable to read ") + folder.Path()))
        << folder.ErrorText().toStdString();
    EXPECT_THROW(folder.Save(), EWriteError);
}

TEST(IniFileSave, AReadOnlyFileIsReportedAndKept) {
    TempFolder temp;
    const QByteArray original = "[Brisko]\nStartPath=/palm\n";
    const QString path = temp.Write(QStringLiteral("Brisko.ini"), original);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    IniFile ini(path);
    ASSERT_TRUE(ini.Load());
    ini.WriteString(QStringLiteral("Brisko"), QStringLiteral("StartPath"), QStringLiteral("/new"));
    try {
        ini.Save();
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const EWriteError& e) {
        EXPECT_NE(std::string(e.what()).find("Unable to write to " + path.toStdString()),
                  std::string::npos)
            << e.what();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), original);
}

// A CR LF that went through a Windows text-mode write comes back as CR CR LF: every CR
// before the line end goes, or a second save would change the file again; the same for
// byte order marks.
TEST(IniFileRead, LineEndsAndByteOrderMarksReadTheSameAfterASave) {
    const std::vector<std::pair<QByteArray, QByteArray>> cases = {
        {"[Brisko]\r\r\nStartPath=/palm\r\r\n", "[Brisko]\nStartPath=/palm\n"},
        {"\r\r", "\n"},
        {"a\rb\r\r\r\n", "a\rb\n"},
        // Byte order marks: all of them at the start of the file go, the text keeps its own.
        {"\xEF\xBB\xBF\xEF\xBB\xBF[D]\n\xEF\xBB\xBFx=1\n", "[D]\n\xEF\xBB\xBFx=1\n"},
        {"\n\xEF\xBB\xBF\xEF\xBB\xBF", "\n\xEF\xBB\xBF\xEF\xBB\xBF\n"},
    };
    for (const auto& [content, expected] : cases) {
        IniFile ini;
        ini.FromBytes(content);
        QByteArray written = ini.ToBytes();
#ifdef Q_OS_WIN
        written.replace("\r\n", "\n");
#endif
        EXPECT_EQ(written, expected) << content.toStdString();
        IniFile again;
        again.FromBytes(ini.ToBytes());
        EXPECT_EQ(again.ToBytes(), ini.ToBytes()) << content.toStdString();
    }
    IniFile ini;
    ini.FromBytes("[Brisko]\r\r\nStartPath=/palm\r\r\n");
    EXPECT_EQ(ini.ReadString(QStringLiteral("Brisko"), QStringLiteral("StartPath"), QString()),
              QStringLiteral("/palm"));
}

} // namespace
