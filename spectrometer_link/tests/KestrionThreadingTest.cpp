#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <numeric>
#include <thread>
#include <vector>

#include "Kestrion.h"
#include "LinkTestSupport.h"

// What callers on other threads see of a running link: whole frames with their
// own numbers, settings calls that never wait for the device, the first frame
// after a change exposed with the new settings, and links that go away side by side.

namespace kestrion::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using KestrionThreading = SimulatedLinkTest;

double Elapsed(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Each frame holds its serial number at the device in every pixel: a number
// copied with another frame's pixels would show as a stamp that goes back, or
// as two stamps under one number.
TEST_F(KestrionThreading, CopyFrameNamesTheFrameItCopies) {
    auto unit = AddUnit();
    unit->RecordTraffic(false);
    unit->StampFrameNumbers(true);
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    std::vector<double> y(3630);
    EXPECT_EQ(link.CopyFrame(y.data()), 0);  // nothing yet
    ASSERT_EQ(link.SetIntegralTimeMS(4), 1);

    std::atomic<bool> busy{true};
    std::thread load([&] {
        while (busy) std::this_thread::yield();
    });
    long lastNumber = 0;
    double lastStamp = 0;
    int frames = 0;
    const auto end = Clock::now() + 1500ms;
    while (Clock::now() < end) {
        const long number = link.CopyFrame(y.data());
        if (number == 0) continue;
        ASSERT_EQ(y.front(), y.back()) << "pixels of two frames";
        if (number == lastNumber) {
            ASSERT_EQ(y[0], lastStamp) << "one number, two frames";
        } else {
            ASSERT_GT(number, lastNumber);
            ASSERT_GT(y[0], lastStamp) << "a newer number with an older frame";
            ++frames;
        }
        lastNumber = number;
        lastStamp = y[0];
    }
    busy = false;
    load.join();
    EXPECT_GT(frames, 10);  // 4 ms frames for 1.5 s: far more on a quiet machine
}

// Every unit answers its frame requests only when its 400 ms bulk timeout has
// run out, so the link's thread is nearly always inside a transfer: settings
// and the X axis still answer at once, and the settings reach the device.
TEST_F(KestrionThreading, SettingsAndAxisDoNotWaitForAFrameInFlight) {
    auto unit = AddUnit();
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    ASSERT_EQ(link.SetIntegralTimeMS(10), 1);
    ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() >= 2; }));
    unit->TimeOutNextReplies(1 << 30);
    std::this_thread::sleep_for(50ms);

    std::vector<double> x(3630);
    double longest = 0;
    for (int i = 0; i < 6; ++i) {
        auto start = Clock::now();
        EXPECT_EQ(link.SetIntegralTimeMS(20 + i), 1);
        longest = std::max(longest, Elapsed(start));
        start = Clock::now();
        EXPECT_EQ(link.GetXData(x.data()), 1);
        longest = std::max(longest, Elapsed(start));
        std::this_thread::sleep_for(30ms);
    }
    auto start = Clock::now();
    EXPECT_EQ(link.SetDevExtTrigger(), 1);
    longest = std::max(longest, Elapsed(start));
    EXPECT_LT(longest, 100) << "a call waited for the bulk timeout";
    EXPECT_NEAR(x[100], Polynomial(SimulatedUnitSetup{}.coefficients, 100), 1e-9);

    unit->TimeOutNextReplies(0);
    EXPECT_TRUE(WaitFor([&] { return unit->IsExternalTrigger() && unit->IntegrationValue() == 25 * 4000u; }));
    EXPECT_TRUE(link.IsKestrionRight());
}

// Counts scale with the integration time: the first frame published after
// 10 ms → 100 ms holds about ten times the light of the last one before.
TEST_F(KestrionThreading, FirstFrameAfterAChangeIsExposedWithTheNewTime) {
    AddUnit()->RecordTraffic(false);
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    ASSERT_EQ(link.SetIntegralTimeMS(10), 1);
    ASSERT_TRUE(WaitFor([&] { return link.GetFrameNo() >= 3; }));
    std::vector<double> before(3630), after(3630);
    link.CopyFrame(before.data());
    ASSERT_EQ(link.SetIntegralTimeMS(100), 1);
    // A frame in flight during the call was exposed at 10 ms: it must not show.
    const long atChange = link.GetFrameNo();
    ASSERT_TRUE(WaitFor([&] { return link.CopyFrame(after.data()) > atChange; }));
    // Light above the dark level where the longer exposure does not clip.
    const double dark = 16500 * 0.06;
    double lightBefore = 0, lightAfter = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        if (after[i] > 15000) continue;
        lightBefore += before[i] - dark;
        lightAfter += after[i] - dark;
    }
    const double ratio = lightAfter / lightBefore;
    EXPECT_GT(ratio, 7);
    EXPECT_LT(ratio, 11);
}

// Eight running links: each is asked to stop, then all are destroyed. Each
// hands over what its device holds for 20 ms and pauses 20 ms, side by side.
TEST_F(KestrionThreading, LinksStopSideBySide) {
    constexpr int kLinks = 8;
    std::vector<std::unique_ptr<CKestrion>> links;
    for (int k = 0; k < kLinks; ++k) {
        AddUnit(DefaultSimulatedUnit(k))->TimeOutNextReplies(1 << 30);
        links.push_back(std::make_unique<CKestrion>());
        ASSERT_EQ(links.back()->StartDevice(k), 1);
        ASSERT_EQ(links.back()->SetIntegralTimeMS(10), 1);
    }
    std::this_thread::sleep_for(60ms);  // every link inside a 400 ms wait
    const auto start = Clock::now();
    for (auto& link : links) link->RequestStop();
    links.clear();
    const double ms = Elapsed(start);
    EXPECT_GE(ms, 40);
    EXPECT_LT(ms, 200) << "one link after another takes 8 × 40 ms and more";
}

}  // namespace
}  // namespace kestrion::testing
