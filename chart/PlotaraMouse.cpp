// Mouse modes, the read-out cursor and markings.
#include <algorithm>
#include <cmath>

#include "Plotara.h"

namespace {

constexpr double kZoomFactor = 1.16;

// Index of the point of x[0..n-1] (n >= 1, ascending) nearest to v; a tie
// goes to the right. `slack` widens the two ends.
int NearestPoint(const std::vector<double>& x, int n, double v, double slack) {
    if (n == 1 || x[0] + slack >= v) return 0;
    if (x[n - 1] - slack <= v) return n - 1;
    // A NaN (in v or in the data) fails every comparison and can make the
    // search stop at 0 or n: keep i - 1 and i on the line.
    const int i = std::clamp(static_cast<int>(std::lower_bound(x.begin(), x.begin() + n, v) - x.begin()), 1, n - 1);
    return (v - x[i - 1] < x[i] - v) ? i - 1 : i;
}

}  // namespace

bool CPlotara::IsMouseInAxisRegion(int x, int y) const {
    // A plot squeezed to nothing has no inside: pixel-to-data would divide by zero.
    return plotRight > plotLeft && plotBottom > plotTop && Mapping().Contains(x, y);
}

void CPlotara::SetMouseStatus(int code) {
    mouseStatus = code;
    if (code == 5) cursorShown = false;
    if (code != 4) cursorValid = false;
}

void CPlotara::LMouseDown(int x, int y) {
    if (!IsMouseInAxisRegion(x, y)) return;
    buttonDown = true;
    downX = x;
    downY = y;
    if (mouseStatus == 3) {
        panAnchorX = Mapping().DataX(x);
        panAnchorY = Mapping().DataY(y);
    }
}

void CPlotara::MouseMove(int x, int y) {
    moveX = x;
    moveY = y;
    if (mouseStatus != 3 || !buttonDown || !IsMouseInAxisRegion(x, y)) return;
    // Keep the anchor under the pointer and both ranges as they are.
    const double wx = xMax - xMin, wy = yMax - yMin;
    const double dx = wx * ((x - plotLeft) / double(plotRight - plotLeft));
    const double dy = wy * (1 - (y - plotTop) / double(plotBottom - plotTop));
    SetAxisRegion(panAnchorX - dx, panAnchorX + (wx - dx), panAnchorY - dy, panAnchorY + (wy - dy));
}

void CPlotara::LMouseUp(int x, int y) {
    // Only a press inside the plot starts a gesture.
    const bool pressed = buttonDown;
    buttonDown = false;
    if (!pressed || !IsMouseInAxisRegion(x, y)) return;
    const bool click = x == downX && y == downY;
    const PlotMapping m = Mapping();
    switch (mouseStatus) {
        case 0:
        case 1:
            if (click) MouseWheel(x, y, mouseStatus == 0 ? 1 : -1);
            break;
        case 2: {
            const int dx = x - downX, dy = y - downY;
            if (dx > 9 && dy > 9) {
                SetAxisRegion(m.DataX(downX), m.DataX(x), m.DataY(downY), m.DataY(y));
            } else if (dx < -9 && dy < -9) {
                BackToLastAxisRegion();
            }
            break;
        }
        case 4: {
            const ChartLine* line = ActiveLine();
            if (!click || line == nullptr || line->pointCount < 1) break;
            PlaceCursor(*line, NearestPoint(line->xData, line->pointCount, m.DataX(x), 0.00001));
            cursorShown = true;
            cursorValid = true;
            break;
        }
        default:
            break;
    }
}

void CPlotara::MouseWheel(int x, int y, int direction) {
    if (direction == 0 || !IsMouseInAxisRegion(x, y)) return;
    const PlotMapping m = Mapping();
    const double px = m.DataX(x), py = m.DataY(y);
    const double wx = xMax - xMin, wy = yMax - yMin;
    if (!(wx > 0 && wy > 0)) return;  // an empty range has no point to zoom about
    const double fl = (px - xMin) / wx, fr = (xMax - px) / wx, fb = (py - yMin) / wy, ft = (yMax - py) / wy;
    double vx, vy;
    if (direction > 0) {
        if (!(wx > 0.00001 && wy > 0.00001)) return;
        vx = wx / kZoomFactor;
        vy = wy / kZoomFactor;
    } else {
        if (!(wx < 1e10 && wy < 1e10)) return;
        vx = wx * kZoomFactor;
        vy = wy * kZoomFactor;
    }
    // The data point under the pointer stays where it is.
    SetAxisRegion(px - vx * fl, px + vx * fr, py - vy * fb, py + vy * ft);
}

// ---- read-out cursor

void CPlotara::PlaceCursor(const ChartLine& line, int point) {
    cursorLine = &line;
    cursorPoint = point;
    cursorX = line.xData[point];
}

void CPlotara::SetVerticalLineXData(double x) {
    const ChartLine* line = ActiveLine();
    if (line == nullptr || line->pointCount < 1) return;
    PlaceCursor(*line, NearestPoint(line->xData, line->pointCount, x, 0.0));
}

void CPlotara::SetNearbyXData(int direction) {
    const ChartLine* line = ActiveLine();
    if (line == nullptr || line->pointCount < 1 || (direction != -1 && direction != 1)) return;
    const auto first = line->xData.begin(), last = first + line->pointCount;
    int point;
    if (direction < 0) {
        // The last point left of the cursor, clamped to the ends.
        point = static_cast<int>(std::lower_bound(first, last, cursorX) - first) - 1;
        point = std::clamp(point, 0, line->pointCount - 1);
    } else {
        point = static_cast<int>(std::upper_bound(first, last, cursorX) - first);
        point = std::min(point, line->pointCount - 1);
    }
    PlaceCursor(*line, point);
}

int CPlotara::GetVerticalLineXData(double& x) const {
    x = 0;
    if (!cursorValid) return 0;
    x = cursorX;
    return 1;
}

int CPlotara::GetVerticalLineYData(double& y) const {
    y = 0;
    if (!cursorValid || cursorLine == nullptr) return 0;
    y = cursorLine->yData[cursorPoint];
    return 1;
}

// ---- markings

int CPlotara::AddMarking() { return AddMarking(cursorX); }

int CPlotara::AddMarking(double x) {
    ChartLine* line = ActiveLine();
    if (line == nullptr) return 0;
    // The search starts at the second point, so a marking never lands on the
    // first one; beyond the last point it gives pointCount.
    int pos = 1;
    while (pos < line->pointCount && line->xData[pos] + 0.0001 < x) ++pos;
    const auto at = std::lower_bound(line->markings.begin(), line->markings.end(), pos);
    if (at != line->markings.end() && *at == pos) return 0;
    line->markings.insert(at, pos);
    return 1;
}

void CPlotara::DeleteMarking(double index) {
    ChartLine* line = ActiveLine();
    if (line == nullptr) return;
    const auto at = std::find_if(line->markings.begin(), line->markings.end(),
                                 [index](int m) { return std::fabs(m - index) <= 0.0001; });
    if (at != line->markings.end()) line->markings.erase(at);
}

void CPlotara::MoveMarking(double index, double x) {
    if (AddMarking(x) == 1) DeleteMarking(index);
}

void CPlotara::DeleteAllMarkings() {
    if (ChartLine* line = ActiveLine()) line->markings.clear();
}

void CPlotara::GetMarkingValues(std::list<double>& out, bool wantY) {
    const ChartLine* line = ActiveLine();
    if (line == nullptr) return;
    for (const int m : line->markings) {
        if (m >= 0 && m < line->pointCount) out.push_back(wantY ? line->yData[m] : line->xData[m]);
    }
}

void CPlotara::GetMarkingXValues(std::list<double>& out) { GetMarkingValues(out, false); }
void CPlotara::GetMarkingYValues(std::list<double>& out) { GetMarkingValues(out, true); }
