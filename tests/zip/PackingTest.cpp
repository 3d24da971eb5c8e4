// Packed archives read back by Info-ZIP's unzip, which shares no code with the packer;
// failures and cancels leave no archive and no temporary file, and an archive already
// there is replaced whole or not at all.
#include "support/TempFolder.h"
#include "zip/ZipArchive.h"
#include "zip/ZipPacking.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct UnzipRun {
    int Status = -1;
    QByteArray Output;
};

UnzipRun Unzip(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("unzip"), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput()};
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QByteArray Random(int size) {
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

class Packing : public ::testing::Test {
protected:
    TempFolder sandbox;
    QString out = sandbox.MakeFolder(QStringLiteral("out"));
    QString archive = out + QStringLiteral("/packed.zip");

    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            GTEST_SKIP() << "unzip is not installed";
    }
    // Everything in the target folder, hidden files too, with sizes.
    QStringList OutFolder() const {
        QStringList found;
        for (const QFileInfo& info : QDir(out).entryInfoList(
                 QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
            found << info.fileName();
        return found;
    }
};

} // namespace

TEST(PackNames, SameNamesGetANumberBeforeTheirSuffix) {
    const struct {
        const char* name;
        QStringList taken;
        const char* expected;
    } cases[] = {
        {"memo.pdb", {}, "memo.pdb"},
        {"memo.pdb", {QStringLiteral("memo.pdb")}, "memo (2).pdb"},
        {"memo.pdb", {QStringLiteral("MEMO.PDB")}, "memo (2).pdb"},
        {"memo.pdb", {QStringLiteral("memo.pdb"), QStringLiteral("memo (2).pdb")}, "memo (3).pdb"},
        {"a.b.prc", {QStringLiteral("a.b.prc")}, "a.b (2).prc"},
        {"noext", {QStringLiteral("noext")}, "noext (2)"},
        {".hidden", {QStringLiteral(".hidden")}, ".hidden (2)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UniqueEntryName(QString::fromUtf8(c.name), c.taken).toStdString(), c.expected);
    }
}

TEST_F(Packing, UnzipReadsBackEveryNameAndByte) {
    const QDateTime modified(QDate(2003, 7, 14), QTime(9, 30, 12));
    const struct {
        const char* what;
        std::vector<std::pair<QString, QByteArray>> files; // path in the sandbox, content
        QStringList names;                                 // as unzip -Z1 lists them
    } cases[] = {
        {"two databases",
         {{QStringLiteral("a/MemoDB.pdb"), QByteArray(5000, 'm')},
          {QStringLiteral("a/Game.prc"), Random(70000)}},
         {QStringLiteral("MemoDB.pdb"), QStringLiteral("Game.prc")}},
        {"one name three times, in any case",
         {{QStringLiteral("b/1/memo.pdb"), "first"},
          {QStringLiteral("b/2/memo.pdb"), "second"},
          {QStringLiteral("b/3/MEMO.pdb"), "third"}},
         {QStringLiteral("memo.pdb"), QStringLiteral("memo (2).pdb"),
          QStringLiteral("MEMO (3).pdb")}},
        {"names beyond ASCII and an empty file",
         {{QStringLiteral("c/Ärger Adressen.pdb"), "x"}, {QStringLiteral("c/empty.pdb"), ""}},
         {QStringLiteral("Ärger Adressen.pdb"), QStringLiteral("empty.pdb")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList paths;
        for (const auto& [name, content] : c.files)
            paths << sandbox.Write(name, content, modified);
        const PackResult result = PackFiles(PackSourcesOf(paths), archive, true);
        ASSERT_TRUE(result.Written) << result.Error.toStdString();
        EXPECT_EQ(result.Packed, c.names);
        EXPECT_TRUE(result.Skipped.isEmpty());

        EXPECT_EQ(Unzip({QStringLiteral("-tq"), archive}).Status, 0);
        const UnzipRun listed = Unzip({QStringLiteral("-Z1"), archive});
        EXPECT_EQ(QString::fromUtf8(listed.Output).split(u'\n', Qt::SkipEmptyParts), c.names);
        for (size_t i = 0; i < c.files.size(); ++i) {
            // unzip takes the name as a pattern: brackets and such are none here.
            const UnzipRun bytes = Unzip({QStringLiteral("-p"), archive, c.names[qsizetype(i)]});
            EXPECT_EQ(bytes.Status, 0);
            EXPECT_EQ(bytes.Output, c.files[i].second) << c.names[qsizetype(i)].toStdString();
        }
        ZipArchive reader;
        ASSERT_TRUE(reader.Open(archive));
        for (const ZipEntry& entry : reader.Entries())
            EXPECT_EQ(entry.Modified, modified.toSecsSinceEpoch()) << entry.Name.toStdString();
        EXPECT_EQ(OutFolder(), QStringList{QStringLiteral("packed.zip")});
    }
    // Deflated: the repetitive memo shrinks.
    const UnzipRun verbose = Unzip({QStringLiteral("-Zl"), archive});
    EXPECT_TRUE(verbose.Output.contains("defN") || verbose.Output.contains("defX") ||
                verbose.Output.contains("defF") || verbose.Output.contains("defS"))
        << verbose.Output.toStdString();
}

TEST_F(Packing, UnreadableSourcesAreNamedWithTheirCauseAndTheRestIsPacked) {
    const QString good = sandbox.Write(QStringLiteral("in/good.pdb"), "good");
    const QString folder = sandbox.MakeFolder(QStringLiteral("in/folder.pdb"));
    const QString missing = sandbox.File(QStringLiteral("in/missing.pdb"));
    const QString big = sandbox.Write(QStringLiteral("in/big.pdb"), QByteArray(2000, 'b'));
    const struct {
        const char* what;
        QStringList paths;
        int64_t maxBytes;
        QStringList packed;
        QStringList skippedStarts; // each skipped line starts so and has a cause after it
    } cases[] = {
        {"a missing file",
         {missing, good},
         MaxPackBytes,
         {QStringLiteral("good.pdb")},
         {QStringLiteral("missing.pdb: ")}},
        {"a folder",
         {good, folder},
         MaxPackBytes,
         {QStringLiteral("good.pdb")},
         {QStringLiteral("folder.pdb: ")}},
        {"more bytes than allowed",
         {good, big},
         1000,
         {QStringLiteral("good.pdb")},
         {QStringLiteral("big.pdb: ")}},
        {"the archive itself",
         {good, archive},
         MaxPackBytes,
         {QStringLiteral("good.pdb")},
         {QStringLiteral("packed.zip: ")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(archive);
        QFile::copy(good, archive); // something there to be replaced
        const PackResult result = PackFiles(PackSourcesOf(c.paths), archive, true, {}, c.maxBytes);
        ASSERT_TRUE(result.Written) << result.Error.toStdString();
        EXPECT_EQ(result.Packed, c.packed);
        ASSERT_EQ(result.Skipped.size(), c.skippedStarts.size());
        for (qsizetype i = 0; i < c.skippedStarts.size(); ++i) {
            EXPECT_TRUE(result.Skipped[i].startsWith(c.skippedStarts[i]))
                << result.Skipped[i].toStdString();
            EXPECT_GT(result.Skipped[i].size(), c.skippedStarts[i].size() + 2);
        }
        EXPECT_EQ(Unzip({QStringLiteral("-Z1"), archive}).Output, "good.pdb\n");
        EXPECT_EQ(OutFolder(), QStringList{QStringLiteral("packed.zip")});
    }
    EXPECT_TRUE(PackFiles(PackSourcesOf({missing}), archive, true)
                    .Skipped.first()
                    .contains(QStringLiteral("No such file")));
}

TEST_F(Packing, AnArchiveIsReplacedOnlyWhenAskedAndOnlyBySuccess) {
    const QString good = sandbox.Write(QStringLiteral("in/good.pdb"), "good");
    const QString missing = sandbox.File(QStringLiteral("in/missing.pdb"));
    const QByteArray old = "the old archive";
    const struct {
        const char* what;
        QStringList paths;
        bool replace;
        bool written;
    } cases[] = {
        {"replace asked", {good}, true, true},
        {"replace not asked", {good}, false, false},
        {"nothing readable", {missing}, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(archive);
        sandbox.Write(QStringLiteral("out/packed.zip"), old);
        const PackResult result = PackFiles(PackSourcesOf(c.paths), archive, c.replace);
        EXPECT_EQ(result.Written, c.written);
        EXPECT_EQ(result.Error.isEmpty(), c.written) << result.Error.toStdString();
        if (c.written)
            EXPECT_EQ(Unzip({QStringLiteral("-p"), archive, QStringLiteral("good.pdb")}).Output,
                      "good");
        else {
            EXPECT_EQ(Read(archive), old);
            EXPECT_TRUE(result.Packed.isEmpty());
        }
        EXPECT_EQ(OutFolder(), QStringList{QStringLiteral("packed.zip")});
    }
}

TEST_F(Packing, WhatMustNotBeReplacedIsRefusedAndKept) {
    const QString good = sandbox.Write(QStringLiteral("in/good.pdb"), "good");
    const QString elsewhere = sandbox.Write(QStringLiteral("elsewhere.zip"), "kept");
    const struct {
        const char* what;
        std::function<void()> make; // puts it at out/packed.zip
    } cases[] = {
        {"a folder",
         [&] {
             QDir(out).mkdir(QStringLiteral("packed.zip"));
         }},
        {"a link",
         [&] {
             QFile::link(elsewhere, archive);
         }},
        {"a read-only file",
         [&] {
             sandbox.Write(QStringLiteral("out/packed.zip"), "kept");
             QFile::setPermissions(archive, QFile::ReadOwner | QFile::ReadGroup);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(archive).removeRecursively();
        QFile::setPermissions(archive, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(archive);
        c.make();
        const PackResult result = PackFiles(PackSourcesOf({good}), archive, true);
        EXPECT_FALSE(result.Written);
        EXPECT_TRUE(result.Error.contains(archive)) << result.Error.toStdString();
        EXPECT_EQ(Read(elsewhere), "kept");
        EXPECT_EQ(OutFolder(), QStringList{QStringLiteral("packed.zip")});
    }
}

TEST_F(Packing, ACancelLeavesNoArchiveAndTheOldOneAsItWas) {
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << sandbox.Write(QStringLiteral("in/f%1.pdb").arg(i), Random(300000));
    // Calls 1 to 3 come before each file is read, call 4 before the archive is built; the
    // ones after it come while libzip deflates.
    for (const size_t cancelOnCall : {size_t(1), size_t(3), size_t(4), size_t(5)}) {
        for (const bool existing : {false, true}) {
            SCOPED_TRACE(cancelOnCall);
            SCOPED_TRACE(existing);
            QFile::remove(archive);
            if (existing)
                sandbox.Write(QStringLiteral("out/packed.zip"), "old");
            size_t calls = 0;
            const PackResult result =
                PackFiles(PackSourcesOf(paths), archive, true, [&](size_t done, size_t total) {
                    EXPECT_EQ(total, 4u);
                    EXPECT_EQ(done, std::min(calls, size_t(3)));
                    return ++calls < cancelOnCall;
                });
            EXPECT_EQ(calls, cancelOnCall);
            EXPECT_TRUE(result.Cancelled);
            EXPECT_FALSE(result.Written);
            EXPECT_TRUE(result.Error.isEmpty());
            if (existing) {
                EXPECT_EQ(Read(archive), "old");
                EXPECT_EQ(OutFolder(), QStringList{QStringLiteral("packed.zip")});
            } else {
                EXPECT_EQ(OutFolder(), QStringList());
            }
        }
    }
}

TEST_F(Packing, ATemporaryFileOfAKilledRunGoesWithTheNextPackThere) {
    const QString good = sandbox.Write(QStringLiteral("in/good.pdb"), "good");
    // Not held by any running program: what a run killed while it wrote leaves.
    sandbox.Write(QStringLiteral("out/.brisko-abc123.part"), "half an archive");
    sandbox.Write(QStringLiteral("out/.brisko-notours"), "someone's");
    ASSERT_TRUE(PackFiles(PackSourcesOf({good}), archive, false).Written);
    EXPECT_EQ(OutFolder(),
              (QStringList{QStringLiteral(".brisko-notours"), QStringLiteral("packed.zip")}));
}
