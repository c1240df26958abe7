#include "AxisTicks.h"

#include <cmath>
#include <cstdio>

AxisTicks ComputeAxisTicks(double min, double max, int divisor) {
    AxisTicks ticks;
    const double r = (max - min) / divisor;
    int power = -10;
    double b = 0;
    for (; power <= 9; ++power) {
        b = std::pow(10.0, power) * r;
        if (b >= 1 && b < 10) break;
    }
    if (power > 9) return ticks;

    const double step = std::trunc(b) / std::pow(10.0, power);
    // k is a double: min / step can exceed any int. The walk to the first
    // multiple takes one or two steps; the bound keeps a min so large that
    // k + 1 == k from looping forever.
    double k = std::trunc(min / step) - 1;
    for (int walk = 0; min > k * step && walk < 4; ++walk) ++k;
    if (min > k * step) return ticks;
    for (; k * step < max && ticks.count < AxisTicks::kCapacity; ++k) ticks.values[ticks.count++] = k * step;
    ticks.decimals = power > 0 ? power : 0;
    return ticks;
}

void FormatTickLabels(const AxisTicks& ticks, std::array<QString, AxisTicks::kCapacity>& labels) {
    char format[16];
    std::snprintf(format, sizeof format, "%%.%dlf", ticks.decimals);
    for (int i = 0; i < ticks.count; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, format, ticks.values[i]);
        labels[i] = QString::fromLatin1(text);
    }
}
