#include "TracePlot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kLaneGap = 10;
// Pixels of lane height per Y tick step, and the bounds of the step count.
constexpr int kPixelsPerYStep = 40;
constexpr int kMinYSteps = 2, kMaxYSteps = 7;
}  // namespace

TracePlot::TracePlot() : tickFont(MakeChartFont(12, 0)), titleFont(MakeChartFont(12, 0)) {}

void TracePlot::SetPlotRect(int w, int h) {
    width = w;
    height = h;
    plotLeft = 80;
    plotTop = 10;
    plotRight = w - 30;
    plotBottom = h - 40;
}

void TracePlot::SetLineColorList(const std::list<uint32_t>& colors) { lineColors.assign(colors.begin(), colors.end()); }

void TracePlot::SetLineName(int line, const QString& name) {
    if (line >= 0 && line < kMaxLines) lanes[line].name = name;
}

void TracePlot::SetData(const double* xData, int points, const double* const* lineValues, int lines) {
    x = xData;
    count = xData != nullptr ? std::max(points, 0) : 0;
    lineCount = lineValues != nullptr ? std::clamp(lines, 0, kMaxLines) : 0;
    for (int i = 0; i < lineCount; ++i) values[i] = lineValues[i];
}

void TracePlot::GetXRange(double& min, double& max) const {
    if (count == 0) {
        min = 0;
        max = span > 0 ? span : 1;
        return;
    }
    const double first = x[0], last = x[count - 1];
    if (span > 0) {
        max = std::max(last, first + span);
        min = max - span;
    } else {
        min = first;
        max = last > first ? last : first + 1;
    }
}

void TracePlot::SetCursorPixel(int px, int py) {
    cursorShown = px >= plotLeft && px <= plotRight && py >= plotTop && py <= plotBottom;
    cursorPixel = px;
}

int TracePlot::CursorPoint() const {
    if (!cursorShown || count == 0 || plotRight <= plotLeft) return -1;
    PlotMapping m;
    m.left = plotLeft;
    m.right = plotRight;
    GetXRange(m.xMin, m.xMax);
    const double at = m.DataX(cursorPixel);
    const int i = static_cast<int>(std::lower_bound(x, x + count, at) - x);
    if (i == 0) return 0;
    if (i == count) return count - 1;
    return at - x[i - 1] < x[i] - at ? i - 1 : i;
}

PlotMapping TracePlot::LaneMapping(const Lane& lane) const {
    return {plotLeft, lane.top, plotRight, lane.bottom, xMin, xMax, lane.yMin, lane.yMax};
}

void TracePlot::PlaceLanes() {
    const int lanesShown = std::max(lineCount, 1);
    const int laneHeight = std::max(0, (plotBottom - plotTop - kLaneGap * (lanesShown - 1)) / lanesShown);
    for (int i = 0; i < lanesShown; ++i) {
        lanes[i].top = plotTop + i * (laneHeight + kLaneGap);
        lanes[i].bottom = lanes[i].top + laneHeight;
    }
}

// The lane's Y range holds what lies in the plot's columns, with a margin.
void TracePlot::ScaleLane(Lane& lane) const {
    double low = INFINITY, high = -INFINITY;
    for (const TraceColumn& column : lane.decimator.Columns()) {
        if (column.pixel < plotLeft || column.pixel > plotRight) continue;
        low = std::min(low, column.min);
        high = std::max(high, column.max);
    }
    if (!(low <= high)) {
        low = 0;
        high = 1;
    }
    double range = high - low;
    if (range <= std::fabs(high) * 1e-12) range = std::max(std::fabs(high) * 0.1, 1.0);
    lane.yMin = low - 0.05 * range;
    lane.yMax = high + 0.05 * range;
}

void TracePlot::UpdateTicks(AxisTicks& kept, std::array<QString, AxisTicks::kCapacity>& labels,
                            const AxisTicks& fresh) {
    const bool same = kept.count == fresh.count && kept.decimals == fresh.decimals &&
                      std::equal(fresh.values, fresh.values + fresh.count, kept.values);
    if (same) return;
    kept = fresh;
    FormatTickLabels(kept, labels);
}

void TracePlot::Draw(QPainter& painter) {
    painter.fillRect(0, 0, width, height, ToQColor(bkgColor));
    if (plotRight <= plotLeft || plotBottom <= plotTop) return;
    GetXRange(xMin, xMax);
    PlaceLanes();
    UpdateTicks(xTicks, xLabels, ComputeAxisTicks(xMin, xMax, std::max(2, (plotRight - plotLeft) / 100)));
    const int lanesShown = std::max(lineCount, 1);
    for (int i = 0; i < lanesShown; ++i) {
        Lane& lane = lanes[i];
        if (i < lineCount) lane.decimator.Decimate(LaneMapping(lane), x, values[i], count);
        ScaleLane(lane);
        const int steps = std::clamp((lane.bottom - lane.top) / kPixelsPerYStep, kMinYSteps, kMaxYSteps);
        UpdateTicks(lane.ticks, lane.labels, ComputeAxisTicks(lane.yMin, lane.yMax, steps));
        DrawGrid(painter, lane, i == lanesShown - 1);
        if (i >= lineCount) continue;
        const uint32_t color = lineColors.empty() ? 255 : lineColors[i % lineColors.size()];
        DrawLine(painter, lane, color);
        DrawChartText(painter, titleFont, ToQColor(color), plotLeft + 6, lane.top + 2, lane.name);
    }
    DrawChartText(painter, titleFont, ToQColor(wordColor), (plotLeft + plotRight) / 2 - 30, height - 18, xTitle);
    DrawCursor(painter);
}

void TracePlot::DrawGrid(QPainter& painter, const Lane& lane, bool bottomLane) {
    const PlotMapping m = LaneMapping(lane);
    const QColor text = ToQColor(wordColor);
    const QPen grid = DottedPen(ToQColor(gridColor));
    for (int i = 0; i < xTicks.count; ++i) {
        const int px = m.PixelX(xTicks.values[i]);
        painter.setPen(grid);
        painter.drawLine(px, lane.top, px, lane.bottom);
        if (bottomLane) {
            const int n = static_cast<int>(xLabels[i].size());
            DrawChartText(painter, tickFont, text, px - 3 * n, lane.bottom + 4, xLabels[i]);
        }
    }
    for (int i = 0; i < lane.ticks.count; ++i) {
        const int py = m.PixelY(lane.ticks.values[i]);
        painter.setPen(grid);
        painter.drawLine(plotLeft, py, plotRight, py);
        const int n = static_cast<int>(lane.labels[i].size());
        DrawChartText(painter, tickFont, text, plotLeft - 6 * n - 5, py - 6, lane.labels[i]);
    }
    painter.setPen(QPen(ToQColor(axisColor), 1));
    const QPoint corners[3] = {{plotLeft, lane.top}, {plotLeft, lane.bottom}, {plotRight, lane.bottom}};
    painter.drawPolyline(corners, 3);
}

// Each column is stroked first → min → max → last, and runs of joined
// columns make one polyline; a column on its own is a dot.
void TracePlot::DrawLine(QPainter& painter, const Lane& lane, uint32_t color) {
    const PlotMapping m = LaneMapping(lane);
    painter.setPen(QPen(ToQColor(color), 1));
    painter.setClipRect(plotLeft, lane.top, plotRight - plotLeft + 1, lane.bottom - lane.top + 1);
    const auto flush = [&] {
        if (polyline.size() == 1) painter.drawPoint(polyline.front());
        if (polyline.size() >= 2) painter.drawPolyline(polyline.data(), static_cast<int>(polyline.size()));
        polyline.clear();
    };
    const auto add = [&](int px, double v) {
        const QPoint p(px, m.PixelY(v));
        if (polyline.empty() || polyline.back() != p) polyline.push_back(p);
    };
    polyline.reserve(4 * lane.decimator.Columns().size());
    for (const TraceColumn& column : lane.decimator.Columns()) {
        if (!column.joined) flush();
        add(column.pixel, column.first);
        add(column.pixel, column.min);
        add(column.pixel, column.max);
        add(column.pixel, column.last);
    }
    flush();
    painter.setClipping(false);
}

void TracePlot::DrawCursor(QPainter& painter) {
    const int point = CursorPoint();
    if (point < 0) return;
    PlotMapping m;
    m.left = plotLeft;
    m.right = plotRight;
    m.xMin = xMin;
    m.xMax = xMax;
    const int px = m.PixelX(x[point]);
    if (px < plotLeft || px > plotRight) return;
    painter.setPen(DottedPen(ToQColor(wordColor)));
    painter.drawLine(px, plotTop, px, plotBottom);
}
