#include "Plotara.h"

#include <algorithm>

#include "AxisTitles.h"

namespace {

constexpr std::size_t kZoomHistoryDepth = 10;

ChartLine MakeLine(int count, const double* x, const double* y, const std::wstring& name) {
    ChartLine line;
    line.pointCount = std::max(count, 0);
    line.xData.assign(line.pointCount, 0.0);
    line.yData.assign(line.pointCount, 0.0);
    if (x != nullptr) std::copy_n(x, line.pointCount, line.xData.begin());
    if (y != nullptr) std::copy_n(y, line.pointCount, line.yData.begin());
    line.name = name;
    return line;
}

// Inserts before the element at `position`, or at the end when the list is
// shorter (or the position negative).
void InsertAt(std::list<ChartLine>& lines, int position, ChartLine&& line) {
    auto where = lines.begin();
    if (position < 0 || position >= static_cast<int>(lines.size())) {
        where = lines.end();
    } else {
        std::advance(where, position);
    }
    lines.insert(where, std::move(line));
}

template <class List, class Pred>
auto FindIn(List& lines, Pred pred) -> decltype(&*lines.begin()) {
    const auto it = std::find_if(lines.begin(), lines.end(), pred);
    return it == lines.end() ? nullptr : &*it;
}

}  // namespace

CPlotara::CPlotara()
    : xTickFont(MakeChartFont(12, -300)),
      yTickFont(MakeChartFont(12, 0)),
      xLabelFont(MakeChartFont(12, 0)),
      yLabelFont(MakeChartFont(12, 900)),
      peakFont(MakeChartFont(12, 0)),
      libsFont(MakeChartFont(14, 0)) {
    baseDeleted.pointCount = -1;
    SetUsingLanguage(0);
}

CPlotara::~CPlotara() = default;

int CPlotara::SetUsingLanguage(int code) {
    if (code < 0 || code > 3) return 0;
    SetTitle(xLabel, XAxisTitle(xType, code));
    SetTitle(yLabel, YAxisTitle(yType, code));
    if (code == 3) return 0;  // Japanese titles show, but the column cannot be kept
    language = code;
    return 1;
}

int CPlotara::SetXAxisType(int code) {
    const wchar_t* title = XAxisTitle(code, language);
    if (title == nullptr) return 0;
    xType = code;
    SetTitle(xLabel, title);
    return 1;
}

int CPlotara::SetYAxisType(int code) {
    const wchar_t* title = YAxisTitle(code, language);
    if (title == nullptr) return 0;
    yType = code;
    SetTitle(yLabel, title);
    return 1;
}

void CPlotara::SetTitle(QString& title, const wchar_t* text) { title = QString::fromWCharArray(text); }

void CPlotara::SetBkgColor(uint32_t color) { bkgColor = color; }
void CPlotara::SetAxisColor(uint32_t color) { axisColor = color; }
void CPlotara::SetGridColor(uint32_t color) { gridColor = color; }
void CPlotara::SetWordColor(uint32_t color) { wordColor = color; }
void CPlotara::SetLineColorList(const std::list<uint32_t>& colors) { lineColors = colors; }

void CPlotara::SetPlotaraRect(int width, int height) {
    imageWidth = width;
    imageHeight = height;
    plotLeft = 80;
    plotTop = 30;
    plotRight = width - 40;
    plotBottom = height - 50;
    xLabelPos = QPoint(width / 2 - 30, height - 20);
    yLabelPos = QPoint(10, height / 2 + 30);
}

// ---- lines

ChartLine* CPlotara::FindDeviceLine(int index) {
    return FindIn(deviceLines, [index](const ChartLine& l) { return l.deviceIndex == index; });
}
const ChartLine* CPlotara::FindDeviceLine(int index) const {
    return FindIn(deviceLines, [index](const ChartLine& l) { return l.deviceIndex == index; });
}
ChartLine* CPlotara::FindFileLine(const std::wstring& name) {
    return FindIn(fileLines, [&name](const ChartLine& l) { return l.name == name; });
}
const ChartLine* CPlotara::FindFileLine(const std::wstring& name) const {
    return FindIn(fileLines, [&name](const ChartLine& l) { return l.name == name; });
}

const ChartLine* CPlotara::FindLine(int index, const std::wstring& name) const {
    if (index >= 0) return FindDeviceLine(index);
    if (!name.empty()) return FindFileLine(name);
    return nullptr;
}

ChartLine* CPlotara::ActiveLine() { return const_cast<ChartLine*>(FindLine(activeIndex, activeName)); }

void CPlotara::AddDeviceLine(int index, int count, const double* x, const std::wstring& name) {
    ChartLine line = MakeLine(count, x, nullptr, name);
    line.deviceIndex = index;
    // Stretches are separated by unmarked points: setting them never allocates.
    line.saturated.reserve(static_cast<size_t>(line.pointCount / 2 + 1));
    InsertAt(deviceLines, index, std::move(line));
}

void CPlotara::AddFileLine(int position, int count, const double* x, const double* y, const std::wstring& name) {
    InsertAt(fileLines, position, MakeLine(count, x, y, name));
}

void CPlotara::SetDeviceLineXData(int index, const double* x) {
    ChartLine* line = FindDeviceLine(index);
    if (line == nullptr || x == nullptr) return;
    std::copy_n(x, line->pointCount, line->xData.begin());
    if (index == activeIndex && baseDeleted.pointCount > 0) {
        std::copy_n(x, std::min(baseDeleted.pointCount, line->pointCount), baseDeleted.xData.begin());
    }
}

void CPlotara::SetDeviceLineYData(int index, const double* y) {
    ChartLine* line = FindDeviceLine(index);
    if (line == nullptr || y == nullptr) return;
    std::copy_n(y, line->pointCount, line->yData.begin());
}

void CPlotara::SetFileLineDisplay(const std::wstring& name, bool show) {
    if (ChartLine* line = FindFileLine(name)) line->visible = show;
}

// Everything that designates a line that is about to go.
void CPlotara::ForgetLine(const ChartLine& line) {
    if (cursorLine == &line) {
        cursorLine = nullptr;
        cursorShown = false;
        cursorValid = false;
    }
}

void CPlotara::ClearBaseDeleted() {
    baseDeletedSearched = false;
    baseDeleted.pointCount = -1;
    baseDeleted.xData.clear();
    baseDeleted.yData.clear();
}

void CPlotara::DeleteDeviceLine(int index) {
    const auto it = std::find_if(deviceLines.begin(), deviceLines.end(),
                                 [index](const ChartLine& l) { return l.deviceIndex == index; });
    if (it == deviceLines.end()) return;
    ForgetLine(*it);
    deviceLines.erase(it);
    if (index == activeIndex) {
        activeIndex = -1;
        ClearBaseDeleted();
    }
}

void CPlotara::DeleteFileLine(const std::wstring& name) {
    const auto it =
        std::find_if(fileLines.begin(), fileLines.end(), [&name](const ChartLine& l) { return l.name == name; });
    if (it == fileLines.end()) return;
    ForgetLine(*it);
    fileLines.erase(it);
    if (name == activeName) {
        activeName.clear();
        if (activeIndex < 0) ClearBaseDeleted();
    }
}

void CPlotara::DeleteAllDeviceLine() {
    for (const ChartLine& line : deviceLines) ForgetLine(line);
    deviceLines.clear();
    if (activeIndex >= 0) ClearBaseDeleted();
    activeIndex = -1;
}

void CPlotara::DeleteAllFileLine() {
    for (const ChartLine& line : fileLines) ForgetLine(line);
    fileLines.clear();
    if (activeIndex < 0) ClearBaseDeleted();
    activeName.clear();
}

int CPlotara::GetDeviceLineCount() const { return static_cast<int>(deviceLines.size()); }
int CPlotara::GetFileLineCount() const { return static_cast<int>(fileLines.size()); }

// ---- active line

void CPlotara::SetActiveSpectrum(int index, const std::wstring& name) {
    activeIndex = index;
    activeName = name;
    ClearBaseDeleted();
    const ChartLine* line = FindLine(index, name);
    if (line == nullptr) return;
    baseDeleted.pointCount = line->pointCount;
    baseDeleted.xData = line->xData;
    baseDeleted.yData.assign(line->pointCount, 0.0);
}

int CPlotara::GetActiveLinePixelCount(int index, const std::wstring& name) const {
    const ChartLine* line = FindLine(index, name);
    return line == nullptr ? -1 : line->pointCount;
}

int CPlotara::GetActiveLineSpectrumData(int index, const std::wstring& name, double* x, double* y) const {
    const ChartLine* line = FindLine(index, name);
    if (line == nullptr) return -1;
    if (x != nullptr) std::copy(line->xData.begin(), line->xData.end(), x);
    if (y != nullptr) std::copy(line->yData.begin(), line->yData.end(), y);
    return line->pointCount;
}

// ---- axis region

void CPlotara::SetAxisRegion(double x1, double x2, double y1, double y2) {
    if (xMax != xMin && yMax != yMin) RecordAxisRegion(xMin, xMax, yMin, yMax);
    xMin = std::min(x1, x2);
    xMax = std::max(x1, x2);
    yMin = std::min(y1, y2);
    yMax = std::max(y1, y2);
    ResetDotlineCoords();
}

void CPlotara::GetXRegion(double& min, double& max) const {
    min = xMin;
    max = xMax;
}

void CPlotara::GetYRegion(double& min, double& max) const {
    min = yMin;
    max = yMax;
}

void CPlotara::RecordAxisRegion(double x0, double x1, double y0, double y1) {
    zoomHistory.push_front({x0, x1, y0, y1});
    while (zoomHistory.size() > kZoomHistoryDepth) zoomHistory.pop_back();
}

void CPlotara::BackToLastAxisRegion() {
    if (zoomHistory.empty()) return;
    const AxisRegion last = zoomHistory.front();
    zoomHistory.pop_front();
    xMin = last.xMin;
    xMax = last.xMax;
    yMin = last.yMin;
    yMax = last.yMax;
    ResetDotlineCoords();
}

void CPlotara::DeleteAllAxixRegion() { zoomHistory.clear(); }

void CPlotara::ResetDotlineCoords() {
    xTicks = ComputeAxisTicks(xMin, xMax, 8);
    yTicks = ComputeAxisTicks(yMin, yMax, 7);
    FormatTickLabels(xTicks, xTickLabels);
    FormatTickLabels(yTicks, yTickLabels);
}

PlotMapping CPlotara::Mapping() const {
    return {plotLeft, plotTop, plotRight, plotBottom, xMin, xMax, yMin, yMax};
}

void CPlotara::SaveImage(const std::wstring& path) {
    savePath = path;
    savePending = true;
}

void CPlotara::SetImageSavedListener(std::function<void(const std::wstring&, bool)> listener) {
    imageSavedListener = std::move(listener);
}
