// Where the main window and its panels go, decided without widgets: stored bounds are
// fitted into the screen's available area, and what a panel that was never shown keeps.
//
// Positions are those of the window's frame (what a window manager places), sizes those of
// its client area (what the window is resized to), so that writing them back and applying
// them again gives the same window.
#pragma once

#include "core/BrowserSettings.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

// Bounds as the settings file holds them: a value below 0 is not stored.
struct StoredBounds {
    int X = -1;
    int Y = -1;
    int Width = -1;
    int Height = -1;
};

// The client size and frame position a window gets. `current` holds the frame position and
// client size it has before the settings apply (used for what is not stored); `minimum`
// is the smallest client size its contents allow; `frame` the margins the window manager
// adds around the client area (none when not known yet). The whole frame ends up inside
// `available` whenever it fits; a frame larger than the area starts at its top left.
QRect FitIntoArea(const StoredBounds& stored, const QRect& current, const QSize& minimum,
                  const QRect& available, const QMargins& frame = {});

// The dockable sides a stored DockedTo may name; any other value keeps the designed side.
bool IsDockSide(const QString& dockedTo);

// What is written for a panel: its layout as taken from the window, except that a panel
// never shown during the run keeps the sizes and floating position it was read with (a
// hidden panel has no size of its own to give).
PanelLayout LayoutToWrite(const PanelLayout& read, const PanelLayout& taken, bool shownInRun);

// A docked panel as the order of its side sees it.
struct DockedPanel {
    QString Side;
    // Shown during the run, so Position is where it was laid out; else ReadRow holds its
    // place.
    bool Placed = false;
    QPoint Position;
    int ReadRow = 0;
};

// Each panel's row within its side, counted from 0: placed panels in their order from the
// top (then from the left), the others slotted in at the row they were read with.
std::vector<int> DockRows(const std::vector<DockedPanel>& panels);
