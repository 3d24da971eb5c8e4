#include "gui/WindowPlacement.h"

#include "core/WindowGeometry.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMetaObject>
#include <QScreen>
#include <QToolBar>
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

// The available area (without panels and bars of the desktop) of the screen a point lies
// on; a point on no screen counts as on the window's own, so that whatever was left on a
// screen since unplugged comes back.
QRect AvailableAreaAt(const QPoint& point, const QWidget* window) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = window->screen();
    return screen ? screen->availableGeometry() : QRect(point, QSize(1 << 14, 1 << 14));
}

QMargins FrameMargins(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

} // namespace

WindowPlacement::WindowPlacement(QMainWindow& window, std::vector<LaidOutPanel> panels,
                                 std::vector<QToolBar*> bars, QDockWidget* folders)
    : FWindow(window), FPanels(std::move(panels)), FBars(std::move(bars)), FFolders(folders) {
    for (const LaidOutPanel& panel : FPanels) {
        QDockWidget* dock = panel.Dock;
        QObject::connect(dock, &QDockWidget::visibilityChanged, &FWindow,
                         [this, dock](bool visible) {
                             if (visible)
                                 OnPanelShown(dock);
                         });
    }
}

void WindowPlacement::Apply(const BrowserSettings& settings) {
    FRead = settings;
    FitWindowIntoScreen(settings, QMargins()); // the frame is not known before it is shown
    PlacePanelsAndBars(settings.Layout);
    for (const LaidOutPanel& panel : FPanels)
        panel.Dock->setVisible(settings.*panel.Visible);
    if (settings.FoldersWidth >= 0)
        FWindow.resizeDocks({FFolders}, {settings.FoldersWidth}, Qt::Horizontal);
    for (const LaidOutPanel& panel : FPanels)
        if (panel.Dock->isHidden())
            FPanelsHiddenAtStart.insert(panel.Dock->objectName());
}

void WindowPlacement::Take(BrowserSettings& s) const {
    for (const LaidOutPanel& panel : FPanels)
        s.*panel.Visible = !panel.Dock->isHidden();
    // The frame's position and the client's size: what move() and resize() take again.
    QRect bounds(FWindow.pos(), FWindow.size());
    if ((FWindow.isMaximized() || FWindow.isFullScreen()) && FWindow.normalGeometry().isValid())
        bounds = QRect(FWindow.normalGeometry().topLeft() -
                           (FWindow.geometry().topLeft() - FWindow.pos()),
                       FWindow.normalGeometry().size());
    s.MainWindowWidth = bounds.width();
    s.MainWindowHeight = bounds.height();
    s.MainWindowX = bounds.x();
    s.MainWindowY = bounds.y();
    if (FShownPanels.count(FFolders->objectName()))
        s.FoldersWidth = FFolders->width();
    TakePlaces(s.Layout);
}

void WindowPlacement::PlacePanelsAndBars(const std::map<QString, PanelLayout>& stored) {
    struct Placed {
        QDockWidget* dock;
        PanelLayout layout;
    };
    std::vector<Placed> docked;
    for (const LaidOutPanel& panel : FPanels) {
        const auto found = stored.find(panel.Dock->objectName());
        if (found == stored.end())
            continue;
        const PanelLayout& layout = found->second;
        if (layout.DockedTo == QLatin1String("+"))
            FloatPanelWithinScreen(panel.Dock, layout);
        else if (IsDockSide(layout.DockedTo))
            docked.push_back({panel.Dock, layout});
    }
    // Re-adding the docks in their saved row order restacks them in their areas.
    std::stable_sort(docked.begin(), docked.end(), [](const Placed& a, const Placed& b) {
        return a.layout.DockRow < b.layout.DockRow;
    });
    for (const Placed& p : docked) {
        p.dock->setFloating(false);
        FWindow.addDockWidget(DockArea(p.layout.DockedTo, FWindow.dockWidgetArea(p.dock)), p.dock);
    }
    for (const Placed& p : docked) {
        const Qt::DockWidgetArea area = FWindow.dockWidgetArea(p.dock);
        if ((area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) &&
            p.layout.DPDockedWidth > 0)
            FWindow.resizeDocks({p.dock}, {p.layout.DPDockedWidth}, Qt::Horizontal);
        if (p.layout.DPDockedHeight > 0)
            FWindow.resizeDocks({p.dock}, {p.layout.DPDockedHeight}, Qt::Vertical);
    }
    for (QToolBar* bar : FBars) {
        const auto found = stored.find(bar->objectName());
        if (found == stored.end())
            continue;
        const Qt::ToolBarArea area = ToolBarArea(found->second.DockedTo);
        if (area != FWindow.toolBarArea(bar))
            FWindow.addToolBar(area, bar);
        // The bars cannot be closed: one stored hidden (by an earlier version) shows.
    }
}

void WindowPlacement::TakePlaces(std::map<QString, PanelLayout>& layouts) const {
    // Each panel starts from what was read, so that the sizes of the state it is not in
    // (floating while docked, say) are kept for the next time it gets there.
    std::vector<PanelLayout> read(FPanels.size());
    std::vector<DockedPanel> docked;
    for (size_t i = 0; i < FPanels.size(); ++i) {
        QDockWidget* dock = FPanels[i].Dock;
        const auto found = layouts.find(dock->objectName());
        if (found != layouts.end())
            read[i] = found->second;
        if (!dock->isFloating())
            docked.push_back({AreaName(FWindow.dockWidgetArea(dock)),
                              FShownPanels.count(dock->objectName()) > 0, dock->pos(),
                              read[i].DockRow});
    }
    const std::vector<int> rows = DockRows(docked);
    size_t dockedIndex = 0;
    for (size_t i = 0; i < FPanels.size(); ++i) {
        QDockWidget* dock = FPanels[i].Dock;
        PanelLayout layout = read[i];
        layout.Visible = !dock->isHidden();
        const QString area = AreaName(FWindow.dockWidgetArea(dock));
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
    for (QToolBar* bar : FBars) {
        PanelLayout layout;
        layout.Visible = !bar->isHidden();
        layout.DockedTo =
            bar->isFloating() ? QStringLiteral("+") : ToolBarAreaName(FWindow.toolBarArea(bar));
        layout.LastDock = ToolBarAreaName(FWindow.toolBarArea(bar));
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

void WindowPlacement::FitWindowIntoScreen(const BrowserSettings& settings, const QMargins& frame) {
    // Only values of 0 or more apply: a window that lay partly off the screen's origin
    // (maximized, say) reopens where it would open without the setting.
    const StoredBounds stored{settings.MainWindowX, settings.MainWindowY, settings.MainWindowWidth,
                              settings.MainWindowHeight};
    const bool placed = stored.X >= 0 || stored.Y >= 0 || !frame.isNull();
    const QRect current(FWindow.pos(), FWindow.size());
    const QRect available = AvailableAreaAt(
        QPoint(stored.X >= 0 ? stored.X : current.x(), stored.Y >= 0 ? stored.Y : current.y()),
        &FWindow);
    const QRect fitted = FitIntoArea(frame.isNull() ? stored : StoredBounds(), current,
                                     FWindow.minimumSizeHint(), available, frame);
    if (fitted.size() != FWindow.size())
        FWindow.resize(fitted.size());
    // Without a stored position the window manager places the window.
    if (placed)
        FWindow.move(fitted.topLeft()); // also where it is now: that marks it as placed by us
}

void WindowPlacement::WindowShown() {
    QMetaObject::invokeMethod(
        &FWindow,
        [this] {
            // Floating panels were shown before the window: bring them in front of it.
            for (const LaidOutPanel& panel : FPanels)
                if (panel.Dock->isFloating() && panel.Dock->isVisible())
                    panel.Dock->raise();
            FitFramesIntoScreen();
        },
        Qt::QueuedConnection);
}

void WindowPlacement::WindowMoved() {
    // Some window managers frame the window only after it is shown; it moves then.
    if (!FFittedToFrame && FWindow.isVisible())
        QMetaObject::invokeMethod(
            &FWindow, [this] { FitFramesIntoScreen(); }, Qt::QueuedConnection);
}

void WindowPlacement::FitFramesIntoScreen() {
    if (FFittedToFrame || !FWindow.isVisible() || FWindow.windowState() != Qt::WindowNoState)
        return;
    const QMargins frame = FrameMargins(&FWindow);
    if (frame.isNull())
        return; // not framed yet, or never: what Apply fitted holds
    FFittedToFrame = true;
    FitWindowIntoScreen(FRead, frame);
    for (const LaidOutPanel& panel : FPanels) {
        QDockWidget* dock = panel.Dock;
        if (!dock->isFloating() || !dock->isVisible())
            continue;
        const QRect current(dock->pos(), dock->size());
        const QRect fitted =
            FitIntoArea(StoredBounds(), current, dock->minimumSizeHint(),
                        AvailableAreaAt(current.topLeft(), &FWindow), FrameMargins(dock));
        dock->resize(fitted.size());
        dock->move(fitted.topLeft());
    }
}

void WindowPlacement::FloatPanelWithinScreen(QDockWidget* dock, const PanelLayout& layout) {
    dock->setFloating(true);
    const QRect stored(layout.FloatLeft, layout.FloatTop,
                       layout.DPFloatingWidth > 0 ? layout.DPFloatingWidth : dock->width(),
                       layout.DPFloatingHeight > 0 ? layout.DPFloatingHeight : dock->height());
    const QRect fitted = FitIntoArea(StoredBounds(), stored, dock->minimumSizeHint(),
                                     AvailableAreaAt(stored.topLeft(), &FWindow));
    dock->resize(fitted.size());
    dock->move(fitted.topLeft());
}

void WindowPlacement::OnPanelShown(QDockWidget* dock) {
    FShownPanels.insert(dock->objectName());
    // A panel hidden at start-up comes with the size it was stored with.
    if (FPanelsHiddenAtStart.erase(dock->objectName()) == 0)
        return;
    const auto found = FRead.Layout.find(dock->objectName());
    if (found == FRead.Layout.end() || dock->isFloating())
        return;
    const PanelLayout& layout = found->second;
    const Qt::DockWidgetArea area = FWindow.dockWidgetArea(dock);
    if ((area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) &&
        layout.DPDockedWidth > 0)
        FWindow.resizeDocks({dock}, {layout.DPDockedWidth}, Qt::Horizontal);
    if (area == Qt::TopDockWidgetArea && layout.DPDockedHeight > 0)
        FWindow.resizeDocks({dock}, {layout.DPDockedHeight}, Qt::Vertical);
}
