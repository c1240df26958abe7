#pragma once

#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>
#include <list>
#include <vector>

#include "AxisTicks.h"
#include "ChartPaint.h"
#include "PlotMapping.h"
#include "TraceDecimation.h"

class QPainter;

// Several time series against one X axis (time or frame number), each in a
// lane of its own stacked above the others, since the quantities traced
// side by side (an integral, a line centre in nm, a ratio) have nothing in
// common but their time. Every lane scales its Y axis to what it shows.
// The plot either shows all of X or scrolls with the newest point, keeping
// the last `span` of X in view. The lines are decimated to the plot's pixel
// columns, so a repaint costs the same for a long record as for a short one
// and, once the buffers have grown to the plot's width, allocates only for
// tick labels whose values changed. Colours are 0x00BBGGRR values. One
// thread (the host's GUI thread) calls everything.
class TracePlot {
public:
    static constexpr int kMaxLines = 4;

    TracePlot();

    void SetPlotRect(int width, int height);
    void SetBkgColor(uint32_t color) { bkgColor = color; }
    void SetAxisColor(uint32_t color) { axisColor = color; }
    void SetGridColor(uint32_t color) { gridColor = color; }
    void SetWordColor(uint32_t color) { wordColor = color; }
    // Line i takes colour i of the list, round again when it is shorter.
    void SetLineColorList(const std::list<uint32_t>& colors);
    void SetXTitle(const QString& title) { xTitle = title; }
    // Written at the top of line i's lane.
    void SetLineName(int line, const QString& name);

    // The points drawn: x ascending (count values), and for each of `lines`
    // (at most kMaxLines) an array of count values, NaN where a point has
    // no value. The arrays are read at every Draw and read-out, not copied:
    // hand them again whenever they may have moved or grown.
    void SetData(const double* x, int count, const double* const* values, int lines);
    // The X range shown: the last `span` of X when span > 0 (from the first
    // point while the record is shorter), else the whole record.
    void SetSpan(double span) { this->span = span; }
    // The X range the next Draw shows.
    void GetXRange(double& min, double& max) const;

    // The read-out cursor follows the pointer's pixel column; a pixel
    // outside the plot hides it.
    void SetCursorPixel(int x, int y);
    void HideCursor() { cursorShown = false; }
    // The point nearest the cursor's X, or -1 without cursor or points.
    int CursorPoint() const;

    void Draw(QPainter& painter);

    // The plot area within the chart, for hosts that place things on it.
    int PlotLeft() const { return plotLeft; }
    int PlotRight() const { return plotRight; }
    int PlotTop() const { return plotTop; }
    int PlotBottom() const { return plotBottom; }

private:
    struct Lane {
        int top = 0, bottom = 0;
        double yMin = 0, yMax = 1;
        AxisTicks ticks;
        std::array<QString, AxisTicks::kCapacity> labels;
        QString name;
        TraceDecimator decimator;
    };

    PlotMapping LaneMapping(const Lane& lane) const;
    void PlaceLanes();
    void ScaleLane(Lane& lane) const;
    void DrawGrid(QPainter& painter, const Lane& lane, bool bottomLane);
    void DrawLine(QPainter& painter, const Lane& lane, uint32_t color);
    void DrawCursor(QPainter& painter);
    // Sets ticks and formats their labels when they differ from those kept.
    static void UpdateTicks(AxisTicks& kept, std::array<QString, AxisTicks::kCapacity>& labels,
                            const AxisTicks& fresh);

    int width = 0, height = 0;
    int plotLeft = 0, plotTop = 0, plotRight = 0, plotBottom = 0;
    uint32_t bkgColor = 0xFFFFFF, axisColor = 0, gridColor = 43690, wordColor = 0;
    std::vector<uint32_t> lineColors;
    QString xTitle;
    ChartFont tickFont, titleFont;

    const double* x = nullptr;
    int count = 0;
    std::array<const double*, kMaxLines> values{};
    int lineCount = 0;
    double span = 0;

    double xMin = 0, xMax = 1;
    AxisTicks xTicks;
    std::array<QString, AxisTicks::kCapacity> xLabels;
    std::array<Lane, kMaxLines> lanes;

    bool cursorShown = false;
    int cursorPixel = 0;

    // The pixels of the line being drawn, kept between repaints.
    std::vector<QPoint> polyline;
};
