// Saturation marks of the device lines: where a detector clipped, a band in
// the line's colour along the top of the plot, one row per drawn line so the
// bands of several devices stay apart.
#include <QPainter>
#include <algorithm>

#include "Plotara.h"

namespace {

constexpr int kBandHeight = 5;
constexpr int kBandGap = 1;
// A few clipped points stay visible beside the line's own peak however far
// the chart is zoomed out.
constexpr int kNarrowestBand = 9;

}  // namespace

void CPlotara::SetDeviceLineSaturation(int index, const PointStretch* stretches, int count) {
    ChartLine* line = FindDeviceLine(index);
    if (line == nullptr) return;
    line->saturated.clear();
    if (stretches == nullptr) return;
    for (int i = 0; i < count; ++i) {
        const PointStretch& s = stretches[i];
        if (s.first < 0 || s.last < s.first || s.last >= line->pointCount) continue;
        if (line->saturated.size() == line->saturated.capacity()) break;  // more than a line can hold apart
        line->saturated.push_back(s);
    }
}

void CPlotara::DrawSaturation(QPainter& painter, const ChartLine& line, int order, uint32_t color) {
    const PlotMapping m = Mapping();
    if (line.saturated.empty() || !m.CanMapX()) return;
    const int top = plotTop + kBandGap + order * (kBandHeight + kBandGap);
    if (top + kBandHeight > plotBottom) return;
    const bool mirrored = xType == 3 || xType == 4;  // their arrays run against pixel order
    const int last = line.pointCount - 1;
    const QColor band = ToQColor(color);
    for (const PointStretch& s : line.saturated) {
        const double from = line.xData[mirrored ? last - s.last : s.first];
        const double to = line.xData[mirrored ? last - s.first : s.last];
        if (to < xMin || from > xMax) continue;
        int left = m.PixelX(std::max(from, xMin));
        int right = m.PixelX(std::min(to, xMax));
        if (right - left + 1 < kNarrowestBand) {
            left = std::max(plotLeft, (left + right) / 2 - kNarrowestBand / 2);
            right = std::min(plotRight, left + kNarrowestBand - 1);
        }
        painter.fillRect(left, top, right - left + 1, kBandHeight, band);
    }
}
