// Tests of the structure check: every finding code with its severity and entry, and
// sound files of both layouts without any finding.
#include "palmdb/DatabaseCheck.h"

#include "support/PalmFileBuilder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// "code@entry:severity" for each finding (entry "-" for the file), space-separated.
std::string Findings(const QByteArray& bytes, const std::string& fileName) {
    MemoryByteSource source(std::string(bytes.constData(), std::size_t(bytes.size())));
    std::string text;
    for (const CheckFinding& finding : CheckDatabase(ReadDatabaseContents(source), fileName)) {
        if (!text.empty())
            text += ' ';
        text += std::string(finding.Code) + "@" +
                (finding.Entry < 0 ? std::string("-") : std::to_string(finding.Entry)) + ":" +
                SeverityWord(finding.Severity);
        EXPECT_NE(std::string(finding.Text), "") << finding.Code;
    }
    return text;
}

// Records with unique IDs 1 to 4, so that only the cases about IDs find them alike.
PalmFileBuilder Records(std::vector<uint32_t> offsets, int tailBytes) {
    return RecordsAt(std::move(offsets), tailBytes,
                     {0x40000001, 0x40000002, 0x40000003, 0x40000004});
}

PalmFileBuilder Resources(std::vector<PalmFileBuilder::Resource> list, int tailBytes) {
    PalmFileBuilder b;
    b.name = "App";
    b.attributes = 0x0001;
    b.type = "appl";
    b.creator = "test";
    b.resources = std::move(list);
    b.tail = QByteArray(tailBytes, 'c');
    return b;
}

TEST(DatabaseCheck, FindsEachKindOfTroubleWithItsSeverity) {
    // Data begins 2 bytes after the list: at 88 for one record, 96 for two, 112 for four.
    PalmFileBuilder withBlocks = Records({400, 410}, 2 + 276 + 28 + 20);
    withBlocks.appInfoArea = 96;
    withBlocks.sortInfoArea = 372;
    PalmFileBuilder unnamed = Records({88}, 2 + 4);
    unnamed.name = std::string(32, 'N');
    PalmFileBuilder chained = Records({88}, 2 + 4);
    chained.nextRecordList = 200;
    PalmFileBuilder countTooLarge = Records({}, 0);
    countTooLarge.recordCountOverride = 65535;
    PalmFileBuilder appOutside = Records({88}, 2 + 4);
    appOutside.appInfoArea = 0xFFFFFFFF;
    PalmFileBuilder sortOutside = Records({88}, 2 + 4);
    sortOutside.sortInfoArea = 5000;
    PalmFileBuilder appInList = Records({88}, 2 + 4);
    appInList.appInfoArea = 82;
    PalmFileBuilder sortInHeader = Records({88}, 2 + 4);
    sortInHeader.sortInfoArea = 10;
    PalmFileBuilder appInRecord = Records({88}, 2 + 20);
    appInRecord.appInfoArea = 98;
    PalmFileBuilder sortInRecord = Records({88}, 2 + 20);
    sortInRecord.sortInfoArea = 100;
    PalmFileBuilder sameBlocks = Records({100}, 2 + 20);
    sameBlocks.appInfoArea = 88;
    sameBlocks.sortInfoArea = 88;
    PalmFileBuilder sameIds = Records({112, 113, 114, 115}, 2 + 4);
    sameIds.recordInfo = {0x00000007, 0x10000009, 0x20000007, 0x30000007};
    PalmFileBuilder noIds = Records({112, 113, 114, 115}, 2 + 4);
    noIds.recordInfo = {};
    PalmFileBuilder emptyWithTail = Records({}, 2 + 10);

    const struct {
        const char* name;
        QByteArray bytes;
        const char* fileName;
        const char* findings;
    } cases[] = {
        {"sound records", Records({96, 100}, 2 + 8).Bytes(), "a.pdb", ""},
        {"sound records with app and sort info", withBlocks.Bytes(), "a.PDB", ""},
        {"sound resources", Resources({{"code", 0, 100}, {"code", 1, 104}}, 2 + 8).Bytes(), "a.prc",
         ""},
        {"empty database with its pad bytes", Records({}, 2).Bytes(), "a.pdb", ""},
        {"IDs 0 are no IDs", noIds.Bytes(), "a.pdb", ""},
        {"another extension promises nothing", Records({88}, 2 + 4).Bytes(), "a.bak", ""},
        {"header too short", Records({}, 0).Bytes().left(77), "a.pdb",
         "header-too-short@-:damaged"},
        {"list cut", countTooLarge.Bytes(), "a.pdb", "list-cut@-:damaged"},
        {"offset outside the file", Records({96, 0xFFFFFFFF}, 2 + 4).Bytes(), "a.pdb",
         "offset-outside-file@1:damaged"},
        {"offset inside the header", Records({96, 20}, 2 + 4).Bytes(), "a.pdb",
         "offset-inside-header@1:damaged"},
        {"offsets not ascending", Records({100, 96}, 2 + 8).Bytes(), "a.pdb",
         "offset-not-ascending@1:damaged"},
        {"app info outside the file", appOutside.Bytes(), "a.pdb",
         "appinfo-outside-file@-:damaged"},
        {"sort info outside the file", sortOutside.Bytes(), "a.pdb",
         "sortinfo-outside-file@-:damaged"},
        {"app info in the list", appInList.Bytes(), "a.pdb", "appinfo-inside-header@-:damaged"},
        {"sort info in the header", sortInHeader.Bytes(), "a.pdb",
         "sortinfo-inside-header@-:damaged"},
        {"app info inside a record", appInRecord.Bytes(), "a.pdb",
         "appinfo-overlaps-entry@0:damaged"},
        {"sort info inside a record", sortInRecord.Bytes(), "a.pdb",
         "sortinfo-overlaps-entry@0:damaged"},
        {"app and sort info at one offset", sameBlocks.Bytes(), "a.pdb",
         "sortinfo-overlaps-appinfo@-:damaged"},
        {"name without NUL", unnamed.Bytes(), "a.pdb", "name-without-nul@-:suspicious"},
        {"next record list", chained.Bytes(), "a.pdb", "next-record-list@-:suspicious"},
        {".prc without the resource bit", Records({88}, 2 + 4).Bytes(), "x/a.Prc",
         "resource-bit-missing@-:suspicious"},
        {".pdb with the resource bit", Resources({{"code", 0, 90}}, 2 + 4).Bytes(), "a.pdb",
         "resource-bit-on-pdb@-:suspicious"},
        {"duplicate unique IDs", sameIds.Bytes(), "a.pdb",
         "duplicate-unique-id@2:suspicious duplicate-unique-id@3:suspicious"},
        {"duplicate type and ID",
         Resources({{"tSTR", 1000, 110}, {"tSTR", 1001, 112}, {"tSTR", 1000, 114}}, 2 + 8).Bytes(),
         "a.prc", "duplicate-resource@2:suspicious"},
        {"same ID, other type", Resources({{"tSTR", 1, 100}, {"tSTr", 1, 102}}, 2 + 4).Bytes(),
         "a.prc", ""},
        {"trailing bytes", emptyWithTail.Bytes(), "a.pdb", "trailing-bytes@-:note"},
        {"findings by entry, file-wide first", Records({110, 104, 0xFFFFFFFF}, 2 + 16).Bytes(),
         "a.prc",
         "resource-bit-missing@-:suspicious offset-not-ascending@1:damaged "
         "offset-outside-file@2:damaged"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Findings(c.bytes, c.fileName), c.findings) << c.name;
}

TEST(DatabaseCheck, TroubleIsAnythingButANote) {
    EXPECT_FALSE(HasTrouble({}));
    EXPECT_FALSE(HasTrouble({{-1, CheckSeverity::Note, "trailing-bytes", "t"}}));
    EXPECT_TRUE(HasTrouble(
        {{-1, CheckSeverity::Note, "a", "t"}, {2, CheckSeverity::Suspicious, "b", "t"}}));
    EXPECT_TRUE(HasTrouble({{-1, CheckSeverity::Damaged, "a", "t"}}));
}

} // namespace
