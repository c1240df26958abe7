#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "DeviceProtocol.h"
#include "Kestrion.h"
#include "LinkTestSupport.h"

namespace kestrion::testing {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

class KestrionAcquisition : public SimulatedLinkTest {
protected:
    // A started link of that model in soft trigger mode with nothing
    // requested, so no frame traffic runs unless a test asks for it.
    std::shared_ptr<SimulatedSpectrometer> StartQuiet(CKestrion& link, const char* modelCode = "00002201") {
        SimulatedUnitSetup setup;
        setup.modelCode = modelCode;
        auto unit = AddUnit(setup);
        EXPECT_EQ(link.StartDevice(bus->CountDevices() - 1), 1);
        EXPECT_EQ(link.SetDevSoftTrigger(), 1);
        // The link's thread sends the selection and the model's shortest
        // time (its acknowledgement read is the one bulk IN), then goes quiet.
        EXPECT_TRUE(WaitFor([&] {
            const auto traffic = unit->Traffic();
            const bool acknowledged = std::any_of(traffic.begin(), traffic.end(), [](const WireRecord& r) {
                return r.kind == WireRecord::Kind::BulkIn;
            });
            return !ControlRequests(traffic, protocol::kSelectClockTrigger).empty() &&
                   (acknowledged || link.GetIntegralTimeMS() == 0);
        }));
        std::this_thread::sleep_for(10ms);  // the acknowledgement is read at once
        unit->RecordTraffic(true);  // restart the log
        return unit;
    }
};

TEST_F(KestrionAcquisition, IntegrationCommandCarriesTheModelsUnit) {
    struct Case {
        const char* model;
        double ms;
        Bytes command;
    };
    const Case cases[] = {
        {"00002201", 12.5, {0xAA, 0xAA, 0xC3, 0x50, 0x00, 0x00}},  // 50,000 quarter µs
        {"00002203", 12.5, {0xAA, 0xAA, 0xC3, 0x50, 0x00, 0x00}},
        {"00002204", 12.5, {0xAA, 0xAA, 0xC3, 0x50, 0x00, 0x00}},
        {"00002202", 25.5, {0xAA, 0xAA, 0xE4, 0x18, 0x00, 0x03}},  // 255,000 tenth µs
        {"00002202", 10000, {0xAA, 0xAA, 0xE1, 0x00, 0x05, 0xF5}}, // 100,000,000
        {"00008101", 12.5, {0xAA, 0xAA, 0x30, 0xD4, 0x00, 0x00}},  // 12,500 µs
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        CKestrion link;
        auto unit = StartQuiet(link, c.model);
        ASSERT_EQ(link.SetIntegralTimeMS(c.ms), 1);
        EXPECT_EQ(link.GetIntegralTimeMS(), c.ms);
        ASSERT_TRUE(WaitFor([&] { return unit->Traffic().size() >= 2; }));
        const auto traffic = unit->Traffic();
        ASSERT_EQ(traffic.size(), 2u);
        EXPECT_EQ(traffic[0].kind, WireRecord::Kind::BulkOut);
        EXPECT_EQ(traffic[0].address, 0x01);
        EXPECT_EQ(traffic[0].data, c.command);
        EXPECT_EQ(traffic[1].kind, WireRecord::Kind::BulkIn);
        EXPECT_EQ(traffic[1].address, 0x82);
        EXPECT_EQ(traffic[1].length, 8192);
    }
}

TEST_F(KestrionAcquisition, IntegrationLimitsRefuseOrClamp) {
    CKestrion link;
    auto unit = StartQuiet(link);
    EXPECT_EQ(link.SetIntegralTimeMS(3.9999), 0);  // 3999 µs
    EXPECT_EQ(link.SetIntegralTimeMS(10000.001), 0);
    EXPECT_TRUE(unit->Traffic().empty());
    EXPECT_EQ(link.GetIntegralTimeMS(), 4);
    EXPECT_EQ(link.SetIntegralTimeMS0(3), 0);
    EXPECT_EQ(link.GetIntegralTimeMS(), 4);
    EXPECT_EQ(unit->IntegrationValue(), 16000u);
    EXPECT_EQ(link.SetIntegralTimeMS0(50), 1);
    EXPECT_EQ(link.SetIntegralTimeMS0(20000), 0);
    EXPECT_EQ(link.GetIntegralTimeMS(), 10000);

    CKestrion wide;
    StartQuiet(wide, "00002202");
    EXPECT_EQ(wide.GetIntegralTimeMS(), 17);
    EXPECT_EQ(wide.SetIntegralTimeMS(16.9999), 0);
    EXPECT_EQ(wide.SetIntegralTimeMS0(3), 0);
    EXPECT_EQ(wide.GetIntegralTimeMS(), 17);
}

// The setters return at once; the link's thread sends the selection. One the
// device refuses is taken back: the device is reopened and given the mode it had.
TEST_F(KestrionAcquisition, TriggerSelectionIsAZeroLengthVendorWrite) {
    CKestrion link;
    auto unit = StartQuiet(link);
    EXPECT_EQ(link.SetDevSyncTrigger(), 0);
    ASSERT_EQ(link.SetDevExtTrigger(), 1);
    EXPECT_TRUE(link.IsExtTrigger());
    ASSERT_TRUE(WaitFor([&] { return unit->IsExternalTrigger(); }));
    EXPECT_EQ(link.SetIntegralTimeMS(10), 0);  // not in external mode
    EXPECT_EQ(link.GetIntegralTimeMS(), 4);

    unit->Refuse(protocol::kSelectClockTrigger);
    EXPECT_EQ(link.SetDevClockTrigger(), 1);
    const auto selections = [&] {
        std::vector<uint8_t> requests;
        for (const WireRecord& r : unit->Traffic()) {
            if (r.kind != WireRecord::Kind::Control) continue;
            if (r.setup.request != protocol::kSelectClockTrigger && r.setup.request != protocol::kSelectExtTrigger) continue;
            EXPECT_EQ(r.setup.requestType, 0x40);
            EXPECT_EQ(r.length, 0);
            requests.push_back(r.setup.request);
        }
        return requests;
    };
    ASSERT_TRUE(WaitFor([&] { return selections().size() == 3; }));
    EXPECT_TRUE(link.IsExtTrigger());
    EXPECT_TRUE(unit->IsExternalTrigger());
    EXPECT_TRUE(link.IsKestrionRight());

    unit->AcceptAll();
    ASSERT_EQ(link.SetDevClockTrigger(), 1);
    EXPECT_TRUE(link.IsClockTrigger());
    ASSERT_TRUE(WaitFor([&] { return !unit->IsExternalTrigger(); }));
    EXPECT_EQ(selections(), (std::vector<uint8_t>{0xB2, 0xB1, 0xB2, 0xB1}));
}

TEST_F(KestrionAcquisition, SoftTriggerLetsExactlyTheRequestedFramesThrough) {
    CKestrion link;
    auto unit = StartQuiet(link);
    EXPECT_FALSE(link.IsANewFrame());
    link.SoftTrigOnce(3);
    ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() == 3; }));
    std::this_thread::sleep_for(40ms);
    EXPECT_EQ(link.GetFrameNo(), 3);
    EXPECT_TRUE(link.IsANewFrame());
    EXPECT_EQ(BulkCommands(unit->Traffic()), std::vector<Bytes>(3, Bytes{0xBB, 0xBB, 0x01, 0x01, 0x00, 0x00}));

    link.SoftTrigOnce(0);  // no count: frames flow
    EXPECT_TRUE(WaitFor([&] { return link.GetFrameNo() >= 6; }));
}

TEST_F(KestrionAcquisition, FramesAreUnpackedByEachModelsLayout) {
    struct Case {
        const char* model;
        int pixels, first, slot;
    };
    for (const Case& c : {Case{"00002201", 3630, 64, 2}, Case{"00002202", 2028, 40, 4}, Case{"00008101", 2048, 80, 2}}) {
        SCOPED_TRACE(c.model);
        CKestrion link;
        auto unit = StartQuiet(link, c.model);
        if (link.GetIntegralTimeMS() == 0) {
            ASSERT_EQ(link.SetIntegralTimeMS(4), 1);
        }
        link.SoftTrigOnce(1);
        ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() == 1; }));
        const Bytes reply = unit->LastReply();
        std::vector<double> y(static_cast<size_t>(c.pixels));
        EXPECT_EQ(link.GetYData(y.data()), 0);
        for (int i = 0; i < c.pixels; ++i) {
            const size_t at = static_cast<size_t>(c.first + i * c.slot);
            ASSERT_EQ(y[i], reply[at] | reply[at + 1] << 8) << i;
        }
    }
}

TEST_F(KestrionAcquisition, FailedFetchReopensWithoutCountingAFrame) {
    CKestrion link;
    auto unit = StartQuiet(link);
    unit->ShortenNextReplies(1, 1000);  // too short for 3630 pixels
    link.SoftTrigOnce(1);
    ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() == 1; }));
    const auto traffic = unit->Traffic();
    EXPECT_EQ(ControlRequests(traffic, protocol::kReadIdentity).size(), 1u);  // the reopen
    EXPECT_EQ(BulkCommands(traffic).front(), Bytes(protocol::kFrameRequest.begin(), protocol::kFrameRequest.end()));
    const Bytes reply = unit->LastReply();
    std::vector<double> y(3630);
    link.GetYData(y.data());
    EXPECT_EQ(y[100], reply[64 + 200] | reply[65 + 200] << 8);

    unit->TimeOutNextReplies(1);
    link.SoftTrigOnce(1);
    ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() == 2; }));
    EXPECT_TRUE(link.IsKestrionRight());
    EXPECT_TRUE(link.IsSoftTrigger());  // restored after the reopen
}

TEST_F(KestrionAcquisition, UnpluggedDeviceTurnsTheLinkWrongForGood) {
    auto unit = AddUnit();
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    ASSERT_EQ(link.SetIntegralTimeMS(6), 1);
    ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() >= 3; }));
    unit->Unplug();
    ASSERT_TRUE(WaitFor([&] { return !link.IsKestrionRight(); }));
    const long frames = link.GetFrameNo();
    std::this_thread::sleep_for(40ms);
    EXPECT_EQ(link.GetFrameNo(), frames);

    unit->PlugIn();  // later ticks find it again, with its settings restored
    ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() > frames + 2; }));
    EXPECT_FALSE(link.IsKestrionRight());
    EXPECT_EQ(unit->IntegrationValue(), 24000u);
    EXPECT_EQ(link.GetIntegralTimeMS(), 6);
}

// The period is the integration time cut to whole milliseconds + 4 ms: at
// 20.9 ms that is 24 ms (not 24.9 or 25). Ticks run on absolute deadlines, so
// the typical spacing of frame requests is the period itself: a late tick
// makes one gap longer and the next shorter, and the median of many gaps
// stays put on a loaded machine.
TEST_F(KestrionAcquisition, FetchPeriodIsWholeMillisecondsPlusFour) {
    auto unit = AddUnit();
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    ASSERT_EQ(link.SetIntegralTimeMS(20.9), 1);
    unit->RecordTraffic(true);
    ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() >= 42; }));
    std::vector<double> gaps;
    std::chrono::steady_clock::time_point last{};
    for (const WireRecord& r : unit->Traffic()) {
        if (r.kind != WireRecord::Kind::BulkOut) continue;
        if (last != std::chrono::steady_clock::time_point{}) {
            gaps.push_back(std::chrono::duration<double, std::milli>(r.time - last).count());
        }
        last = r.time;
    }
    ASSERT_GE(gaps.size(), 35u);
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    EXPECT_NEAR(gaps[gaps.size() / 2], 24.0, 0.45);
}

// Going away, a running link keeps fetching on a fast tick for a moment
// (whatever the device still holds), pauses, then closes: nothing after.
// The device answers a frame request when an exposure ends, so at times
// beyond the 400 ms transfer timeout the link must wait that long rather than
// time out and reopen the device on every fetch.
TEST_F(KestrionAcquisition, ExposuresLongerThanTheTransferTimeoutKeepDelivering) {
    auto unit = AddUnit();
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    ASSERT_EQ(link.SetIntegralTimeMS(600), 1);
    unit->RecordTraffic(true);
    const long first = link.GetFrameNo();
    ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() >= first + 3; }, 10s));
    EXPECT_TRUE(link.IsKestrionRight());
    EXPECT_TRUE(ControlRequests(unit->Traffic(), protocol::kReadIdentity).empty()) << "the device was reopened";
}

TEST_F(KestrionAcquisition, DestructionDrainsThenStopsAllTraffic) {
    auto unit = AddUnit();
    auto link = std::make_unique<CKestrion>();
    ASSERT_EQ(link->StartDevice(0), 1);
    ASSERT_EQ(link->SetIntegralTimeMS(4), 1);
    ASSERT_TRUE(WaitFor([&] { return link->GetFrameNo() >= 2; }));
    unit->RecordTraffic(true);
    const auto start = std::chrono::steady_clock::now();
    link.reset();
    const auto end = std::chrono::steady_clock::now();
    EXPECT_GE(end - start, 40ms);
    const auto traffic = unit->Traffic();
    EXPECT_FALSE(BulkCommands(traffic).empty());
    for (const WireRecord& r : traffic) EXPECT_LE(r.time, end);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(unit->Traffic().size(), traffic.size());

    // A link whose timer never ran closes at once.
    SimulatedUnitSetup pixelModel;
    pixelModel.modelCode = "00008101";
    AddUnit(pixelModel);
    link = std::make_unique<CKestrion>();
    ASSERT_EQ(link->StartDevice(1), 1);
    const auto quick = std::chrono::steady_clock::now();
    link.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - quick, 30ms);
}

TEST_F(KestrionAcquisition, ExternalTriggerFetchesOnlyWhenTheDeviceSaysReady) {
    CKestrion link;
    auto unit = StartQuiet(link);
    ASSERT_EQ(link.SetDevExtTrigger(), 1);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(link.GetFrameNo(), 0);
    EXPECT_FALSE(ControlRequests(unit->Traffic(), protocol::kReadFrameStatus).empty());
    unit->SetExternalTriggerRate(200);
    EXPECT_TRUE(WaitFor([&] { return link.GetFrameNo() >= 3; }));
}

TEST_F(KestrionAcquisition, ReadersOnOtherThreadsWhileFramesFlow) {
    AddUnit();
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    std::atomic<bool> done{false};
    std::thread reader([&] {
        std::vector<double> y(3630);
        while (!done) {
            link.GetYData(y.data());
            link.GetDisYData(y.data());
            (void)link.GetFrameNo();
            (void)link.GetMinX();
            (void)link.GetDarkRegion();
        }
    });
    std::vector<double> x(3630);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(link.GetXData(x.data()), 1);
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(WaitFor([&] { return link.GetFrameNo() >= 5; }));
    done = true;
    reader.join();
}

}  // namespace
}  // namespace kestrion::testing
