// The main window's side of the settings file: applying the settings to the window at
// start-up and taking them back at shut-down, the layout of bars and panels, and the
// favourites menu.
#include "browser/DetailsPanels.h"
#include "browser/FileListModel.h"
#include "browser/MenuCaption.h"
#include "browser/Prompts.h"
#include "browser/TFBrowser.h"
#include "common/Errors.h"
#include "common/IniFile.h"
#include "i18n/Translate.h"
#include "resources/Icons.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>

namespace {

// The sides of the window by the names the settings file gives them, for docks and bars.
struct Side {
    const char* Name;
    Qt::DockWidgetArea Dock;
    Qt::ToolBarArea Bar;
};
constexpr Side Sides[] = {{"Left", Qt::LeftDockWidgetArea, Qt::LeftToolBarArea},
                          {"Right", Qt::RightDockWidgetArea, Qt::RightToolBarArea},
                          {"Top", Qt::TopDockWidgetArea, Qt::TopToolBarArea},
                          {"Bottom", Qt::BottomDockWidgetArea, Qt::BottomToolBarArea}};

const Side* SideNamed(const QString& name) {
    for (const Side& side : Sides)
        if (name == QLatin1String(side.Name))
            return &side;
    return nullptr;
}

QString AreaName(Qt::DockWidgetArea area) {
    for (const Side& side : Sides)
        if (side.Dock == area)
            return QLatin1String(side.Name);
    return QString();
}

Qt::DockWidgetArea DockArea(const QString& name, Qt::DockWidgetArea fallback) {
    const Side* side = SideNamed(name);
    return side ? side->Dock : fallback;
}

// A bar whose side is unknown goes to the top.
Qt::ToolBarArea ToolBarArea(const QString& name) {
    const Side* side = SideNamed(name);
    return side ? side->Bar : Qt::TopToolBarArea;
}

QString ToolBarAreaName(Qt::ToolBarArea area) {
    for (const Side& side : Sides)
        if (side.Bar == area)
            return QLatin1String(side.Name);
    return QStringLiteral("Top");
}

} // namespace

void TFBrowser::LoadSettings() {
    IniFile ini(FPaths.SettingsPath());
    if (!ini.Load())
        FPrompts.Error(this, ini.ErrorText()); // the defaults hold; nothing is lost
    FSettings = ReadSettings(ini, DefaultLanguage());

    // Only values of 0 or more apply: a window that lay partly off the screen's origin
    // (maximized, say) reopens where it would open without the setting.
    QRect bounds = geometry();
    if (FSettings.MainWindowWidth >= 0)
        bounds.setWidth(FSettings.MainWindowWidth);
    if (FSettings.MainWindowHeight >= 0)
        bounds.setHeight(FSettings.MainWindowHeight);
    resize(bounds.size());
    if (FSettings.MainWindowX >= 0 || FSettings.MainWindowY >= 0)
        move(FSettings.MainWindowX >= 0 ? FSettings.MainWindowX : x(),
             FSettings.MainWindowY >= 0 ? FSettings.MainWindowY : y());

    ApplyLayout();
    TBXdpFolders->setVisible(FSettings.TreeViewVisible);
    tbxdpGeneral->setVisible(FSettings.FileInfoGeneralVisible);
    tbxdpDBInfo->setVisible(FSettings.FileInfoDBVisible);
    tbxdpFlags->setVisible(FSettings.FileInfoFlagsVisible);
    if (FSettings.FoldersWidth >= 0)
        resizeDocks({TBXdpFolders}, {FSettings.FoldersWidth}, Qt::Horizontal);

    for (int column = 0; column < 4; ++column) {
        const int width = FSettings.MainListView[size_t(column)];
        const int designed = DesignedColumnWidth(column);
        // Sizes are never cut: a Size column stored narrower (the width of earlier
        // versions) is widened.
        AdvListView->setColumnWidth(column, width == -1 ? designed
                                            : column == int(FileColumn::Size)
                                                ? std::max(width, designed)
                                                : width);
    }
    for (int column = 0; column < 2; ++column) {
        const int width = FSettings.DBListView[size_t(column)];
        DBInfo->AdvListViewDB->setColumnWidth(
            column, width != -1 ? width : DesignedDBListWidths[size_t(column)]);
    }
    for (const QString& favourite : FSettings.Favorites) {
        if (QFileInfo(favourite).isDir())
            AddFavorite(favourite);
        else
            FAbsentFavorites << favourite;
    }
}

void TFBrowser::SaveSettings() {
    IniFile ini(FPaths.SettingsPath());
    if (!ini.Load())
        throw EWriteError(ini.ErrorText().toStdString());
    BrowserSettings s = FSettings;
    s.StartPath = StartPathToWrite(FSettings, TreeFolder());
    s.TreeViewVisible = !TBXdpFolders->isHidden();
    s.FileInfoGeneralVisible = !tbxdpGeneral->isHidden();
    s.FileInfoDBVisible = !tbxdpDBInfo->isHidden();
    s.FileInfoFlagsVisible = !tbxdpFlags->isHidden();
    const QRect bounds = normalGeometry().isValid() ? normalGeometry() : geometry();
    s.MainWindowWidth = bounds.width();
    s.MainWindowHeight = bounds.height();
    s.MainWindowX = bounds.x();
    s.MainWindowY = bounds.y();
    s.FoldersWidth = TBXdpFolders->width();
    for (int column = 0; column < 4; ++column)
        s.MainListView[size_t(column)] = AdvListView->columnWidth(column);
    for (int column = 0; column < 2; ++column)
        s.DBListView[size_t(column)] = DBInfo->AdvListViewDB->columnWidth(column);
    s.Favorites.clear();
    for (QAction* item : MIFavorites->actions())
        if (item != FAddFavoriteItem)
            s.Favorites << item->data().toString();
    s.Favorites << FAbsentFavorites;
    TakeLayout(s.Layout);
    WriteSettings(ini, s);
    ini.Save();
}

void TFBrowser::ApplyLayout() {
    struct Placed {
        QDockWidget* dock;
        PanelLayout layout;
    };
    std::vector<Placed> docked;
    for (QDockWidget* dock : {TBXdpFolders, tbxdpGeneral, tbxdpDBInfo, tbxdpFlags}) {
        const auto found = FSettings.Layout.find(dock->objectName());
        if (found == FSettings.Layout.end())
            continue;
        const PanelLayout& layout = found->second;
        if (layout.DockedTo == QLatin1String("+")) {
            dock->setFloating(true);
            if (layout.DPFloatingWidth > 0 && layout.DPFloatingHeight > 0)
                dock->resize(layout.DPFloatingWidth, layout.DPFloatingHeight);
            dock->move(layout.FloatLeft, layout.FloatTop);
        } else {
            docked.push_back({dock, layout});
        }
    }
    // Re-adding the docks in their saved row order restacks them in their areas.
    std::stable_sort(docked.begin(), docked.end(), [](const Placed& a, const Placed& b) {
        return a.layout.DockRow < b.layout.DockRow;
    });
    for (const Placed& p : docked) {
        p.dock->setFloating(false);
        addDockWidget(DockArea(p.layout.DockedTo, dockWidgetArea(p.dock)), p.dock);
    }
    for (const Placed& p : docked) {
        const Qt::DockWidgetArea area = dockWidgetArea(p.dock);
        if ((area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) &&
            p.layout.DPDockedWidth > 0)
            resizeDocks({p.dock}, {p.layout.DPDockedWidth}, Qt::Horizontal);
        if (p.layout.DPDockedHeight > 0)
            resizeDocks({p.dock}, {p.layout.DPDockedHeight}, Qt::Vertical);
    }
    for (QToolBar* bar : {tbxtbMain, tbxtwSystemComboBox}) {
        const auto found = FSettings.Layout.find(bar->objectName());
        if (found == FSettings.Layout.end())
            continue;
        const Qt::ToolBarArea area = ToolBarArea(found->second.DockedTo);
        if (area != toolBarArea(bar)) {
            addToolBar(area, bar);
        }
        // The bars cannot be closed: one stored hidden (by an earlier version) shows.
    }
}

void TFBrowser::TakeLayout(std::map<QString, PanelLayout>& layouts) const {
    for (QDockWidget* dock : {TBXdpFolders, tbxdpGeneral, tbxdpDBInfo, tbxdpFlags}) {
        PanelLayout layout;
        layout.Visible = !dock->isHidden();
        const QString area = AreaName(dockWidgetArea(dock));
        layout.DockedTo = dock->isFloating() ? QStringLiteral("+") : area;
        layout.LastDock = area;
        // Docks of one area are stacked from the top: their row is their order there.
        int row = 0;
        for (QDockWidget* other : {TBXdpFolders, tbxdpGeneral, tbxdpDBInfo, tbxdpFlags})
            if (other != dock && !other->isFloating() &&
                dockWidgetArea(other) == dockWidgetArea(dock) && other->y() < dock->y())
                ++row;
        layout.DockRow = row;
        layout.FloatLeft = dock->isFloating() ? dock->x() : 0;
        layout.FloatTop = dock->isFloating() ? dock->y() : 0;
        if (dock->isFloating()) {
            layout.DPFloatingWidth = dock->width();
            layout.DPFloatingHeight = dock->height();
        } else {
            layout.DPDockedWidth = dock->width();
            layout.DPDockedHeight = dock->height();
        }
        layouts[dock->objectName()] = layout;
    }
    int row = 0;
    for (QToolBar* bar : {tbxtbMain, tbxtwSystemComboBox}) {
        PanelLayout layout;
        layout.Visible = !bar->isHidden();
        layout.DockedTo =
            bar->isFloating() ? QStringLiteral("+") : ToolBarAreaName(toolBarArea(bar));
        layout.LastDock = ToolBarAreaName(toolBarArea(bar));
        layout.DockRow = ++row; // the menu bar is row 0
        layout.DockPos = bar->x();
        layout.FloatLeft = bar->isFloating() ? bar->x() : 0;
        layout.FloatTop = bar->isFloating() ? bar->y() : 0;
        layout.ClientWidth = bar->width();
        layout.ClientHeight = bar->height();
        layouts[bar->objectName()] = layout;
    }
    PanelLayout menu;
    menu.DockedTo = QStringLiteral("Top");
    menu.LastDock = menu.DockedTo;
    layouts[QStringLiteral("TBXTBMainMenu")] = menu;
}

void TFBrowser::AddFavorite(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return;
    auto* item = new QAction(BriskoIcon(IconId::FavoriteFolder), MenuCaption(path), MIFavorites);
    item->setData(path); // the caption is the path made fit for a menu
    MIFavorites->addAction(item);
}

void TFBrowser::FavoriteClick(QAction* item) {
    if (item == FAddFavoriteItem) {
        AddFavorite(TreeFolder());
        return;
    }
    ShowDetails(QString());
    ListFolder(item->data().toString());
}
