#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "Kestrion.h"
#include "simulator/SimulatedBus.h"

// How long calls the window thread makes on running links block while every
// device is timing out its bulk replies (each reply waits out the 400 ms bulk
// timeout). Counters: the longest and the median call in milliseconds.

namespace {

using namespace kestrion;
using Clock = std::chrono::steady_clock;

struct Rig {
    std::shared_ptr<SimulatedBus> bus = std::make_shared<SimulatedBus>();
    std::vector<std::unique_ptr<CKestrion>> links;

    explicit Rig(int units) {
        for (int k = 0; k < units; ++k) bus->Add(DefaultSimulatedUnit(k));
        SetUsbBackend(bus);
        StartAll();
    }

    void StartAll() {
        for (int k = 0; k < bus->CountDevices(); ++k) {
            links.push_back(std::make_unique<CKestrion>());
            links.back()->StartDevice(k);
            links.back()->SetIntegralTimeMS(10);
        }
    }

    // Every unit stops answering frame requests; the links are then inside
    // a 400 ms wait most of the time.
    void TimeOutEverything() {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        for (int k = 0; k < static_cast<int>(links.size()); ++k) bus->Unit(k)->TimeOutNextReplies(1 << 30);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

    // What the program's rescan does: every link goes, a fresh one starts per device.
    void Rescan() {
        for (auto& link : links) link->RequestStop();
        links.clear();
        StartAll();
    }
};

template <typename Call, typename Settle>
void Measure(benchmark::State& state, int units, int calls, Call call, Settle settle) {
    for (auto _ : state) {
        Rig rig(units);
        rig.TimeOutEverything();
        std::vector<double> ms;
        for (int i = 0; i < calls; ++i) {
            const auto start = Clock::now();
            call(rig, i);
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            settle(rig);
            std::this_thread::sleep_for(std::chrono::milliseconds(37));  // land at varying points of a wait
        }
        std::sort(ms.begin(), ms.end());
        state.counters["longest_ms"] = ms.back();
        state.counters["median_ms"] = ms[ms.size() / 2];
    }
}

template <typename Call>
void Measure(benchmark::State& state, int units, int calls, Call call) {
    Measure(state, units, calls, call, [](Rig&) {});
}

void BM_SetIntegrationTime(benchmark::State& state) {
    Measure(state, 2, 20, [](Rig& rig, int i) { rig.links[i % 2]->SetIntegralTimeMS(i % 4 < 2 ? 10 : 12); });
}

void BM_SetTriggerMode(benchmark::State& state) {
    Measure(state, 2, 20, [](Rig& rig, int i) {
        CKestrion& link = *rig.links[i % 2];
        if (i % 4 < 2) {
            link.SetDevExtTrigger();
        } else {
            link.SetDevClockTrigger();
        }
    });
}

void BM_GetXData(benchmark::State& state) {
    std::vector<double> x(8192);
    Measure(state, 2, 20, [&](Rig& rig, int i) { rig.links[i % 2]->GetXData(x.data()); });
}

void BM_RescanSixteenLinks(benchmark::State& state) {
    Measure(state, 16, 3, [](Rig& rig, int) { rig.Rescan(); }, [](Rig& rig) { rig.TimeOutEverything(); });
}

BENCHMARK(BM_SetIntegrationTime)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SetTriggerMode)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GetXData)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RescanSixteenLinks)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
