// The main window's side of the settings file: applying the settings to the window at
// start-up and taking them back at shut-down, the layout of bars and panels, and the
// favourites menu.
#include "common/IniFile.h"
#include "core/FileListModel.h"
#include "core/Prompts.h"
#include "core/WindowGeometry.h"
#include "gui/DetailsPanels.h"
#include "gui/MenuCaption.h"
#include "gui/TFBrowser.h"
#include "i18n/Translate.h"
#include "platform/WriteError.h"
#include "resources/Icons.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMoveEvent>
#include <QScreen>
#include <QShowEvent>
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

// Panels dock to the left, the right and the top only; another stored side keeps the
// panel where it is.
Qt::DockWidgetArea DockArea(const QString& name, Qt::DockWidgetArea fallback) {
    const Side* side = SideNamed(name);
    return side && IsDockSide(name) ? side->Dock : fallback;
}

// The available area (without panels and bars of the desktop) of the screen a point lies
// on; a point on no screen counts as on the window's own, so that whatever was left on a
// screen since unplugged comes back.
QRect AvailableAreaAt(const QPoint& point, const QWidget* window) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = window->screen();
    return screen ? screen->availableGeometry() : QRect(point, QSize(1 << 14, 1 << 14));
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

    FitWindowIntoScreen(QMargins()); // the frame is not known before the window is shown

    for (QDockWidget* dock : {TBXdpFolders, tbxdpGeneral, tbxdpDBInfo, tbxdpFlags})
        connect(dock, &QDockWidget::visibilityChanged, this, [this, dock](bool visible) {
            if (visible)
                OnPanelShown(dock);
        });
    ApplyLayout();
    TBXdpFolders->setVisible(FSettings.TreeViewVisible);
    tbxdpGeneral->setVisible(FSettings.FileInfoGeneralVisible);
    tbxdpDBInfo->setVisible(FSettings.FileInfoDBVisible);
    tbxdpFlags->setVisible(FSettings.FileInfoFlagsVisible);
    if (FSettings.FoldersWidth >= 0)
        resizeDocks({TBXdpFolders}, {FSettings.FoldersWidth}, Qt::Horizontal);
    for (QDockWidget* dock : {TBXdpFolders, tbxdpGeneral, tbxdpDBInfo, tbxdpFlags})
        if (dock->isHidden())
            FPanelsHiddenAtStart.insert(dock->objectName());

    for (int column = 0; column < 4; ++column) {
        const int width = FSettings.MainListView[size_t(column)];
        const int designed = DesignedColumnWidth(column);
        // Sizes and dates are never cut: a Size or Changed column stored narrower (the
        // widths of earlier versions) is widened.
        const bool neverCut = column == int(FileColumn::Size) || column == int(FileColumn::Changed);
        AdvListView->setColumnWidth(column, width == -1 ? designed
                                            : neverCut  ? std::max(width, designed)
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
    // The frame's position and the client's size: what move() and resize() take again.
    QRect bounds(pos(), size());
    if ((isMaximized() || isFullScreen()) && normalGeometry().isValid())
        bounds = QRect(normalGeometry().topLeft() - (geometry().topLeft() - pos()),
                       normalGeometry().size());
    s.MainWindowWidth = bounds.width();
    s.MainWindowHeight = bounds.height();
    s.MainWindowX = bounds.x();
    s.MainWindowY = bounds.y();
    if (FShownPanels.count(TBXdpFolders->objectName()))
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
            FloatPanelWithinScreen(dock, layout);
        } else if (IsDockSide(layout.DockedTo)) {
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
    const std::array<QDockWidget*, 4> docks{TBXdpFolders, tbxdpGeneral, tbxdpDBInfo, tbxdpFlags};
    // Each panel starts from what was read, so that the sizes of the state it is not in
    // (floating while docked, say) are kept for the next time it gets there.
    std::array<PanelLayout, 4> read;
    std::vector<DockedPanel> docked;
    for (size_t i = 0; i < docks.size(); ++i) {
        const auto found = layouts.find(docks[i]->objectName());
        if (found != layouts.end())
            read[i] = found->second;
        if (!docks[i]->isFloating())
            docked.push_back({AreaName(dockWidgetArea(docks[i])),
                              FShownPanels.count(docks[i]->objectName()) > 0, docks[i]->pos(),
                              read[i].DockRow});
    }
    const std::vector<int> rows = DockRows(docked);
    size_t dockedIndex = 0;
    for (size_t i = 0; i < docks.size(); ++i) {
        QDockWidget* dock = docks[i];
        PanelLayout layout = read[i];
        layout.Visible = !dock->isHidden();
        const QString area = AreaName(dockWidgetArea(dock));
        layout.DockedTo = dock->isFloating() ? QStringLiteral("+") : area;
        layout.LastDock = area;
        if (dock->isFloating()) {
            layout.FloatLeft = dock->x();
            layout.FloatTop = dock->y();
            layout.DPFloatingWidth = dock->width();
            layout.DPFloatingHeight = dock->height();
        } else {
            layout.DockRow = rows[dockedIndex++];
            layout.DPDockedWidth = dock->width();
            layout.DPDockedHeight = dock->height();
        }
        layouts[dock->objectName()] =
            LayoutToWrite(read[i], layout, FShownPanels.count(dock->objectName()) > 0);
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

void TFBrowser::FitWindowIntoScreen(const QMargins& frame) {
    // Only values of 0 or more apply: a window that lay partly off the screen's origin
    // (maximized, say) reopens where it would open without the setting.
    const StoredBounds stored{FSettings.MainWindowX, FSettings.MainWindowY,
                              FSettings.MainWindowWidth, FSettings.MainWindowHeight};
    const bool placed = stored.X >= 0 || stored.Y >= 0 || !frame.isNull();
    const QRect current(pos(), size());
    const QRect available = AvailableAreaAt(
        QPoint(stored.X >= 0 ? stored.X : current.x(), stored.Y >= 0 ? stored.Y : current.y()),
        this);
    const QRect fitted = FitIntoArea(frame.isNull() ? stored : StoredBounds(), current,
                                     minimumSizeHint(), available, frame);
    if (fitted.size() != size())
        resize(fitted.size());
    // Without a stored position the window manager places the window.
    if (placed)
        move(fitted.topLeft()); // also where it is now: that marks it as placed by us
}

namespace {

QMargins FrameMargins(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

} // namespace

void TFBrowser::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    QMetaObject::invokeMethod(
        this,
        [this] {
            // Floating panels were shown before the window: bring them in front of it.
            for (QDockWidget* dock : {TBXdpFolders, tbxdpGeneral, tbxdpDBInfo, tbxdpFlags})
                if (dock->isFloating() && dock->isVisible())
                    dock->raise();
            FitFramesIntoScreen();
        },
        Qt::QueuedConnection);
}

void TFBrowser::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // Some window managers frame the window only after it is shown; it moves then.
    if (!FFittedToFrame && isVisible())
        QMetaObject::invokeMethod(
            this, [this] { FitFramesIntoScreen(); }, Qt::QueuedConnection);
}

void TFBrowser::FitFramesIntoScreen() {
    if (FFittedToFrame || !isVisible() || windowState() != Qt::WindowNoState)
        return;
    const QMargins frame = FrameMargins(this);
    if (frame.isNull())
        return; // not framed yet, or never: what LoadSettings fitted holds
    FFittedToFrame = true;
    FitWindowIntoScreen(frame);
    for (QDockWidget* dock : {TBXdpFolders, tbxdpGeneral, tbxdpDBInfo, tbxdpFlags}) {
        if (!dock->isFloating() || !dock->isVisible())
            continue;
        const QRect current(dock->pos(), dock->size());
        const QRect fitted =
            FitIntoArea(StoredBounds(), current, dock->minimumSizeHint(),
                        AvailableAreaAt(current.topLeft(), this), FrameMargins(dock));
        dock->resize(fitted.size());
        dock->move(fitted.topLeft());
    }
}

void TFBrowser::FloatPanelWithinScreen(QDockWidget* dock, const PanelLayout& layout) {
    dock->setFloating(true);
    const QRect stored(layout.FloatLeft, layout.FloatTop,
                       layout.DPFloatingWidth > 0 ? layout.DPFloatingWidth : dock->width(),
                       layout.DPFloatingHeight > 0 ? layout.DPFloatingHeight : dock->height());
    const QRect fitted = FitIntoArea(StoredBounds(), stored, dock->minimumSizeHint(),
                                     AvailableAreaAt(stored.topLeft(), this));
    dock->resize(fitted.size());
    dock->move(fitted.topLeft());
}

void TFBrowser::OnPanelShown(QDockWidget* dock) {
    FShownPanels.insert(dock->objectName());
    // A panel hidden at start-up comes with the size it was stored with.
    if (FPanelsHiddenAtStart.erase(dock->objectName()) == 0)
        return;
    const auto found = FSettings.Layout.find(dock->objectName());
    if (found == FSettings.Layout.end() || dock->isFloating())
        return;
    const PanelLayout& layout = found->second;
    const Qt::DockWidgetArea area = dockWidgetArea(dock);
    if ((area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) &&
        layout.DPDockedWidth > 0)
        resizeDocks({dock}, {layout.DPDockedWidth}, Qt::Horizontal);
    if (area == Qt::TopDockWidgetArea && layout.DPDockedHeight > 0)
        resizeDocks({dock}, {layout.DPDockedHeight}, Qt::Vertical);
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
