#include "core/BrowserSettings.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

IniFile FromText(const QByteArray& text) {
    IniFile ini;
    ini.FromBytes(text);
    return ini;
}

// "a b c" -> {"a", "b", "c"}
QStringList Words(const char* words) {
    return QString::fromLatin1(words).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

TEST(BrowserSettings, EveryKeyIsWrittenInItsPlaceAndReadsBackAsItWas) {
    BrowserSettings defaults; // the first run
    defaults.Language = QStringLiteral("de");
    EXPECT_EQ(ReadSettings(IniFile(), QStringLiteral("de")), defaults);

    BrowserSettings s;
    s.StartPath = QStringLiteral(" /home/u/palm backup ");
    s.Language = QStringLiteral("pt_BR");
    s.InstallTool = QStringLiteral("\"C:\\Palm\\Instapp.exe\"");
    s.RememberLastDirectory = s.FileInfoDBVisible = s.ShowZIP = false;
    s.MainWindowWidth = 800;
    s.MainWindowX = -4;
    s.FoldersWidth = 0;
    s.MainListView = {300, -1, 0, 121, 90};
    s.DBListView = {81, 71};
    s.Favorites = Words("/a /b /a");
    s.ExportFolder = QStringLiteral("/home/u/Palm export");
    s.ExportFormat = QStringLiteral("csv");
    s.ExportEncoding = QStringLiteral("Shift_JIS");
    s.ExportIncludeDeleted = true;
    int next = 1;
    for (const LayoutSection& section : LayoutSections) {
        PanelLayout l;
        l.Visible = next % 2 == 0;
        l.DockedTo = next % 3 == 0 ? QStringLiteral("+") : QStringLiteral("Left");
        l.LastDock = QStringLiteral("Bottom");
        l.DockRow = next++;
        l.FloatTop = next++;
        s.Layout[section.Name] = l;
    }
    IniFile written;
    WriteSettings(written, s);
    const IniFile saved = FromText(written.ToBytes());
    EXPECT_EQ(ReadSettings(saved, QStringLiteral("en")), s);

    EXPECT_EQ(saved.SectionNames(),
              Words("Brisko TBXTBMainMenu tbxtbMain tbxtwSystemComboBox "
                    "TBXdpFolders tbxdpGeneral tbxdpDBInfo tbxdpFlags tbxdpContents "
                    "MainListView DBListView Favorites Export"));
    EXPECT_EQ(saved.KeyNames(QStringLiteral("Brisko")),
              Words("StartPath Language InstallTool RememberLastDirectory TreeViewVisible "
                    "FileInfoGeneralVisible FileInfoDBVisible FileInfoFlagsVisible "
                    "FileInfoContentsVisible DatabaseColumnVisible ShowPRC "
                    "ShowPDB ShowZIP MainWindowWidth MainWindowHeight MainWindowX MainWindowY "
                    "FoldersWidth"));
    EXPECT_EQ(saved.KeyNames(QStringLiteral("MainListView")), Words("col0 col1 col2 col3 col4"));
    EXPECT_EQ(saved.KeyNames(QStringLiteral("DBListView")), Words("col0 col1"));
    EXPECT_EQ(saved.KeyNames(QStringLiteral("Export")),
              Words("Folder Format Encoding IncludeDeleted"));
    const QStringList common = Words("Rev Visible DockedTo LastDock DockRow DockPos FloatLeft "
                                     "FloatTop");
    const std::map<LayoutKind, QStringList> extra{
        {LayoutKind::Toolbar, Words("FloatRightX")},
        {LayoutKind::ToolWindow, Words("ClientWidth ClientHeight")},
        {LayoutKind::DockablePanel, Words("DPDockedWidth DPDockedHeight DPFloatingWidth "
                                          "DPFloatingHeight DPSplitWidth DPSplitHeight")}};
    for (const LayoutSection& section : LayoutSections) {
        EXPECT_EQ(saved.KeyNames(section.Name), common + extra.at(section.Kind))
            << section.Name.data();
        EXPECT_EQ(saved.ReadInteger(section.Name, QStringLiteral("Rev"), 0), 2000);
    }
}

TEST(BrowserSettings, EachKeyIsReadIntoItsOwnField) {
    const std::pair<const char*, bool BrowserSettings::*> keys[] = {
        {"RememberLastDirectory", &BrowserSettings::RememberLastDirectory},
        {"TreeViewVisible", &BrowserSettings::TreeViewVisible},
        {"FileInfoGeneralVisible", &BrowserSettings::FileInfoGeneralVisible},
        {"FileInfoDBVisible", &BrowserSettings::FileInfoDBVisible},
        {"FileInfoFlagsVisible", &BrowserSettings::FileInfoFlagsVisible},
        {"FileInfoContentsVisible", &BrowserSettings::FileInfoContentsVisible},
        {"DatabaseColumnVisible", &BrowserSettings::DatabaseColumnVisible},
        {"ShowPRC", &BrowserSettings::ShowPRC},
        {"ShowPDB", &BrowserSettings::ShowPDB},
        {"ShowZIP", &BrowserSettings::ShowZIP}};
    for (const auto& [key, field] : keys) {
        BrowserSettings expected;
        expected.*field = false;
        const QByteArray file = "[Brisko]\n" + QByteArray(key) + "=0\n";
        EXPECT_EQ(ReadSettings(FromText(file), QString()), expected) << key;
    }

    // Key n of each section holds n.
    QByteArray file;
    int n = 0;
    for (const char* section : {"Brisko", "tbxtbMain", "tbxtwSystemComboBox", "tbxdpFlags"}) {
        file += "[" + QByteArray(section) + "]\nRev=2000\n";
        for (const QString& key :
             Words("MainWindowWidth MainWindowHeight MainWindowX MainWindowY FoldersWidth DockRow "
                   "DockPos FloatLeft FloatTop FloatRightX ClientWidth ClientHeight DPDockedWidth "
                   "DPDockedHeight DPFloatingWidth DPFloatingHeight DPSplitWidth DPSplitHeight"))
            file += key.toLatin1() + "=" + QByteArray::number(++n) + "\n";
    }
    const BrowserSettings s = ReadSettings(FromText(file), QString());
    const PanelLayout& bar = s.Layout.at(QStringLiteral("tbxtbMain"));
    const PanelLayout& tool = s.Layout.at(QStringLiteral("tbxtwSystemComboBox"));
    const PanelLayout& panel = s.Layout.at(QStringLiteral("tbxdpFlags"));
    EXPECT_EQ(
        (std::vector<int>{s.MainWindowWidth, s.MainWindowHeight, s.MainWindowX, s.MainWindowY,
                          s.FoldersWidth, bar.DockRow, bar.DockPos, bar.FloatLeft, bar.FloatTop,
                          bar.FloatRightX, tool.ClientWidth, tool.ClientHeight, panel.DPDockedWidth,
                          panel.DPDockedHeight, panel.DPFloatingWidth, panel.DPFloatingHeight,
                          panel.DPSplitWidth, panel.DPSplitHeight}),
        (std::vector<int>{1, 2, 3, 4, 5, 24, 25, 26, 27, 28, 47, 48, 67, 68, 69, 70, 71, 72}));
}

TEST(BrowserSettings, ValuesThatAreNoIntFieldOrNoLayoutOfThisFormatTakeTheDefault) {
    // Each file is read and the record written again: the written value is what was held.
    const std::array<const char*, 4> cases[] = {
        {"[Brisko]\nMainWindowX=3000000000", "Brisko", "MainWindowX", "-1"},
        {"[TBXDPFLAGS]\nRev=0x7D0\nDockRow=3", "tbxdpFlags", "DockRow", "3"},
        {"[tbxdpFlags]\nRev=1999\nDockRow=3", "tbxdpFlags", "DockRow", "0"},
        {"[tbxdpFlags]\nDockRow=3", "tbxdpFlags", "DockRow", "0"},
    };
    for (const auto& [file, section, key, expected] : cases) {
        IniFile written;
        WriteSettings(written, ReadSettings(FromText(file), QString()));
        EXPECT_EQ(
            written.ReadString(QString::fromLatin1(section), QString::fromLatin1(key), QString()),
            QLatin1StringView(expected))
            << file;
    }
    EXPECT_TRUE(
        ReadSettings(FromText("[tbxdpFlags]\nRev=new\nDockRow=3"), QString()).Layout.empty());
}

TEST(BrowserSettings, FavoritesEndAtTheFirstMissingNumberAndOnlyStaleReadKeysGo) {
    EXPECT_EQ(ReadSettings(FromText("[Favorites]\n1=/b\n0=/a\n3=/d\n"), QString()).Favorites,
              Words("/a /b"));
    const struct {
        const char* file;
        const char* favorites;
        bool sectionAfter;
        const char* keysAfter; // "key=value", in file order
    } cases[] = {
        {"[Favorites]\n0=/a\n1=/b\nLabel=x\n2=/c\n5=/f\n99999999999999999999=/g\n"
         "[favorites]\n2=keep\n",
         "/z", true, "0=/z Label=x 5=/f 99999999999999999999=/g"},
        // Keys after a gap were never read: they stay, also when the list grows into them.
        {"[Favorites]\n0=/a\n1=/b\n2=/c\n4=/e\n", "/a /c", true, "0=/a 1=/c 4=/e"},
        {"[Favorites]\n0=/a\n1=/b\n3=/d\n7=/h\n03=/o\n", "/a /b /c /x", true,
         "0=/a 1=/b 03=/o 5=/d 9=/h 2=/c 3=/x"},
        {"[Favorites]\n0=/a\n1=/b\n", "/x /y /z", true, "0=/x 1=/y 2=/z"},
        {"[Favorites]\n0=/a\n", "", true, ""},
        {"[Brisko]\nStartPath=/s\n", "", false, ""},
    };
    const QString section = QStringLiteral("Favorites");
    for (const auto& c : cases) {
        // Numbered keys of other sections, and of a second section of the same name, are
        // no favourites.
        IniFile ini = FromText(QByteArray(c.file) + "[Other]\n2=keep\n");
        BrowserSettings s;
        s.Favorites = Words(c.favorites);
        WriteSettings(ini, s);
        EXPECT_EQ(ini.SectionExists(section), c.sectionAfter) << c.file;
        QStringList keys;
        for (const QString& key : ini.KeyNames(section))
            keys << key + u'=' + ini.ReadString(section, key, QString());
        EXPECT_EQ(keys, Words(c.keysAfter)) << c.file;
        EXPECT_EQ(ReadSettings(ini, QString()).Favorites, s.Favorites) << c.file;
        EXPECT_EQ(ini.ToBytes().count("2=keep"), QByteArray(c.file).count("2=keep") + 1) << c.file;
    }
}

TEST(BrowserSettings, StartPathToWriteFollowsTheTreeOnlyWhenRememberingAndOneIsSelected) {
    BrowserSettings s;
    s.StartPath = QStringLiteral("/held");
    EXPECT_EQ(StartPathToWrite(s, QStringLiteral("/tree")), QStringLiteral("/tree"));
    EXPECT_EQ(StartPathToWrite(s, QString()), QStringLiteral("/held"));
    s.RememberLastDirectory = false;
    EXPECT_EQ(StartPathToWrite(s, QStringLiteral("/tree")), QStringLiteral("/held"));
}
