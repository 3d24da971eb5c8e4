// Where a build, a portable copy and an installed program keep their files.
#include "browser/ProgramPaths.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The user's folders of these tests live in a temporary folder, not in the real home.
class ProgramPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        FOldConfig = qgetenv("XDG_CONFIG_HOME");
        FOldCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CONFIG_HOME", Home.File(QStringLiteral("config")).toUtf8());
        qputenv("XDG_CACHE_HOME", Home.File(QStringLiteral("cache")).toUtf8());
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", FOldConfig);
        qputenv("XDG_CACHE_HOME", FOldCache);
    }
    QString UserData() const { return Home.File(QStringLiteral("config/Brisko/")); }

    TempFolder Home;
    TempFolder Root;

private:
    QByteArray FOldConfig;
    QByteArray FOldCache;
};

TEST_F(ProgramPathsTest, AWritableProgramFolderKeepsEverythingBesideTheProgram) {
    const QString bin = Root.MakeFolder(QStringLiteral("bin"));
    const ProgramPaths paths = ProgramPaths::ForProgramFolder(bin);
    EXPECT_EQ(paths.ProgramFolder, bin + QStringLiteral("/"));
    EXPECT_EQ(paths.DataFolder, paths.ProgramFolder);
    EXPECT_EQ(paths.ShareFolder, paths.ProgramFolder);
    EXPECT_EQ(paths.TempFolder, paths.ProgramFolder + QStringLiteral("Temp/"));
    EXPECT_EQ(paths.ManualPath(), paths.ProgramFolder + QStringLiteral("manual/index.html"));
    EXPECT_FALSE(QFileInfo::exists(UserData()));
}

TEST_F(ProgramPathsTest, AnInstalledProgramUsesTheUserFoldersEvenWhenItsFolderIsWritable) {
    // As root every folder is writable: the data folder beside bin tells it is installed.
    const QString bin = Root.MakeFolder(QStringLiteral("usr/bin"));
    const QString share = Root.MakeFolder(QStringLiteral("usr/share/brisko"));
    const ProgramPaths paths = ProgramPaths::ForProgramFolder(bin);
    EXPECT_EQ(paths.DataFolder, UserData());
    EXPECT_EQ(paths.SettingsPath(), UserData() + QStringLiteral("Brisko.ini"));
    EXPECT_EQ(paths.TempFolder, Home.File(QStringLiteral("cache/Brisko/Temp/")));
    EXPECT_EQ(paths.ShareFolder, share + QStringLiteral("/"));
    EXPECT_EQ(paths.LocaleFolder(), share + QStringLiteral("/locale"));
    EXPECT_EQ(paths.ManualPath(), share + QStringLiteral("/manual/index.html"));
    EXPECT_TRUE(QFileInfo(UserData()).isDir());
    EXPECT_TRUE(paths.IsFirstRun());
}

TEST_F(ProgramPathsTest, TheInstalledCatalogueSeedsAUserWithoutOne) {
    const QString bin = Root.MakeFolder(QStringLiteral("usr/bin"));
    Root.Write(QStringLiteral("usr/share/brisko/CreatorIDs.ini"),
               QByteArrayLiteral("[memo]\r\nProgram=Memo Pad\r\n"));
    const ProgramPaths paths = ProgramPaths::ForProgramFolder(bin);
    EXPECT_EQ(ReadAll(paths.CataloguePath()), QByteArrayLiteral("[memo]\r\nProgram=Memo Pad\r\n"));
}

TEST_F(ProgramPathsTest, AUsersOwnCatalogueIsNeverReplaced) {
    const QString bin = Root.MakeFolder(QStringLiteral("usr/bin"));
    Root.Write(QStringLiteral("usr/share/brisko/CreatorIDs.ini"),
               QByteArrayLiteral("[memo]\r\nProgram=Memo Pad\r\n"));
    Home.Write(QStringLiteral("config/Brisko/CreatorIDs.ini"),
               QByteArrayLiteral("[Mine]\r\nProgram=My program\r\n"));
    const ProgramPaths paths = ProgramPaths::ForProgramFolder(bin);
    EXPECT_EQ(ReadAll(paths.CataloguePath()),
              QByteArrayLiteral("[Mine]\r\nProgram=My program\r\n"));
}

TEST_F(ProgramPathsTest, AnInstalledProgramWithoutACatalogueStartsWithNone) {
    const QString bin = Root.MakeFolder(QStringLiteral("usr/bin"));
    Root.MakeFolder(QStringLiteral("usr/share/brisko"));
    const ProgramPaths paths = ProgramPaths::ForProgramFolder(bin);
    EXPECT_FALSE(QFileInfo::exists(paths.CataloguePath()));
}

TEST_F(ProgramPathsTest, TheManualIsTheOneInTheLanguageWhenThereIsOne) {
    const QString bin = Root.MakeFolder(QStringLiteral("bin"));
    Root.Write(QStringLiteral("bin/manual/index.html"), QByteArrayLiteral("<html>"));
    Root.Write(QStringLiteral("bin/manual/de/index.html"), QByteArrayLiteral("<html>"));
    const ProgramPaths paths = ProgramPaths::ForProgramFolder(bin);
    const QString english = bin + QStringLiteral("/manual/index.html");
    const QString german = bin + QStringLiteral("/manual/de/index.html");
    EXPECT_EQ(paths.ManualPath(QStringLiteral("de")), german);
    EXPECT_EQ(paths.ManualPath(QStringLiteral("de_AT")), german);
    EXPECT_EQ(paths.ManualPath(QStringLiteral("DE_de.UTF-8")), german);
    EXPECT_EQ(paths.ManualPath(QStringLiteral("en_GB")), english);
    EXPECT_EQ(paths.ManualPath(QStringLiteral("fr")), english); // no French manual
    EXPECT_EQ(paths.ManualPath(QString()), english);
}

} // namespace
