// Band regions: shaded X ranges with draggable edges.
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "Plotara.h"

namespace {
// How far from an edge, in pixels, the pointer still takes it.
constexpr int kEdgeReach = 4;
// The shading's opacity, so the lines stay readable through it.
constexpr int kShadeAlpha = 48;
}  // namespace

void CPlotara::SetBandRegions(const std::vector<BandRegion>& bands) { bandRegions = bands; }

int CPlotara::HitBandEdge(int x, int y) const {
    const PlotMapping m = Mapping();
    if (!m.CanMapX() || !IsMouseInAxisRegion(x, y)) return -1;
    int nearest = -1, nearestDistance = kEdgeReach + 1;
    for (std::size_t band = 0; band < bandRegions.size(); ++band) {
        const double edges[2] = {bandRegions[band].from, bandRegions[band].to};
        for (int side = 0; side < 2; ++side) {
            const int distance = std::abs(m.PixelX(edges[side]) - x);
            if (distance < nearestDistance) {
                nearest = static_cast<int>(2 * band) + side;
                nearestDistance = distance;
            }
        }
    }
    return nearest;
}

void CPlotara::DragBandEdge(int edge, int x) {
    const PlotMapping m = Mapping();
    if (edge < 0 || edge >= 2 * static_cast<int>(bandRegions.size()) || !m.CanMapX()) return;
    BandRegion& band = bandRegions[edge / 2];
    const double pixelWidth = (xMax - xMin) / (plotRight - plotLeft);
    const double at = std::clamp(m.DataX(x), xMin, xMax);
    if (edge % 2 == 0) {
        band.from = std::min(at, band.to - pixelWidth);
    } else {
        band.to = std::max(at, band.from + pixelWidth);
    }
}

void CPlotara::DrawBandRegions(QPainter& painter) {
    const PlotMapping m = Mapping();
    if (!m.CanMapX()) return;
    for (const BandRegion& band : bandRegions) {
        if (!(band.to >= xMin && band.from <= xMax)) continue;  // outside the view, or NaN
        const int left = std::max(m.PixelX(band.from), plotLeft);
        const int right = std::min(m.PixelX(band.to), plotRight);
        QColor shade = ToQColor(band.color);
        painter.setPen(QPen(shade, 1));
        if (band.from >= xMin) painter.drawLine(left, plotTop, left, plotBottom);
        if (band.to <= xMax) painter.drawLine(right, plotTop, right, plotBottom);
        shade.setAlpha(kShadeAlpha);
        painter.fillRect(left, plotTop, right - left + 1, plotBottom - plotTop, shade);
    }
}
