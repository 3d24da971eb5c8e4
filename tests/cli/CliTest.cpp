#include "CliCapture.h"
#include "core/ProgramPaths.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct CliRun : CliOutput {
    QStringList Lines() const { return out.split(u'\n', Qt::SkipEmptyParts); }
    QJsonArray Json() const {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
        return doc.array();
    }
};

// The command's words, then the paths.
CliRun RunCommand(const char* words, const QStringList& paths = {}) {
    const QStringList arguments =
        QString::fromLatin1(words).split(u' ', Qt::SkipEmptyParts) + paths;
    return CliRun{RunCapturing(arguments)};
}

} // namespace

// Each file unreadable (too short for a header, missing) is named on stderr and, in JSON,
// given an error object; the others are shown all the same, and the status is 1.
TEST(Cli, InfoShowsEveryHeaderFieldOfEachReadableFileAsJsonAndAsText) {
    TempFolder dir;
    PalmFileBuilder b;
    b.name = "Caf\xE9 DB"; // é in the Palm character set
    b.attributes = 0x0048;
    b.version = 2;
    b.created = 1;           // a 1970-based count
    b.modified = 3245335450; // 2006-11-02 18:04:10 since 1904
    b.modNumber = 0xFFFFFFFF;
    b.appInfoArea = 96;
    b.type = "DATA";
    b.creator = "c\x80\xFF";
    b.idSeed = 0x5F2000;
    b.nextRecordList = 7;
    b.recordOffsets = {100, 120};
    b.tail = QByteArray(50, 'r');
    const QString file = b.WriteTo(dir.File(QStringLiteral("cafe.pdb")));
    const QStringList unreadable{dir.Write(QStringLiteral("short.pdb"), QByteArray(77, 'x')),
                                 dir.File(QStringLiteral("missing.pdb"))};

    const CliRun json = RunCommand("info --json", QStringList{file} + unreadable);
    EXPECT_EQ(json.status, 1);
    QJsonObject expected = QJsonDocument::fromJson(R"({
        "name": "Café DB", "type": "DATA", "creator": "c€ÿ", "attributes": 72,
        "readOnly": false, "dirty": false, "backup": true, "overwrite": false,
        "forceReset": false, "noBeaming": true, "version": 2,
        "created": "1970-01-01T00:00:01", "modified": "2006-11-02T18:04:10",
        "backedUp": "1970-01-01T00:00:00", "modNumber": -1, "appInfoArea": 96,
        "sortInfoArea": 0, "idSeed": 6234112, "nextRecordList": 7, "recordCount": 2,
        "fileSize": 144})")
                               .object();
    expected[QStringLiteral("file")] = file;
    QJsonArray all{expected};
    for (const QString& bad : unreadable) {
        all.append(QJsonObject{{QStringLiteral("file"), bad},
                               {QStringLiteral("error"), QStringLiteral("Error reading file")}});
        EXPECT_TRUE(json.err.contains(bad + QStringLiteral(": Error reading file")));
    }
    EXPECT_EQ(json.Json(), all);

    const CliRun text = RunCommand("info", {file});
    EXPECT_EQ(text.status, 0);
    for (const char* line :
         {"Name: Caf\u00e9 DB", "Records: 2", "Creator: c\u20ac\u00ff", "Backed up: Unknown",
          "Read only: no", "Backup: yes", "No beaming: yes", "File size: 144"})
        EXPECT_TRUE(text.Lines().contains(QString::fromUtf8(line))) << line << "\n"
                                                                    << text.out.toStdString();
}

// A name's control characters would split its line or reach the terminal: the text
// output escapes them, one line per field or row; JSON carries them as they are.
TEST(Cli, TheTextOutputEscapesControlCharacters) {
    const struct {
        const char* bytes; // a database name, and a file name
        const char* shown;
    } names[] = {{"CR\r\nLF", "CR\\r\\nLF"},
                 {"tab\tbed", "tab\\tbed"},
                 {"\x1B[31mred", "\\x1b[31mred"},
                 {"del\x7F", "del\\x7f"},
                 {"c1\x81", "c1\\x81"}, // a C1 control in the Palm character set
                 {"back\\slash & \xE9", "back\\slash & \u00e9"}};
    for (const auto& n : names) {
        SCOPED_TRACE(n.shown);
        TempFolder dir;
        PalmFileBuilder b;
        b.name = n.bytes;
        b.creator = "memo";
        const QString fileName = QString::fromLatin1(n.bytes) + QStringLiteral(".pdb");
        const QString file = b.WriteTo(dir.File(fileName));
        const QString shown = QString::fromUtf8(n.shown);

        const QStringList info = RunCommand("info", {file}).Lines();
        EXPECT_EQ(info.size(), 21) << info.join(u'|').toStdString();
        EXPECT_TRUE(info.contains(QStringLiteral("Name: ") + shown))
            << info.join(u'|').toStdString();
        const QStringList rows = RunCommand("list", {dir.Path()}).Lines();
        ASSERT_EQ(rows.size(), 2) << rows.join(u'|').toStdString();
        EXPECT_TRUE(rows[0].startsWith(shown + QStringLiteral(".pdb\tmemo\t")))
            << rows[0].toStdString();
        EXPECT_EQ(RunCommand("list --json", {dir.Path()})
                      .Json()[0]
                      .toObject()[QStringLiteral("name")]
                      .toString(),
                  fileName);
    }
}

TEST(Cli, ListPrintsTheRowsAndTheCountOfAFolderOrAnArchive) {
    TempFolder dir;
    PalmFileBuilder b;
    b.creator = "memo";
    b.WriteTo(dir.File(QStringLiteral("MemoDB.pdb")));
    dir.Write(QStringLiteral("Broken.prc"), "short");
    b.tail = QByteArray(1536 - 78, 'm');
    ZipBuilder()
        .Add("a.pdb", b.Bytes())
        .Add("docs/readme.txt", "text")
        .Add("sub/b.prc", "short")
        .WriteTo(dir.File(QStringLiteral("Backup.zip")));

    const CliRun folder = RunCommand("list", {dir.Path()});
    EXPECT_EQ(folder.status, 1);
    const QStringList lines = folder.Lines();
    ASSERT_EQ(lines.size(), 4) << folder.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("MemoDB.pdb\tmemo\t78\t")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Broken.prc\t\t5\t")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Backup.zip\tZip\t")));
    EXPECT_EQ(lines[3], QStringLiteral("3 file(s)."));
    EXPECT_TRUE(folder.err.contains(QStringLiteral("Broken.prc: Error reading file")));
    const QJsonArray rows = RunCommand("list --json", {dir.Path()}).Json();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("bytes")].toInt(), 78);
    EXPECT_EQ(rows[2].toObject()[QStringLiteral("type")].toString(), QStringLiteral("Zip"));

    const auto inTemp = [] {
        return QDir(ProgramPaths::ForThisProgram().TempFolder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList before = inTemp();
    const CliRun archive = RunCommand("list", {dir.File(QStringLiteral("Backup.zip"))});
    EXPECT_EQ(archive.status, 1);
    ASSERT_EQ(archive.Lines().size(), 3) << archive.out.toStdString();
    EXPECT_TRUE(archive.Lines()[0].startsWith(QStringLiteral("a.pdb\tmemo\t1.5 KB\t")));
    EXPECT_TRUE(archive.Lines()[1].startsWith(QStringLiteral("sub/b.prc\t\t5 Bytes\t")));
    EXPECT_EQ(archive.Lines()[2], QStringLiteral("2 file(s)."));
    EXPECT_TRUE(archive.err.contains(QStringLiteral("Backup.zip/sub/b.prc: Error reading file")))
        << archive.err.toStdString();
    EXPECT_EQ(inTemp(), before) << "the entries extracted to be read are removed again";

    const CliRun broken = RunCommand("list", {dir.Write(QStringLiteral("x.zip"), "text")});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.err.contains(QStringLiteral("x.zip: Not a zip archive")))
        << broken.err.toStdString();
}

TEST(Cli, BadUsageGivesStatusTwo) {
    for (const char* words : {"", "info", "info --json", "list a b", "frobnicate a"}) {
        const CliRun run = RunCommand(words);
        EXPECT_EQ(run.status, 2) << words;
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("Usage:"))) << words;
    }
    EXPECT_EQ(RunCommand("--help").status, 0);
}
