// Peak labels, the base-deleted line and LIBS names.
#include <QPainter>
#include <algorithm>

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

void CPlotara::DrawAotuPeak(QPainter&) {}
