#include "browser/ProgramPaths.h"
#include "cli/CliCommands.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun RunCommand(const QStringList& arguments) {
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = RunCli(arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

QJsonArray JsonArray(const QString& text) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text.toStdString();
    return doc.array();
}

// 2006-11-02 18:04:10 as seconds since 1904.
constexpr uint32_t Nov2006 = 3245335450u;

} // namespace

TEST(Cli, InfoJsonHasEveryHeaderField) {
    TempFolder dir;
    PalmFileBuilder b;
    b.name = "Caf\xE9 DB"; // é in the Palm character set
    b.attributes = 0x0048;
    b.version = 2;
    b.created = 1; // a 1970-based count
    b.modified = Nov2006;
    b.backedUp = 0;
    b.modNumber = 0xFFFFFFFF;
    b.appInfoArea = 96;
    b.sortInfoArea = 0;
    b.type = "DATA";
    b.creator = "c\x80\xFF";
    b.idSeed = 0x5F2000;
    b.nextRecordList = 7;
    b.recordOffsets = {100, 120};
    b.tail = QByteArray(50, 'r');
    const QString file = b.WriteTo(dir.File(QStringLiteral("cafe.pdb")));

    const CliRun run = RunCommand({QStringLiteral("info"), QStringLiteral("--json"), file});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject o = JsonArray(run.out).at(0).toObject();
    const QJsonObject expected{
        {QStringLiteral("file"), file},
        {QStringLiteral("name"), QStringLiteral("Café DB")},
        {QStringLiteral("type"), QStringLiteral("DATA")},
        {QStringLiteral("creator"), QStringLiteral("c\u20AC\u00FF")},
        {QStringLiteral("attributes"), 0x48},
        {QStringLiteral("readOnly"), false},
        {QStringLiteral("dirty"), false},
        {QStringLiteral("backup"), true},
        {QStringLiteral("overwrite"), false},
        {QStringLiteral("forceReset"), false},
        {QStringLiteral("noBeaming"), true},
        {QStringLiteral("version"), 2},
        {QStringLiteral("created"), QStringLiteral("1970-01-01T00:00:01")},
        {QStringLiteral("modified"), QStringLiteral("2006-11-02T18:04:10")},
        {QStringLiteral("backedUp"), QStringLiteral("1970-01-01T00:00:00")},
        {QStringLiteral("modNumber"), -1},
        {QStringLiteral("appInfoArea"), 96},
        {QStringLiteral("sortInfoArea"), 0},
        {QStringLiteral("idSeed"), 0x5F2000},
        {QStringLiteral("nextRecordList"), 7},
        {QStringLiteral("recordCount"), 2},
        {QStringLiteral("fileSize"), 78 + 16 + 50},
    };
    EXPECT_EQ(o, expected);
}

TEST(Cli, UnreadableFilesGiveAnErrorObjectAndStatusOne) {
    TempFolder dir;
    const QString good = PalmFileBuilder{}.WriteTo(dir.File(QStringLiteral("good.pdb")));
    const QString shortFile = dir.Write(QStringLiteral("short.pdb"), QByteArray(77, 'x'));
    const QString missing = dir.File(QStringLiteral("missing.pdb"));

    const CliRun run =
        RunCommand({QStringLiteral("info"), QStringLiteral("--json"), good, shortFile, missing});
    EXPECT_EQ(run.status, 1);
    const QJsonArray array = JsonArray(run.out);
    ASSERT_EQ(array.size(), 3);
    EXPECT_FALSE(array[0].toObject().contains(QStringLiteral("error")));
    for (int i : {1, 2}) {
        const QJsonObject o = array[i].toObject();
        EXPECT_EQ(o.keys(), (QStringList{QStringLiteral("error"), QStringLiteral("file")}));
        EXPECT_EQ(o[QStringLiteral("error")].toString(), QStringLiteral("Error reading file"));
    }
    // Each failure is named on stderr with its file.
    EXPECT_TRUE(run.err.contains(shortFile + QStringLiteral(": Error reading file")));
    EXPECT_TRUE(run.err.contains(missing + QStringLiteral(": Error reading file")));
}

TEST(Cli, InfoTextShowsThePanelRows) {
    TempFolder dir;
    PalmFileBuilder b;
    b.name = "MemoDB";
    b.creator = "memo";
    b.attributes = 0x0002;
    b.recordOffsets = {90};
    const QString file = b.WriteTo(dir.File(QStringLiteral("m.pdb")));
    const CliRun run = RunCommand({QStringLiteral("info"), file});
    EXPECT_EQ(run.status, 0);
    for (const char* line : {"Name: MemoDB", "Records: 1", "Creator: memo", "Backed up: Unknown",
                             "Read only: yes", "Dirty: no", "File size: 86"})
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(line) + QLatin1Char('\n')))
            << line << "\n"
            << run.out.toStdString();
}

TEST(Cli, ListPrintsTheRowsAndTheCount) {
    TempFolder dir;
    PalmFileBuilder b;
    b.creator = "memo";
    b.WriteTo(dir.File(QStringLiteral("MemoDB.pdb")));
    dir.Write(QStringLiteral("Backup.zip"), "PK\x05\x06");
    dir.Write(QStringLiteral("Broken.prc"), "short");

    const CliRun text = RunCommand({QStringLiteral("list"), dir.Path()});
    EXPECT_EQ(text.status, 1);
    const QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("MemoDB.pdb\tmemo\t78\t")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Broken.prc\t\t5\t")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Backup.zip\tZip\t4\t")));
    EXPECT_EQ(lines[3], QStringLiteral("3 file(s)."));
    EXPECT_TRUE(text.err.contains(QStringLiteral("Broken.prc: Error reading file")));

    const CliRun json = RunCommand({QStringLiteral("list"), QStringLiteral("--json"), dir.Path()});
    const QJsonArray rows = JsonArray(json.out);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("bytes")].toInt(), 78);
    EXPECT_EQ(rows[2].toObject()[QStringLiteral("type")].toString(), QStringLiteral("Zip"));
    EXPECT_EQ(
        rows[0].toObject().keys(),
        (QStringList{QStringLiteral("bytes"), QStringLiteral("changed"), QStringLiteral("name"),
                     QStringLiteral("size"), QStringLiteral("type")}));
}

TEST(Cli, BadUsageGivesStatusTwo) {
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("info")},
        {QStringLiteral("list")},
        {QStringLiteral("list"), QStringLiteral("a"), QStringLiteral("b")},
        {QStringLiteral("frobnicate"), QStringLiteral("x")},
    };
    for (const QStringList& arguments : cases) {
        const CliRun run = RunCommand(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("Usage:")));
    }
    EXPECT_EQ(RunCommand({QStringLiteral("--help")}).status, 0);
}

TEST(Cli, ListOfAnArchiveShowsTheWindowsRowsAndLeavesNothingInTemp) {
    TempFolder dir;
    PalmFileBuilder b;
    b.type = "DATA";
    b.creator = "memo";
    b.tail = QByteArray(1536 - 78, 'm');
    const QString archive = ZipBuilder()
                                .Add("a.pdb", b.Bytes())
                                .Add("docs/readme.txt", "text")
                                .Add("sub/b.prc", "short")
                                .WriteTo(dir.File(QStringLiteral("Backup.zip")));
    const QString temp = ProgramPaths::ForThisProgram().TempFolder;
    const auto tempFiles = [&] {
        QStringList found;
        QDirIterator it(temp, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    };
    const QStringList before = tempFiles();

    const CliRun run = RunCommand({QStringLiteral("list"), archive});
    EXPECT_EQ(run.status, 1);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("a.pdb\tmemo\t1.5 KB\t")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("sub/b.prc\t\t5 Bytes\t")));
    EXPECT_EQ(lines[2], QStringLiteral("2 file(s)."));
    EXPECT_TRUE(run.err.contains(QStringLiteral("Backup.zip/sub/b.prc: Error reading file")))
        << run.err.toStdString();
    EXPECT_EQ(tempFiles(), before);

    const CliRun broken =
        RunCommand({QStringLiteral("list"), dir.Write(QStringLiteral("x.zip"), "text")});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.err.contains(QStringLiteral("x.zip: Not a zip archive")))
        << broken.err.toStdString();
}
