#include "core/WindowGeometry.h"

#include <algorithm>
#include <map>

namespace {

// The extent a frame of `size` gets along one axis inside [start, start + room).
int FitEdge(int edge, int size, int start, int room) {
    if (size >= room)
        return start;
    return std::clamp(edge, start, start + room - size);
}

} // namespace

QRect FitIntoArea(const StoredBounds& stored, const QRect& current, const QSize& minimum,
                  const QRect& available, const QMargins& frame) {
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    // The stored size, no larger than the area leaves for the client and no smaller than
    // the contents allow (a window manager would refuse that anyway).
    int width = stored.Width >= 0 ? stored.Width : current.width();
    int height = stored.Height >= 0 ? stored.Height : current.height();
    width = std::max(std::min(width, available.width() - frameWidth), minimum.width());
    height = std::max(std::min(height, available.height() - frameHeight), minimum.height());
    const int x = stored.X >= 0 ? stored.X : current.x();
    const int y = stored.Y >= 0 ? stored.Y : current.y();
    return {FitEdge(x, width + frameWidth, available.x(), available.width()),
            FitEdge(y, height + frameHeight, available.y(), available.height()), width, height};
}

bool IsDockSide(const QString& dockedTo) {
    return dockedTo == QLatin1String("Left") || dockedTo == QLatin1String("Right") ||
           dockedTo == QLatin1String("Top");
}

PanelLayout LayoutToWrite(const PanelLayout& read, const PanelLayout& taken, bool shownInRun) {
    if (shownInRun)
        return taken;
    PanelLayout kept = taken;
    for (int PanelLayout::*field :
         {&PanelLayout::FloatLeft, &PanelLayout::FloatTop, &PanelLayout::ClientWidth,
          &PanelLayout::ClientHeight, &PanelLayout::DPDockedWidth, &PanelLayout::DPDockedHeight,
          &PanelLayout::DPFloatingWidth, &PanelLayout::DPFloatingHeight, &PanelLayout::DPSplitWidth,
          &PanelLayout::DPSplitHeight})
        kept.*field = read.*field;
    return kept;
}

std::vector<int> DockRows(const std::vector<DockedPanel>& panels) {
    std::map<QString, std::vector<size_t>> placed;
    std::map<QString, std::vector<size_t>> unplaced;
    for (size_t i = 0; i < panels.size(); ++i)
        (panels[i].Placed ? placed : unplaced)[panels[i].Side].push_back(i);

    std::vector<int> rows(panels.size(), 0);
    std::map<QString, std::vector<size_t>> sides = placed;
    for (const auto& [side, members] : unplaced)
        sides.try_emplace(side);
    for (auto& [side, order] : sides) {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const QPoint& p = panels[a].Position;
            const QPoint& q = panels[b].Position;
            return p.y() != q.y() ? p.y() < q.y() : p.x() < q.x();
        });
        std::vector<size_t> waiting = unplaced[side];
        std::stable_sort(waiting.begin(), waiting.end(),
                         [&](size_t a, size_t b) { return panels[a].ReadRow < panels[b].ReadRow; });
        for (size_t i : waiting) {
            const size_t slot = size_t(std::clamp(panels[i].ReadRow, 0, int(order.size())));
            order.insert(order.begin() + std::ptrdiff_t(slot), i);
        }
        for (size_t row = 0; row < order.size(); ++row)
            rows[order[row]] = int(row);
    }
    return rows;
}
