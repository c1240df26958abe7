// Peak labels, the base-deleted line and LIBS names.
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstdio>
#include <numeric>

#include "PeakLabelLayout.h"
#include "PeakMarkings.h"
#include "PeakSearch.h"
#include "Plotara.h"

namespace {
constexpr int kLibsCapacity = 1000;
}

void CPlotara::SetAotuSearchPeak(bool on) { autoPeak = on; }
void CPlotara::SetIntensityRegion(double threshold) { intensityRegion = threshold; }
void CPlotara::SetDisplayPeakX(bool show) { showPeakX = show; }
void CPlotara::SetDisplayPeakHeight(bool show) { showPeakHeight = show; }
void CPlotara::SetDisplayPeakFwhm(bool show) { showPeakFwhm = show; }
void CPlotara::SetDisplayPeakVerticalLine(bool show) { showPeakLine = show; }
void CPlotara::SetDisplayPeakDeleteBase(bool show) { showBaseDeleted = show; }
void CPlotara::SetDisplayPeakOriginalSpectrum(bool show) { showActiveLine = show; }
void CPlotara::SetDisplayLibs(bool show) { showLibs = show; }

void CPlotara::SetPeakInfoAngle(int degrees) {
    if (degrees < 0 || degrees > 90) return;
    peakFont = MakeChartFont(12, degrees * 10);
    peakAngle = degrees;
}

void CPlotara::SetLibsPeaksInfo(const double* x, const double* y, const std::wstring* names, int count) {
    libsCount = (x == nullptr || y == nullptr || names == nullptr) ? 0 : std::clamp(count, 0, kLibsCapacity);
    libsX.assign(x, x + libsCount);
    libsY.assign(y, y + libsCount);
    libsName.clear();
    for (int i = 0; i < libsCount; ++i) libsName.push_back(QString::fromStdWString(names[i]));
}

int CPlotara::GetPeakDeleteBasePixelCount() const { return baseDeleted.pointCount; }

void CPlotara::GetPeakDeleteBaseData(double* x, double* y, int& count) const {
    count = baseDeleted.pointCount;
    if (count < 0) return;
    if (x != nullptr) std::copy(baseDeleted.xData.begin(), baseDeleted.xData.end(), x);
    if (y != nullptr) std::copy(baseDeleted.yData.begin(), baseDeleted.yData.end(), y);
}

void CPlotara::DrawLibsInfo(QPainter& painter) {
    const PlotMapping m = Mapping();
    if (!m.CanMap()) return;
    int i = 0;
    while (i < libsCount && libsX[i] < xMin) ++i;
    for (; i < libsCount && libsX[i] < xMax; ++i) {
        if (!(yMin < libsY[i] && libsY[i] < yMax)) continue;
        const int n = static_cast<int>(libsName[i].size());
        DrawChartText(painter, libsFont, textColor, m.PixelX(libsX[i]) - 7 * n / 3, m.PixelY(libsY[i]) - 14,
                      libsName[i]);
    }
}

// The search runs on every repaint while it is on; its record lives on the
// stack, so a repaint allocates nothing for it.
void CPlotara::DrawAutoPeak(QPainter& painter) {
    const ChartLine* line = ActiveLine();
    if (!autoPeak || (yType != 0 && yType != 1) || line == nullptr) return;
    PeakInfo info{};
    // The base-deleted copy was sized when the line became active; it is
    // handed out only while the sizes agree.
    double* baseOut = baseDeleted.pointCount == line->pointCount ? baseDeleted.yData.data() : nullptr;
    AotuSearchPeakByFD(line->pointCount, line->xData.data(), line->yData.data(), intensityRegion, &info, baseOut,
                       nullptr);
    if (baseOut != nullptr) baseDeletedSearched = true;

    const PlotMapping m = Mapping();
    if (!showPeakLine || (!showActiveLine && !showBaseDeleted) || !m.CanMap()) return;
    const int count = std::clamp<int>(info.count, 0, kPeakInfoCapacity);
    const QPen dotted = DottedPen(ToQColor(peakLineColor));
    for (int j = 0; j < count; ++j) {
        const double x = info.position[j], intensity = info.intensity[j];
        if (!(xMin <= x && x <= xMax && intensity >= yMin)) continue;
        const double top = showActiveLine ? intensity : info.height[j];
        QPoint at(m.PixelX(x), top >= yMax ? plotTop : m.PixelY(top));
        painter.setPen(dotted);
        painter.drawLine(at.x(), at.y(), at.x(), plotBottom);
        // Every peak drawn sets the text colour, labelled or not; the
        // markings' numbers drawn later take it.
        textColor = ToQColor(peakTextColor);

        const struct {
            bool shown;
            const char* format;
            double value;
        } labels[] = {{showPeakX, "X:%.3lf", x}, {showPeakHeight, "H:%.1lf", info.height[j]},
                      {showPeakFwhm, "FWHM:%.3lf", info.fwhm[j]}};
        for (const auto& label : labels) {
            if (!label.shown) continue;
            char text[64];
            std::snprintf(text, sizeof text, label.format, label.value);
            DrawChartText(painter, peakFont, textColor, at.x(), at.y(), QString::fromLatin1(text));
            at = NextPeakLabelPoint(at, peakAngle);
        }
    }
}

void CPlotara::AddMakringsAtPeaks() {
    ChartLine* line = ActiveLine();
    if (line == nullptr || line->pointCount < 1) return;
    // Searched over point indexes, so that positions come back in points.
    std::vector<double> index(line->pointCount);
    std::iota(index.begin(), index.end(), 0.0);
    PeakInfo info{};
    AotuSearchPeakByFD(line->pointCount, index.data(), line->yData.data(), intensityRegion, &info, nullptr,
                       nullptr);
    MergePeakMarkings(line->markings, info.position, std::clamp<int>(info.count, 0, kPeakInfoCapacity),
                      line->pointCount);
}

int CPlotara::MarkingPointOf(double position) {
    // Typed pixels can be anything: far off any line is still off it.
    const double point = PeakPoint(position);
    return std::isfinite(point) ? static_cast<int>(std::clamp(point, -1e9, 1e9)) : -1;
}

void CPlotara::GetMarkingPeakCentres(std::list<double>& out) {
    const ChartLine* line = ActiveLine();
    if (line == nullptr || line->pointCount < 1) return;
    std::vector<double> index(line->pointCount);
    std::iota(index.begin(), index.end(), 0.0);
    PeakInfo info{};
    AotuSearchPeakByFD(line->pointCount, index.data(), line->yData.data(), intensityRegion, &info, nullptr,
                       nullptr);
    const int count = std::clamp<int>(info.count, 0, kPeakInfoCapacity);
    const int last = line->pointCount - 1;
    for (const int m : line->markings) {
        if (m < 0 || m > last) continue;
        double at = m;
        for (int j = 0; j < count; ++j) {
            if (PeakPoint(info.position[j]) == m) at = std::clamp(info.position[j], 0.0, double(last));
        }
        // X between the two points around the centre, linearly.
        const int low = std::min(static_cast<int>(at), std::max(last - 1, 0));
        const int high = std::min(low + 1, last);
        out.push_back(line->xData[low] + (at - low) * (line->xData[high] - line->xData[low]));
    }
}
