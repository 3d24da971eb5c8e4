// Starting the install tool: the split of its parameter string, the paths a Windows tool
// gets under Wine, and real starts of recording programs.
#include "platform/ProgramLauncher.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A program that writes its arguments, one per line, to the file "args" beside it.
QString Recorder(const TempFolder& folder, const QString& name) {
    const QString path =
        folder.Write(name, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > "
                           "\"$(dirname \"$0\")/args.part\"\n"
                           "mv \"$(dirname \"$0\")/args.part\" \"$(dirname \"$0\")/args\"\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

QStringList RecordedArguments(const TempFolder& folder) {
    const QString file = folder.File(QStringLiteral("args"));
    if (!QTest::qWaitFor([&] { return QFile::exists(file); }, 10000))
        return {QStringLiteral("<nothing recorded>")};
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    lines.removeLast(); // after the last newline
    return lines;
}

class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const QByteArray& value)
        : FName(name), FOld(qgetenv(name)), FHad(qEnvironmentVariableIsSet(name)) {
        qputenv(name, value);
    }
    ~EnvironmentVariable() {
        if (FHad)
            qputenv(FName, FOld);
        else
            qunsetenv(FName);
    }

private:
    const char* FName;
    QByteArray FOld;
    bool FHad;
};

} // namespace

TEST(ProgramLauncher, ParameterStringsSplitAsTheCRuntimeSplitsThem) {
    const struct {
        const char* parameters;
        QStringList arguments;
    } cases[] = {
        {R"("/p/a b.prc" "/p/c.pdb")", {QStringLiteral("/p/a b.prc"), QStringLiteral("/p/c.pdb")}},
        {R"("/p/a b.prc /p/c.pdb")", {QStringLiteral("/p/a b.prc /p/c.pdb")}},
        {R"(  one   two	three )",
         {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}},
        {R"("C:\Palm\a.prc")", {QStringLiteral(R"(C:\Palm\a.prc)")}},
        {R"(a\\"b c")", {QStringLiteral(R"(a\b c)")}},
        {R"(a\"b)", {QStringLiteral(R"(a"b)")}},
        {R"("say ""hi""")", {QStringLiteral(R"(say "hi")")}},
        {R"("")", {QString()}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitWindowsCommandLine(QString::fromUtf8(c.parameters)), c.arguments)
            << c.parameters;
}

TEST(ProgramLauncher, WindowsToolsGetPathsOnTheWinePrefixsDrives) {
    TempFolder prefix;
    TempFolder media;
    media.Write(QStringLiteral("palm/a b.prc"), "x");
    QDir().mkpath(prefix.File(QStringLiteral("dosdevices")));
    QFile::link(media.Path(), prefix.File(QStringLiteral("dosdevices/d:")));
    QFile::link(QStringLiteral("/"), prefix.File(QStringLiteral("dosdevices/z:")));
    EnvironmentVariable winePrefix("WINEPREFIX", QFile::encodeName(prefix.Path()));

    const QString inMedia = media.File(QStringLiteral("palm/a b.prc"));
    EXPECT_EQ(PathForProgram(QStringLiteral("/w/PInstall.exe"), inMedia),
              QStringLiteral(R"(D:\palm\a b.prc)"));
    EXPECT_EQ(PathForProgram(QStringLiteral("/w/Instapp.EXE"), QStringLiteral("/var/x.pdb")),
              QStringLiteral(R"(Z:\var\x.pdb)"));
    EXPECT_EQ(PathForProgram(QStringLiteral("/usr/bin/pilot-install"), inMedia), inMedia);
}

TEST(ProgramLauncher, StartsProgramsWithTheSplitArgumentsAndWindowsToolsThroughWine) {
    TempFolder tools;
    const QString native = Recorder(tools, QStringLiteral("install-tool"));
    QString error;
    ASSERT_TRUE(StartProgram(native, QStringLiteral(R"("/p/a b.prc" "/p/c.pdb")"), &error))
        << error.toStdString();
    EXPECT_EQ(RecordedArguments(tools),
              (QStringList{QStringLiteral("/p/a b.prc"), QStringLiteral("/p/c.pdb")}));

    TempFolder wineFolder;
    Recorder(wineFolder, QStringLiteral("wine"));
    EnvironmentVariable path("PATH", QFile::encodeName(wineFolder.Path()) + ":/usr/bin:/bin");
    const QString tool = tools.Write(QStringLiteral("Instapp.exe"), "MZ");
    ASSERT_TRUE(StartProgram(tool, QStringLiteral(R"("Z:\p\a b.prc Z:\p\c.pdb")"), &error))
        << error.toStdString();
    EXPECT_EQ(RecordedArguments(wineFolder),
              (QStringList{tool, QStringLiteral(R"(Z:\p\a b.prc Z:\p\c.pdb)")}));
}

TEST(ProgramLauncher, AToolThatCannotBeStartedIsReported) {
    TempFolder tools;
    QString error;
    EXPECT_FALSE(
        StartProgram(tools.File(QStringLiteral("missing-tool")), QStringLiteral("x"), &error));
    EXPECT_TRUE(error.contains(QLatin1String("missing-tool"))) << error.toStdString();

    EnvironmentVariable path("PATH", QFile::encodeName(tools.Path()));
    const QString tool = tools.Write(QStringLiteral("PInstall.exe"), "MZ");
    error.clear();
    EXPECT_FALSE(StartProgram(tool, QStringLiteral("\"a.prc\""), &error));
    EXPECT_TRUE(error.contains(QLatin1String("Wine"))) << error.toStdString();
}
