#include "creators/CreatorCatalogue.h"

#include "common/Errors.h"
#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <random>

using namespace std::string_literals;

// Global, so that vector comparison and gtest's printer find them.
bool operator==(const TLinks& a, const TLinks& b) {
    return a.CreatorID == b.CreatorID && a.Program == b.Program && a.Description == b.Description &&
           a.URL == b.URL;
}
void PrintTo(const TLinks& l, std::ostream* os) {
    *os << "{" << testing::PrintToString(l.CreatorID) << ", " << testing::PrintToString(l.Program)
        << ", " << testing::PrintToString(l.Description) << ", " << testing::PrintToString(l.URL)
        << "}";
}

namespace {

QByteArray Bytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

std::string ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll().toStdString();
}

std::vector<TLinks> Entries(const ListeDerLinks& links) {
    std::vector<TLinks> out;
    for (int i = 0; i < links.LinkCount(); ++i)
        out.push_back(*links.LinkAt(i));
    return out;
}

ListeDerLinks Catalogue(const std::vector<TLinks>& entries) {
    ListeDerLinks links;
    for (const TLinks& e : entries)
        links.AddLink(e);
    return links;
}

struct LoadCase {
    const char* name;
    std::string file;
    std::vector<TLinks> expected;
};

TEST(CreatorCatalogue, LoadFollowsTheReadingRules) {
    const std::vector<LoadCase> cases = {
        {"two sections in file order",
         "[abcd]\r\nProgram=A\r\nDescription=B\r\nURL=C\r\n\r\n[wxyz]\r\nURL=u\r\n",
         {{"abcd", "A", "B", "C"}, {"wxyz", "", "", "u"}}},
        {"section without keys",
         "[abcd]\r\n[none]\r\n",
         {{"abcd", "", "", ""}, {"none", "", "", ""}}},
        {"blanks inside the brackets", "[ memo ]\r\n", {{"memo", "", "", ""}}},
        {"blanks around key and value", "[a]\r\n\t Program = x y \r\n", {{"a", "x y", "", ""}}},
        {"keys in another case", "[a]\r\nprogram=p\r\nuRl=u\r\n", {{"a", "p", "", "u"}}},
        {"bare word is no key", "[a]\r\nProgram\r\nDescription=d\r\n", {{"a", "", "d", ""}}},
        {"comment is no key", "[a]\r\n;Program=x\r\n", {{"a", "", "", ""}}},
        {"first of a repeated key", "[a]\r\nProgram=1\r\nprogram=2\r\n", {{"a", "1", "", ""}}},
        {"value as it stands", "[a]\r\nURL=\"q\" = r\\n\r\n", {{"a", "", "", "\"q\" = r\\n"}}},
        {"lines before the first section", "Program=x\r\n; c\r\n[a]\r\n", {{"a", "", "", ""}}},
        {"LF and CR line ends",
         "[a]\nProgram=x\r[b]\nURL=y",
         {{"a", "x", "", ""}, {"b", "", "", "y"}}},
        {"names match exactly, a repeated name reads its first section",
         "[abcd]\r\nProgram=1\r\n[ABCD]\r\nProgram=2\r\n[abcd]\r\nProgram=3\r\n",
         {{"abcd", "1", "", ""}, {"ABCD", "2", "", ""}, {"abcd", "1", "", ""}}},
        {"bytes above 0x7F",
         "[\xE4\xF6\xFC\xFF]\r\nProgram=\x80\xA0x\r\n",
         {{"\xE4\xF6\xFC\xFF", "\x80\xA0x", "", ""}}},
        {"brackets inside names", "[a]b]\r\n[[c]\r\n", {{"a]b", "", "", ""}, {"[c", "", "", ""}}},
        {"empty names", "[]\r\n[  ]\r\n", {{"", "", "", ""}, {"", "", "", ""}}},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        ListeDerLinks links;
        ASSERT_TRUE(
            links.LoadCreatorIDs(dir.Write(QStringLiteral("CreatorIDs.ini"), Bytes(c.file))));
        EXPECT_EQ(Entries(links), c.expected);
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
}

TEST(CreatorCatalogue, IndexesOutOfRangeFindNothingAndChangeNothing) {
    ListeDerLinks links;
    EXPECT_EQ(links.LinkAt(0), nullptr);
    links.AddLink({"abcd", "p", "d", "u"});
    for (int index : {-1, 1, 2}) {
        EXPECT_EQ(links.LinkAt(index), nullptr) << index;
        links.UpdateLink("wxyz", "", "", "", index);
    }
    EXPECT_EQ(Entries(links), std::vector<TLinks>({{"abcd", "p", "d", "u"}}));
    links.UpdateLink("wxyz", "P", "D", "U", 0);
    EXPECT_EQ(Entries(links), std::vector<TLinks>({{"wxyz", "P", "D", "U"}}));
}

struct SaveCase {
    const char* name;
    std::optional<std::string> present; // none: no file yet
    std::vector<TLinks> entries;
    std::string expected;
};

TEST(CreatorCatalogue, SaveMergesIntoThePresentFile) {
    const std::vector<SaveCase> cases = {
        {"new ID: keys URL, Program, Description, empty",
         std::nullopt,
         {{"abcd", "", "", ""}},
         "[abcd]\r\nURL=\r\nProgram=\r\nDescription=\r\n\r\n"},
        {"empty creator ID never written",
         "",
         {{"", "p", "d", "u"}, {"abcd", "p", "d", "u"}},
         "[abcd]\r\nURL=u\r\nProgram=p\r\nDescription=d\r\n\r\n"},
        {"key replaced in place and spelled, others appended, other sections kept",
         "[other]\r\nfoo=bar\r\n[abcd]\r\n  program = old \r\nx=1\r\nbare\r\n",
         {{"abcd", "P", "D", "U"}},
         "[other]\r\nfoo=bar\r\n\r\n[abcd]\r\nProgram=P\r\nx=1\r\nbare\r\nURL=U\r\nDescription="
         "D\r\n\r\n"},
        {"comments and lines before the first section stay where they are",
         "; my catalogue\r\n\r\nstray\r\n[abcd]\r\n; note\r\nURL=old\r\n;Program=x\r\n\r\n\r\n",
         {{"abcd", "p", "d", "u"}},
         "; my catalogue\r\nstray\r\n\r\n[abcd]\r\n; note\r\nURL=u\r\n;Program=x\r\nProgram="
         "p\r\nDescription=d\r\n\r\n"},
        {"IDs differing in case keep their own sections",
         "[abcd]\r\nURL=\r\nProgram=lower\r\nDescription=\r\n",
         {{"abcd", "lower", "", ""}, {"ABCD", "upper", "", ""}},
         "[abcd]\r\nURL=\r\nProgram=lower\r\nDescription=\r\n\r\n[ABCD]\r\nURL=\r\nProgram="
         "upper\r\nDescription=\r\n\r\n"},
        {"a repeated ID: the later entry wins",
         std::nullopt,
         {{"abcd", "1", "", ""}, {"abcd", "2", "", ""}},
         "[abcd]\r\nURL=\r\nProgram=2\r\nDescription=\r\n\r\n"},
        {"IDs that would not read back as themselves are not written",
         std::nullopt,
         {{" ab", "x", "", ""},
          {"ab ", "x", "", ""},
          {"\x01"
           "ab",
           "x", "", ""},
          {"a\r\n[b]", "x", "", ""},
          {"a\0b"s, "x", "", ""}},
         ""},
        {"line breaks in values cannot open sections",
         std::nullopt,
         {{"abcd", "p\r\n[evil]\r\nURL=x", " d\n", "u\0v"s}},
         "[abcd]\r\nURL=u v\r\nProgram=p  [evil]  URL=x\r\nDescription=d\r\n\r\n"},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const QString path = dir.File(QStringLiteral("CreatorIDs.ini"));
        if (c.present)
            dir.Write(QStringLiteral("CreatorIDs.ini"), Bytes(*c.present));
        ASSERT_NO_THROW(Catalogue(c.entries).SaveCreatorIDs(path));
        EXPECT_EQ(ReadFile(path), c.expected);
    }
}

TEST(CreatorCatalogue, SaveThenLoadGivesTheSameCatalogueAndStableBytes) {
    std::string allHighBytes;
    for (int b = 0x80; b <= 0xFF; ++b)
        allHighBytes += static_cast<char>(b);
    const std::vector<TLinks> entries = {
        {"abcd", "Memo", "Notes; \"quoted\" = kept", "http://x/?a=b"},
        {"ABCD", "Upper", "", ""},
        {"\x80\xFF\xE4z", allHighBytes, allHighBytes, ""},
        {"a]b", "", "", ""},
        {"[x", "", "", ""},
        {"a b", "", "", ""},
    };
    TempFolder dir;
    const QString path = dir.Write(QStringLiteral("CreatorIDs.ini"),
                                   "; kept\r\n[keep me]\r\nfoo=bar\r\nURL=\r\nProgram=\r\n"
                                   "Description=\r\n\r\n\r\n[abcd]\r\nx\r\n");
    const ListeDerLinks saved = Catalogue(entries);
    saved.SaveCreatorIDs(path);
    const std::string first = ReadFile(path);
    saved.SaveCreatorIDs(path);
    EXPECT_EQ(ReadFile(path), first);

    ListeDerLinks loaded;
    ASSERT_TRUE(loaded.LoadCreatorIDs(path));
    std::vector<TLinks> expected = {{"keep me", "", "", ""}};
    expected.insert(expected.end(), entries.begin(), entries.end());
    EXPECT_EQ(Entries(loaded), expected);

    loaded.SaveCreatorIDs(path);
    EXPECT_EQ(ReadFile(path), first);
}

TEST(CreatorCatalogue, MissingOrUnreadableFileLeavesTheCatalogueAlone) {
    TempFolder dir;
    ListeDerLinks links;
    links.AddLink({"abcd", "p", "", ""});

    EXPECT_TRUE(links.LoadCreatorIDs(dir.File(QStringLiteral("absent.ini"))));
    EXPECT_TRUE(links.ErrorText().isEmpty());

    const QString folder = dir.MakeFolder(QStringLiteral("CreatorIDs.ini"));
    EXPECT_FALSE(links.LoadCreatorIDs(folder));
    EXPECT_TRUE(links.ErrorText().startsWith(QStringLiteral("Unable to read ") + folder + u':'))
        << links.ErrorText().toStdString();
    EXPECT_EQ(Entries(links), std::vector<TLinks>({{"abcd", "p", "", ""}}));
}

TEST(CreatorCatalogue, FailedSaveThrowsAndKeepsTheFile) {
    TempFolder dir;
    const ListeDerLinks links = Catalogue({{"abcd", "p", "", ""}});

    // The present content cannot be read: writing would lose it.
    const QString folder = dir.MakeFolder(QStringLiteral("folder.ini"));
    dir.Write(QStringLiteral("folder.ini/inside"), "x");
    EXPECT_THROW(links.SaveCreatorIDs(folder), EWriteError);
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/inside")), "x");

    const std::string original = "[wxyz]\r\nProgram=w\r\n";
    const QString readOnly = dir.Write(QStringLiteral("ro.ini"), Bytes(original));
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadUser);
    try {
        links.SaveCreatorIDs(readOnly);
        ADD_FAILURE() << "no EWriteError for a read-only file";
    } catch (const EWriteError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Unable to write to ")))
            << e.what();
    }
    EXPECT_EQ(ReadFile(readOnly), original);
}

// Writing without the present content would lose every section the catalogue lacks.
TEST(CreatorCatalogue, SaveDoesNotReplaceAFileItCannotRead) {
    TempFolder dir;
    const std::string original = "[wxyz]\r\nProgram=w\r\n";
    const QString path = dir.Write(QStringLiteral("CreatorIDs.ini"), Bytes(original));
    QFile::setPermissions(path, QFile::WriteOwner | QFile::WriteUser);
    if (QFile probe(path); probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "permissions are not enforced for this user";
    EXPECT_THROW(Catalogue({{"abcd", "p", "", ""}}).SaveCreatorIDs(path), EWriteError);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(ReadFile(path), original);
}

TEST(CreatorCatalogue, DamagedFilesLoadAndSaveWithoutLoss) {
    std::string garbage;
    std::mt19937 random(1);
    for (int i = 0; i < 200000; ++i)
        garbage += static_cast<char>(random() % 4 == 0 ? "[]=\n"[random() % 4] : random() % 256);
    const std::string longValue(10 * 1024 * 1024, 'x');
    const std::vector<std::pair<const char*, std::string>> files = {
        {"binary garbage", garbage},
        {"10 MB line", "[a]\r\nProgram=" + longValue + "\r\n[b]\r\n"},
        {"invalid UTF-8", "[\xC3\x28]\r\nProgram=\xF0\x28\x8C\xBC\r\n[\xED\xA0\x80]\r\n"},
        {"NUL bytes", "[a\0b]\r\nProgram=\0\0\r\n\0\0\0"s},
    };
    for (const auto& [name, content] : files) {
        SCOPED_TRACE(name);
        TempFolder dir;
        const QString path = dir.Write(QStringLiteral("CreatorIDs.ini"), Bytes(content));
        ListeDerLinks links;
        ASSERT_TRUE(links.LoadCreatorIDs(path));
        const int sections = links.LinkCount();
        ASSERT_NO_THROW(links.SaveCreatorIDs(path));
        ListeDerLinks again;
        ASSERT_TRUE(again.LoadCreatorIDs(path));
        EXPECT_EQ(again.LinkCount(), sections);
        if (std::string(name) == "10 MB line") {
            EXPECT_EQ(again.LinkAt(0)->Program, longValue);
        }
    }
}

} // namespace
