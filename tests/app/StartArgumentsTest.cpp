// The window program's command line: read before any display is needed.
#include "app/StartArguments.h"

#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QStringList Arguments(std::initializer_list<QString> rest) {
    QStringList arguments{QStringLiteral("/usr/bin/brisko")};
    arguments << rest;
    return arguments;
}

} // namespace

TEST(StartArguments, PathsChooseWhatIsListedAndQtsOptionsArePassedOver) {
    TempFolder files;
    const QString palm = files.Write(QStringLiteral("Memo.PDB"), "x");
    const QString zip = files.Write(QStringLiteral("Backup.ZIP"), "x");
    const QString text = files.Write(QStringLiteral("notes.txt"), "x");
    const QString sub = files.MakeFolder(QStringLiteral("-dash"));
    const QString folder = QDir(files.Path()).absolutePath();
    using A = StartArguments::Action;
    struct Case {
        QStringList arguments;
        A action;
        QString folder, archive, file;
    };
    const Case cases[] = {
        {Arguments({}), A::Run, {}, {}, {}},
        {Arguments({files.Path()}), A::Run, folder, {}, {}},
        {Arguments({palm}), A::Run, folder, {}, QStringLiteral("Memo.PDB")},
        {Arguments({zip}), A::Run, folder, QDir(zip).absolutePath(), {}},
        {Arguments({QStringLiteral("-platform"), QStringLiteral("xcb"), files.Path()}),
         A::Run,
         folder,
         {},
         {}},
        {Arguments({QStringLiteral("-style=fusion"), QStringLiteral("--reverse"), palm}),
         A::Run,
         folder,
         {},
         QStringLiteral("Memo.PDB")},
        {Arguments({QStringLiteral("--"), sub}), A::Run, QDir(sub).absolutePath(), {}, {}},
        {Arguments({text}), A::Fail, {}, {}, {}},
        {Arguments({QStringLiteral("/nonexistent")}), A::Fail, {}, {}, {}},
        {Arguments({QStringLiteral("--no-such-option")}), A::Fail, {}, {}, {}},
        {Arguments({QStringLiteral("--help")}), A::ShowText, {}, {}, {}},
        {Arguments({QStringLiteral("-h"), QStringLiteral("/nonexistent")}),
         A::ShowText,
         {},
         {},
         {}},
        {Arguments({QStringLiteral("--version")}), A::ShowText, {}, {}, {}},
        {Arguments({QStringLiteral("--help-all")}), A::ShowText, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const StartArguments start = ParseStartArguments(c.arguments);
        EXPECT_EQ(start.What, c.action) << start.Text.toStdString();
        EXPECT_EQ(start.Folder, c.folder);
        EXPECT_EQ(start.Archive, c.archive);
        EXPECT_EQ(start.File, c.file);
        EXPECT_EQ(start.Text.isEmpty(), c.action == A::Run);
    }
}

// In a terminal without a display (an ssh session) help, version and a wrong path are
// answered, and nothing tries to reach a window system.
TEST(StartArguments, TheProgramAnswersWithoutADisplay) {
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {{QStringLiteral("--help")}, 0, "ARCHIVE.zip", ""},
        {{QStringLiteral("--version")}, 0, "Brisko " BRISKO_VERSION "\n", ""},
        {{QStringLiteral("--help-all")}, 0, "-platform <value>", ""},
        {{QStringLiteral("/nonexistent")},
         2,
         "",
         "/nonexistent: no such folder, ZIP archive or Palm file"},
        {{QStringLiteral("--bogus")}, 2, "", "--help"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(BRISKO_PROGRAM), c.arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << err.toStdString();
        EXPECT_EQ(program.exitCode(), c.exitCode) << err.toStdString();
        EXPECT_TRUE(out.contains(QString::fromUtf8(c.out))) << out.toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.err))) << err.toStdString();
        EXPECT_FALSE(err.contains(QLatin1String("display"), Qt::CaseInsensitive))
            << err.toStdString();
    }
}
