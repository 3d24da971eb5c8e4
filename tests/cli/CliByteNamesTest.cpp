// brisko-cli on a file whose name is not UTF-8, given as the shell gives it: raw bytes.
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <QFile>
#include <QProcess>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Result {
    int status = -1;
    QByteArray out, err;
};

// brisko-cli started by the shell, so that its arguments are the bytes given here.
Result RunCli(const QList<QByteArray>& arguments) {
    QByteArray script = "exec \"$0\"";
    for (const QByteArray& argument : arguments) {
        QByteArray octal; // printf's escapes carry any byte through the shell
        for (const char c : argument)
            octal += "\\" + QByteArray::number(uchar(c), 8).rightJustified(3, '0');
        script += " \"$(printf '" + octal + "')\"";
    }
    QProcess process;
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QString::fromUtf8(script), QStringLiteral(BRISKO_CLI)});
    Result result;
    if (!process.waitForFinished(30000))
        return result;
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace

TEST(CliByteNames, InfoAndListReadALatin1NamedFileAndShowItsText) {
    TempFolder dir;
    const QByteArray folder = QFile::encodeName(dir.Path());
    const QByteArray latin1 = folder + "/Adre\xDF"
                                       "buch.pdb";
    PalmFileBuilder b;
    b.name = "Addresses";
    b.type = "DATA";
    b.creator = "addr";
    const QByteArray bytes = b.Bytes();
    const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(fd);

    const Result info = RunCli({"info", latin1});
    EXPECT_EQ(info.status, 0) << info.err.constData();
    const QByteArray shownFile = "File: " + folder +
                                 "/Adre\xC3\x9F"
                                 "buch.pdb\n";
    EXPECT_TRUE(info.out.contains(shownFile)) << info.out.constData();
    EXPECT_TRUE(info.out.contains("Creator: addr\n")) << info.out.constData();

    const Result json = RunCli({"info", "--json", latin1});
    EXPECT_EQ(json.status, 0) << json.err.constData();
    EXPECT_TRUE(json.out.contains("\"creator\": \"addr\"")) << json.out.constData();

    const Result list = RunCli({"list", folder});
    EXPECT_EQ(list.status, 0) << list.err.constData();
    EXPECT_TRUE(list.out.startsWith("Adre\xC3\x9F"
                                    "buch.pdb\taddr\t78\t"))
        << list.out.constData();
}

TEST(CliByteNames, ContentsExtractAndCheckReachALatin1NamedFileAndFolder) {
    TempFolder dir;
    const QByteArray folder = QFile::encodeName(dir.Path()) + "/Sicherung \xE4";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const QByteArray latin1 = folder + "/Notiz\xE9.pdb";
    PalmFileBuilder b;
    b.name = "Notes";
    b.recordOffsets = {88};
    b.recordInfo = {0x00000007};
    b.tail = QByteArray(2, '\0') + "note";
    const QByteArray bytes = b.Bytes();
    const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(fd);

    const Result contents = RunCli({"contents", latin1});
    EXPECT_EQ(contents.status, 0) << contents.err.constData();
    EXPECT_TRUE(contents.out.contains("0\t88\t4\t-\t0\t0x000007\n")) << contents.out.constData();

    const Result extract = RunCli({"extract", latin1, "--to", folder});
    EXPECT_EQ(extract.status, 0) << extract.err.constData();
    // By its bytes: QFile cannot reach a name that is not UTF-8.
    const QByteArray written = folder + "/record-0000-000007.bin";
    const int in = ::open(written.constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(in, 0) << extract.out.constData();
    char note[16] = {};
    EXPECT_EQ(::read(in, note, sizeof note), 4);
    ::close(in);
    EXPECT_STREQ(note, "note");

    const Result check = RunCli({"check", "--recursive", QFile::encodeName(dir.Path())});
    EXPECT_EQ(check.status, 0) << check.out.constData() << check.err.constData();
    EXPECT_TRUE(check.out.contains("1 file(s) checked, 0 damaged or suspicious.\n"))
        << check.out.constData();
}

TEST(CliByteNames, ExportAndPackTakeTheLatin1NamedFilesOfAFolder) {
    TempFolder dir;
    const QByteArray folder = QFile::encodeName(dir.Path()) + "/Sicherung \xE4";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const QByteArray latin1 = folder + "/Notiz\xE9.pdb";
    const QByteArray bytes =
        RecordDatabase("MemoDB", "DATA", "memo", {QByteArray("Hallo", 6)}).Bytes();
    const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(fd);

    const QByteArray out = QFile::encodeName(dir.Path()) + "/out";
    const Result exported = RunCli({"export", folder, "--to", out});
    EXPECT_EQ(exported.status, 0) << exported.err.constData();
    EXPECT_TRUE(exported.out.contains("1 file(s) written, 0 skipped.")) << exported.out.constData();

    const Result packed = RunCli({"pack", folder, "--to", out + "/all.zip"});
    EXPECT_EQ(packed.status, 0) << packed.err.constData();
    EXPECT_EQ(EntryNamesOf(QFile::decodeName(out + "/all.zip")),
              QStringList{QString::fromUtf8("Notiz\xC3\xA9.pdb")})
        << packed.out.constData();
}
