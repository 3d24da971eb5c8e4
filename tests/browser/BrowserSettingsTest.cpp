#include "browser/BrowserSettings.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <tuple>
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

TEST(BrowserSettings, FirstRunWritesEveryKeyButNoFavorites) {
    TempFolder dir;
    IniFile ini(dir.File(QStringLiteral("Brisko.ini")));
    ASSERT_TRUE(ini.Load());
    BrowserSettings defaults;
    defaults.Language = QStringLiteral("de");
    EXPECT_EQ(ReadSettings(ini, QStringLiteral("de")), defaults);

    WriteSettings(ini, defaults);
    ini.Save();
    IniFile saved(ini.Path());
    ASSERT_TRUE(saved.Load());
    EXPECT_EQ(saved.SectionNames(), Words("Brisko TBXTBMainMenu tbxtbMain tbxtwSystemComboBox "
                                          "TBXdpFolders tbxdpGeneral tbxdpDBInfo tbxdpFlags "
                                          "MainListView DBListView"));
    const QStringList keys = Words(
        "StartPath Language InstallTool RememberLastDirectory TreeViewVisible "
        "FileInfoGeneralVisible FileInfoDBVisible FileInfoFlagsVisible ShowPRC ShowPDB ShowZIP "
        "MainWindowWidth MainWindowHeight MainWindowX MainWindowY FoldersWidth");
    const QStringList values = Words("- de - 1 1 1 1 1 1 1 1 -1 -1 -1 -1 -1");
    ASSERT_EQ(saved.KeyNames(QStringLiteral("Brisko")), keys);
    for (qsizetype i = 0; i < keys.size(); ++i)
        EXPECT_EQ(saved.ReadString(QStringLiteral("Brisko"), keys[i], QStringLiteral("-")),
                  values[i] == QStringLiteral("-") ? QString() : values[i])
            << keys[i].toStdString();
    EXPECT_EQ(saved.KeyNames(QStringLiteral("MainListView")), Words("col0 col1 col2 col3"));
    EXPECT_EQ(saved.KeyNames(QStringLiteral("DBListView")), Words("col0 col1"));

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

TEST(BrowserSettings, ValuesThatAreNoIntegerTakeTheDefault) {
    // Each file is read and the record written again: the written value is what was held.
    const std::array<const char*, 4> cases[] = {
        {"[Brisko]\nMainWindowX=-4", "Brisko", "MainWindowX", "-4"},
        {"[Brisko]\nMainWindowX=0x20", "Brisko", "MainWindowX", "32"},
        {"[Brisko]\nMainWindowX=$20", "Brisko", "MainWindowX", "32"},
        {"[Brisko]\nMainWindowX=12px", "Brisko", "MainWindowX", "-1"},
        {"[Brisko]\nMainWindowX=", "Brisko", "MainWindowX", "-1"},
        {"[Brisko]\nMainWindowX=3000000000", "Brisko", "MainWindowX", "-1"},
        {"[Brisko]\nShowPDB=yes", "Brisko", "ShowPDB", "1"},
        {"[Brisko]\nShowPDB=0", "Brisko", "ShowPDB", "0"},
        {"[Brisko]\nShowPDB=2", "Brisko", "ShowPDB", "1"},
        {"[MainListView]\ncol2=-1", "MainListView", "col2", "-1"},
        {"[MainListView]\ncol3=$10", "MainListView", "col3", "16"},
        {"[tbxdpFlags]\nRev=2000\nDockRow=3", "tbxdpFlags", "DockRow", "3"},
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

TEST(BrowserSettings, EachKeyHasItsOwnField) {
    const std::pair<const char*, bool BrowserSettings::*> keys[] = {
        {"RememberLastDirectory", &BrowserSettings::RememberLastDirectory},
        {"TreeViewVisible", &BrowserSettings::TreeViewVisible},
        {"FileInfoGeneralVisible", &BrowserSettings::FileInfoGeneralVisible},
        {"FileInfoDBVisible", &BrowserSettings::FileInfoDBVisible},
        {"FileInfoFlagsVisible", &BrowserSettings::FileInfoFlagsVisible},
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

TEST(BrowserSettings, FavoritesEndAtTheFirstMissingNumberAndStaleKeysGo) {
    EXPECT_EQ(ReadSettings(FromText("[Favorites]\n1=/b\n0=/a\n3=/d\n"), QString()).Favorites,
              Words("/a /b"));

    struct Case {
        const char* file;
        const char* favorites;
        bool sectionAfter;
        const char* keysAfter;
    };
    const Case cases[] = {
        {"[Favorites]\n0=/a\n1=/b\nLabel=x\n2=/c\n5=/f\n99999999999999999999=/g\n"
         "[favorites]\n2=keep\n",
         "/z", true, "0 Label"},
        {"[Favorites]\n0=/a\n1=/b\n", "/x /y /z", true, "0 1 2"},
        {"[Favorites]\n0=/a\n", "", true, ""},
        {"[Brisko]\nStartPath=/s\n", "", false, ""},
    };
    for (const Case& c : cases) {
        // Numbered keys of other sections, and of a second section of the same name, are
        // no favourites: reading never sees them.
        IniFile ini = FromText(QByteArray(c.file) + "[Other]\n2=keep\n");
        BrowserSettings s;
        s.Favorites = Words(c.favorites);
        WriteSettings(ini, s);
        EXPECT_EQ(ini.SectionExists(QStringLiteral("Favorites")), c.sectionAfter) << c.file;
        EXPECT_EQ(ini.KeyNames(QStringLiteral("Favorites")), Words(c.keysAfter)) << c.file;
        EXPECT_EQ(ReadSettings(ini, QString()).Favorites, s.Favorites) << c.file;
        EXPECT_EQ(ini.ToBytes().count("2=keep"), QByteArray(c.file).count("2=keep") + 1) << c.file;
    }
}

TEST(BrowserSettings, WriteThenReadGivesTheSameRecord) {
    BrowserSettings s;
    s.StartPath = QStringLiteral(" /home/u/palm backup ");
    s.Language = QStringLiteral("pt_BR");
    s.InstallTool = QStringLiteral("\"C:\\Palm\\Instapp.exe\"");
    s.RememberLastDirectory = s.FileInfoDBVisible = s.ShowZIP = false;
    s.MainWindowWidth = 800;
    s.MainWindowHeight = 600;
    s.MainWindowX = -4;
    s.MainWindowY = 32;
    s.FoldersWidth = 0;
    s.MainListView = {300, -1, 0, 121};
    s.DBListView = {81, 71};
    s.Favorites = Words("/a /b /a");
    int next = 1;
    for (const LayoutSection& section : LayoutSections) {
        PanelLayout l;
        l.Visible = next % 2 == 0;
        l.DockedTo = next % 3 == 0 ? QStringLiteral("+") : QStringLiteral("Left");
        l.LastDock = QStringLiteral("Bottom");
        std::vector<int*> fields{&l.DockRow, &l.DockPos, &l.FloatLeft, &l.FloatTop};
        if (section.Kind == LayoutKind::Toolbar)
            fields.push_back(&l.FloatRightX);
        if (section.Kind == LayoutKind::ToolWindow)
            fields.insert(fields.end(), {&l.ClientWidth, &l.ClientHeight});
        if (section.Kind == LayoutKind::DockablePanel)
            fields.insert(fields.end(), {&l.DPDockedWidth, &l.DPDockedHeight, &l.DPFloatingWidth,
                                         &l.DPFloatingHeight, &l.DPSplitWidth, &l.DPSplitHeight});
        for (int* field : fields)
            *field = next++;
        s.Layout[section.Name] = l;
    }
    IniFile written;
    WriteSettings(written, s);
    EXPECT_EQ(ReadSettings(FromText(written.ToBytes()), QStringLiteral("en")), s);
}

TEST(BrowserSettings, UnknownLinesStayWhereTheyWere) {
    BrowserSettings s;
    s.Favorites = Words("/a");
    IniFile base;
    WriteSettings(base, s);
    // A file written before, with the user's and other programs' lines in between.
    QString original = QString::fromUtf8(base.ToBytes());
    original.prepend(QStringLiteral("; kept by hand\n"));
    original.replace(QStringLiteral("StartPath=\n"), QStringLiteral("StartPath=\nTheme=dark\n"));
    original.replace(QStringLiteral("[tbxdpGeneral]\n"),
                     QStringLiteral("[Other]\nx = 1\n\n[tbxdpGeneral]\n"));
    original.replace(QStringLiteral("[Favorites]\n"), QStringLiteral("[Favorites]\nNote=keep\n"));
    original.append(QStringLiteral("[Last]\ny=2\n"));

    IniFile ini = FromText(original.toUtf8());
    BrowserSettings changed = ReadSettings(ini, QString());
    changed.StartPath = QStringLiteral("/new");
    changed.ShowPDB = false;
    changed.Favorites = Words("/b");
    WriteSettings(ini, changed);

    QString expected = original;
    expected.replace(QStringLiteral("StartPath=\n"), QStringLiteral("StartPath=/new\n"));
    expected.replace(QStringLiteral("ShowPDB=1\n"), QStringLiteral("ShowPDB=0\n"));
    expected.replace(QStringLiteral("0=/a\n"), QStringLiteral("0=/b\n"));
    EXPECT_EQ(QString::fromUtf8(ini.ToBytes()), expected);
}

TEST(BrowserSettings, StartPathToWriteFollowsTheTreeOnlyWhenRemembering) {
    const std::tuple<bool, const char*, const char*, const char*> cases[] = {
        {true, "/held", "/tree", "/tree"},
        {false, "/held", "/tree", "/held"},
        {true, "/held", "", "/held"}, // nothing selected: keep the start folder
    };
    for (const auto& [remember, held, tree, expected] : cases) {
        BrowserSettings s;
        s.RememberLastDirectory = remember;
        s.StartPath = QString::fromLatin1(held);
        EXPECT_EQ(StartPathToWrite(s, QString::fromLatin1(tree)), QLatin1StringView(expected))
            << remember << " " << tree;
    }
}
