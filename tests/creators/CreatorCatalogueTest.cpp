#include "creators/CreatorCatalogue.h"

#include "platform/WriteError.h"
#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <random>

using namespace std::string_literals;

namespace {

std::string ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<unreadable>";
}

// The entries as "ID|Program|Description|URL", separated by "; ".
std::string Dump(const ListeDerLinks& links) {
    std::string text;
    for (int i = 0; i < links.LinkCount(); ++i) {
        const TLinks& l = *links.LinkAt(i);
        text += (i ? "; " : "") + l.CreatorID + '|' + l.Program + '|' + l.Description + '|' + l.URL;
    }
    return text;
}

ListeDerLinks Catalogue(const std::vector<TLinks>& entries) {
    ListeDerLinks links;
    for (const TLinks& e : entries)
        links.AddLink(e);
    return links;
}

// Files are written with LF here; the catalogue ends its lines in CR LF.
std::string Crlf(std::string text) {
    for (std::size_t at = text.find('\n'); at != text.npos; at = text.find('\n', at + 2))
        text.replace(at, 1, "\r\n");
    return text;
}

TEST(CreatorCatalogue, LoadFollowsTheReadingRules) {
    const struct {
        const char *name, *file, *expected;
    } cases[] = {
        {"blanks and the case of keys do not count", "[abcd]\n\t Program = x y \nuRl=u\n[ wxyz ]",
         "abcd|x y||u; wxyz|||"},
        {"bare words, comments and lines before the first section are no keys",
         "Program=x\n[a]\nProgram\n;URL=x\n", "a|||"},
        {"a value as it stands", "[a]\nURL=\"q\" = r\\n\n", "a|||\"q\" = r\\n"},
        {"CR line ends", "[a]\rProgram=x\r[b]", "a|x||; b|||"},
        {"names match exactly; a repeated name or key reads its first one",
         "[abcd]\nProgram=1\nprogram=0\n[ABCD]\nProgram=2\n[abcd]\nProgram=3\n",
         "abcd|1||; ABCD|2||; abcd|1||"},
        {"bytes above 0x7F", "[\xE4\xFF]\nProgram=\x80\xA0x\n", "\xE4\xFF|\x80\xA0x||"},
        {"brackets inside names, empty names", "[a]b]\n[[c]\n[]\n", "a]b|||; [c|||; |||"},
        {"byte order marks belong to no line", "\xEF\xBB\xBF\xEF\xBB\xBF[a]\nProgram=x", "a|x||"},
        {"a byte order mark within the file is text", "[a]\n\xEF\xBB\xBFProgram=x\n[b]",
         "a|||; b|||"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        ListeDerLinks links;
        ASSERT_TRUE(links.LoadCreatorIDs(dir.Write(QStringLiteral("CreatorIDs.ini"), c.file)));
        EXPECT_EQ(Dump(links), c.expected);
    }
}

// FindLink must give what an exact scan from the end gives (highest index, letter case
// and every byte significant, -1 when absent), whatever edits change the creator IDs.
TEST(CreatorCatalogue, FindLinkAgreesWithAScanFromTheEnd) {
    const std::vector<std::string> ids = {"a", "A", "ab", "", "\xFF", "a\0"s};
    std::mt19937 random(7);
    ListeDerLinks links;
    for (int step = 0; step < 2000; ++step) {
        const std::string& id = ids[random() % ids.size()];
        const unsigned op = random() % 20;
        if (op == 0)
            links.ClearLinks();
        else if (op < 10 || links.LinkCount() == 0)
            links.AddLink({id, "", "", ""});
        else
            links.UpdateLink(id, "p", "d", "u", static_cast<int>(random() % links.LinkCount()));
        for (const std::string& query : ids) {
            int expected = links.LinkCount() - 1;
            while (expected >= 0 && links.LinkAt(expected)->CreatorID != query)
                --expected;
            ASSERT_EQ(links.FindLink(query), expected) << "step " << step << " id " << query;
        }
    }
    // Indexes out of range find nothing and change nothing.
    links = Catalogue({{"abcd", "p", "d", "u"}});
    for (int index : {-1, 1}) {
        EXPECT_EQ(links.LinkAt(index), nullptr) << index;
        links.UpdateLink("wxyz", "", "", "", index);
    }
    EXPECT_EQ(Dump(links), "abcd|p|d|u");
}

TEST(CreatorCatalogue, SaveMergesIntoThePresentFile) {
    const struct {
        const char* name;
        const char* present; // nullptr: no file yet
        std::vector<TLinks> entries;
        const char* expected;
    } cases[] = {
        {"a new ID gets URL, Program, Description; an empty ID is never written",
         "",
         {{"", "p", "d", "u"}, {"abcd", "p", "d", "u"}},
         "[abcd]\nURL=u\nProgram=p\nDescription=d\n\n"},
        {"key replaced in place and spelled, others appended, other sections kept",
         "[other]\nfoo=bar\n[abcd]\n  program = old \nx=1\nbare\n",
         {{"abcd", "P", "D", "U"}},
         "[other]\nfoo=bar\n\n[abcd]\nProgram=P\nx=1\nbare\nURL=U\nDescription=D\n\n"},
        {"comments and lines before the first section stay where they are",
         "; my catalogue\n\nstray\n[abcd]\n; note\nURL=old\n;Program=x\n\n\n",
         {{"abcd", "p", "d", "u"}},
         "; my catalogue\nstray\n\n"
         "[abcd]\n; note\nURL=u\n;Program=x\nProgram=p\nDescription=d\n\n"},
        {"IDs differing in case keep their own sections; the later of a repeated ID wins",
         "[abcd]\nProgram=lower\n",
         {{"abcd", "lower", "", ""}, {"ABCD", "1", "", ""}, {"ABCD", "2", "", ""}},
         "[abcd]\nProgram=lower\nURL=\nDescription=\n\n[ABCD]\nURL=\nProgram=2\nDescription=\n\n"},
        {"IDs that would not read back as themselves are not written",
         nullptr,
         {{" ab", "x", "", ""},
          {"ab ", "x", "", ""},
          {"\001ab", "x", "", ""},
          {"a\r\n[b]", "x", "", ""},
          {"a\0b"s, "x", "", ""}},
         ""},
        {"any other bytes are kept as they are",
         nullptr,
         {{"a]b", "Notes; \"q\" = k", "", "http://x/?a=b"}, {"[\x80 \xFF", "\xE4", "", ""}},
         "[a]b]\nURL=http://x/?a=b\nProgram=Notes; \"q\" = k\nDescription=\n\n"
         "[[\x80 \xFF]\nURL=\nProgram=\xE4\nDescription=\n\n"},
        {"line breaks in values cannot open sections",
         nullptr,
         {{"abcd", "p\r\n[evil]\r\nURL=x", " d\n", "u\0v"s}},
         "[abcd]\nURL=u v\nProgram=p  [evil]  URL=x\nDescription=d\n\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const QString path = dir.File(QStringLiteral("CreatorIDs.ini"));
        if (c.present)
            dir.Write(QStringLiteral("CreatorIDs.ini"), c.present);
        const ListeDerLinks links = Catalogue(c.entries);
        ASSERT_NO_THROW(links.SaveCreatorIDs(path));
        EXPECT_EQ(ReadFile(path), Crlf(c.expected));
        links.SaveCreatorIDs(path); // a second save changes nothing
        EXPECT_EQ(ReadFile(path), Crlf(c.expected));
    }
}

// A catalogue written on Windows (Windows-1252, perhaps with a byte order mark) and saved
// with nothing changed keeps its bytes; a changed value is written as UTF-8.
TEST(CreatorCatalogue, SavingKeepsTheBytesOfWhatWasRead) {
    const std::string windows = "\xEF\xBB\xBF[memo]\r\nURL=\r\nProgram=Z\xFCrich\r\n"
                                "Description=Caf\xE9\r\n\r\n";
    TempFolder dir;
    const QString path =
        dir.Write(QStringLiteral("CreatorIDs.ini"), QByteArray::fromStdString(windows));
    ListeDerLinks links;
    ASSERT_TRUE(links.LoadCreatorIDs(path));
    EXPECT_EQ(Dump(links), "memo|Z\xFCrich|Caf\xE9|");
    links.SaveCreatorIDs(path);
    EXPECT_EQ(ReadFile(path), windows);
    links.UpdateLink("memo", "Z\xC3\xBCrich", "Caf\xE9", "", 0);
    links.SaveCreatorIDs(path);
    EXPECT_EQ(ReadFile(path), "\xEF\xBB\xBF[memo]\r\nURL=\r\nProgram=Z\xC3\xBCrich\r\n"
                              "Description=Caf\xE9\r\n\r\n");
}

// Damaged catalogues load, and save again without losing a section or a long value
// (the window with a damaged catalogue is DamagedFilesTest's part).
TEST(CreatorCatalogue, DamagedFilesLoadAndSaveWithoutLoss) {
    std::string garbage;
    std::mt19937 random(1);
    for (int i = 0; i < 200000; ++i)
        garbage += static_cast<char>(random() % 4 == 0 ? "[]=\n"[random() % 4] : random() % 256);
    const std::string longValue(10 * 1024 * 1024, 'x');
    const std::pair<const char*, std::string> files[] = {
        {"binary garbage", garbage},
        {"10 MB line", "[a]\r\nProgram=" + longValue + "\r\n[b]\r\n"},
        {"invalid UTF-8", "[\xC3\x28]\r\nProgram=\xF0\x28\x8C\xBC\r\n[\xED\xA0\x80]\r\n"},
        {"NUL bytes", "[a\0b]\r\nProgram=\0\0\r\n\0\0\0"s},
    };
    for (const auto& [name, content] : files) {
        SCOPED_TRACE(name);
        TempFolder dir;
        const QString path = dir.Write(QStringLiteral("CreatorIDs.ini"),
                                       QByteArray(content.data(), qsizetype(content.size())));
        ListeDerLinks links;
        ASSERT_TRUE(links.LoadCreatorIDs(path));
        ASSERT_NO_THROW(links.SaveCreatorIDs(path));
        ListeDerLinks again;
        ASSERT_TRUE(again.LoadCreatorIDs(path));
        ASSERT_EQ(again.LinkCount(), links.LinkCount());
        ASSERT_GT(links.LinkCount(), 0);
        // Of the value, only NUL bytes change: they are written as blanks.
        EXPECT_EQ(again.LinkAt(0)->Program.size(), links.LinkAt(0)->Program.size());
    }
}

// A catalogue that cannot be read is neither loaded nor replaced: writing it without its
// present content would lose every section the catalogue lacks. (A read-only one is
// DamagedFilesTest's part.)
TEST(CreatorCatalogue, AnUnreadableCatalogueIsKept) {
    TempFolder dir;
    const QString folder = dir.MakeFolder(QStringLiteral("folder.ini"));
    dir.Write(QStringLiteral("folder.ini/inside"), "x");
    const QString writeOnly = dir.Write(QStringLiteral("wo.ini"), "[wxyz]\r\nProgram=w\r\n");
    QFile::setPermissions(writeOnly, QFile::WriteOwner | QFile::WriteUser);

    ListeDerLinks links = Catalogue({{"abcd", "p", "", ""}});
    EXPECT_TRUE(links.LoadCreatorIDs(dir.File(QStringLiteral("absent.ini"))));
    EXPECT_TRUE(links.ErrorText().isEmpty());
    for (const QString& path : {folder, writeOnly}) {
        SCOPED_TRACE(path.toStdString());
        if (QFile probe(path); path == writeOnly && probe.open(QIODevice::ReadOnly))
            continue; // permissions are not enforced for this user
        EXPECT_FALSE(links.LoadCreatorIDs(path));
        EXPECT_TRUE(links.ErrorText().startsWith(QStringLiteral("Unable to read ") + path + u':'))
            << links.ErrorText().toStdString();
        EXPECT_EQ(Dump(links), "abcd|p||");
        try {
            links.SaveCreatorIDs(path);
            ADD_FAILURE() << "saved";
        } catch (const EWriteError& e) {
            EXPECT_NE(std::string(e.what()).find("present content cannot be read"),
                      std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/inside")), "x");
    QFile::setPermissions(writeOnly, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(ReadFile(writeOnly), "[wxyz]\r\nProgram=w\r\n");
}

} // namespace
