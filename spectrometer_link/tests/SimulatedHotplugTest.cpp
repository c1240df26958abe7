#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "LinkTestSupport.h"

namespace kestrion::testing {
namespace {

class SimulatedHotplug : public SimulatedLinkTest {
protected:
    void Watch() {
        ASSERT_TRUE(bus->WatchHotplug([this](const UsbHotplugEvent& event) {
            std::lock_guard lock(mutex);
            events.push_back(event);
            threads.push_back(std::this_thread::get_id());
        }));
    }
    size_t Count() {
        std::lock_guard lock(mutex);
        return events.size();
    }

    std::mutex mutex;
    std::vector<UsbHotplugEvent> events;
    std::vector<std::thread::id> threads;
};

TEST_F(SimulatedHotplug, UnplugPlugInAndAddAreToldFromTheBusThread) {
    AddUnit(DefaultSimulatedUnit(0));
    Watch();
    bus->Unit(0)->Unplug();
    ASSERT_TRUE(WaitFor([&] { return Count() == 1; }));
    bus->Unit(0)->PlugIn();
    ASSERT_TRUE(WaitFor([&] { return Count() == 2; }));
    AddUnit(DefaultSimulatedUnit(1));
    ASSERT_TRUE(WaitFor([&] { return Count() == 3; }));

    std::lock_guard lock(mutex);
    EXPECT_FALSE(events[0].arrived);
    EXPECT_TRUE(events[1].arrived);
    EXPECT_TRUE(events[2].arrived);
    EXPECT_EQ(events[0].device.address, 2);
    EXPECT_EQ(events[2].device.address, 3);
    EXPECT_TRUE(events[2].device.listed);
    EXPECT_EQ(events[2].device.vendor, SimulatedBus::kVendor);
    for (std::thread::id id : threads) EXPECT_NE(id, std::this_thread::get_id());
}

TEST_F(SimulatedHotplug, AnEmptyWatcherStopsTheCalls) {
    AddUnit(DefaultSimulatedUnit(0));
    Watch();
    EXPECT_TRUE(bus->WatchHotplug(nullptr));
    bus->Unit(0)->Unplug();
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * SimulatedBus::kHotplugPollMs));
    EXPECT_EQ(Count(), 0u);
}

}  // namespace
}  // namespace kestrion::testing
