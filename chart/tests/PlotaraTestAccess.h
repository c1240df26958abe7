#pragma once

#include <QImage>
#include <QPainter>
#include <array>

#include "Plotara.h"

// Reads the chart's private state that no operation hands out.
struct PlotaraTestAccess {
    static const QString& XLabel(const CPlotara& c) { return c.xLabel; }
    static const QString& YLabel(const CPlotara& c) { return c.yLabel; }
    static const std::list<ChartLine>& DeviceLines(const CPlotara& c) { return c.deviceLines; }
    static std::size_t HistorySize(const CPlotara& c) { return c.zoomHistory.size(); }
    static const AxisTicks& XTicks(const CPlotara& c) { return c.xTicks; }
    static int PeakAngle(const CPlotara& c) { return c.peakAngle; }
};

// xMin, xMax, yMin, yMax.
inline std::array<double, 4> RegionOf(const CPlotara& c) {
    std::array<double, 4> r;
    c.GetXRegion(r[0], r[1]);
    c.GetYRegion(r[2], r[3]);
    return r;
}

// A chart of the given size over 0..10 × 0..10 on a white background.
inline void SetUpChart(CPlotara& chart, int width = 400, int height = 300) {
    chart.SetPlotaraRect(width, height);
    chart.SetBkgColor(0xFFFFFF);
    chart.SetAxisRegion(0, 10, 0, 10);
}

inline QImage Render(CPlotara& chart, int width = 400, int height = 300) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.DrawImage(painter);
    return image;
}

// Text is antialiased: count the dark pixels of an area.
inline int CountDark(const QImage& image, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += qGray(image.pixel(x, y)) < 110;
    return n;
}

inline int CountColor(const QImage& image, QRect area, QRgb color) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == color;
    return n;
}
