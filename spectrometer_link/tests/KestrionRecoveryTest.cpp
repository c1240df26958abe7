#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "Kestrion.h"
#include "LinkTestSupport.h"

// How a link recovers when its device hiccups or goes away.

namespace kestrion::testing {
namespace {

using namespace std::chrono_literals;

// A simulated bus that counts how often the present spectrometers are listed.
class CountingBus : public SimulatedBus {
public:
    std::vector<UsbDeviceInfo> Spectrometers() override {
        ++listings;
        return SimulatedBus::Spectrometers();
    }
    std::atomic<int> listings{0};
};

class KestrionRecovery : public ::testing::Test {
protected:
    void SetUp() override { SetUsbBackend(bus); }
    std::shared_ptr<CountingBus> bus = std::make_shared<CountingBus>();
};

// Unit 0 unplugged moves unit 2 to index 1; a hiccup of unit 2 then finds it
// there by its serial number, and it goes on delivering.
TEST_F(KestrionRecovery, ReopenFindsTheDeviceBySerialWhereverItSits) {
    std::vector<std::shared_ptr<SimulatedSpectrometer>> units;
    for (int k = 0; k < 3; ++k) units.push_back(bus->Add(DefaultSimulatedUnit(k)));
    CKestrion third;
    ASSERT_EQ(third.StartDevice(2), 1);
    ASSERT_EQ(third.SetIntegralTimeMS(6), 1);
    ASSERT_TRUE(WaitFor([&] { return third.GetFrameNo() >= 2; }));

    units[0]->Unplug();
    units[2]->TimeOutNextReplies(1);
    const long before = third.GetFrameNo();
    ASSERT_TRUE(WaitFor([&] { return third.GetFrameNo() > before + 5; }));
    EXPECT_TRUE(third.IsKestrionRight());
    EXPECT_EQ(third.GetDeviceIndex(), 1);
    EXPECT_EQ(third.GetSerialNumber().find(L"SIM00002"), 4u);
}

// A device that is gone is looked for after 100 ms, 200 ms, 400 ms …, not on
// every 10 ms tick; the status says why the link failed.
TEST_F(KestrionRecovery, LostDeviceIsLookedForWithAGrowingPause) {
    auto unit = bus->Add(DefaultSimulatedUnit(0));
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    ASSERT_EQ(link.SetIntegralTimeMS(6), 1);
    ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() >= 2; }));
    unit->Unplug();
    ASSERT_TRUE(WaitFor([&] { return !link.IsKestrionRight(); }));
    EXPECT_EQ(link.GetLastStatus(), UsbStatus::NoDevice);
    const int listed = bus->listings;
    std::this_thread::sleep_for(1000ms);  // 100 ticks; retries at about 0.1, 0.3, 0.7 s
    EXPECT_LE(bus->listings - listed, 5);
    EXPECT_GE(bus->listings - listed, 2);
    unit->PlugIn();
    const long frames = link.GetFrameNo();
    EXPECT_TRUE(WaitFor([&] { return link.GetFrameNo() > frames; }, 4000ms));
    EXPECT_EQ(link.GetLastStatus(), UsbStatus::Completed);
}

// An integration time the device refuses is taken back: the link reopens the
// device and keeps the time it had, and it stays right.
TEST_F(KestrionRecovery, RefusedIntegrationTimeKeepsThePreviousOne) {
    auto unit = bus->Add(DefaultSimulatedUnit(0));
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    ASSERT_EQ(link.SetDevSoftTrigger(), 1);  // no frame traffic until asked
    ASSERT_EQ(link.SetIntegralTimeMS(8), 1);
    ASSERT_TRUE(WaitFor([&] { return unit->IntegrationValue() == 32000u; }));
    unit->RecordTraffic(true);
    unit->TimeOutNextReplies(1);  // the acknowledgement of the next command never comes
    ASSERT_EQ(link.SetIntegralTimeMS(50), 1);
    EXPECT_EQ(link.GetIntegralTimeMS(), 50);
    ASSERT_TRUE(WaitFor([&] { return link.GetIntegralTimeMS() == 8; }, 2000ms));
    EXPECT_TRUE(WaitFor([&] { return unit->IntegrationValue() == 32000u && link.IsSoftTrigger(); }));
    EXPECT_FALSE(ControlRequests(unit->Traffic(), 0xE2).empty()) << "the device was reopened";
    link.SoftTrigOnce(0);
    EXPECT_TRUE(WaitFor([&] { return link.GetFrameNo() > 2; }));
    EXPECT_TRUE(link.IsKestrionRight());
}

}  // namespace
}  // namespace kestrion::testing
