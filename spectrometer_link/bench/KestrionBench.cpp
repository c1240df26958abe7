#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "DeviceProtocol.h"
#include "FrameUnpack.h"
#include "Kestrion.h"
#include "ModelTable.h"
#include "simulator/SimulatedBus.h"
#include "usb/UsbDevice.h"

namespace {

using namespace kestrion;
using Clock = std::chrono::steady_clock;

// Four model 0 units at 4 ms (one tick every 8 ms) for 10 s: frames each link
// delivered against the 1250 the period allows, and how late the ticks were,
// measured at the device from the arrival of each frame request.
void BM_FourLinksAt4msFor10s(benchmark::State& state) {
    constexpr int kUnits = 4;
    constexpr auto kRun = std::chrono::seconds(10);
    constexpr auto kPeriod = std::chrono::milliseconds(8);
    for (auto _ : state) {
        auto bus = std::make_shared<SimulatedBus>();
        std::vector<std::shared_ptr<SimulatedSpectrometer>> units;
        for (int k = 0; k < kUnits; ++k) units.push_back(bus->Add(DefaultSimulatedUnit(k)));
        SetUsbBackend(bus);
        std::vector<std::unique_ptr<CKestrion>> links;
        for (int k = 0; k < kUnits; ++k) {
            units[k]->RecordTraffic(true);
            links.push_back(std::make_unique<CKestrion>());
            links.back()->StartDevice(k);  // starts at 4 ms, the model's shortest
        }
        std::vector<long> first;
        for (auto& link : links) first.push_back(link->GetFrameNo());
        std::this_thread::sleep_for(kRun);
        long fewest = 1L << 30;
        for (int k = 0; k < kUnits; ++k) fewest = std::min(fewest, links[k]->GetFrameNo() - first[k]);

        // The timer starts right after the integration command: its deadlines
        // are that moment + k periods; a frame request arrives that much late.
        std::vector<double> lateness;
        for (auto& unit : units) {
            Clock::time_point anchor{};
            for (const WireRecord& r : unit->Traffic()) {
                if (r.kind != WireRecord::Kind::BulkOut || r.data.size() != 6) continue;
                if (r.data[0] == 0xAA) anchor = r.time;
                if (r.data[0] != 0xBB) continue;
                const double ms = std::chrono::duration<double, std::milli>(r.time - anchor).count();
                lateness.push_back(ms - std::floor(ms / kPeriod.count()) * kPeriod.count());
            }
        }
        std::sort(lateness.begin(), lateness.end());
        const double theoretical = std::chrono::duration<double>(kRun) / kPeriod;
        state.counters["frames_fewest_link"] = static_cast<double>(fewest);
        state.counters["frames_theoretical"] = theoretical;
        state.counters["delivered_pct"] = 100.0 * static_cast<double>(fewest) / theoretical;
        state.counters["tick_late_p50_ms"] = lateness.empty() ? 0 : lateness[lateness.size() / 2];
        state.counters["tick_late_p99_ms"] = lateness.empty() ? 0 : lateness[lateness.size() * 99 / 100];
        state.counters["tick_late_max_ms"] = lateness.empty() ? 0 : lateness.back();
        links.clear();
    }
}
BENCHMARK(BM_FourLinksAt4msFor10s)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// A device that answers every read with the same model 0 frame at once, so
// the link's own cost of a fetch is what is measured.
class CannedFrameConnection : public UsbConnection {
public:
    CannedFrameConnection() : frame_(protocol::kReplyLength) {
        for (size_t i = 0; i < frame_.size(); ++i) frame_[i] = static_cast<uint8_t>(i * 7);
    }
    std::vector<UsbEndpointDescriptor> Endpoints() const override { return {}; }
    UsbTransferResult Control(const UsbControlSetup&, uint8_t*, int, int) override { return {}; }
    void Abort() override {}
    void Resume() override {}
    UsbTransferResult Bulk(uint8_t address, uint8_t* data, int length, int) override {
        if ((address & 0x80) == 0) return {UsbStatus::Completed, length};
        const int moved = std::min<int>(length, static_cast<int>(frame_.size()));
        std::memcpy(data, frame_.data(), static_cast<size_t>(moved));
        return {UsbStatus::Completed, moved};
    }

private:
    std::vector<uint8_t> frame_;
};

void BM_PlainCopy8192(benchmark::State& state) {
    std::vector<uint8_t> from(protocol::kReplyLength, 1), to(protocol::kReplyLength);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainCopy8192);

// The link's per-frame work: frame request out, 8192-byte reply in, unpack by
// the model's layout, publish into the frame buffer.
void BM_FrameFetchAndUnpack(benchmark::State& state) {
    CannedFrameConnection connection;
    UsbEndpoint out(connection, {0x01, 2, 512, 0});
    UsbEndpoint in(connection, {0x82, 2, 512, 0});
    const ModelRow& row = ModelAt(0);
    std::vector<uint8_t> reply(protocol::kReplyLength);
    std::vector<uint32_t> unpacked(static_cast<size_t>(row.pixels)), published(unpacked.size());
    auto request = protocol::kFrameRequest;
    for (auto _ : state) {
        int length = protocol::kCommandLength;
        out.Transfer(request.data(), length);
        length = protocol::kReplyLength;
        in.Transfer(reply.data(), length);
        UnpackFrame(row, reply.data(), length, unpacked.data());
        std::copy(unpacked.begin(), unpacked.end(), published.begin());
        benchmark::DoNotOptimize(published.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameFetchAndUnpack);

// One simulated frame: the request and the 8192-byte reply of a model 0 unit
// (3630 pixels) that answers at once, noise and all.
void MeasureSimulatedFrame(benchmark::State& state, SimulatedUnitSetup setup) {
    SimulatedSpectrometer unit(std::move(setup));
    const uint64_t session = unit.Session();
    uint8_t none = 0;
    unit.Control(session, {0x40, protocol::kSelectExtTrigger, 0, 0}, &none, 0);
    unit.SetExternalTriggerRate(1e9);
    std::vector<uint8_t> reply(protocol::kReplyLength);
    uint8_t request[protocol::kCommandLength];
    std::copy(protocol::kFrameRequest.begin(), protocol::kFrameRequest.end(), request);
    for (auto _ : state) {
        unit.Bulk(session, SimulatedSpectrometer::kCommandEndpoint, request, protocol::kCommandLength, 400);
        unit.Bulk(session, SimulatedSpectrometer::kFrameEndpoint, reply.data(), protocol::kReplyLength, 400);
        benchmark::DoNotOptimize(reply.data());
    }
}

void BM_SimulatedFrame(benchmark::State& state) { MeasureSimulatedFrame(state, DefaultSimulatedUnit(0)); }
BENCHMARK(BM_SimulatedFrame);

// The same with a drifting scene, which places its moving lines afresh for
// every frame: one lamp line growing, the ruby's two lines moving, and all
// eleven lamp lines growing and moving (the most a scene can change).
void BM_SimulatedFrameOneLampLineGrowing(benchmark::State& state) {
    SimulatedUnitSetup setup = DefaultSimulatedUnit(0);
    setup.drift = {.line = 8, .heightPerSecond = 0.1};
    MeasureSimulatedFrame(state, setup);
}
BENCHMARK(BM_SimulatedFrameOneLampLineGrowing);

void BM_SimulatedFrameEveryLampLineDrifting(benchmark::State& state) {
    SimulatedUnitSetup setup = DefaultSimulatedUnit(0);
    setup.drift = {.line = -1, .heightPerSecond = 0.1, .shiftNmPerSecond = 1};
    MeasureSimulatedFrame(state, setup);
}
BENCHMARK(BM_SimulatedFrameEveryLampLineDrifting);

void BM_SimulatedFrameRubyMoving(benchmark::State& state) {
    SimulatedUnitSetup setup = DefaultSimulatedUnit(1);
    setup.drift = {.shiftNmPerSecond = 0.3};
    MeasureSimulatedFrame(state, setup);
}
BENCHMARK(BM_SimulatedFrameRubyMoving);


}  // namespace
