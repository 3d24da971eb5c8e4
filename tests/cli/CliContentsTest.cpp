// Tests of brisko-cli contents, extract and check: exit statuses, the JSON contracts,
// the files extract writes and never replaces, and the database name in list --json.
#include "CliCapture.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct CliRun : CliOutput {
    QJsonDocument Json() const { return QJsonDocument::fromJson(out.toUtf8()); }
};

CliRun RunArgs(const QStringList& arguments) {
    return CliRun{RunCapturing(arguments)};
}

QString L(const char* text) {
    return QString::fromLatin1(text);
}

QByteArray CategoryNames() {
    return CategoryAppInfo({"Unfiled",
                            "Gesch\xE4"
                            "ft",
                            "Personal"},
                           0x0001);
}

// Records with categories and app info: list end 102, app info 104..380, records from 380.
QString WriteRecords(const TempFolder& dir, const char* name) {
    PalmFileBuilder b;
    b.name = "Records";
    b.appInfoArea = 104;
    b.recordOffsets = {380, 384, 0xFFFFFFFF};
    b.recordInfo = {0x41ABCDEF, 0x92000001, 0x00000002};
    b.tail = QByteArray(2, '\0') + CategoryNames() + "abcdEFGHIJ";
    return b.WriteTo(dir.File(L(name)));
}

QString WriteResources(const TempFolder& dir, const char* name) {
    PalmFileBuilder b;
    b.name = "Resources";
    b.attributes = 0x0001;
    b.resources = {{"tSTR", 1000, 100}, {std::string("a/\x01 ", 4), 7, 103}};
    b.tail = QByteArray(2, '\0') + "xyz12345";
    return b.WriteTo(dir.File(L(name)));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(CliContents, PrintsTheJsonContractForRecordsAndResources) {
    TempFolder dir;
    const CliRun records = RunArgs({L("contents"), L("--json"), WriteRecords(dir, "r.pdb")});
    EXPECT_EQ(records.status, 0) << records.err.toStdString();
    const QJsonObject r = records.Json().object();
    EXPECT_EQ(r.keys(), (QStringList{L("appInfo"), L("categories"), L("entries"), L("file"),
                                     L("kind"), L("problems"), L("sortInfo")}));
    EXPECT_EQ(r[L("kind")].toString(), L("records"));
    EXPECT_EQ(r[L("appInfo")].toObject(), (QJsonObject{{L("offset"), 104}, {L("size"), 276}}));
    EXPECT_TRUE(r[L("sortInfo")].isNull());
    const QJsonArray categories = r[L("categories")].toArray();
    ASSERT_EQ(categories.size(), 16);
    EXPECT_EQ(categories[1].toString(), QString::fromUtf8("Geschäft"));
    EXPECT_EQ(categories[15].toString(), QString());
    EXPECT_TRUE(r[L("problems")].toArray().isEmpty());
    const QJsonArray entries = r[L("entries")].toArray();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].toObject(), (QJsonObject{{L("index"), 0},
                                                  {L("offset"), 380},
                                                  {L("size"), 4},
                                                  {L("attributes"), 0x40},
                                                  {L("category"), 1},
                                                  {L("uniqueId"), 0xABCDEF}}));
    EXPECT_EQ(entries[1].toObject()[L("attributes")].toInt(), 0x90);
    EXPECT_EQ(entries[1].toObject()[L("size")].toInt(), 6);
    EXPECT_EQ(entries[2].toObject()[L("offset")].toDouble(), 4294967295.0);
    EXPECT_FALSE(entries[2].toObject()[L("problem")].toString().isEmpty());
    EXPECT_FALSE(entries[1].toObject().contains(L("problem")));

    const CliRun resources = RunArgs({L("contents"), L("--json"), WriteResources(dir, "s.prc")});
    EXPECT_EQ(resources.status, 0);
    const QJsonObject s = resources.Json().object();
    EXPECT_EQ(s[L("kind")].toString(), L("resources"));
    EXPECT_TRUE(s[L("categories")].isNull());
    EXPECT_TRUE(s[L("appInfo")].isNull());
    const QJsonArray list = s[L("entries")].toArray();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].toObject(), (QJsonObject{{L("index"), 0},
                                               {L("type"), L("tSTR")},
                                               {L("id"), 1000},
                                               {L("offset"), 100},
                                               {L("size"), 3}}));
    EXPECT_EQ(list[1].toObject()[L("size")].toInt(), 5);
}

TEST(CliContents, ExitStatusesAndTextOutput) {
    TempFolder dir;
    const QString records = WriteRecords(dir, "r.pdb");
    const CliRun text = RunArgs({L("contents"), records});
    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.contains(L("0\t380\t4\tdirty\t1 (Gesch")));
    EXPECT_TRUE(text.out.contains(L("Categories: Unfiled, ")));
    EXPECT_TRUE(text.out.contains(L("3 record(s).")));

    PalmFileBuilder huge;
    huge.recordCountOverride = 65535;
    const QString cut = huge.WriteTo(dir.File(L("cut.pdb")));
    const CliRun listCut = RunArgs({L("contents"), L("--json"), cut});
    EXPECT_EQ(listCut.status, 0);
    EXPECT_EQ(listCut.Json().object()[L("problems")].toArray().size(), 1);
    EXPECT_TRUE(listCut.Json().object()[L("entries")].toArray().isEmpty());

    const struct {
        const char* name;
        QStringList arguments;
        int status;
    } cases[] = {
        {"short file", {L("contents"), dir.Write(L("short.pdb"), "short")}, 1},
        {"missing file", {L("contents"), dir.File(L("none.pdb"))}, 1},
        {"a folder", {L("contents"), dir.Path()}, 1},
        {"no file", {L("contents")}, 2},
        {"two files", {L("contents"), records, records}, 2},
    };
    for (const auto& c : cases) {
        const CliRun run = RunArgs(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.name;
        EXPECT_FALSE(run.err.isEmpty()) << c.name;
    }
}

TEST(CliExtract, WritesEntriesUnderTheirNamesAndNeverReplacesAFile) {
    TempFolder dir;
    const QString records = WriteRecords(dir, "r.pdb");
    const QString resources = WriteResources(dir, "s.prc");
    const QString out = dir.MakeFolder(L("out"));
    const CliRun all = RunArgs({L("extract"), records, L("--to"), out});
    EXPECT_EQ(all.status, 0) << all.err.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files),
              (QStringList{L("appinfo.bin"), L("record-0000-ABCDEF.bin"),
                           L("record-0001-000001.bin"), L("record-0002-000002.bin")}));
    EXPECT_EQ(ReadFile(out + L("/record-0000-ABCDEF.bin")), "abcd");
    EXPECT_EQ(ReadFile(out + L("/record-0001-000001.bin")), "EFGHIJ");
    EXPECT_EQ(ReadFile(out + L("/record-0002-000002.bin")), "");
    EXPECT_EQ(ReadFile(out + L("/appinfo.bin")), CategoryNames());

    const QString some = dir.MakeFolder(L("some"));
    const CliRun chosen = RunArgs({L("extract"), resources, L("--entry"), L("1"), L("--to"), some});
    EXPECT_EQ(chosen.status, 0);
    EXPECT_EQ(QDir(some).entryList(QDir::Files), QStringList{L("a%2F%01%20-0007.bin")});
    EXPECT_EQ(ReadFile(some + L("/a%2F%01%20-0007.bin")), "12345");

    // The existing file keeps its bytes; the others are still written.
    dir.Write(L("again/tSTR-03E8.bin"), "mine");
    const QString again = dir.File(L("again"));
    const CliRun exists = RunArgs({L("extract"), resources, L("--to"), again});
    EXPECT_EQ(exists.status, 1);
    EXPECT_TRUE(exists.err.contains(L("tSTR-03E8.bin: exists already")));
    EXPECT_EQ(ReadFile(again + L("/tSTR-03E8.bin")), "mine");
    EXPECT_EQ(ReadFile(again + L("/a%2F%01%20-0007.bin")), "12345");
    EXPECT_EQ(QDir(again).entryList(QDir::Files | QDir::Hidden).size(), 2);

    const struct {
        const char* name;
        QStringList arguments;
        int status;
    } cases[] = {
        {"entry beyond the list", {L("extract"), records, L("--entry"), L("9"), L("--to"), out}, 1},
        {"missing folder", {L("extract"), records, L("--to"), dir.File(L("nowhere"))}, 1},
        {"missing file", {L("extract"), dir.File(L("none.pdb")), L("--to"), out}, 1},
        {"no --to", {L("extract"), records}, 2},
        {"no file", {L("extract"), L("--to"), out}, 2},
        {"--entry without a number", {L("extract"), records, L("--entry"), L("--to"), out}, 2},
        {"--entry not a number", {L("extract"), records, L("--entry"), L("x"), L("--to"), out}, 2},
        {"unknown option", {L("extract"), records, L("--all"), L("--to"), out}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunArgs(c.arguments).status, c.status) << c.name;
}

TEST(CliCheck, ExitStatusFollowsTroubleAndJsonFollowsTheContract) {
    TempFolder dir;
    dir.MakeFolder(L("sub"));
    const QString records = WriteRecords(dir, "sub/r.pdb"); // damaged: an offset outside
    const QString resources = WriteResources(dir, "s.prc");
    PalmFileBuilder tail;
    tail.tail = QByteArray(10, 't');
    const QString noted = tail.WriteTo(dir.File(L("noted.pdb")));

    const CliRun damaged = RunArgs({L("check"), L("--json"), records});
    EXPECT_EQ(damaged.status, 1);
    const QJsonArray findings = damaged.Json().array();
    ASSERT_EQ(findings.size(), 1);
    EXPECT_EQ(findings[0].toObject(),
              (QJsonObject{{L("file"), records},
                           {L("entry"), 2},
                           {L("severity"), L("damaged")},
                           {L("code"), L("offset-outside-file")},
                           {L("text"), findings[0].toObject()[L("text")]}}));
    EXPECT_FALSE(findings[0].toObject()[L("text")].toString().isEmpty());

    const CliRun note = RunArgs({L("check"), L("--json"), noted});
    EXPECT_EQ(note.status, 0) << "a note is no trouble";
    ASSERT_EQ(note.Json().array().size(), 1);
    EXPECT_TRUE(note.Json().array()[0].toObject()[L("entry")].isNull());
    EXPECT_EQ(note.Json().array()[0].toObject()[L("severity")].toString(), L("note"));

    const struct {
        const char* name;
        QStringList arguments;
        int status;
        const char* lastLine;
    } cases[] = {
        {"sound file", {L("check"), resources}, 0, "1 file(s) checked, 0 damaged or suspicious."},
        {"folder without its tree",
         {L("check"), dir.Path()},
         0,
         "2 file(s) checked, 0 damaged or suspicious."},
        {"tree",
         {L("check"), L("--recursive"), dir.Path()},
         1,
         "3 file(s) checked, 1 damaged or suspicious."},
        {"options after paths",
         {L("check"), dir.Path(), L("--recursive")},
         1,
         "3 file(s) checked, 1 damaged or suspicious."},
        {"missing file",
         {L("check"), dir.File(L("none.pdb"))},
         1,
         "1 file(s) checked, 1 damaged or suspicious."},
        {"no path", {L("check"), L("--json")}, 2, ""},
        {"unknown option", {L("check"), L("--deep"), dir.Path()}, 2, ""},
    };
    for (const auto& c : cases) {
        const CliRun run = RunArgs(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.name;
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        EXPECT_EQ(lines.isEmpty() ? QString() : lines.last(), QString::fromLatin1(c.lastLine))
            << c.name;
    }
}

TEST(CliList, JsonRowsCarryTheDatabaseName) {
    TempFolder dir;
    WriteRecords(dir, "r.pdb");
    dir.Write(L("short.pdb"), "short");
    const QJsonArray rows = RunArgs({L("list"), L("--json"), dir.Path()}).Json().array();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].toObject()[L("database")].toString(), L("Records"));
    EXPECT_EQ(rows[1].toObject()[L("database")].toString(), QString());
}

} // namespace
