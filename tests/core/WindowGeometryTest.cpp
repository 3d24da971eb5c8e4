#include "core/WindowGeometry.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::string Text(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
}

} // namespace

TEST(WindowGeometry, StoredBoundsAreFittedIntoTheAvailableArea) {
    // A laptop screen with a 30 pixel bar at the top.
    const QRect laptop(0, 30, 1280, 690);
    const QRect current(0, 0, 1120, 760);
    const QMargins frame(1, 25, 1, 1);
    struct Case {
        const char* what;
        StoredBounds stored;
        QMargins frame;
        QRect expected;
        QSize minimum = {500, 300};
    };
    const std::vector<Case> cases{
        {"what fits stays exactly", {100, 80, 1000, 500}, frame, {100, 80, 1000, 500}},
        {"what fits stays without a frame too", {10, 40, 800, 600}, {}, {10, 40, 800, 600}},
        {"nothing stored: the designed size, shrunk to the area", {}, {}, {0, 30, 1120, 690}},
        {"nothing stored, with a frame", {}, frame, {0, 30, 1120, 664}},
        {"the largest int", {-1, -1, 2147483647, 2147483647}, frame, {0, 30, 1278, 664}},
        {"too large and placed: shrunk and pulled in",
         {500, 300, 5000, 5000},
         {},
         {0, 30, 1280, 690}},
        {"below the minimum", {100, 100, 10, 10}, {}, {100, 100, 500, 300}},
        {"right of the screen comes back", {3000, 100, 800, 400}, frame, {478, 100, 800, 400}},
        {"below the screen comes back", {100, 5000, 800, 400}, frame, {100, 294, 800, 400}},
        {"the frame's bottom edge counts", {100, 300, 800, 400}, frame, {100, 294, 800, 400}},
        {"above the area (under the bar) comes down",
         {100, 0, 800, 400},
         frame,
         {100, 30, 800, 400}},
        {"only x stored: moved left as far as the designed width needs",
         {200, -1, -1, 500},
         {},
         {160, 30, 1120, 500}},
        {"a minimum larger than the area starts at its corner",
         {400, 400, 100, 100},
         {},
         {0, 30, 1400, 800},
         {1400, 800}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(FitIntoArea(c.stored, current, c.minimum, laptop, c.frame)),
                  Text(c.expected))
            << c.what;
}

TEST(WindowGeometry, AreasOffTheOriginAndNegativeCurrentPositions) {
    // A second screen left of the first, as Windows places it.
    const QRect left(-1920, 0, 1920, 1050);
    EXPECT_EQ(Text(FitIntoArea({}, {-3000, -50, 400, 300}, {100, 100}, left)),
              Text({-1920, 0, 400, 300}));
    EXPECT_EQ(Text(FitIntoArea({}, {-500, 900, 400, 300}, {100, 100}, left)),
              Text({-500, 750, 400, 300}));
}

TEST(WindowGeometry, PanelsDockToTheLeftRightAndTopOnly) {
    for (const char* side : {"Left", "Right", "Top"})
        EXPECT_TRUE(IsDockSide(QString::fromLatin1(side))) << side;
    for (const char* side : {"Bottom", "+", "", "left", "Centre", "Left "})
        EXPECT_FALSE(IsDockSide(QString::fromLatin1(side))) << side;
}

TEST(WindowGeometry, APanelNeverShownKeepsTheSizesItWasReadWith) {
    PanelLayout read;
    read.Visible = false;
    read.DockedTo = QStringLiteral("Right");
    read.DockRow = 2;
    read.FloatLeft = 40;
    read.FloatTop = 50;
    read.DPDockedWidth = 250;
    read.DPDockedHeight = 180;
    read.DPFloatingWidth = 300;
    read.DPFloatingHeight = 200;
    read.DPSplitWidth = 7;
    read.DPSplitHeight = 8;
    read.ClientWidth = 9;
    read.ClientHeight = 10;
    PanelLayout taken; // what a hidden panel gives: the toolkit's leftovers
    taken.Visible = false;
    taken.DockedTo = QStringLiteral("Left");
    taken.LastDock = QStringLiteral("Left");
    taken.DockRow = 1;
    taken.DPDockedWidth = 100;
    taken.DPDockedHeight = 30;

    PanelLayout kept = read;
    kept.DockedTo = taken.DockedTo;
    kept.LastDock = taken.LastDock;
    kept.DockRow = taken.DockRow;
    EXPECT_EQ(LayoutToWrite(read, taken, false), kept);
    EXPECT_EQ(LayoutToWrite(read, taken, true), taken) << "a panel shown has its own sizes";
}

TEST(WindowGeometry, DockRowsFollowThePanelsOrderOnEachSide) {
    struct Case {
        const char* what;
        std::vector<DockedPanel> panels;
        std::vector<int> rows;
    };
    const QString left = QStringLiteral("Left");
    const QString right = QStringLiteral("Right");
    const QString top = QStringLiteral("Top");
    const std::vector<Case> cases{
        {"from the top, each side on its own",
         {{right, true, {900, 400}, 0},
          {left, true, {0, 80}, 5},
          {right, true, {900, 80}, 0},
          {right, true, {900, 250}, 0}},
         {2, 0, 0, 1}},
        {"side by side: from the left",
         {{top, true, {300, 80}, 0}, {top, true, {10, 80}, 0}},
         {1, 0}},
        {"a panel never shown keeps its place among the others",
         {{right, true, {900, 80}, 0}, {right, false, {}, 1}, {right, true, {900, 300}, 2}},
         {0, 1, 2}},
        {"never shown, first",
         {{right, true, {900, 80}, 0}, {right, true, {900, 300}, 1}, {right, false, {}, 0}},
         {1, 2, 0}},
        {"a stored row past the end goes last",
         {{right, false, {}, 9}, {right, true, {900, 300}, 0}},
         {1, 0}},
        {"several never shown, in their read order",
         {{right, false, {}, 1}, {right, false, {}, 0}},
         {1, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DockRows(c.panels), c.rows) << c.what;
}
