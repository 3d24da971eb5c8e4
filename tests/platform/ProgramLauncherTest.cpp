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
void WriteRecorder(const TempFolder& folder, const QString& name) {
    const QString path = folder.Write(
        name,
        "#!/bin/sh\ncd \"${0%/*}\" && printf '%s\\n' \"$@\" >args.part && mv args.part args\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

QStringList RecordedArguments(const TempFolder& folder) {
    QFile file(folder.File(QStringLiteral("args")));
    if (!QTest::qWaitFor([&] { return file.exists(); }, 10000) || !file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<nothing recorded>")};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

struct ScopedEnvironment {
    const char* name;
    QByteArray old = qgetenv(name);
    bool had = qEnvironmentVariableIsSet(name);
    ScopedEnvironment(const char* variable, const QByteArray& value) : name(variable) {
        qputenv(name, value);
    }
    ~ScopedEnvironment() { had ? void(qputenv(name, old)) : void(qunsetenv(name)); }
};

} // namespace

TEST(ProgramLauncher, ParameterStringsSplitAsTheCRuntimeSplitsThem) {
    const std::pair<const char*, QStringList> cases[] = {
        {"  \"/p/a b.prc\"\t /p/c.pdb ",
         {QStringLiteral("/p/a b.prc"), QStringLiteral("/p/c.pdb")}},
        {R"("C:\Palm\a b.prc")", {QStringLiteral(R"(C:\Palm\a b.prc)")}},
        {R"(a\\"b c")", {QStringLiteral(R"(a\b c)")}},
        {R"(a\"b)", {QStringLiteral(R"(a"b)")}},
        {R"("say ""hi""")", {QStringLiteral(R"(say "hi")")}},
        {R"("")", {QString()}},
        {"", {}},
    };
    for (const auto& [parameters, arguments] : cases)
        EXPECT_EQ(SplitWindowsCommandLine(QString::fromUtf8(parameters)), arguments) << parameters;
}

TEST(ProgramLauncher, WindowsToolsGetPathsOnTheWinePrefixsDeepestDrive) {
    TempFolder prefix;
    TempFolder media;
    const QString inMedia = media.Write(QStringLiteral("palm/a b.prc"), "x");
    QDir().mkpath(prefix.File(QStringLiteral("dosdevices")));
    QFile::link(media.Path(), prefix.File(QStringLiteral("dosdevices/d:")));
    QFile::link(QStringLiteral("/"), prefix.File(QStringLiteral("dosdevices/z:")));
    ScopedEnvironment winePrefix("WINEPREFIX", QFile::encodeName(prefix.Path()));

    EXPECT_EQ(PathForProgram(QStringLiteral("/w/PInstall.exe"), inMedia),
              QStringLiteral(R"(D:\palm\a b.prc)"));
    EXPECT_EQ(PathForProgram(QStringLiteral("/w/Instapp.EXE"), QStringLiteral("/var/x.pdb")),
              QStringLiteral(R"(Z:\var\x.pdb)"));
    EXPECT_EQ(PathForProgram(QStringLiteral("/usr/bin/pilot-install"), inMedia), inMedia);
}

TEST(ProgramLauncher, StartsToolsWithTheSplitArgumentsWindowsToolsThroughWineOrSaysWhyNot) {
    TempFolder tools;
    WriteRecorder(tools, QStringLiteral("install-tool"));
    QString error;
    ASSERT_TRUE(StartProgram(tools.File(QStringLiteral("install-tool")),
                             QStringLiteral(R"("/p/a b.prc" /p/c.pdb)"), &error))
        << error.toStdString();
    EXPECT_EQ(RecordedArguments(tools),
              (QStringList{QStringLiteral("/p/a b.prc"), QStringLiteral("/p/c.pdb")}));
    EXPECT_FALSE(
        StartProgram(tools.File(QStringLiteral("missing-tool")), QStringLiteral("x"), &error));
    EXPECT_TRUE(error.contains(QLatin1String("missing-tool"))) << error.toStdString();

    TempFolder wineFolder;
    const QString tool = tools.Write(QStringLiteral("Instapp.exe"), "MZ");
    ScopedEnvironment path("PATH", QFile::encodeName(wineFolder.Path()));
    EXPECT_FALSE(StartProgram(tool, QStringLiteral("a.prc"), &error));
    EXPECT_TRUE(error.contains(QLatin1String("Wine"))) << error.toStdString();
    WriteRecorder(wineFolder, QStringLiteral("wine"));
    qputenv("PATH", QFile::encodeName(wineFolder.Path()) + ":/usr/bin:/bin");
    ASSERT_TRUE(StartProgram(tool, QStringLiteral(R"("Z:\p\a b.prc")"), &error))
        << error.toStdString();
    EXPECT_EQ(RecordedArguments(wineFolder),
              (QStringList{tool, QStringLiteral(R"(Z:\p\a b.prc)")}));
}
