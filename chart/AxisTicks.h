#pragma once

#include <QString>
#include <array>

// Tick values of one axis: a step of one digit times a power of ten, chosen
// so that the range holds about `divisor` steps (8 for X, 7 for Y).
struct AxisTicks {
    static constexpr int kCapacity = 30;
    double values[kCapacity] = {};
    int count = 0;
    int decimals = 0;  // decimals of the tick labels
};

// Ticks are the multiples of the step from the first one at or above min up
// to, not including, max. An empty, tiny (range/divisor below 1e-9), huge
// (1e11 and more) or non-finite range gets no ticks.
AxisTicks ComputeAxisTicks(double min, double max, int divisor);

// The ticks' labels, written with the ticks' decimals.
// Charts format them once per range change, not on every repaint.
void FormatTickLabels(const AxisTicks& ticks, std::array<QString, AxisTicks::kCapacity>& labels);
