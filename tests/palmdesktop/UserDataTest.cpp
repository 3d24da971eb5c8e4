// The user data library binding on a Wine prefix made here: a user.reg naming the
// HotSync program, a C: drive, and DLLs written byte by byte.
#include "PeImage.h"
#include "palmdesktop/WinePrefix.h"
#include "palmdesktop/udxUserData.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// The real loader, counted.
class CountingLoader : public PeLibraryLoader {
public:
    CountingLoader(QStringList folders, int& loads, int& unloads)
        : PeLibraryLoader(std::move(folders)), FLoads(loads), FUnloads(unloads) {}
    Handle Load(const QString& path) override {
        const Handle handle = PeLibraryLoader::Load(path);
        FLoads += handle != 0;
        return handle;
    }
    void Unload(Handle library) override {
        ++FUnloads;
        PeLibraryLoader::Unload(library);
    }

private:
    int& FLoads;
    int& FUnloads;
};

const QByteArray Library =
    PeImage::Dll({UserDataFunctionNames.begin(), UserDataFunctionNames.end()});

QByteArray RegistryNaming(const QByteArray& hotSync) {
    return "WINE REGISTRY Version 2\n[Software\\\\U.S. Robotics\\\\Pilot Desktop\\\\Core] 1\n"
           "\"HotSyncPath\"=\"" +
           hotSync + "\"\n";
}

// A program folder and a Wine prefix with a C: drive.
struct Environment {
    TempFolder program;
    TempFolder prefix;
    int loads = 0;
    int unloads = 0;
    QStringList messages;

    Environment() {
        QDir().mkpath(prefix.File(QStringLiteral("drive_c/windows/system32")));
        QDir().mkpath(prefix.File(QStringLiteral("dosdevices")));
        QFile::link(QStringLiteral("../drive_c"), prefix.File(QStringLiteral("dosdevices/c:")));
    }
    std::unique_ptr<udxUserData> Start() {
        auto wine = std::make_unique<WinePrefix>(prefix.Path());
        auto loader =
            std::make_unique<CountingLoader>(wine->LibrarySearchFolders(), loads, unloads);
        auto unit =
            std::make_unique<udxUserData>(program.Path(), std::move(wine), std::move(loader));
        unit->Start([this](const QString& text) { messages << text; });
        return unit;
    }
    QString Canonical(const QString& path) const { return QFileInfo(path).canonicalFilePath(); }
};

} // namespace

// Beside the program, whatever the registry says; else in the registry's HotSync folder,
// matched without regard to case as on Windows; else by the library search.
TEST(UserData, TheLibraryIsFoundBesideTheProgramThenThroughTheRegistryThenBySearch) {
    struct Case {
        const char* file; // where the library lies: program/... or prefix/...
        QByteArray hotSync;
    };
    const Case cases[] = {
        {"program/UserData.DLL", "C:\\\\Palm\\\\HotSync.exe"},
        {"prefix/drive_c/Program Files/PALM/userdata.dll",
         "c:\\\\program files\\\\Palm\\\\HotSync.exe"},
        {"prefix/drive_c/windows/system32/userdata.dll", ""},
    };
    for (const Case& c : cases) {
        Environment t;
        const QString file = QString::fromLatin1(c.file);
        const QString path = (file.startsWith(QLatin1String("program")) ? t.program : t.prefix)
                                 .Write(file.section(QLatin1Char('/'), 1), Library);
        t.prefix.Write(QStringLiteral("drive_c/Palm/userdata.dll"), Library);
        if (!c.hotSync.isEmpty())
            t.prefix.Write(QStringLiteral("user.reg"), RegistryNaming(c.hotSync));
        auto unit = t.Start();
        EXPECT_TRUE(unit->UserDataLoaded()) << c.file;
        // Found by the search, the library is known by its bare name.
        EXPECT_EQ(c.hotSync.isEmpty() ? unit->LibraryPath() : t.Canonical(unit->LibraryPath()),
                  c.hotSync.isEmpty() ? QStringLiteral("userdata.dll") : t.Canonical(path))
            << c.file;
        EXPECT_TRUE(t.messages.isEmpty()) << c.file;
        for (const std::uintptr_t entry : unit->EntryPoints())
            EXPECT_NE(entry, 0u) << c.file;
        unit.reset();
        EXPECT_EQ(t.unloads, 1) << c.file << ": unloaded once, at the end";
    }
}

TEST(UserData, WithoutAUsableLibraryTheMessageShowsOnceAndNothingIsUnloaded) {
    std::vector<std::string> lacking(UserDataFunctionNames.begin(), UserDataFunctionNames.end());
    lacking.erase(lacking.begin() + 20);
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"nothing anywhere", {}},
        {"a library that lacks a function", PeImage::Dll(lacking)},
        {"a file that is no library", "MZ and nothing more"},
#ifdef BRISKO_MINGW_USERDATA
        {"a linked library that lacks a function",
         [] {
             QFile file(QStringLiteral(BRISKO_MINGW_USERDATA_LACKING));
             return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
         }()},
#endif
    };
    for (const auto& [what, bytes] : cases) {
        Environment t;
        if (!bytes.isEmpty())
            t.program.Write(QStringLiteral("userdata.dll"), bytes);
        t.prefix.Write(QStringLiteral("user.reg"), RegistryNaming("C:\\\\Palm\\\\HotSync.exe"));
        auto unit = t.Start();
        EXPECT_FALSE(unit->UserDataLoaded()) << what;
        EXPECT_EQ(t.messages,
                  QStringList{QStringLiteral("udxUserData: Unable to load userdata.dll")})
            << what;
        unit.reset();
        // A library refused for a missing function goes at once; nothing more at the end.
        EXPECT_EQ(t.unloads, t.loads) << what;
    }
}

TEST(UserData, TheHotSyncFolderIsTheRegistryValuesFolderInThePrefixsDrives) {
    Environment t;
    QDir().mkpath(t.prefix.File(QStringLiteral("drive_c/Palm")));
    QDir().mkpath(t.prefix.File(QStringLiteral("elsewhere/Tools")));
    QFile::link(t.prefix.File(QStringLiteral("elsewhere")),
                t.prefix.File(QStringLiteral("dosdevices/d:")));
    const QString palm = t.Canonical(t.prefix.File(QStringLiteral("drive_c/Palm")));
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {"C:\\\\Palm\\\\HotSync.exe", palm},
        {"c:/PALM/hotsync.exe", palm},
        {"C:\\\\Palm\\\\..\\\\Palm\\\\.\\\\HotSync.exe", palm},
        {"D:\\\\Tools\\\\HotSync.exe",
         t.Canonical(t.prefix.File(QStringLiteral("elsewhere/Tools")))},
        {"C:HotSync.exe", t.Canonical(t.prefix.File(QStringLiteral("drive_c")))},
        {"HotSync.exe", QString()},
        {"Q:\\\\Palm\\\\HotSync.exe", QString()},
        {"\\\\\\\\server\\\\share\\\\HotSync.exe", QString()},
    };
    for (const auto& [value, expected] : cases) {
        t.prefix.Write(QStringLiteral("user.reg"), RegistryNaming(value));
        udxUserData unit(t.program.Path(), std::make_unique<WinePrefix>(t.prefix.Path()),
                         std::make_unique<PeLibraryLoader>(QStringList()));
        const QString folder = unit.HotSyncFolder();
        EXPECT_EQ(folder.isEmpty() ? QString() : t.Canonical(folder), expected)
            << value.toStdString();
        EXPECT_TRUE(folder.isEmpty() || folder.endsWith(QLatin1Char('/')));
    }
}
