#pragma once

#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "AxisTicks.h"
#include "ChartLine.h"
#include "ChartPaint.h"
#include "PlotMapping.h"

class QPainter;

// One spectrum chart: device and file lines over a linear X/Y axis pair with
// a dotted grid, tick labels, axis titles and overlays, painted whole on
// every DrawImage. The chart keeps copies of all line data. Colours are
// 0x00BBGGRR values. Not thread-safe: one thread (the host's GUI thread)
// calls everything.
class CPlotara {
public:
    CPlotara();
    virtual ~CPlotara();
    CPlotara(const CPlotara&) = delete;
    CPlotara& operator=(const CPlotara&) = delete;

    // Settings. The three setters return 1, or 0 for a code out of range.
    int SetUsingLanguage(int code);
    int SetXAxisType(int code);
    int SetYAxisType(int code);
    void SetBkgColor(uint32_t color);
    void SetAxisColor(uint32_t color);
    void SetGridColor(uint32_t color);
    void SetWordColor(uint32_t color);
    void SetLineColorList(const std::list<uint32_t>& colors);
    void SetPlotaraRect(int width, int height);

    // Lines. Arrays handed in must hold `count` (or the line's) values; null
    // arrays leave zeros. Look-ups that find no line do nothing.
    void AddDeviceLine(int index, int count, const double* x, const std::wstring& name);
    void AddFileLine(int position, int count, const double* x, const double* y, const std::wstring& name);
    void SetDeviceLineXData(int index, const double* x);
    void SetDeviceLineYData(int index, const double* y);
    // Where the device line's detector reached full scale: stretches of
    // points in pixel order (as markings), drawn as a band in the line's
    // colour along the top of the plot; a count of 0 clears them. Stretches
    // outside the line are left out.
    void SetDeviceLineSaturation(int index, const PointStretch* stretches, int count);
    void SetFileLineDisplay(const std::wstring& name, bool show);
    void DeleteDeviceLine(int index);
    void DeleteFileLine(const std::wstring& name);
    void DeleteAllDeviceLine();
    void DeleteAllFileLine();
    int GetDeviceLineCount() const;
    int GetFileLineCount() const;

    // Active line: device line `index` when index >= 0, else file line `name`.
    void SetActiveSpectrum(int index, const std::wstring& name);
    int GetActiveLinePixelCount(int index, const std::wstring& name) const;
    int GetActiveLineSpectrumData(int index, const std::wstring& name, double* x, double* y) const;

    // Axis region and its history of the ten most recent views.
    void SetAxisRegion(double x1, double x2, double y1, double y2);
    void GetXRegion(double& min, double& max) const;
    void GetYRegion(double& min, double& max) const;
    void BackToLastAxisRegion();
    void DeleteAllAxixRegion();

    // Mouse, in chart pixels. Modes: 0 zoom in, 1 zoom out, 2 rubber-band
    // zoom, 3 pan, 4 read-out cursor, 5 none. Events outside the plot are
    // ignored.
    void SetMouseStatus(int code);
    void LMouseDown(int x, int y);
    void LMouseUp(int x, int y);
    void MouseMove(int x, int y);
    void MouseWheel(int x, int y, int direction);

    // Read-out cursor on a point of the active line.
    void SetVerticalLineXData(double x);
    void SetNearbyXData(int direction);
    int GetVerticalLineXData(double& x) const;
    int GetVerticalLineYData(double& y) const;

    // Markings: point indexes of the active line, numbered left to right.
    int AddMarking();
    int AddMarking(double x);
    void DeleteMarking(double index);
    void MoveMarking(double index, double x);
    void DeleteAllMarkings();
    void GetMarkingXValues(std::list<double>& out);
    void GetMarkingYValues(std::list<double>& out);
    void AddMakringsAtPeaks();
    // For each marking in list order: the X of the centre of the peak found
    // at its point (between points, so finer than the marking), or the
    // marking's own X when no peak is marked there.
    void GetMarkingPeakCentres(std::list<double>& out);
    // The point a marking at a peak centred at this position (in points)
    // takes: trunc(position + 0.2).
    static int MarkingPointOf(double position);

    // Peak labels and LIBS names: options take effect at the next drawing.
    void SetAotuSearchPeak(bool on);
    void SetIntensityRegion(double threshold);
    void SetDisplayPeakX(bool show);
    void SetDisplayPeakHeight(bool show);
    void SetDisplayPeakFwhm(bool show);
    void SetDisplayPeakVerticalLine(bool show);
    void SetDisplayPeakDeleteBase(bool show);
    void SetDisplayPeakOriginalSpectrum(bool show);
    // 0..90 degrees; other values are ignored.
    void SetPeakInfoAngle(int degrees);
    void SetDisplayLibs(bool show);
    // Names of library lines at (x, y), ascending in x; at most 1000 kept.
    void SetLibsPeaksInfo(const double* x, const double* y, const std::wstring* names, int count);
    // The active line with its base removed, as the last peak search left it;
    // -1 when there is no active line.
    int GetPeakDeleteBasePixelCount() const;
    void GetPeakDeleteBaseData(double* x, double* y, int& count) const;
    // Whether a peak search has filled that data since the line became
    // active; until then it holds zeros.
    bool HasPeakDeleteBaseData() const { return baseDeletedSearched; }

    // Bands: X ranges (from < to, in the X unit) shaded under the lines in
    // colours of their own, with edges the pointer can drag.
    struct BandRegion {
        double from = 0, to = 0;
        uint32_t color = 0;
    };
    void SetBandRegions(const std::vector<BandRegion>& bands);
    const std::vector<BandRegion>& BandRegions() const { return bandRegions; }
    // The band edge drawn within a few pixels of (x, y) in the plot: 2 * band
    // for a band's left edge, 2 * band + 1 for its right one; -1 for none.
    int HitBandEdge(int x, int y) const;
    // Moves that edge to the X of pixel column x, inside the X range and at
    // least a pixel's width on its side of the band's other edge.
    void DragBandEdge(int edge, int x);

    // Paints the whole chart on a painter over an image of the chart's size,
    // then writes a pending SaveImage request from that image.
    void DrawImage(QPainter& painter);
    // Records a save; the next DrawImage writes the picture it has drawn.
    void SaveImage(const std::wstring& path);
    // Told the path and whether it was written, after each save DrawImage
    // carried out (while painting: act on it later, not there).
    void SetImageSavedListener(std::function<void(const std::wstring& path, bool written)> listener);

private:
    friend struct PlotaraTestAccess;

    struct AxisRegion {
        double xMin, xMax, yMin, yMax;
    };

    ChartLine* FindDeviceLine(int index);
    const ChartLine* FindDeviceLine(int index) const;
    ChartLine* FindFileLine(const std::wstring& name);
    const ChartLine* FindFileLine(const std::wstring& name) const;
    const ChartLine* FindLine(int index, const std::wstring& name) const;
    ChartLine* ActiveLine();
    void ForgetLine(const ChartLine& line);
    void ClearBaseDeleted();
    void SetTitle(QString& title, const wchar_t* text);
    void RecordAxisRegion(double xMin, double xMax, double yMin, double yMax);
    void ResetDotlineCoords();
    PlotMapping Mapping() const;
    bool IsMouseInAxisRegion(int x, int y) const;
    void PlaceCursor(const ChartLine& line, int point);
    void GetMarkingValues(std::list<double>& out, bool wantY);

    void DrawBackground(QPainter& painter);
    void DrawAxis(QPainter& painter);
    void DrawDotlines(QPainter& painter);
    void DrawTextW(QPainter& painter);
    void DrawSpectrumLine(QPainter& painter);
    void DrawSpectrumLine(QPainter& painter, const double* x, const double* y, int count, uint32_t color);
    // The saturation band of the order-th drawn device line.
    void DrawSaturation(QPainter& painter, const ChartLine& line, int order, uint32_t color);
    void DrawChooseZoomInDotLine(QPainter& painter);
    void DrawLibsInfo(QPainter& painter);
    void DrawVerticalLine(QPainter& painter);
    void DrawAutoPeak(QPainter& painter);
    void DrawMarkings(QPainter& painter);
    void DrawBandRegions(QPainter& painter);

    bool savePending = false;
    std::wstring savePath;
    std::function<void(const std::wstring&, bool)> imageSavedListener;
    int language = 0;
    int xType = 0, yType = 0;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    std::list<uint32_t> lineColors;
    std::list<ChartLine> deviceLines;
    std::list<ChartLine> fileLines;
    uint32_t peakLineColor = 0;
    bool showPeakLine = true;
    ChartLine baseDeleted;  // pointCount -1 until an active line is set
    bool baseDeletedSearched = false;
    bool showBaseDeleted = false;
    bool cursorValid = false;
    double cursorX = 0;
    // The read-out cursor designates one point of a line; its Y is read when
    // drawn. Deleting that line hides the cursor.
    const ChartLine* cursorLine = nullptr;
    int cursorPoint = 0;
    bool autoPeak = false;
    double intensityRegion = 0;
    bool showActiveLine = true;
    int activeIndex = -1;
    std::wstring activeName;
    uint32_t axisColor = 0;
    int plotLeft = 0, plotTop = 0, plotRight = 0, plotBottom = 0;
    uint32_t gridColor = 43690;
    AxisTicks xTicks, yTicks;
    std::array<QString, AxisTicks::kCapacity> xTickLabels, yTickLabels;
    ChartFont xTickFont, yTickFont;
    uint32_t bkgColor = 0xFFFFFF;
    int imageWidth = 0, imageHeight = 0;
    uint32_t wordColor = 0;
    QString xLabel, yLabel;
    QPoint xLabelPos, yLabelPos;
    ChartFont xLabelFont, yLabelFont;
    uint32_t peakTextColor = 0;
    bool showPeakX = false, showPeakHeight = false, showPeakFwhm = false;
    ChartFont peakFont;
    int peakAngle = 0;
    uint32_t libsColor = 0;
    ChartFont libsFont;
    bool buttonDown = false;
    int mouseStatus = 5;
    int downX = 0, downY = 0, moveX = 0, moveY = 0;
    double panAnchorX = 0, panAnchorY = 0;
    bool cursorShown = false;
    std::deque<AxisRegion> zoomHistory;  // newest first
    bool showLibs = false;
    std::vector<double> libsX, libsY;
    std::vector<QString> libsName;
    int libsCount = 0;
    std::vector<BandRegion> bandRegions;

    // Drawing state of one DrawImage pass: the text colour that layers
    // without their own inherit, and the pixels of the current polyline
    // (kept between passes so that repaints do not allocate).
    QColor textColor;
    std::vector<QPoint> polyline;
};
