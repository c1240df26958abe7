#pragma once

#include <QPoint>

// Where the next label of a peak goes after one written at `at` with the
// peak font sloped by `angle` degrees: near-horizontal labels stack
// downwards, steep ones stand side by side to the right.
inline QPoint NextPeakLabelPoint(QPoint at, int angle) {
    if (angle < 22) return at + QPoint(0, 12);
    if (angle < 45) return at + QPoint(0, 15);
    if (angle < 77) return at + QPoint(15, 0);
    return at + QPoint(12, 0);
}
