#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <map>
#include <thread>
#include <vector>

#include "AcquisitionSession.h"
#include "AppTestSupport.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

using Clock = std::chrono::steady_clock;

// Keeps what a session reports.
class Recorder : public AcquisitionListener {
public:
    struct Spectrum {
        double first;  // the first and last value of the display window
        double last;
        long frameNo;
        std::vector<double> y;
    };
    std::map<int, std::vector<Spectrum>> spectra;  // by device number
    std::vector<int> bound;
    std::vector<double> taken;
    int applied = 0;
    int failures = 0;
    bool keepWholeSpectra = false;

    void DeviceBound(const ViewDevice& device) override { bound.push_back(device.number); }
    void SpectrumReady(const ViewDevice& device) override {
        const auto& y = device.yBuffer;
        spectra[device.number].push_back({y[0], y[device.pointCount - 1], device.lastFrameNo,
                                          keepWholeSpectra ? y : std::vector<double>()});
    }
    void LinkFailed() override { ++failures; }
    void IntegralTimeTaken(double ms) override { taken.push_back(ms); }
    void IntegralTimeApplied() override { ++applied; }
};

// Steps the sessions from this thread until the condition holds or the limit passes.
template <typename Condition>
bool StepUntil(std::initializer_list<AcquisitionSession*> sessions, Condition done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > end) return false;
        for (AcquisitionSession* s : sessions) s->Step();
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return true;
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

using AcquisitionSessionTest = SimulatedDevicesTest;

}  // namespace

// Each unit stamps every pixel of a frame with the frame's serial number, so
// the spectra show which frames were fed. Pulling quickly while the machine
// is busy once fed a frame twice and skipped the next: the frame number was
// read apart from the frame, and a frame published in between was paired
// with the older number.
TEST_F(AcquisitionSessionTest, EveryFrameIsFedOnceWholeAndWithItsOwnNumber) {
    for (int k = 0; k < 2; ++k) AddUnit(k)->StampFrameNumbers(true);
    DiscoverDevices();
    ASSERT_EQ(deviceList.size(), 2u);
    Recorder single;
    Recorder blocks;
    AcquisitionSession each(single);
    AcquisitionSession averaged(blocks);
    constexpr int kBlock = 3;
    for (AcquisitionSession* s : {&each, &averaged}) {
        s->settings.integralTimeMS = 4;  // the shortest the model takes
        for (const DeviceEntry& entry : deviceList) s->Bind(entry);
    }
    averaged.ApplyAvgCount(kBlock);

    std::atomic<bool> busy{true};
    std::vector<std::thread> load;
    for (int i = 0; i < 2; ++i)
        load.emplace_back([&busy] {
            for (volatile unsigned long spin = 0; busy.load(std::memory_order_relaxed);) spin = spin + 1;
        });
    StepUntil({&each, &averaged}, [] { return false; });
    busy = false;
    for (std::thread& t : load) t.join();

    for (int device = 0; device < 2; ++device) {
        SCOPED_TRACE(device);
        const auto& seen = single.spectra[device];
        ASSERT_GE(seen.size(), 50u) << "too few frames to tell";
        for (std::size_t i = 0; i < seen.size(); ++i) {
            ASSERT_EQ(seen[i].first, seen[i].last) << "parts of two frames in one spectrum";
            if (i == 0) continue;
            ASSERT_GT(seen[i].first, seen[i - 1].first) << "a frame fed twice or out of order";
            // Frames the link dropped after a setting change raise the
            // difference; a number that belongs to another frame lowers it.
            ASSERT_GE(seen[i].first - seen[i].frameNo, seen[i - 1].first - seen[i - 1].frameNo)
                << "the number of another frame";
        }
        // Block means of increasing whole stamps lie at least a block apart;
        // a frame fed twice, or a stamp that is not whole, breaks that.
        const auto& means = blocks.spectra[device];
        ASSERT_GE(means.size(), 15u);
        for (std::size_t i = 0; i < means.size(); ++i) {
            const double sum = means[i].first * kBlock;
            EXPECT_NEAR(sum, std::round(sum), 1e-6) << "a block of " << kBlock << " whole stamps";
            if (i > 0) {
                ASSERT_GE(means[i].first - means[i - 1].first, kBlock - 1e-9);
            }
        }
    }
}

// The simulated counts over the dark level grow with the integration time;
// the first spectrum after a change must not mix in a frame exposed before it.
// A link publishes frames from its start, at its own time; a session binding
// it at another time, or changing the time, must not take a frame published
// before the change, however new its number looks to the session.
TEST_F(AcquisitionSessionTest, TheFirstSpectrumAfterBindingOrATimeChangeIsExposedWithTheNewTime) {
    AddUnit(0);  // a lamp over a flat background
    DiscoverDevices();
    CKestrion& link = *deviceList[0].link;
    ASSERT_EQ(link.SetIntegralTimeMS(10), 1);
    const auto end = Clock::now() + std::chrono::seconds(5);
    while (link.GetFrameNo() < 3 && Clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_GE(link.GetFrameNo(), 3);

    Recorder recorder;
    recorder.keepWholeSpectra = true;
    AcquisitionSession session(recorder);
    session.settings.integralTimeMS = 100;
    session.Bind(deviceList[0]);
    auto& seen = recorder.spectra[0];
    ASSERT_TRUE(StepUntil({&session}, [&] { return !seen.empty(); }));
    const double dark = 0.06 * link.GetMaxY();
    const auto signal = [dark](const std::vector<double>& y) {
        std::vector<double> above(y.size());
        std::transform(y.begin(), y.end(), above.begin(), [dark](double v) { return v - dark; });
        return Median(above);
    };
    const double at100 = signal(seen.front().y);

    EXPECT_EQ(session.ApplyIntegralTime(10), 1);
    const std::size_t before = seen.size();
    ASSERT_TRUE(StepUntil({&session}, [&] { return seen.size() > before; }));
    const double at10 = signal(seen[before].y);
    ASSERT_GT(at10, 10) << "no signal above the dark level";
    EXPECT_NEAR(at100 / at10, 10.0, 1.5);
}

// A unit plugged in while the others ran comes first on the bus: after the
// rescan the bound devices carry new numbers and new links, and deliver.
TEST_F(AcquisitionSessionTest, RebindingFindsEachDeviceBySerialAfterAnotherWasPluggedIn) {
    auto early = AddUnit(0);
    AddUnit(1);
    AddUnit(2);
    early->Unplug();
    DiscoverDevices();
    ASSERT_EQ(deviceList.size(), 2u);
    Recorder recorder;
    AcquisitionSession session(recorder);
    session.settings.integralTimeMS = 10;
    for (const DeviceEntry& entry : deviceList) session.Bind(entry);
    const std::wstring serials[2] = {deviceList[0].serialNumber, deviceList[1].serialNumber};
    EXPECT_EQ(recorder.bound, (std::vector<int>{0, 1}));

    session.PauseForRescan();
    early->PlugIn();
    DiscoverDevices();
    ASSERT_EQ(deviceList.size(), 3u);
    session.Rebind();
    ASSERT_EQ(session.Records().size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const ViewDevice& record = *session.Records()[i];
        EXPECT_EQ(record.serialNumber, serials[i]);
        EXPECT_EQ(record.number, i + 1);
        EXPECT_EQ(record.link, deviceList[i + 1].link.get());
        EXPECT_EQ(record.link->GetSerialNumber(), serials[i]);
    }
    recorder.spectra.clear();
    EXPECT_TRUE(StepUntil({&session}, [&] { return recorder.spectra[1].size() >= 2 && recorder.spectra[2].size() >= 2; }));
    EXPECT_EQ(recorder.spectra.count(0), 0u) << "the new device is not bound";
}

TEST_F(AcquisitionSessionTest, ParametersOutsideTheirRangeChangeNothing) {
    AddUnit(0);
    DiscoverDevices();
    Recorder recorder;
    AcquisitionSession session(recorder);
    session.Bind(deviceList[0]);
    const CCondira& pre = *session.Records()[0]->preprocessor;
    for (std::int64_t count : {std::int64_t{0}, std::int64_t{-3}, std::int64_t{INT_MAX} + 1, std::int64_t{1} << 40})
        EXPECT_EQ(session.ApplyAvgCount(count), 0) << count;
    for (std::int64_t width : {std::int64_t{-1}, std::int64_t{INT_MAX} + 1}) EXPECT_EQ(session.ApplySmoothness(width), 0);
    for (std::int64_t mode : {-1, 2, 3}) EXPECT_EQ(session.ApplyTriggerMode(mode), 0);
    for (double ms : {NAN, INFINITY, -INFINITY}) EXPECT_EQ(session.ApplyIntegralTime(ms), 0);
    EXPECT_EQ(session.settings.avgCount, 1);
    EXPECT_EQ(pre.GetAvgCount(), 1);
    EXPECT_EQ(session.settings.smoothness, 0);
    EXPECT_EQ(session.settings.triggerMode, 0);
    EXPECT_EQ(session.settings.integralTimeMS, 100.0);
    EXPECT_EQ(recorder.applied, 0);
    EXPECT_TRUE(recorder.taken.empty());

    EXPECT_EQ(session.ApplyAvgCount(INT_MAX), 1);
    EXPECT_EQ(pre.GetAvgCount(), INT_MAX);
}
