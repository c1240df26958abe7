// Repaint of a long time trace, decimated to the plot's pixel columns,
// against stroking every point of the same lines.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "PlotMapping.h"
#include "TracePlot.h"

// Counts heap allocations, to show what a repaint allocates.
std::atomic<long> allocations{0};

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int kWidth = 1200, kHeight = 500, kPoints = 100000;
const std::list<uint32_t> kColors = {0x0000FF, 0xFF0000, 0x800080, 0x006400};

// A slow drift with noise, as a band integral over a long run looks; one
// spectrum every 0.1 s.
struct Trace {
    std::vector<double> time;
    std::vector<std::vector<double>> values;
    std::vector<const double*> lines;
};

const Trace& TestTrace() {
    static const Trace trace = [] {
        Trace t;
        std::mt19937 random(3);
        std::normal_distribution<double> noise(0, 1);
        for (int i = 0; i < kPoints; ++i) t.time.push_back(0.1 * i);
        for (int l = 0; l < 4; ++l) {
            std::vector<double> v(kPoints);
            for (int i = 0; i < kPoints; ++i) v[i] = 1000 * (l + 1) + 50 * std::sin(i * 1e-4 * (l + 1)) + 5 * noise(random);
            t.values.push_back(std::move(v));
        }
        for (const auto& v : t.values) t.lines.push_back(v.data());
        return t;
    }();
    return trace;
}

// Lines: 1 or 4, each of kPoints points, the whole record in view.
void BM_TracePlotRepaint(benchmark::State& state) {
    const Trace& t = TestTrace();
    TracePlot plot;
    plot.SetPlotRect(kWidth, kHeight);
    plot.SetLineColorList(kColors);
    plot.SetXTitle(QStringLiteral("Time (s)"));
    plot.SetData(t.time.data(), kPoints, t.lines.data(), static_cast<int>(state.range(0)));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    {
        QPainter warm(&image);  // the first paint grows the buffers
        plot.Draw(warm);
    }
    const long before = allocations;
    for (auto _ : state) {
        QPainter painter(&image);
        plot.Draw(painter);
    }
    state.counters["allocs_per_draw"] =
        static_cast<double>(allocations - before) / static_cast<double>(state.iterations());
}

// The same lines in the same lanes, mapped the same way, every point
// stroked as one polyline per line; no axes, grid or text.
void BM_BaselineEveryPoint(benchmark::State& state) {
    const Trace& t = TestTrace();
    const int lines = static_cast<int>(state.range(0));
    TracePlot layout;
    layout.SetPlotRect(kWidth, kHeight);
    const int laneHeight = (layout.PlotBottom() - layout.PlotTop() - 10 * (lines - 1)) / lines;
    std::vector<QPoint> points(kPoints);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&image);
        auto color = kColors.begin();
        for (int l = 0; l < lines; ++l, ++color) {
            const int top = layout.PlotTop() + l * (laneHeight + 10);
            const double base = 1000 * (l + 1);
            const PlotMapping m{layout.PlotLeft(), top, layout.PlotRight(), top + laneHeight,
                                0, t.time.back(), base - 80, base + 80};
            painter.setPen(QPen(ToQColor(*color), 1));
            for (int i = 0; i < kPoints; ++i) points[i] = m.Pixel(t.time[i], t.values[l][i]);
            painter.drawPolyline(points.data(), kPoints);
        }
    }
}

BENCHMARK(BM_TracePlotRepaint)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineEveryPoint)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
