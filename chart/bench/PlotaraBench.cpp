// Repaint cost of a full chart against the bare cost of stroking its lines.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "PeakSearch.h"
#include "PlotMapping.h"
#include "Plotara.h"

// Counts heap allocations, to show that a repaint allocates nothing per point.
std::atomic<long> allocations{0};

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int kWidth = 1600, kHeight = 900, kLines = 8, kPoints = 4096;
constexpr double kX0 = 200, kX1 = 1100;

struct Spectra {
    std::vector<double> x;
    std::vector<std::vector<double>> y;
};

// Eight spectra with lines of different widths over a slow background and
// a little noise, as a multi-device view shows them.
const Spectra& TestSpectra() {
    static const Spectra s = [] {
        Spectra s;
        for (int i = 0; i < kPoints; ++i) s.x.push_back(kX0 + (kX1 - kX0) * i / (kPoints - 1));
        std::srand(7);
        for (int l = 0; l < kLines; ++l) {
            std::vector<double> y(kPoints);
            for (int i = 0; i < kPoints; ++i) {
                const double t = s.x[i];
                double v = 1500 + 800 * l + 600 * std::sin(t / 150.0) + (std::rand() % 100);
                for (int p = 0; p < 12; ++p) {
                    const double c = 250 + 70 * p + 9 * l, w = 1.5 + p % 4;
                    v += 9000 * std::exp(-(t - c) * (t - c) / (2 * w * w));
                }
                y[i] = v;
            }
            s.y.push_back(std::move(y));
        }
        return s;
    }();
    return s;
}

// Region 0 shows every point; region 1 is zoomed so that half of them lie
// outside it.
void Region(int zoomed, double& x0, double& x1) {
    x0 = zoomed ? 425 : kX0;
    x1 = zoomed ? 875 : kX1;
}

constexpr double kY0 = 0, kY1 = 17000;
const std::list<uint32_t> kColors = {0x0000FF, 0x00AA00, 0xFF0000, 0x00AAAA, 0xAA00AA, 0xAAAA00, 0x444444,
                                     0x0088FF};

void BM_DrawImage(benchmark::State& state) {
    const Spectra& s = TestSpectra();
    CPlotara chart;
    chart.SetPlotaraRect(kWidth, kHeight);
    chart.SetBkgColor(0xFFFFFF);
    chart.SetLineColorList(kColors);
    for (int l = 0; l < kLines; ++l) {
        chart.AddDeviceLine(l, kPoints, s.x.data(), L"device");
        chart.SetDeviceLineYData(l, s.y[l].data());
    }
    double x0, x1;
    Region(static_cast<int>(state.range(0)), x0, x1);
    chart.SetAxisRegion(x0, x1, kY0, kY1);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const long before = allocations;
    for (auto _ : state) {
        QPainter painter(&image);
        chart.DrawImage(painter);
    }
    state.counters["allocs_per_draw"] =
        static_cast<double>(allocations - before) / static_cast<double>(state.iterations());
}

// The same points, mapped the same way, stroked as one polyline per line
// with the same pen; no background, axes, grid or text.
void BM_BaselinePolyline(benchmark::State& state) {
    const Spectra& s = TestSpectra();
    double x0, x1;
    Region(static_cast<int>(state.range(0)), x0, x1);
    const PlotMapping m{80, 30, kWidth - 40, kHeight - 50, x0, x1, kY0, kY1};
    std::vector<QPoint> points(kPoints);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&image);
        auto color = kColors.begin();
        for (int l = 0; l < kLines; ++l, ++color) {
            painter.setPen(QPen(ToQColor(*color), 1));
            for (int i = 0; i < kPoints; ++i) points[i] = m.Pixel(s.x[i], s.y[l][i]);
            painter.drawPolyline(points.data(), kPoints);
        }
    }
}

BENCHMARK(BM_DrawImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselinePolyline)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Peak annotation: one active line of n points with 30 peaks on a curved
// base, searched and labelled on every repaint. The cost of the search and
// the peak layer is the difference between the repaint with the search on
// and the same repaint with it off; the search alone is measured too.
std::vector<double> ThirtyPeaks(int n) {
    std::vector<double> y(n);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / n;
        double v = 800 + 1500 * t - 900 * t * t + (std::rand() % 40);
        for (int p = 0; p < 30; ++p) {
            const double c = (p + 0.5) / 30, w = 0.002 + 0.0004 * (p % 5), h = 2000 + 400 * (p % 7);
            v += h * std::exp(-(t - c) * (t - c) / (2 * w * w));
        }
        y[i] = v;
    }
    return y;
}

void PeakChart(CPlotara& chart, int n, const std::vector<double>& x, const std::vector<double>& y) {
    chart.SetPlotaraRect(kWidth, kHeight);
    chart.SetBkgColor(0xFFFFFF);
    chart.AddDeviceLine(0, n, x.data(), L"device");
    chart.SetDeviceLineYData(0, y.data());
    chart.SetActiveSpectrum(0, L"");
    chart.SetAxisRegion(x.front(), x.back(), 0, 6000);
    chart.SetIntensityRegion(500);
    chart.SetDisplayPeakX(true);
}

void RepaintWithPeakSearch(benchmark::State& state, bool search) {
    const int n = static_cast<int>(state.range(0));
    std::vector<double> x(n);
    for (int i = 0; i < n; ++i) x[i] = kX0 + (kX1 - kX0) * i / (n - 1);
    const std::vector<double> y = ThirtyPeaks(n);
    CPlotara chart;
    PeakChart(chart, n, x, y);
    chart.SetAotuSearchPeak(search);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        chart.DrawImage(painter);
    }
}

void BM_RepaintPeaksOn(benchmark::State& state) { RepaintWithPeakSearch(state, true); }
void BM_RepaintPeaksOff(benchmark::State& state) { RepaintWithPeakSearch(state, false); }

void BM_PeakSearchAlone(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<double> x(n), base(n);
    for (int i = 0; i < n; ++i) x[i] = kX0 + (kX1 - kX0) * i / (n - 1);
    const std::vector<double> y = ThirtyPeaks(n);
    for (auto _ : state) {
        PeakInfo info{};
        AotuSearchPeakByFD(n, x.data(), y.data(), 500, &info, base.data(), nullptr);
        benchmark::DoNotOptimize(info.count);
    }
}

BENCHMARK(BM_RepaintPeaksOn)->Arg(1024)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepaintPeaksOff)->Arg(1024)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeakSearchAlone)->Arg(1024)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
