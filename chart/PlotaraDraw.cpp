// Painting of the chart, layer by layer, bottom to top.
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstdio>

#include "ImageExport.h"
#include "LineClipping.h"
#include "Plotara.h"

void CPlotara::DrawImage(QPainter& painter) {
    textColor = Qt::black;
    DrawBackground(painter);
    DrawAxis(painter);
    DrawDotlines(painter);
    DrawTextW(painter);
    DrawBandRegions(painter);
    DrawSpectrumLine(painter);
    DrawChooseZoomInDotLine(painter);
    if (showLibs) {
        DrawLibsInfo(painter);
    } else {
        DrawVerticalLine(painter);
        DrawAutoPeak(painter);
    }
    DrawMarkings(painter);
    if (savePending) {
        savePending = false;
        QPaintDevice* device = painter.device();
        const bool written = device != nullptr && device->devType() == QInternal::Image &&
                             SaveChartImage(*static_cast<QImage*>(device), savePath);
        if (imageSavedListener) imageSavedListener(savePath, written);
    }
}

void CPlotara::DrawBackground(QPainter& painter) {
    painter.fillRect(0, 0, imageWidth, imageHeight, ToQColor(bkgColor));
}

void CPlotara::DrawAxis(QPainter& painter) {
    painter.setPen(QPen(ToQColor(axisColor), 1));
    const QPoint corners[3] = {{plotLeft, plotTop}, {plotLeft, plotBottom}, {plotRight, plotBottom}};
    painter.drawPolyline(corners, 3);
}

void CPlotara::DrawDotlines(QPainter& painter) {
    const PlotMapping m = Mapping();
    const QPen grid = DottedPen(ToQColor(gridColor));
    // The tick rule gives no ticks on an empty range, so nothing divides by it.
    for (int i = 0; i < xTicks.count; ++i) {
        const int px = m.PixelX(xTicks.values[i]);
        if (px != plotLeft) {
            painter.setPen(grid);
            painter.drawLine(px, plotBottom, px, plotTop);
        }
        const int n = static_cast<int>(xTickLabels[i].size());
        DrawChartText(painter, xTickFont, textColor, px - 3 * n, plotBottom + 5, xTickLabels[i]);
    }
    for (int i = 0; i < yTicks.count; ++i) {
        const int py = m.PixelY(yTicks.values[i]);
        if (py != plotBottom) {
            painter.setPen(grid);
            painter.drawLine(plotLeft, py, plotRight, py);
        }
        const int n = static_cast<int>(yTickLabels[i].size());
        DrawChartText(painter, yTickFont, textColor, plotLeft - 6 * n - 5, py - 6, yTickLabels[i]);
    }
}

void CPlotara::DrawTextW(QPainter& painter) {
    textColor = ToQColor(wordColor);
    DrawChartText(painter, xLabelFont, textColor, xLabelPos.x(), xLabelPos.y(), xLabel);
    DrawChartText(painter, yLabelFont, textColor, yLabelPos.x(), yLabelPos.y(), yLabel);
}

// One colour sequence runs over the drawn device lines, then the drawn file
// lines, then the base-deleted line.
void CPlotara::DrawSpectrumLine(QPainter& painter) {
    auto color = lineColors.begin();
    const auto nextColor = [&]() -> uint32_t {
        if (lineColors.empty()) return 255;  // pure red
        const uint32_t c = *color;
        if (++color == lineColors.end()) color = lineColors.begin();
        return c;
    };
    int order = 0;
    for (const ChartLine& line : deviceLines) {
        if (line.deviceIndex == activeIndex && !showActiveLine) continue;
        const uint32_t lineColor = nextColor();
        DrawSpectrumLine(painter, line.xData.data(), line.yData.data(), line.pointCount, lineColor);
        DrawSaturation(painter, line, order++, lineColor);
    }
    for (const ChartLine& line : fileLines) {
        if (!line.visible || (line.name == activeName && !showActiveLine)) continue;
        DrawSpectrumLine(painter, line.xData.data(), line.yData.data(), line.pointCount, nextColor());
    }
    if (showBaseDeleted) {
        DrawSpectrumLine(painter, baseDeleted.xData.data(), baseDeleted.yData.data(), baseDeleted.pointCount,
                         nextColor());
    }
}

// Contiguous clipped segments are joined into one polyline, which paints the
// same pixels as drawing them one by one at a fraction of the cost.
void CPlotara::DrawSpectrumLine(QPainter& painter, const double* x, const double* y, int count, uint32_t color) {
    const PlotMapping m = Mapping();
    if (count < 2 || !m.CanMap()) return;
    painter.setPen(QPen(ToQColor(color), 1));
    polyline.clear();
    const auto flush = [&] {
        if (polyline.size() >= 2) painter.drawPolyline(polyline.data(), static_cast<int>(polyline.size()));
        polyline.clear();
    };
    ClipLine(m, x, y, count, [&](QPoint from, QPoint to) {
        if (polyline.empty() || polyline.back() != from) {
            flush();
            polyline.push_back(from);
        }
        polyline.push_back(to);
    });
    flush();
}

void CPlotara::DrawChooseZoomInDotLine(QPainter& painter) {
    if (mouseStatus != 2 || !buttonDown) return;
    const int cx = std::clamp(moveX, plotLeft, plotRight);
    const int cy = std::clamp(moveY, plotTop, plotBottom);
    painter.setPen(DottedPen(Qt::black));
    const QPoint corners[5] = {{downX, downY}, {downX, cy}, {cx, cy}, {cx, downY}, {downX, downY}};
    painter.drawPolyline(corners, 5);
}

void CPlotara::DrawVerticalLine(QPainter& painter) {
    const PlotMapping m = Mapping();
    if (!cursorShown || cursorLine == nullptr || !m.CanMapX() || !(xMin < cursorX && cursorX < xMax)) return;
    const int px = m.PixelX(cursorX);
    painter.setPen(DottedPen(Qt::black));
    painter.drawLine(px, plotTop, px, plotBottom);
    char text[96];
    std::snprintf(text, sizeof text, "(%.3lf,%.3lf)", cursorX, cursorLine->yData[cursorPoint]);
    textColor = ToQColor(peakTextColor);
    DrawChartText(painter, peakFont, textColor, px + 5, plotTop, QString::fromLatin1(text));
}

void CPlotara::DrawMarkings(QPainter& painter) {
    const ChartLine* line = ActiveLine();
    const PlotMapping m = Mapping();
    if (line == nullptr || line->markings.empty() || !m.CanMapX()) return;
    const QPen dotted = DottedPen(Qt::black);
    const bool mirrored = xType == 3 || xType == 4;  // their arrays run against pixel order
    static const QString kMark = QStringLiteral("▼");
    int ordinal = 0;
    for (const int marking : line->markings) {
        const int n = ordinal++;
        if (marking < 0 || marking >= line->pointCount) continue;
        const double x = line->xData[mirrored ? line->pointCount - 1 - marking : marking];
        if (x < xMin || x > xMax) continue;
        const int px = m.PixelX(x);
        painter.setPen(dotted);
        painter.drawLine(px, plotTop, px, plotBottom);
        DrawChartText(painter, xLabelFont, textColor, px - 5, plotTop - 12, kMark);
        DrawChartText(painter, xLabelFont, textColor, px - 4, plotTop - 24, QString::number(n));
    }
}
