// Where an installed program keeps its files, and which manual it opens.
#include "core/ProgramPaths.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The user's folders of these tests live in a temporary folder, not in the real home.
class ProgramPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
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
    QByteArray FOldConfig = qgetenv("XDG_CONFIG_HOME");
    QByteArray FOldCache = qgetenv("XDG_CACHE_HOME");
};

// As root every folder is writable: the data folder beside bin tells it is installed.
TEST_F(ProgramPathsTest, AnInstalledProgramUsesTheUserFoldersAndSeedsOnlyAMissingCatalogue) {
    const QByteArray installed("[memo]\r\nProgram=Memo Pad\r\n");
    const QByteArray own("[Mine]\r\nProgram=My program\r\n");
    const struct {
        QByteArray installed, own, expected;
    } cases[] = {{installed, {}, installed}, {installed, own, own}, {{}, {}, "<missing>"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        TempFolder root;
        const QString bin = root.MakeFolder(QStringLiteral("usr/bin"));
        const QString share = root.MakeFolder(QStringLiteral("usr/share/brisko")) + u'/';
        QDir(UserData()).removeRecursively();
        if (!c.installed.isEmpty())
            root.Write(QStringLiteral("usr/share/brisko/CreatorIDs.ini"), c.installed);
        if (!c.own.isEmpty())
            Home.Write(QStringLiteral("config/Brisko/CreatorIDs.ini"), c.own);
        const ProgramPaths paths = ProgramPaths::ForProgramFolder(bin);
        EXPECT_EQ(paths.SettingsPath(), UserData() + QStringLiteral("Brisko.ini"));
        EXPECT_EQ(paths.TempFolder, Home.File(QStringLiteral("cache/Brisko/Temp/")));
        EXPECT_EQ(paths.ManualPath(), share + QStringLiteral("manual/index.html"));
        EXPECT_EQ(ReadAll(paths.CataloguePath()), c.expected);
    }
}

TEST_F(ProgramPathsTest, TheManualIsTheOneInTheLanguageWhenThereIsOne) {
    const QString bin = Root.MakeFolder(QStringLiteral("bin"));
    Root.Write(QStringLiteral("bin/manual/index.html"), QByteArrayLiteral("<html>"));
    Root.Write(QStringLiteral("bin/manual/de/index.html"), QByteArrayLiteral("<html>"));
    const ProgramPaths paths = ProgramPaths::ForProgramFolder(bin);
    const QString english = bin + QStringLiteral("/manual/index.html");
    const QString german = bin + QStringLiteral("/manual/de/index.html");
    const std::pair<const char*, QString> cases[] = {
        {"de", german}, {"de_AT", german}, {"DE.UTF-8", german}, {"fr", english}, {"", english}};
    for (const auto& [language, manual] : cases)
        EXPECT_EQ(paths.ManualPath(QString::fromLatin1(language)), manual) << language;
}

} // namespace
