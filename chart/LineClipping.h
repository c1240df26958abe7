#pragma once

#include <QPoint>

#include "PlotMapping.h"

// Cuts a spectrum line (X ascending) to the plot and hands each visible
// segment, in pixels, to segment(QPoint from, QPoint to). Every point inside
// the region gives a segment to its neighbour; segments that leave the plot
// end on the edge they cross. Nothing is drawn outside the plot rectangle and
// a segment whose ends lie beyond the same edge gives nothing. The caller
// makes sure the mapping CanMap().
namespace line_clipping {

struct Ends {
    QPoint start, end;
    bool hasStart = false, hasEnd = false;

    void Offer(QPoint p) {  // a crossing takes whichever role is still open
        if (!hasStart) {
            start = p;
            hasStart = true;
        } else if (!hasEnd) {
            end = p;
            hasEnd = true;
        }
    }
};

inline bool InRange(double v, double lo, double hi) { return v >= lo && v <= hi; }

// X where the segment (x0, y0)-(x1, y1) reaches the height yEdge; y0 != y1.
inline double CrossX(double x0, double y0, double x1, double y1, double yEdge) {
    return x0 + (yEdge - y0) * (x1 - x0) / (y1 - y0);
}

// The segment from point a to point b crosses the vertical edge at xEdge
// (the left edge on entry, the right one on exit). The point inside the X
// range keeps its role when it is inside Y too, the edge crossing takes the
// other role when inside Y, and crossings of the top and then the bottom
// edge fill whatever role is left.
inline Ends ClipAcrossEdge(const PlotMapping& m, double x0, double y0, double x1, double y1, bool entering) {
    Ends ends;
    const double yEdge = y0 + ((entering ? m.xMin : m.xMax) - x0) * (y1 - y0) / (x1 - x0);
    const bool edgeInside = InRange(yEdge, m.yMin, m.yMax);
    const QPoint edge = edgeInside ? QPoint(entering ? m.left : m.right, m.PixelY(yEdge)) : QPoint();
    if (entering) {
        if (InRange(y1, m.yMin, m.yMax)) ends.end = m.Pixel(x1, y1), ends.hasEnd = true;
        if (edgeInside) ends.start = edge, ends.hasStart = true;
    } else {
        if (InRange(y0, m.yMin, m.yMax)) ends.start = m.Pixel(x0, y0), ends.hasStart = true;
        if (edgeInside) ends.end = edge, ends.hasEnd = true;
    }
    for (const double yBorder : {m.yMax, m.yMin}) {
        if (ends.hasStart && ends.hasEnd) break;
        if (y0 == y1 || !((y0 - yBorder) * (y1 - yBorder) <= 0)) continue;
        const double x = CrossX(x0, y0, x1, y1, yBorder);
        if (InRange(x, m.xMin, m.xMax)) ends.Offer({m.PixelX(x), yBorder == m.yMax ? m.top : m.bottom});
    }
    return ends;
}

// Segment between two points whose X both lie in the region.
template <class Sink>
void ClipInner(const PlotMapping& m, double x0, double y0, double x1, double y1, Sink& segment) {
    const bool in0 = InRange(y0, m.yMin, m.yMax), in1 = InRange(y1, m.yMin, m.yMax);
    if (in0 && in1) {
        segment(m.Pixel(x0, y0), m.Pixel(x1, y1));
        return;
    }
    if ((y0 < m.yMin && y1 < m.yMin) || (y0 > m.yMax && y1 > m.yMax)) return;
    if (!(y0 == y0 && y1 == y1)) return;  // a NaN value has no place on the chart
    const auto border = [&](double yEdge) {
        return QPoint(m.PixelX(CrossX(x0, y0, x1, y1, yEdge)), yEdge == m.yMax ? m.top : m.bottom);
    };
    const QPoint start = in0 ? m.Pixel(x0, y0) : border(y0 < m.yMin ? m.yMin : m.yMax);
    const QPoint end = in1 ? m.Pixel(x1, y1) : border(y1 < m.yMin ? m.yMin : m.yMax);
    segment(start, end);
}

}  // namespace line_clipping

template <class Sink>
void ClipLine(const PlotMapping& m, const double* x, const double* y, int count, Sink&& segment) {
    using namespace line_clipping;
    if (count < 2) return;
    int i = 1;
    while (i < count && x[i] < m.xMin) ++i;
    if (i == count) return;
    if (x[i - 1] < m.xMin) {
        // A segment that jumps over the whole X range shows nothing.
        if (x[i] > m.xMax) return;
        const Ends ends = ClipAcrossEdge(m, x[i - 1], y[i - 1], x[i], y[i], true);
        if (ends.hasStart && ends.hasEnd) segment(ends.start, ends.end);
        ++i;
    }
    for (; i < count && x[i] <= m.xMax; ++i) ClipInner(m, x[i - 1], y[i - 1], x[i], y[i], segment);
    if (i < count && x[i - 1] <= m.xMax && x[i] > m.xMax) {
        const Ends ends = ClipAcrossEdge(m, x[i - 1], y[i - 1], x[i], y[i], false);
        if (ends.hasStart && ends.hasEnd) segment(ends.start, ends.end);
    }
}
