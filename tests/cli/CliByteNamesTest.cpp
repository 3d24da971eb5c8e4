// brisko-cli on a file whose name is not UTF-8, given as the shell gives it: raw bytes.
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QProcess>
#include <fcntl.h>
#include <gtest/gtest.h>
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
