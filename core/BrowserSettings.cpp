#include "core/BrowserSettings.h"

#include <limits>
#include <utility>
#include <vector>

namespace {

const QString MainSection = QStringLiteral("Brisko");
const QString FavoritesSection = QStringLiteral("Favorites");
const QString MainListSection = QStringLiteral("MainListView");
const QString DBListSection = QStringLiteral("DBListView");
const QString ExportSection = QStringLiteral("Export");
const QString RevKey = QStringLiteral("Rev");
constexpr int LayoutRevision = 2000; // the only layout format there is

struct BoolKey {
    QLatin1StringView Key;
    bool BrowserSettings::*Field;
};

struct IntKey {
    QLatin1StringView Key;
    int BrowserSettings::*Field;
};

struct LayoutIntKey {
    QLatin1StringView Key;
    int PanelLayout::*Field;
};

// In the order in which they are written.
constexpr std::array<BoolKey, 10> BoolKeys{{
    {QLatin1StringView("RememberLastDirectory"), &BrowserSettings::RememberLastDirectory},
    {QLatin1StringView("TreeViewVisible"), &BrowserSettings::TreeViewVisible},
    {QLatin1StringView("FileInfoGeneralVisible"), &BrowserSettings::FileInfoGeneralVisible},
    {QLatin1StringView("FileInfoDBVisible"), &BrowserSettings::FileInfoDBVisible},
    {QLatin1StringView("FileInfoFlagsVisible"), &BrowserSettings::FileInfoFlagsVisible},
    {QLatin1StringView("FileInfoContentsVisible"), &BrowserSettings::FileInfoContentsVisible},
    {QLatin1StringView("DatabaseColumnVisible"), &BrowserSettings::DatabaseColumnVisible},
    {QLatin1StringView("ShowPRC"), &BrowserSettings::ShowPRC},
    {QLatin1StringView("ShowPDB"), &BrowserSettings::ShowPDB},
    {QLatin1StringView("ShowZIP"), &BrowserSettings::ShowZIP},
}};

constexpr std::array<IntKey, 4> WindowKeys{{
    {QLatin1StringView("MainWindowWidth"), &BrowserSettings::MainWindowWidth},
    {QLatin1StringView("MainWindowHeight"), &BrowserSettings::MainWindowHeight},
    {QLatin1StringView("MainWindowX"), &BrowserSettings::MainWindowX},
    {QLatin1StringView("MainWindowY"), &BrowserSettings::MainWindowY},
}};

constexpr QLatin1StringView FoldersWidthKey("FoldersWidth");

constexpr std::array<LayoutIntKey, 4> CommonLayoutKeys{{
    {QLatin1StringView("DockRow"), &PanelLayout::DockRow},
    {QLatin1StringView("DockPos"), &PanelLayout::DockPos},
    {QLatin1StringView("FloatLeft"), &PanelLayout::FloatLeft},
    {QLatin1StringView("FloatTop"), &PanelLayout::FloatTop},
}};

const std::vector<LayoutIntKey>& KindLayoutKeys(LayoutKind kind) {
    static const std::vector<LayoutIntKey> toolbar{
        {QLatin1StringView("FloatRightX"), &PanelLayout::FloatRightX}};
    static const std::vector<LayoutIntKey> toolWindow{
        {QLatin1StringView("ClientWidth"), &PanelLayout::ClientWidth},
        {QLatin1StringView("ClientHeight"), &PanelLayout::ClientHeight}};
    static const std::vector<LayoutIntKey> panel{
        {QLatin1StringView("DPDockedWidth"), &PanelLayout::DPDockedWidth},
        {QLatin1StringView("DPDockedHeight"), &PanelLayout::DPDockedHeight},
        {QLatin1StringView("DPFloatingWidth"), &PanelLayout::DPFloatingWidth},
        {QLatin1StringView("DPFloatingHeight"), &PanelLayout::DPFloatingHeight},
        {QLatin1StringView("DPSplitWidth"), &PanelLayout::DPSplitWidth},
        {QLatin1StringView("DPSplitHeight"), &PanelLayout::DPSplitHeight}};
    switch (kind) {
    case LayoutKind::Toolbar:
        return toolbar;
    case LayoutKind::ToolWindow:
        return toolWindow;
    case LayoutKind::DockablePanel:
        break;
    }
    return panel;
}

QString ColumnKey(std::size_t column) {
    return QStringLiteral("col") + QString::number(column);
}

// A number too large for the field is no valid value for it either.
int ReadInt(const IniFile& ini, const QString& section, const QString& key, int def) {
    const int64_t value = ini.ReadInteger(section, key, def);
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return def;
    return static_cast<int>(value);
}

template <std::size_t N>
void ReadColumns(const IniFile& ini, const QString& section, std::array<int, N>& widths) {
    for (std::size_t i = 0; i < N; ++i)
        widths[i] = ReadInt(ini, section, ColumnKey(i), widths[i]);
}

template <std::size_t N>
void WriteColumns(IniFile& ini, const QString& section, const std::array<int, N>& widths) {
    for (std::size_t i = 0; i < N; ++i)
        ini.WriteInteger(section, ColumnKey(i), widths[i]);
}

PanelLayout ReadLayout(const IniFile& ini, const QString& section, LayoutKind kind) {
    PanelLayout l;
    l.Visible = ini.ReadBool(section, QStringLiteral("Visible"), l.Visible);
    l.DockedTo = ini.ReadString(section, QStringLiteral("DockedTo"), l.DockedTo);
    l.LastDock = ini.ReadString(section, QStringLiteral("LastDock"), l.LastDock);
    for (const LayoutIntKey& k : CommonLayoutKeys)
        l.*k.Field = ReadInt(ini, section, k.Key, l.*k.Field);
    for (const LayoutIntKey& k : KindLayoutKeys(kind))
        l.*k.Field = ReadInt(ini, section, k.Key, l.*k.Field);
    return l;
}

void WriteLayout(IniFile& ini, const QString& section, LayoutKind kind, const PanelLayout& l) {
    ini.WriteInteger(section, RevKey, LayoutRevision);
    ini.WriteBool(section, QStringLiteral("Visible"), l.Visible);
    ini.WriteString(section, QStringLiteral("DockedTo"), l.DockedTo);
    ini.WriteString(section, QStringLiteral("LastDock"), l.LastDock);
    for (const LayoutIntKey& k : CommonLayoutKeys)
        ini.WriteInteger(section, k.Key, l.*k.Field);
    for (const LayoutIntKey& k : KindLayoutKeys(kind))
        ini.WriteInteger(section, k.Key, l.*k.Field);
}

} // namespace

BrowserSettings ReadSettings(const IniFile& ini, const QString& defaultLanguage) {
    BrowserSettings s;
    s.StartPath = ini.ReadString(MainSection, QStringLiteral("StartPath"), s.StartPath);
    s.Language = ini.ReadString(MainSection, QStringLiteral("Language"), defaultLanguage);
    s.InstallTool = ini.ReadString(MainSection, QStringLiteral("InstallTool"), s.InstallTool);
    for (const BoolKey& k : BoolKeys)
        s.*k.Field = ini.ReadBool(MainSection, k.Key, s.*k.Field);
    for (const IntKey& k : WindowKeys)
        s.*k.Field = ReadInt(ini, MainSection, k.Key, s.*k.Field);
    s.FoldersWidth = ReadInt(ini, MainSection, FoldersWidthKey, s.FoldersWidth);

    for (const LayoutSection& section : LayoutSections) {
        const QString name = section.Name;
        if (ini.ReadInteger(name, RevKey, -1) == LayoutRevision)
            s.Layout[name] = ReadLayout(ini, name, section.Kind);
    }

    ReadColumns(ini, MainListSection, s.MainListView);
    ReadColumns(ini, DBListSection, s.DBListView);

    for (int n = 0; ini.ValueExists(FavoritesSection, QString::number(n)); ++n)
        s.Favorites.append(ini.ReadString(FavoritesSection, QString::number(n), QString()));

    s.ExportFolder = ini.ReadString(ExportSection, QStringLiteral("Folder"), s.ExportFolder);
    s.ExportFormat = ini.ReadString(ExportSection, QStringLiteral("Format"), s.ExportFormat);
    s.ExportEncoding = ini.ReadString(ExportSection, QStringLiteral("Encoding"), s.ExportEncoding);
    s.ExportIncludeDeleted =
        ini.ReadBool(ExportSection, QStringLiteral("IncludeDeleted"), s.ExportIncludeDeleted);
    return s;
}

void WriteSettings(IniFile& ini, const BrowserSettings& s) {
    ini.WriteString(MainSection, QStringLiteral("StartPath"), s.StartPath);
    ini.WriteString(MainSection, QStringLiteral("Language"), s.Language);
    ini.WriteString(MainSection, QStringLiteral("InstallTool"), s.InstallTool);
    for (const BoolKey& k : BoolKeys)
        ini.WriteBool(MainSection, k.Key, s.*k.Field);
    for (const IntKey& k : WindowKeys)
        ini.WriteInteger(MainSection, k.Key, s.*k.Field);

    for (const LayoutSection& section : LayoutSections) {
        const QString name = section.Name;
        const auto found = s.Layout.find(name);
        WriteLayout(ini, name, section.Kind,
                    found != s.Layout.end() ? found->second : PanelLayout());
    }

    WriteColumns(ini, MainListSection, s.MainListView);
    WriteColumns(ini, DBListSection, s.DBListView);
    ini.WriteInteger(MainSection, FoldersWidthKey, s.FoldersWidth);

    // The keys that reading takes as favourites; any after a gap were never read.
    qsizetype readable = 0;
    while (ini.ValueExists(FavoritesSection, QString::number(readable)))
        ++readable;
    // A list that grows into the keys after the gap moves them up, gap and all: they stay
    // unread rather than being overwritten.
    if (const qsizetype grown = s.Favorites.size() - readable; grown > 0) {
        std::vector<std::pair<qlonglong, QString>> unread;
        for (const QString& key : ini.KeyNames(FavoritesSection)) {
            bool number = false;
            const qlonglong n = key.toLongLong(&number);
            if (number && n > readable && n < std::numeric_limits<qlonglong>::max() - grown &&
                key == QString::number(n))
                unread.emplace_back(n, ini.ReadString(FavoritesSection, key, QString()));
        }
        for (const auto& [n, value] : unread)
            ini.DeleteKey(FavoritesSection, QString::number(n));
        for (const auto& [n, value] : unread)
            ini.WriteString(FavoritesSection, QString::number(n + grown), value);
    }
    for (qsizetype i = 0; i < s.Favorites.size(); ++i)
        ini.WriteString(FavoritesSection, QString::number(i), s.Favorites.at(i));
    for (qsizetype i = s.Favorites.size(); i < readable; ++i)
        ini.DeleteKey(FavoritesSection, QString::number(i));

    ini.WriteString(ExportSection, QStringLiteral("Folder"), s.ExportFolder);
    ini.WriteString(ExportSection, QStringLiteral("Format"), s.ExportFormat);
    ini.WriteString(ExportSection, QStringLiteral("Encoding"), s.ExportEncoding);
    ini.WriteBool(ExportSection, QStringLiteral("IncludeDeleted"), s.ExportIncludeDeleted);
}

QString StartPathToWrite(const BrowserSettings& s, const QString& treeFolder) {
    if (s.RememberLastDirectory && !treeFolder.isEmpty())
        return treeFolder;
    return s.StartPath;
}
