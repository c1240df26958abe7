#pragma once

#include <QPoint>

// Conversion between data values and chart pixels over the plot rectangle
// (left, top, right, bottom; y grows downwards). Pixels are truncated toward
// zero. Values far outside the plot are clamped before the conversion so that
// no input, however wild (huge, infinite, NaN), overflows an int.
struct PlotMapping {
    int left = 0, top = 0, right = 0, bottom = 0;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;

    // False when either axis range or the plot rectangle is empty: nothing
    // that needs data coordinates can be placed then.
    bool CanMap() const { return CanMapX() && yMax > yMin && bottom > top; }
    // Vertical marks (cursor, markings) need the X axis only.
    bool CanMapX() const { return xMax > xMin && right > left; }

    int PixelX(double x) const { return Truncate(left + (x - xMin) / (xMax - xMin) * (right - left)); }
    int PixelY(double y) const { return Truncate(bottom - (y - yMin) / (yMax - yMin) * (bottom - top)); }
    QPoint Pixel(double x, double y) const { return {PixelX(x), PixelY(y)}; }

    double DataX(int px) const { return xMin + double(px - left) / (right - left) * (xMax - xMin); }
    double DataY(int py) const { return yMax - double(py - top) / (bottom - top) * (yMax - yMin); }

    bool Contains(int px, int py) const { return left <= px && px <= right && top <= py && py <= bottom; }

    static int Truncate(double v) {
        constexpr double kLimit = 1e9;
        if (!(v > -kLimit)) return -static_cast<int>(kLimit);  // also NaN
        if (v > kLimit) return static_cast<int>(kLimit);
        return static_cast<int>(v);
    }
};
