#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>

#include "DataFileSave.h"
#include "LivePageFixture.h"
#include "SavingTexts.h"
#include "SpectrumRegionDlg.h"
#include "TimeTraceDlg.h"
#include "TraceBandFile.h"
#include "TraceCsv.h"

using namespace quenlix;
using namespace quenlix::testing;
namespace fs = std::filesystem;

namespace {

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        RunEventLoop(20);
    }
    return true;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class TimeTrace : public SimulatedDevicesTest {
protected:
    void SetUp() override {
        SimulatedDevicesTest::SetUp();
        InstallPrompts(&prompts);
        AddUnit(0);
        DiscoverDevices();
    }
    void TearDown() override {
        InstallPrompts(nullptr);
        SimulatedDevicesTest::TearDown();
    }
    std::unique_ptr<CTimeTraceDlg> Open() {
        auto page = std::make_unique<CTimeTraceDlg>();
        page->resize(1000, 700);
        page->show();
        return page;
    }
    // Two bands over the second and third quarter of the device's X axis:
    // the first's integral, the second's peak centre.
    static std::vector<TraceBand> TwoBands(const CTimeTraceDlg& page) {
        const ViewDevice& device = *page.DeviceRecords().front();
        const auto at = [&](int quarter) { return device.xBuffer[device.pointCount * quarter / 4]; };
        return {{at(1), at(2), BandQuantity::Integral, -1}, {at(2), at(3), BandQuantity::PeakCentre, -1}};
    }
    // The page's values of every band at point i.
    static std::vector<double> ValuesAt(const TraceRecord& record, std::size_t i) {
        std::vector<double> values;
        for (int b = 0; b < record.BandCount(); ++b) values.push_back(record.Values(b)[i]);
        return values;
    }

    RecordingPrompts prompts;
};

TEST_F(TimeTrace, EachSpectrumAddsAPointOfItsBandsAndPauseDropsThem) {
    auto page = Open();
    ASSERT_EQ(page->DeviceRecords().size(), 1u);
    const std::vector<TraceBand> bands = TwoBands(*page);
    page->SetBands(bands);
    ASSERT_TRUE(WaitFor([&] { return page->Record().Size() >= 3; }));

    // The newest point holds the quantities of the spectrum on the device's record.
    const ViewDevice& device = *page->DeviceRecords().front();
    double expected[2];
    ComputeBandValues(bands, 0, kDefaultRubyReferenceNm, device.xBuffer.data(), device.yBuffer.data(),
                      device.pointCount, expected);
    const TraceRecord& record = page->Record();
    const std::size_t last = record.Size() - 1;
    EXPECT_EQ(ValuesAt(record, last), std::vector<double>(expected, expected + 2));
    EXPECT_TRUE(std::isfinite(expected[0]) && std::isfinite(expected[1]));
    EXPECT_GE(record.Values(1)[last], bands[1].xFrom);
    EXPECT_LE(record.Values(1)[last], bands[1].xTo);
    for (std::size_t i = 1; i < record.Size(); ++i) {
        EXPECT_GE(record.Seconds()[i], record.Seconds()[i - 1]);
        EXPECT_GT(record.Frames()[i], record.Frames()[i - 1]);
    }

    page->SetPaused(true);
    const std::size_t held = record.Size();
    const long spectra = device.preprocessor->GetDataNo();
    ASSERT_TRUE(WaitFor([&] { return device.preprocessor->GetDataNo() >= spectra + 2; }));
    EXPECT_EQ(record.Size(), held);
    page->SetPaused(false);
    ASSERT_TRUE(WaitFor([&] { return record.Size() > held; }));

    // Other bands start the trace afresh.
    page->SetBands({bands[0]});
    EXPECT_EQ(record.Size(), 0u);
    EXPECT_EQ(record.BandCount(), 1);
}

TEST_F(TimeTrace, CsvHoldsEveryPointAndAFailedWriteIsTold) {
    auto page = Open();
    page->SetBands(TwoBands(*page));
    ASSERT_TRUE(WaitFor([&] { return page->Record().Size() >= 2; }));
    page->SetPaused(true);

    prompts.saveName = QStringLiteral("trace.csv");
    page->ExportCsvCommand();
    const std::string csv = ReadFile("trace.csv");
    EXPECT_EQ(csv, FormatTraceCsv(page->Bands(), 0, page->Record()));
    std::istringstream lines(csv);
    std::string header, first;
    std::getline(lines, header);
    std::getline(lines, first);
    EXPECT_EQ(header, "time_s,frame,band1_integral,band2_centre_nm");
    EXPECT_EQ(first.substr(first.find(',') + 1, first.find(',', first.find(',') + 1) - first.find(',') - 1),
              std::to_string(page->Record().Frames()[0]));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), static_cast<long>(page->Record().Size()) + 1);
    EXPECT_TRUE(prompts.texts.empty());

    prompts.saveName = QStringLiteral("no such folder/trace.csv");
    page->ExportCsvCommand();
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(prompts.texts[0], OwnText(savingText_FileNotWritten).arg(prompts.saveName));
}

// An edge dragged on the spectrum chart becomes the band's, is kept in the
// settings folder and is where a new page starts.
TEST_F(TimeTrace, ADraggedEdgeIsKeptForTheNextPage) {
    std::vector<TraceBand> bands;
    {
        auto page = Open();
        page->SetBands(TwoBands(*page));
        bands = page->Bands();
        ChartCanvas* canvas = page->ChartView();
        ASSERT_NE(canvas, nullptr);
        double xMin, xMax;
        page->Chart().GetXRegion(xMin, xMax);
        const int width = canvas->width();
        const PlotMapping m{80, 30, width - 40, canvas->height() - 50, xMin, xMax, 0, 1};
        const QPoint edge(m.PixelX(bands[0].xFrom), canvas->height() / 2);
        const QPoint target(edge.x() - 30, edge.y());
        QTest::mousePress(canvas, Qt::LeftButton, {}, edge);
        QMouseEvent move(QEvent::MouseMove, QPointF(target), canvas->mapToGlobal(QPointF(target)), Qt::NoButton,
                         Qt::LeftButton, {});
        QCoreApplication::sendEvent(canvas, &move);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, target);
        ASSERT_LT(page->Bands()[0].xFrom, bands[0].xFrom);
        EXPECT_NEAR(page->Bands()[0].xFrom, m.DataX(target.x()), (xMax - xMin) / (m.right - m.left));
        EXPECT_EQ(page->Bands()[0].xTo, bands[0].xTo);
        bands = page->Bands();
    }
    EXPECT_EQ(LoadTraceBands().bands, bands);
    auto next = Open();
    EXPECT_EQ(next->Bands(), bands);
    for (int i = 0; i < 2; ++i) {  // the rows show three decimals
        EXPECT_NEAR(next->Editor()->From(i)->value(), bands[i].xFrom, 0.0005);
        EXPECT_NEAR(next->Editor()->To(i)->value(), bands[i].xTo, 0.0005);
    }
    EXPECT_TRUE(next->Editor()->Ticked(1)->isChecked());
    EXPECT_FALSE(next->Editor()->Ticked(2)->isChecked());
}

// The spectra the page traced live, saved as a series, give the same
// values played back; the files' order numbers the points.
TEST_F(TimeTrace, AReplayedSeriesGivesTheValuesTracedLive) {
    auto page = Open();
    page->SetBands(TwoBands(*page));
    const std::vector<TraceBand> bands = page->Bands();
    const ViewDevice& device = *page->DeviceRecords().front();
    const int n = device.pointCount;
    const std::vector<double> x(device.xBuffer.begin(), device.xBuffer.begin() + n);
    fs::create_directory("series");
    // No events run until the replay: every point comes from these spectra.
    for (int s = 0; s < 3; ++s) {
        std::vector<double> y(n);
        const double centre = (bands[1].xFrom + bands[1].xTo) / 2 + s;
        for (int i = 0; i < n; ++i)
            y[i] = 100 + 1000 * (s + 1) * std::exp(-std::pow((x[i] - centre) / 3, 2)) + (i % 7);
        page->OnNewSpectrum(device.number, y.data());
        CDataFileSave writer;
        writer.SetUsingLanguage(2);
        writer.SetPixelCount(n);
        writer.SetDecimalCount(6, 6);
        ASSERT_EQ(writer.SaveSingleData((fs::path("series") / ("s" + std::to_string(s) + ".txt")).wstring(),
                                        x.data(), y.data()),
                  1);
    }
    const TraceRecord live = page->Record();
    ASSERT_EQ(live.Size(), 3u);

    ASSERT_TRUE(page->ReplayFolder(QStringLiteral("series")));
    EXPECT_TRUE(page->DeviceRecords().empty());
    ASSERT_TRUE(WaitFor([&] { return !page->Replaying(); }));
    const TraceRecord& replayed = page->Record();
    ASSERT_EQ(replayed.Size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(replayed.Frames()[i], static_cast<long>(i) + 1);
        for (int b = 0; b < 2; ++b)
            EXPECT_NEAR(replayed.Values(b)[i], live.Values(b)[i], 1e-6 * std::fabs(live.Values(b)[i])) << i << b;
    }
    EXPECT_EQ(replayed.Seconds()[0], 0);
    EXPECT_LE(replayed.Seconds()[2], 2);  // written within a second or two

    EXPECT_FALSE(page->ReplayFolder(QStringLiteral("no such folder")));
    EXPECT_EQ(prompts.texts.size(), 1u);
}

TEST_F(TimeTrace, OpensFromFileNewWithItsTitle) {
    CSpectrumRegionDlg region;
    region.resize(1000, 800);
    ASSERT_EQ(SendMessage(&region, WM_OPEN_TAB, ID_NEW_TIME_TRACE, 0), 1);
    ASSERT_EQ(region.Records().size(), 1u);
    EXPECT_EQ(region.Tabs()->tabText(0), QStringLiteral("Time Trace(0)"));
    EXPECT_NE(dynamic_cast<CTimeTraceDlg*>(region.Records()[0].page.get()), nullptr);
    languageIndex = 0;
    region.ApplyLanguage(0);
    auto* page = dynamic_cast<CTimeTraceDlg*>(region.Records()[0].page.get());
    EXPECT_EQ(page->Editor()->Ticked(0)->text(), QStringLiteral("波段 1"));
}

}  // namespace
