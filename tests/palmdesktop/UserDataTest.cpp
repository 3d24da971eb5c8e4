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
struct CountingLoader : PeLibraryLoader {
    int& loads;
    int& unloads;
    CountingLoader(QStringList folders, int& loaded, int& unloaded)
        : PeLibraryLoader(std::move(folders)), loads(loaded), unloads(unloaded) {}
    Handle Load(const QString& path) override {
        const Handle handle = PeLibraryLoader::Load(path);
        loads += handle != 0;
        return handle;
    }
    void Unload(Handle library) override {
        ++unloads;
        PeLibraryLoader::Unload(library);
    }
};

const QByteArray Library =
    PeImage::Dll({UserDataFunctionNames.begin(), UserDataFunctionNames.end()});

// A program folder and a Wine prefix with a C: drive, its user.reg naming hotSync.
struct Environment {
    TempFolder program;
    TempFolder prefix;
    int loads = 0;
    int unloads = 0;
    QStringList messages;

    explicit Environment(const QByteArray& hotSync = "C:\\\\Palm\\\\HotSync.exe") {
        QDir().mkpath(prefix.File(QStringLiteral("drive_c/windows/system32")));
        QDir().mkpath(prefix.File(QStringLiteral("dosdevices")));
        QFile::link(QStringLiteral("../drive_c"), prefix.File(QStringLiteral("dosdevices/c:")));
        Name(hotSync);
    }
    void Name(const QByteArray& hotSync) const {
        if (!hotSync.isEmpty())
            prefix.Write(QStringLiteral("user.reg"),
                         "WINE REGISTRY Version 2\n[Software\\\\U.S. Robotics\\\\Pilot "
                         "Desktop\\\\Core] 1\n\"HotSyncPath\"=\"" +
                             hotSync + "\"\n");
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
};

QString Canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

// Beside the program, whatever the registry says; else in the registry's HotSync folder,
// matched without regard to case as on Windows; else by the library search, by its bare
// name. Without a usable library the message shows once; a library refused for a missing
// function is unloaded at once, a loaded one once at the end.
TEST(UserData, TheLibraryIsFoundBesideTheProgramThenThroughTheRegistryThenBySearch) {
    std::vector<std::string> lacking(UserDataFunctionNames.begin(), UserDataFunctionNames.end());
    lacking.erase(lacking.begin() + 20);
    struct Case {
        const char* file; // program/... or prefix/...; nullptr: none
        QByteArray bytes;
        QByteArray hotSync;
        bool loaded;
    };
    std::vector<Case> cases = {
        {"program/UserData.DLL", Library, "C:\\\\Palm\\\\HotSync.exe", true},
        {"prefix/drive_c/Program Files/PALM/userdata.dll", Library,
         "c:\\\\program files\\\\Palm\\\\HotSync.exe", true},
        {"prefix/drive_c/windows/system32/userdata.dll", Library, "", true},
        {nullptr, {}, "C:\\\\Palm\\\\HotSync.exe", false},
        {"program/userdata.dll", PeImage::Dll(lacking), "", false},
        {"program/userdata.dll", "MZ and nothing more", "", false},
    };
#ifdef BRISKO_MINGW_USERDATA
    QFile linked(QStringLiteral(BRISKO_MINGW_USERDATA_LACKING));
    ASSERT_TRUE(linked.open(QIODevice::ReadOnly));
    cases.push_back({"program/userdata.dll", linked.readAll(), "", false});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "none");
        Environment t(c.hotSync);
        const QString name = QString::fromLatin1(c.file);
        QString path;
        if (c.file)
            path = (name.startsWith(QLatin1String("program")) ? t.program : t.prefix)
                       .Write(name.section(u'/', 1), c.bytes);
        if (c.loaded) // where the registry would lead, had the library not been found
            t.prefix.Write(QStringLiteral("drive_c/Palm/userdata.dll"), Library);
        auto unit = t.Start();
        EXPECT_EQ(unit->UserDataLoaded(), c.loaded);
        EXPECT_EQ(t.messages,
                  c.loaded
                      ? QStringList()
                      : QStringList{QStringLiteral("udxUserData: Unable to load userdata.dll")});
        if (c.loaded) {
            EXPECT_EQ(c.hotSync.isEmpty() ? unit->LibraryPath() : Canonical(unit->LibraryPath()),
                      c.hotSync.isEmpty() ? QStringLiteral("userdata.dll") : Canonical(path));
            for (const std::uintptr_t entry : unit->EntryPoints())
                EXPECT_NE(entry, 0u);
        }
        EXPECT_EQ(t.unloads, c.loaded ? 0 : t.loads);
        unit.reset();
        EXPECT_EQ(t.unloads, t.loads);
    }
}

TEST(UserData, TheHotSyncFolderIsTheRegistryValuesFolderInThePrefixsDrives) {
    Environment t;
    QDir().mkpath(t.prefix.File(QStringLiteral("drive_c/Palm")));
    QDir().mkpath(t.prefix.File(QStringLiteral("elsewhere/Tools")));
    QFile::link(t.prefix.File(QStringLiteral("elsewhere")),
                t.prefix.File(QStringLiteral("dosdevices/d:")));
    const QString palm = Canonical(t.prefix.File(QStringLiteral("drive_c/Palm")));
    const std::pair<QByteArray, QString> cases[] = {
        {"c:/PALM/hotsync.exe", palm},
        {"C:\\\\Palm\\\\..\\\\Palm\\\\.\\\\HotSync.exe", palm},
        {"D:\\\\Tools\\\\HotSync.exe", Canonical(t.prefix.File(QStringLiteral("elsewhere/Tools")))},
        {"C:HotSync.exe", Canonical(t.prefix.File(QStringLiteral("drive_c")))},
        {"HotSync.exe", QString()},
        {"Q:\\\\Palm\\\\HotSync.exe", QString()},
        {"\\\\\\\\server\\\\share\\\\HotSync.exe", QString()},
    };
    for (const auto& [value, expected] : cases) {
        t.Name(value);
        udxUserData unit(t.program.Path(), std::make_unique<WinePrefix>(t.prefix.Path()),
                         std::make_unique<PeLibraryLoader>(QStringList()));
        const QString folder = unit.HotSyncFolder();
        EXPECT_EQ(folder.isEmpty() ? QString() : Canonical(folder), expected)
            << value.toStdString();
        EXPECT_TRUE(folder.isEmpty() || folder.endsWith(QLatin1Char('/')));
    }
}

// Without any Palm Desktop (no Wine prefix, or one that other Windows programs use, and
// no library beside the program) nothing is wrong and nothing is shown; a Palm Desktop
// half there (a HotSync entry, a library that is no Palm Desktop's) is still reported.
TEST(UserData, OnlyADesktopWithoutAnyPalmDesktopStartsWithoutTheMessage) {
    std::vector<std::string> lacking(UserDataFunctionNames.begin(), UserDataFunctionNames.end());
    lacking.pop_back();
    struct Case {
        const char* what;
        bool prefix;              // the Wine prefix folder exists
        QByteArray hotSync;       // its user.reg's HotSyncPath; empty: no user.reg; "-": other keys
        QByteArray besideProgram; // userdata.dll beside the program; empty: none
        bool missing;
    };
    const Case cases[] = {
        {"no prefix, no library", false, {}, {}, true},
        {"empty prefix", true, {}, {}, true},
        {"prefix of other programs", true, "-", {}, true},
        {"prefix naming a HotSync folder without the library",
         true,
         "C:\\\\Palm\\\\HotSync.exe",
         {},
         false},
        {"no prefix, a library lacking a function", false, {}, PeImage::Dll(lacking), false},
        {"no prefix, a file that is no library", false, {}, "MZ", false},
        {"no prefix, the whole library", false, {}, Library, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder program;
        TempFolder home;
        const QString prefix = home.File(QStringLiteral(".wine"));
        if (c.prefix)
            QDir().mkpath(prefix);
        if (c.hotSync == "-")
            home.Write(
                QStringLiteral(".wine/user.reg"),
                "WINE REGISTRY Version 2\n[Software\\\\Wine\\\\Fonts] 1\n\"LogPixels\"=\"96\"\n");
        else if (!c.hotSync.isEmpty())
            home.Write(QStringLiteral(".wine/user.reg"),
                       "WINE REGISTRY Version 2\n[Software\\\\U.S. Robotics\\\\Pilot "
                       "Desktop\\\\Core] 1\n\"HotSyncPath\"=\"" +
                           c.hotSync + "\"\n");
        if (!c.besideProgram.isEmpty())
            program.Write(QStringLiteral("userdata.dll"), c.besideProgram);
        auto wine = std::make_unique<WinePrefix>(prefix);
        auto loader = std::make_unique<PeLibraryLoader>(wine->LibrarySearchFolders());
        udxUserData unit(program.Path(), std::move(wine), std::move(loader));
        QStringList messages;
        unit.Start([&messages](const QString& text) { messages << text; });
        EXPECT_EQ(unit.PalmDesktopMissing(), c.missing);
        const bool loaded = unit.UserDataLoaded();
        EXPECT_EQ(messages.size(), c.missing || loaded ? 0 : 1);
    }
}
