// Where the main window, its bars and its docked panels lie: applied from the settings at
// start-up, fitted into the screen once the window manager's frame is known, and taken
// back into the settings at shut-down. Each bar and panel keeps its section of the
// settings file under its object name.
#pragma once

#include "core/BrowserSettings.h"

#include <QMargins>
#include <set>
#include <vector>

class QDockWidget;
class QMainWindow;
class QToolBar;

// A panel whose place is kept, with the settings' flag that tells whether it is shown.
struct LaidOutPanel {
    QDockWidget* Dock;
    bool BrowserSettings::*Visible;
};

class WindowPlacement {
public:
    // The panels in the order their rows are counted; folders is the panel whose width
    // also has a key of its own (FoldersWidth).
    WindowPlacement(QMainWindow& window, std::vector<LaidOutPanel> panels,
                    std::vector<QToolBar*> bars, QDockWidget* folders);

    // Before the window is shown: its bounds fitted into the screen without the frame, the
    // panels docked, floated, sized and shown as stored, the bars on their sides.
    void Apply(const BrowserSettings& settings);
    // The bounds, the panels' visibility and sizes and the bars' and panels' places as
    // they are now; what was never shown in this run keeps what was read.
    void Take(BrowserSettings& settings) const;

    // From the window's show and move events: once framed, the window and the floating
    // panels are fitted into the screen with their frames, once a run.
    void WindowShown();
    void WindowMoved();

private:
    void PlacePanelsAndBars(const std::map<QString, PanelLayout>& stored);
    void TakePlaces(std::map<QString, PanelLayout>& layouts) const;
    void FitWindowIntoScreen(const BrowserSettings& settings, const QMargins& frame);
    void FloatPanelWithinScreen(QDockWidget* dock, const PanelLayout& layout);
    void FitFramesIntoScreen();
    void OnPanelShown(QDockWidget* dock);

    QMainWindow& FWindow;
    std::vector<LaidOutPanel> FPanels;
    std::vector<QToolBar*> FBars;
    QDockWidget* FFolders;
    BrowserSettings FRead; // the bounds and layouts as read, for panels shown later
    // Panels shown at some time in this run; the others keep the sizes they were read with.
    std::set<QString> FShownPanels;
    std::set<QString> FPanelsHiddenAtStart; // sized as stored when they are first shown
    // Set once the window manager's frame was known and the window fitted to it.
    bool FFittedToFrame = false;
};
