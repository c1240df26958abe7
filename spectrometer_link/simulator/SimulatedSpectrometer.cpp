#include "SimulatedSpectrometer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>

#include "ByteOrder.h"
#include "DeviceProtocol.h"
#include "ModelTable.h"
#include "NormalDeviates.h"

namespace kestrion {
namespace {

namespace p = protocol;
using std::chrono::microseconds;

constexpr uint8_t kDirectionIn = 0x80;
constexpr uint8_t kVendorToDevice = 0x40;  // type vendor, recipient device
constexpr double kReadNoise = 6.0;         // counts rms
constexpr double kDarkShare = 0.06;        // dark level as a share of the model's maximum
constexpr microseconds kShortestExposure{100};

}  // namespace

SimulatedUnitSetup DefaultSimulatedUnit(int k) {
    SimulatedUnitSetup setup;
    char serial[16];
    std::snprintf(serial, sizeof serial, "SIM%05d", std::clamp(k, 0, 99999));
    setup.serialPart = serial;
    setup.scene = k % 2 == 0 ? Scene::MercuryArgonLamp : Scene::RubyFluorescence;
    return setup;
}

SimulatedUnitSetup MiscalibratedSimulatedUnit() {
    constexpr double kOffsetNm = 2.5;
    constexpr double kLinearStretch = 1.004;
    SimulatedUnitSetup setup = DefaultSimulatedUnit(0);
    setup.trueDispersion = setup.coefficients;
    setup.coefficients[0] += kOffsetNm;
    setup.coefficients[1] *= kLinearStretch;
    return setup;
}

SimulatedSpectrometer::SimulatedSpectrometer(SimulatedUnitSetup setup)
    : setup_(std::move(setup)),
      model_(FindModel(setup_.modelCode)),
      scene_(PlaceScene(setup_.scene, setup_.trueDispersion.value_or(setup_.coefficients), ModelAt(model_).pixels)),
      noiseState_(std::hash<std::string>{}(setup_.serialPart) | 1),
      triggerEpoch_(Clock::now()),
      reply_(p::kReplyLength, 0) {
    const ModelRow& row = ModelAt(model_);
    StartDrift();
    SetIntegration(static_cast<uint32_t>(std::max<int64_t>(row.minTimeUs, 4000) * row.unitsPerUs));
}

uint64_t SimulatedSpectrometer::Session() const {
    std::lock_guard lock(mutex_);
    return session_;
}

bool SimulatedSpectrometer::IsLive(uint64_t session) const { return plugged_ && session == session_; }

void SimulatedSpectrometer::Record(WireRecord record) {
    if (!recording_) return;
    record.time = Clock::now();
    record.thread = std::this_thread::get_id();
    traffic_.push_back(std::move(record));
}

UsbTransferResult SimulatedSpectrometer::Control(uint64_t session, const UsbControlSetup& setup, uint8_t* data,
                                                 int length) {
    std::lock_guard lock(mutex_);
    if (!IsLive(session)) return {UsbStatus::NoDevice, 0};
    const bool in = (setup.requestType & kDirectionIn) != 0;
    WireRecord record{WireRecord::Kind::Control, setup, 0, {}, length, {}, {}};
    if (!in && data != nullptr) record.data.assign(data, data + length);
    Record(std::move(record));

    const bool refused = std::any_of(refused_.begin(), refused_.end(), [&](const auto& r) {
        return r.first == setup.request && (r.second < 0 || r.second == setup.value);
    });
    if (refused || (setup.requestType & 0x7F) != kVendorToDevice) return {UsbStatus::Stalled, 0};
    if (!in) return {TakeOut(setup, data, length), 0};
    int moved = length;
    const UsbStatus status = AnswerIn(setup, data, moved);
    return {status, status == UsbStatus::Completed ? moved : 0};
}

UsbStatus SimulatedSpectrometer::AnswerIn(const UsbControlSetup& setup, uint8_t* reply, int& length) {
    std::array<uint8_t, 16> answer{};
    int size = 0;
    switch (setup.request) {
        case p::kReadIdentity:
            std::memcpy(answer.data(), setup_.modelCode.data(), std::min<size_t>(setup_.modelCode.size(), 8));
            std::memcpy(answer.data() + 8, setup_.firmware.data(), std::min<size_t>(setup_.firmware.size(), 4));
            size = p::kIdentityLength;
            break;
        case p::kReadSerialPart:
            std::memcpy(answer.data(), setup_.serialPart.data(), std::min<size_t>(setup_.serialPart.size(), 8));
            size = p::kSerialPartLength;
            break;
        case p::kReadRecord: {
            size = p::kRecordLength;
            const int v = setup.value;
            if (v == p::kRecordDeviceRange || v == p::kRecordDisplayRange) {
                const bool device = v == p::kRecordDeviceRange;
                StoreInt32(answer.data(), device ? setup_.deviceMinX : setup_.displayMinX);
                StoreInt32(answer.data() + 4, device ? setup_.deviceMaxX : setup_.displayMaxX);
            } else if (v == p::kRecordDefect) {
                for (int i = 0; i < 3; ++i) StoreInt32(answer.data() + 4 * i, setup_.defectRecord[i]);
            } else if (v < p::kMaxCorrectionPoints) {
                const bool present = static_cast<size_t>(v) < setup_.correctionPoints.size();
                StoreInt32(answer.data(), present ? setup_.correctionPoints[v].first : -1);
                StoreDouble(answer.data() + 4, present ? setup_.correctionPoints[v].second : 0.0);
            } else {
                return UsbStatus::Stalled;
            }
            break;
        }
        case p::kReadCoefficient:
            if (setup.value >= p::kCoefficientCount) return UsbStatus::Stalled;
            StoreDouble(answer.data(), setup_.coefficients[setup.value]);
            size = p::kCoefficientLength;
            break;
        case p::kReadFrameStatus:
            if (external_ && TriggersArrived(Clock::now()) > triggersUsed_) {
                std::copy(p::kFrameReady.begin(), p::kFrameReady.end(), answer.begin());
            }
            size = p::kFrameStatusLength;
            break;
        default:
            return UsbStatus::Stalled;
    }
    length = std::clamp(length, 0, size);
    if (reply != nullptr) std::memcpy(reply, answer.data(), static_cast<size_t>(length));
    return UsbStatus::Completed;
}

UsbStatus SimulatedSpectrometer::TakeOut(const UsbControlSetup& setup, const uint8_t* data, int length) {
    switch (setup.request) {
        case p::kWriteCoefficient:
            if (setup.value >= p::kCoefficientCount || length != p::kCoefficientLength || data == nullptr) {
                return UsbStatus::Stalled;
            }
            setup_.coefficients[setup.value] = LoadDouble(data);
            return UsbStatus::Completed;
        case p::kSelectClockTrigger:
        case p::kSelectExtTrigger:
            external_ = setup.request == p::kSelectExtTrigger;
            return UsbStatus::Completed;
        default:
            return UsbStatus::Stalled;
    }
}

UsbTransferResult SimulatedSpectrometer::Bulk(uint64_t session, uint8_t address, uint8_t* data, int length,
                                              int timeoutMs, const std::atomic<bool>* aborted) {
    std::unique_lock lock(mutex_);
    if (!IsLive(session)) return {UsbStatus::NoDevice, 0};
    WireRecord record{WireRecord::Kind::BulkIn, {}, address, {}, length, {}, {}};
    if (address == kCommandEndpoint) {
        record.kind = WireRecord::Kind::BulkOut;
        if (data != nullptr) record.data.assign(data, data + length);
        Record(std::move(record));
        return Command(data, length);
    }
    Record(std::move(record));
    if (address == kFrameEndpoint) return Reply(lock, data, length, timeoutMs, aborted);
    if (address != kStatusEndpoint) return {UsbStatus::Stalled, 0};
    if (!WaitUntil(lock, Clock::now() + std::chrono::milliseconds(timeoutMs), session, aborted)) {
        return {IsLive(session) ? UsbStatus::Cancelled : UsbStatus::NoDevice, 0};
    }
    return {UsbStatus::TimedOut, 0};
}

bool SimulatedSpectrometer::WaitUntil(std::unique_lock<std::mutex>& lock, Clock::time_point deadline,
                                      uint64_t session, const std::atomic<bool>* aborted) {
    const auto interrupted = [&] { return (aborted != nullptr && *aborted) || !IsLive(session); };
    // A deadline already past must not cost a sleep on the condition.
    if (Clock::now() >= deadline) return !interrupted();
    return !wake_.wait_until(lock, deadline, interrupted);
}

void SimulatedSpectrometer::WakeWaiters() {
    std::lock_guard lock(mutex_);
    wake_.notify_all();
}

UsbTransferResult SimulatedSpectrometer::Command(const uint8_t* data, int length) {
    pending_ = Pending::None;
    if (data == nullptr || length != p::kCommandLength) return {UsbStatus::Completed, length};
    if (std::equal(p::kFrameRequest.begin(), p::kFrameRequest.end(), data)) {
        pending_ = Pending::Frame;
    } else if (data[0] == 0xAA && data[1] == 0xAA) {
        SetIntegration(p::IntegrationValue(data));
        pending_ = Pending::Acknowledge;
    }
    std::copy(data, data + p::kCommandLength, lastCommand_.begin());
    return {UsbStatus::Completed, length};
}

void SimulatedSpectrometer::SetIntegration(uint32_t deviceValue) {
    const ModelRow& row = ModelAt(model_);
    integrationValue_ = deviceValue;
    const auto micros = microseconds(deviceValue / static_cast<uint32_t>(row.unitsPerUs));
    exposure_ = std::max<Clock::duration>(micros, kShortestExposure);
    exposureStart_ = Clock::now();
    lastExposure_ = 0;
    ComputeExpectedCounts();
}

void SimulatedSpectrometer::ComputeExpectedCounts() {
    const double ms = std::chrono::duration<double, std::milli>(exposure_).count();
    const double dark = ModelAt(model_).maxY * kDarkShare;
    const size_t pixels = scene_.sourcePerMs.size();
    for (auto* values : {&meanCounts_, &noiseRms_, &flashMeanCounts_, &flashNoiseRms_}) values->resize(pixels);
    counts_.resize(pixels);
    for (size_t i = 0; i < pixels; ++i) ExpectPixel(i, ms, dark);
}

void SimulatedSpectrometer::ExpectPixel(size_t i, double ms, double dark) {
    double source = scene_.sourcePerMs[i];
    if (!driftLines_.empty()) {
        const double nm = scene_.wavelengthNm[i] - driftShiftNm_;
        source = steadySourcePerMs_[i] + driftHeight_ * GaussianLines(driftLines_, SceneLineWidthNm(setup_.scene), nm);
    }
    const double brightness = std::isfinite(setup_.brightness) && setup_.brightness > 0 ? setup_.brightness : 0.0;
    const double light = sourceOn_ ? brightness * source * (sampleIn_ ? scene_.transmittance[i] : 1.0) : 0.0;
    const double signal = light * ms;
    const double flashSignal = signal + scene_.plasmaCounts[i];
    meanCounts_[i] = static_cast<float>(dark + signal);
    noiseRms_[i] = static_cast<float>(std::sqrt(kReadNoise * kReadNoise + signal));
    flashMeanCounts_[i] = static_cast<float>(dark + flashSignal);
    flashNoiseRms_[i] = static_cast<float>(std::sqrt(kReadNoise * kReadNoise + flashSignal));
}

void SimulatedSpectrometer::StartDrift() {
    const SceneDrift& drift = setup_.drift;
    const std::vector<SceneLine>& lines = SceneLines(setup_.scene);
    driftLines_.clear();
    driftStart_ = Clock::now();
    driftHeight_ = 1;
    driftShiftNm_ = 0;
    const bool still = drift.heightPerSecond == 0 && drift.shiftNmPerSecond == 0;
    if (still || !std::isfinite(drift.heightPerSecond) || !std::isfinite(drift.shiftNmPerSecond) ||
        drift.line < -1 || drift.line >= static_cast<int>(lines.size()))
        return;
    if (drift.line < 0) {
        driftLines_ = lines;
    } else {
        driftLines_.push_back(lines[static_cast<size_t>(drift.line)]);
    }
    // The steady part is the placed source less the drifting lines at rest.
    const double sigma = SceneLineWidthNm(setup_.scene);
    steadySourcePerMs_.resize(scene_.sourcePerMs.size());
    for (size_t i = 0; i < steadySourcePerMs_.size(); ++i)
        steadySourcePerMs_[i] = scene_.sourcePerMs[i] - GaussianLines(driftLines_, sigma, scene_.wavelengthNm[i]);
}

void SimulatedSpectrometer::FollowDrift(Clock::time_point when) {
    const double seconds = std::chrono::duration<double>(when - driftStart_).count();
    const double shift = setup_.drift.shiftNmPerSecond * seconds;
    const double low = std::min(shift, driftShiftNm_), high = std::max(shift, driftShiftNm_);
    driftHeight_ = std::max(1 + setup_.drift.heightPerSecond * seconds, 0.0);
    driftShiftNm_ = shift;
    const double ms = std::chrono::duration<double, std::milli>(exposure_).count();
    const double dark = ModelAt(model_).maxY * kDarkShare;
    const double reach = kLineReachSigmas * SceneLineWidthNm(setup_.scene);
    // The wavelengths rise along the detector, so each line's pixels are one
    // stretch between its old and new place.
    const std::vector<double>& nm = scene_.wavelengthNm;
    for (const SceneLine& line : driftLines_) {
        const auto from = std::lower_bound(nm.begin(), nm.end(), line.wavelengthNm + low - reach) - nm.begin();
        const auto to = std::upper_bound(nm.begin(), nm.end(), line.wavelengthNm + high + reach) - nm.begin();
        for (auto i = from; i < to; ++i) ExpectPixel(static_cast<size_t>(i), ms, dark);
    }
}

UsbTransferResult SimulatedSpectrometer::Reply(std::unique_lock<std::mutex>& lock, uint8_t* data, int length,
                                               int timeoutMs, const std::atomic<bool>* aborted) {
    const Pending pending = std::exchange(pending_, Pending::None);
    const auto timeout = std::chrono::milliseconds(std::max(timeoutMs, 0));
    Clock::time_point readyAt = Clock::now();
    Clock::time_point exposedAt = readyAt;
    int64_t exposure = 0;
    if (pending == Pending::Frame && !external_) {
        exposure = std::max((readyAt - exposureStart_) / exposure_, lastExposure_ + 1);
        readyAt = exposureStart_ + exposure * exposure_;
        exposedAt = readyAt - exposure_ / 2;
    }
    const bool timesOut = timeoutReplies_ > 0 || pending == Pending::None || readyAt - Clock::now() > timeout;
    const uint64_t session = session_;
    const auto cut = [&] { return UsbTransferResult{IsLive(session) ? UsbStatus::Cancelled : UsbStatus::NoDevice, 0}; };
    if (timesOut) {
        timeoutReplies_ = std::max(timeoutReplies_ - 1, 0);
        if (!WaitUntil(lock, Clock::now() + timeout, session, aborted)) return cut();
        return {UsbStatus::TimedOut, 0};
    }
    if (!WaitUntil(lock, readyAt, session, aborted)) return cut();

    int size = p::kCommandLength;
    if (pending == Pending::Acknowledge) {
        std::copy(lastCommand_.begin(), lastCommand_.end(), reply_.begin());
    } else {
        if (external_) {
            triggersUsed_ = std::max(triggersUsed_ + 1, TriggersArrived(Clock::now()));
        } else {
            lastExposure_ = exposure;
        }
        ExposeFrame(exposedAt);
        size = p::kReplyLength;
    }
    if (shortReplies_ > 0) {
        --shortReplies_;
        size = std::min(size, shortLength_);
    }
    const int moved = std::clamp(length, 0, size);
    if (data != nullptr) std::memcpy(data, reply_.data(), static_cast<size_t>(moved));
    return {UsbStatus::Completed, moved};
}

void SimulatedSpectrometer::ExposeFrame(Clock::time_point exposedAt) {
    const ModelRow& row = ModelAt(model_);
    ++framesSent_;
    if (row.slotBytes == 0) {
        std::fill(reply_.begin(), reply_.end(), 0);
        return;
    }
    std::fill_n(reply_.begin(), row.firstPixelByte, 0);  // the acknowledgement may have left bytes there
    const size_t pixels = counts_.size();
    uint16_t* __restrict counts = counts_.data();
    if (stampFrames_) {
        std::fill_n(counts, pixels, static_cast<uint16_t>(framesSent_));
    } else {
        if (!driftLines_.empty()) FollowDrift(exposedAt);
        // Deviates from a fixed table, read from a random start: consecutive
        // frames see unrelated noise, and each pixel keeps the table's mean 0
        // and variance 1 without a generator call per pixel.
        noiseState_ ^= noiseState_ << 13;
        noiseState_ ^= noiseState_ >> 7;
        noiseState_ ^= noiseState_ << 17;
        const float* __restrict deviates = NormalDeviates().data() + noiseState_ % kNormalDeviateStarts;
        // The plasma shines only in a frame the laser's pulse triggered.
        const bool flash = external_ && laserFiring_;
        const float* __restrict mean = flash ? flashMeanCounts_.data() : meanCounts_.data();
        const float* __restrict rms = flash ? flashNoiseRms_.data() : noiseRms_.data();
        const float most = static_cast<float>(row.maxY);
        for (size_t i = 0; i < pixels; ++i) {
            const float noisy = mean[i] + rms[i] * deviates[i];
            counts[i] = static_cast<uint16_t>(static_cast<int32_t>((noisy < 0 ? 0 : noisy > most ? most : noisy) + 0.5f));
        }
    }
    uint8_t* __restrict slot = reply_.data() + row.firstPixelByte;
    if (row.slotBytes == 2 && std::endian::native == std::endian::little) {
        std::memcpy(slot, counts, 2 * pixels);  // little-endian 16-bit slots: the counts as they lie
        return;
    }
    for (size_t i = 0; i < pixels; ++i, slot += row.slotBytes) {
        slot[0] = static_cast<uint8_t>(counts[i]);
        slot[1] = static_cast<uint8_t>(counts[i] >> 8);
        // Wider slots carry bytes the link must ignore.
        for (int b = 2; b < row.slotBytes; ++b) slot[b] = 0xEE;
    }
}

int64_t SimulatedSpectrometer::TriggersArrived(Clock::time_point now) const {
    return static_cast<int64_t>(std::chrono::duration<double>(now - triggerEpoch_).count() * triggerRate_);
}

void SimulatedSpectrometer::Refuse(uint8_t request, int value) {
    std::lock_guard lock(mutex_);
    refused_.emplace_back(request, value);
}

void SimulatedSpectrometer::AcceptAll() {
    std::lock_guard lock(mutex_);
    refused_.clear();
}

void SimulatedSpectrometer::TimeOutNextReplies(int count) {
    std::lock_guard lock(mutex_);
    timeoutReplies_ = std::max(count, 0);
}

void SimulatedSpectrometer::ShortenNextReplies(int count, int length) {
    std::lock_guard lock(mutex_);
    shortReplies_ = std::max(count, 0);
    shortLength_ = std::max(length, 0);
}

void SimulatedSpectrometer::Unplug() {
    std::lock_guard lock(mutex_);
    plugged_ = false;
    ++session_;
    wake_.notify_all();
}

void SimulatedSpectrometer::PlugIn() {
    std::lock_guard lock(mutex_);
    plugged_ = true;
}

bool SimulatedSpectrometer::IsPlugged() const {
    std::lock_guard lock(mutex_);
    return plugged_;
}

void SimulatedSpectrometer::SetExternalTriggerRate(double perSecond) {
    std::lock_guard lock(mutex_);
    triggerRate_ = std::isfinite(perSecond) && perSecond > 0 ? perSecond : 0;
    triggerEpoch_ = Clock::now();
    triggersUsed_ = 0;
}

void SimulatedSpectrometer::StampFrameNumbers(bool on) {
    std::lock_guard lock(mutex_);
    stampFrames_ = on;
}

void SimulatedSpectrometer::SetSourceOn(bool on) {
    std::lock_guard lock(mutex_);
    sourceOn_ = on;
    ComputeExpectedCounts();
}

void SimulatedSpectrometer::SetSampleIn(bool in) {
    std::lock_guard lock(mutex_);
    sampleIn_ = in;
    ComputeExpectedCounts();
}

void SimulatedSpectrometer::SetBrightness(double factor) {
    std::lock_guard lock(mutex_);
    setup_.brightness = factor;
    ComputeExpectedCounts();
}

void SimulatedSpectrometer::SetLaserFiring(bool firing) {
    std::lock_guard lock(mutex_);
    laserFiring_ = firing;
}

void SimulatedSpectrometer::SetSceneDrift(const SceneDrift& drift) {
    std::lock_guard lock(mutex_);
    setup_.drift = drift;
    StartDrift();
    ComputeExpectedCounts();
}

bool SimulatedSpectrometer::IsSourceOn() const {
    std::lock_guard lock(mutex_);
    return sourceOn_;
}

bool SimulatedSpectrometer::IsSampleIn() const {
    std::lock_guard lock(mutex_);
    return sampleIn_;
}

bool SimulatedSpectrometer::IsLaserFiring() const {
    std::lock_guard lock(mutex_);
    return laserFiring_;
}

void SimulatedSpectrometer::RecordTraffic(bool on) {
    std::lock_guard lock(mutex_);
    recording_ = on;
    traffic_.clear();
}

std::vector<WireRecord> SimulatedSpectrometer::Traffic() const {
    std::lock_guard lock(mutex_);
    return traffic_;
}

std::array<double, 4> SimulatedSpectrometer::Coefficients() const {
    std::lock_guard lock(mutex_);
    return setup_.coefficients;
}

uint32_t SimulatedSpectrometer::IntegrationValue() const {
    std::lock_guard lock(mutex_);
    return integrationValue_;
}

bool SimulatedSpectrometer::IsExternalTrigger() const {
    std::lock_guard lock(mutex_);
    return external_;
}

std::vector<uint8_t> SimulatedSpectrometer::LastReply() const {
    std::lock_guard lock(mutex_);
    return reply_;
}

}  // namespace kestrion
