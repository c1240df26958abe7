#include "Kestrion.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <utility>

#include "AlgorithmLibrary.h"
#include "Algorithm.h"
#include "ByteOrder.h"
#include "DeviceProtocol.h"
#include "FrameUnpack.h"
#include "ModelTable.h"
#include "PeriodicTimer.h"
#include "usb/UsbDevice.h"
#include "usb/UsbBackend.h"

using namespace kestrion;
namespace p = kestrion::protocol;

namespace {

constexpr int kBulkTimeoutMs = 400;
// A link that lost its device looks for it again after this pause, doubled
// after every failed attempt up to the longest.
constexpr auto kFirstRetryDelay = std::chrono::milliseconds(100);
constexpr auto kLongestRetryDelay = std::chrono::seconds(2);
// Going away, a running link keeps fetching for this long (whatever the
// device still holds), then pauses as long again before it closes.
constexpr auto kDrainTime = std::chrono::milliseconds(20);
constexpr int kCommandEndpointEntry = 1;
constexpr int kFrameEndpointEntry = 3;

std::string Part(const std::string& text, size_t first, size_t count) {
    return first < text.size() ? text.substr(first, count) : std::string();
}

// Device text is single bytes; each byte becomes the character of that code
// (a byte above 0x7F must not sign-extend into an invalid wide character).
std::wstring Widen(const std::string& text) {
    std::wstring wide;
    for (char c : text) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

// Decimal text left-padded with '0' to at least four characters.
std::string Padded4(int32_t value) {
    std::string text = std::to_string(value);
    if (text.size() < 4) text.insert(0, 4 - text.size(), '0');
    return text;
}

template <typename T>
void SetIfChanged(T& field, const T& value) {
    if (field != value) field = value;
}

bool Ok(UsbStatus status) { return status == UsbStatus::Completed; }

std::chrono::milliseconds PeriodOf(double ms) { return std::chrono::milliseconds(static_cast<int64_t>(ms) + 4); }

}  // namespace

struct CKestrion::DeviceInfo {
    std::string identity;  // model code (8) + firmware (4), up to the first NUL
    std::string serialPart;
    std::string version;  // firmware characters with "_" after the second
    int32_t deviceRange[2] = {0, 0};
    int32_t displayRange[2] = {0, 0};
    std::wstring serialNumber;  // as composed from the above
};

SpectrometerScan::SpectrometerScan() : devices_(UsbDevice::PresentDevices()) {}
SpectrometerScan::~SpectrometerScan() = default;

int SpectrometerScan::Count() const { return static_cast<int>(std::min<size_t>(devices_.size(), 255)); }

std::string SpectrometerScan::Describe(int index) const {
    return index >= 0 && index < Count() ? devices_[static_cast<size_t>(index)].Describe() : std::string();
}

CKestrion::CKestrion() { InitParams(); }

CKestrion::~CKestrion() { ReleaseParams(); }

void CKestrion::InitParams() {
    modelIndex = kUnlistedModel;
    usbDevice = std::make_unique<UsbDevice>();
    frameBuffer_.assign(p::kReplyLength, 0);
    timer_ = std::make_unique<PeriodicTimer>([this] { FrameCallback(); });
}

void CKestrion::ReleaseParams() {
    RequestStop();
    if (timer_->IsRunning()) {
        std::unique_lock state(stateMutex_);
        drainedChanged_.wait(state, [this] { return drained_; });
    }
    timer_->Stop();
    std::lock_guard io(ioMutex_);
    usbDevice->Close();
    std::lock_guard state(stateMutex_);
    yCounts.clear();
}

void CKestrion::RequestStop() {
    if (stopRequested_.exchange(true)) return;
    usbDevice->Abort();
    timer_->Wake();
}

int CKestrion::GetAllDeviceCount() { return UsbDevice::CountDevices(); }

int CKestrion::StartDevice(int index) {
    std::lock_guard io(ioMutex_);
    return Start(UsbDevice::PresentDevices(), index, nullptr);
}

int CKestrion::StartDevice(const std::wstring& serial) {
    std::lock_guard io(ioMutex_);
    return Start(UsbDevice::PresentDevices(), deviceIndex, &serial);
}

int CKestrion::StartDevice(const SpectrometerScan& scan, int index) {
    std::lock_guard io(ioMutex_);
    return Start(scan.devices_, index, nullptr);
}

int CKestrion::Start(const std::vector<UsbDeviceInfo>& present, int index, const std::wstring* requiredSerial) {
    if (stopRequested_) return 0;
    deviceOpen_ = false;
    if (index < 0 || index >= std::min<int>(static_cast<int>(present.size()), 255)) {
        usbDevice->Close();
        lastStatus_ = UsbStatus::NoDevice;
        return 0;
    }
    if (!usbDevice->Open(present[static_cast<size_t>(index)])) {
        lastStatus_ = usbDevice->OpenStatus();
        return 0;
    }
    if (usbDevice->Endpoint(kFrameEndpointEntry) == nullptr) {  // not a spectrometer's interface
        usbDevice->Close();
        lastStatus_ = UsbStatus::Failed;
        return 0;
    }
    {
        std::lock_guard state(stateMutex_);
        deviceIndex = index;
    }
    DeviceInfo info;
    if (!ReadDeviceInfo(info)) return 0;
    if (requiredSerial != nullptr && info.serialNumber != *requiredSerial) {
        usbDevice->Close();
        return 0;
    }
    ApplyDeviceInfo(info);
    if (modelIndex == kUnlistedModel) return 0;
    const ModelRow& row = ModelAt(modelIndex);
    if (row.xAxis != XAxisKind::PixelIndex) {
        uint8_t record[p::kRecordLength];
        const UsbStatus status = VendorRead(p::kReadRecord, p::kRecordDefect, record, p::kRecordLength, true);
        if (!Ok(status)) {
            lastStatus_ = status;
            return 0;
        }
        std::lock_guard state(stateMutex_);
        for (int i = 0; i < 3; ++i) defectRecord[static_cast<size_t>(i)] = LoadInt32(record + 4 * i);
    }
    deviceOpen_ = true;
    lastStatus_ = UsbStatus::Completed;
    appliedTrigger_ = 0;
    if (row.minTimeUs > 0) {
        // The model's shortest time, sent by the thread like any setting: a
        // device that does not answer its bulk commands cannot hold up a rescan.
        const double shortest = static_cast<double>(row.minTimeUs / 1000);
        {
            std::lock_guard state(stateMutex_);
            integralTimeMS = shortest;
            timePending_ = true;
        }
        if (!timer_->IsRunning()) timer_->Start(PeriodOf(shortest));
        timer_->Wake();
    }
    return 1;
}

bool CKestrion::ReadDeviceInfo(DeviceInfo& info) {
    // Every request is made even after one has failed.
    char identity[p::kIdentityLength + 1] = {};
    char serialPart[p::kSerialPartLength + 1] = {};
    uint8_t deviceRange[p::kRecordLength] = {};
    uint8_t displayRange[p::kRecordLength] = {};
    const UsbStatus results[] = {
        VendorRead(p::kReadIdentity, 0, reinterpret_cast<uint8_t*>(identity), p::kIdentityLength, false),
        VendorRead(p::kReadSerialPart, 0, reinterpret_cast<uint8_t*>(serialPart), p::kSerialPartLength, false),
        VendorRead(p::kReadRecord, p::kRecordDeviceRange, deviceRange, p::kRecordLength, true),
        VendorRead(p::kReadRecord, p::kRecordDisplayRange, displayRange, p::kRecordLength, true)};
    for (UsbStatus status : results) {
        if (!Ok(status)) {
            lastStatus_ = status;
            return false;
        }
    }

    info.identity = identity;
    info.serialPart = serialPart;
    for (int i = 0; i < 2; ++i) {
        info.deviceRange[i] = LoadInt32(deviceRange + 4 * i);
        info.displayRange[i] = LoadInt32(displayRange + 4 * i);
    }
    const std::string firmware = Part(info.identity, 8, 4);
    info.version = firmware;
    info.version.insert(std::min<size_t>(2, firmware.size()), "_");
    // Serial number: model digits, serial part, "0", the second firmware
    // character, the last two of the version text, then the device range,
    // each end in at least four digits.
    const size_t versionTail = info.version.size() < 2 ? 0 : info.version.size() - 2;
    info.serialNumber = Widen(Part(info.identity, 4, 4) + info.serialPart + "0" + Part(firmware, 1, 1) +
                              info.version.substr(versionTail) + Padded4(info.deviceRange[0]) +
                              Padded4(info.deviceRange[1]));
    return true;
}

void CKestrion::ApplyDeviceInfo(const DeviceInfo& info) {
    const std::string code = Part(info.identity, 0, 8);
    const int model = FindModel(code);
    const ModelRow& row = ModelAt(model);
    {
        std::lock_guard state(stateMutex_);
        SetIfChanged(deviceName, Widen(model == kUnlistedModel ? code : row.name));
        SetIfChanged(versionInfo, Widen(info.version));
        SetIfChanged(serialNumber, info.serialNumber);
        modelIndex = model;
        deviceMinX = info.deviceRange[0];
        deviceMaxX = info.deviceRange[1];
        const bool noDisplayRange = info.displayRange[0] < 0 && info.displayRange[1] < 0;
        minX = noDisplayRange ? deviceMinX : info.displayRange[0];
        maxX = noDisplayRange ? deviceMaxX : info.displayRange[1];
        minY = 0;
        maxY = row.maxY;
        pixelCount = row.pixels;
        if (row.xAxis == XAxisKind::PixelIndex) {
            minX = deviceMinX = 0;
            maxX = deviceMaxX = 2048;
        }
        disFirst = 0;
        disLast = pixelCount - 1;
        disPixelCount = pixelCount;
        yCounts.resize(static_cast<size_t>(pixelCount), 0);
        defectRecord = {0, 0, 0};  // read afterwards, for the models that have one
    }
    unpacked_.resize(static_cast<size_t>(row.pixels));
    ComputeXAxis();
    triggerMode = 0;
}

int CKestrion::GetXData(double* x) {
    std::lock_guard state(stateMutex_);
    if (x != nullptr) std::copy(xData_.begin(), xData_.end(), x);
    return xResult_;
}

int CKestrion::GetXData(double* x, int& first, int& count) {
    std::lock_guard state(stateMutex_);
    if (x != nullptr) std::copy(xData_.begin(), xData_.end(), x);
    first = disFirst;
    count = disPixelCount;
    return xResult_;
}

int CKestrion::GetDisXData(double* x) {
    std::lock_guard state(stateMutex_);
    if (x != nullptr && static_cast<size_t>(disFirst + disPixelCount) <= xData_.size()) {
        std::copy_n(xData_.begin() + disFirst, disPixelCount, x);
    }
    return xResult_;
}

int CKestrion::ComputeXAxis() {
    double c[4];
    std::copy(std::begin(calibCoeffs), std::end(calibCoeffs), c);
    ReadDemarcateData(c, 4);
    const ModelRow& row = ModelAt(modelIndex);

    std::vector<double> pixels, values;
    if (row.xAxis == XAxisKind::PolynomialAndSpline) {
        for (int i = 0; i < p::kMaxCorrectionPoints; ++i) {
            uint8_t record[p::kRecordLength];
            if (!Ok(VendorRead(p::kReadRecord, static_cast<uint16_t>(i), record, p::kRecordLength, true))) break;
            const int32_t pixel = LoadInt32(record);
            if (pixel < 0) break;
            pixels.push_back(pixel);
            values.push_back(LoadDouble(record + 4));
        }
    }
    const int count = row.pixels;
    std::vector<double> x(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double pixel = i;
        x[i] = row.xAxis == XAxisKind::PixelIndex
                   ? pixel
                   : ((pixel * c[3]) * pixel * pixel) + ((pixel * c[2]) * pixel) + pixel * c[1] + c[0];
    }

    int result = 1;
    const size_t n = pixels.size();
    if (n >= 5) {
        // Knots (0, s1), the points, (last pixel, s2): the end values are the
        // end slopes themselves, not values extrapolated from the points.
        std::vector<double> knots{0.0}, knotValues{(values[1] - values[0]) / (pixels[1] - pixels[0])};
        const double lastSlope = (values[n - 1] - values[n - 2]) / (pixels[n - 1] - pixels[n - 2]);
        knots.insert(knots.end(), pixels.begin(), pixels.end());
        knotValues.insert(knotValues.end(), values.begin(), values.end());
        knots.push_back(count - 1.0);
        knotValues.push_back(lastSlope);
        // Knots out of order would make the spline divide by zero: such a
        // list is not a correction, and X stays the polynomial.
        if (std::adjacent_find(knots.begin(), knots.end(), std::greater_equal<double>()) == knots.end()) {
            quenlix::AlgorithmLibrary library;
            auto* spline = library.Routine<CubicSplineInterpolationFn>("CubicSplineInterpolation");
            if (spline == nullptr) {
                result = -1;
            } else {
                std::vector<double> queries(static_cast<size_t>(count)), correction(static_cast<size_t>(count));
                for (int i = 0; i < count; ++i) queries[i] = i;
                spline(knots.data(), knotValues.data(), static_cast<int>(knots.size()), knotValues.front(),
                       lastSlope, queries.data(), count, correction.data());
                for (int i = 0; i < count; ++i) x[i] += correction[i];
            }
        }
    }

    // Display window: the pixels strictly inside (minX, maxX), or the whole
    // frame when fewer than two are.
    int first = 0;
    while (first < count && !(x[first] > minX)) ++first;
    int last = count - 1;
    while (last >= 0 && !(x[last] < maxX)) --last;
    if (last <= first) {
        first = 0;
        last = count - 1;
    }
    std::lock_guard state(stateMutex_);
    std::copy(c, c + 4, calibCoeffs);
    xData_ = std::move(x);
    xResult_ = result;
    disFirst = first;
    disLast = last;
    disPixelCount = last - first + 1;
    return result;
}

int CKestrion::ReadDemarcateData(double* values, int count) {
    int read = 0;
    for (int i = 0; i < count; ++i) {
        uint8_t bytes[p::kCoefficientLength];
        if (!Ok(VendorRead(p::kReadCoefficient, static_cast<uint16_t>(i), bytes, p::kCoefficientLength, true))) {
            continue;
        }
        values[i] = LoadDouble(bytes);
        ++read;
    }
    return read == count ? 1 : 0;
}

int CKestrion::SetIntegralTimeMS(double ms) {
    if (stopRequested_) return 0;
    if (triggerMode != 0 && triggerMode != 1) return 0;
    if (!std::isfinite(ms)) return 0;
    {
        std::lock_guard state(stateMutex_);
        const ModelRow& row = ModelAt(modelIndex);
        const double micros = std::trunc(ms * 1000.0);
        if (row.minTimeUs > 0 && (micros < row.minTimeUs || micros > row.maxTimeUs)) return 0;
        const double deviceValue = micros * row.unitsPerUs;
        if (deviceValue < 0 || deviceValue > UINT32_MAX) return 0;  // the device takes 32 bits
        integralTimeMS = ms;
        if (!deviceOpen_) return 0;
        timePending_ = true;
    }
    // A timer not running yet (a model without a shortest time) starts here;
    // either way the thread sends the time at once, between two frames.
    if (!timer_->IsRunning()) timer_->Start(PeriodOf(ms));
    WakeThread();
    return 1;
}

int CKestrion::SetIntegralTimeMS0(double ms) {
    double clamped = ms;
    {
        std::lock_guard state(stateMutex_);
        const ModelRow& row = ModelAt(modelIndex);
        if (row.minTimeUs > 0 && !std::isnan(ms)) {
            clamped = std::clamp(ms, row.minTimeUs / 1000.0, row.maxTimeUs / 1000.0);
        }
    }
    SetIntegralTimeMS(clamped);
    return clamped == ms ? 1 : 0;
}

int CKestrion::SelectTrigger(int mode) {
    if (stopRequested_ || !deviceOpen_) return 0;
    {
        std::lock_guard state(stateMutex_);
        triggerMode = mode;
        triggerPending_ = true;
    }
    if (!timer_->IsRunning()) timer_->Start(PeriodOf(GetIntegralTimeMS()));
    WakeThread();
    return 1;
}

int CKestrion::SetDevClockTrigger() { return SelectTrigger(0); }
int CKestrion::SetDevSoftTrigger() { return SelectTrigger(1); }
int CKestrion::SetDevExtTrigger() { return SelectTrigger(2); }
int CKestrion::SetDevSyncTrigger() { return 0; }

void CKestrion::SoftTrigOnce(int count) {
    std::lock_guard state(stateMutex_);
    softTrigPending = true;
    softTrigCount = count;
}

void CKestrion::WakeThread() { timer_->Wake(); }

void CKestrion::FrameCallback() {
    std::lock_guard io(ioMutex_);
    if (stopRequested_) {
        Drain();
        return;
    }
    if (!deviceOpen_) {
        if (Clock::now() >= retryAt_) Recover(lastStatus_);
        return;
    }
    if (!ApplyPendingSettings() || !IsRcvDataReady()) return;
    ReceiveYData();
}

bool CKestrion::ApplyPendingSettings() {
    double ms = 0;
    int mode = 0;
    bool sendTime = false, sendTrigger = false;
    {
        std::lock_guard state(stateMutex_);
        sendTime = std::exchange(timePending_, false);
        sendTrigger = std::exchange(triggerPending_, false);
        ms = integralTimeMS;
        mode = triggerMode;
    }
    if (sendTrigger) {
        const uint8_t request = mode == 2 ? p::kSelectExtTrigger : p::kSelectClockTrigger;
        changeAt_ = Clock::now();
        const UsbStatus status = VendorWrite(request, 0, nullptr, 0);
        if (!Ok(status)) {
            triggerMode = appliedTrigger_;  // the device keeps what it had
            if (status != UsbStatus::Cancelled) Recover(status);
            return false;
        }
        // Clock and soft triggering are one mode at the device.
        if ((mode == 2) != (appliedTrigger_ == 2)) {
            changeSettling_ = true;
            changeExposure_ = std::chrono::duration_cast<Clock::duration>(
                std::chrono::duration<double, std::milli>(appliedTimeMS_));
        }
        appliedTrigger_ = mode;
    }
    if (sendTime && !SendIntegrationTime(ms)) {
        {
            std::lock_guard state(stateMutex_);
            integralTimeMS = appliedTimeMS_;
        }
        if (lastStatus_ != UsbStatus::Cancelled) Recover(lastStatus_);
        return false;
    }
    if (sendTime) timer_->Start(PeriodOf(ms));
    return true;
}

bool CKestrion::SendIntegrationTime(double ms) {
    const ModelRow& row = ModelAt(modelIndex);
    const double deviceValue = std::trunc(ms * 1000.0) * row.unitsPerUs;
    uint8_t reply[p::kReplyLength];
    int length = p::kReplyLength;
    changeAt_ = Clock::now();
    const UsbStatus status =
        Exchange(p::IntegrationCommand(static_cast<uint32_t>(deviceValue)).data(), reply, length, kBulkTimeoutMs);
    if (!Ok(status)) {
        lastStatus_ = status;
        return false;
    }
    appliedTimeMS_ = ms;
    changeSettling_ = true;
    changeExposure_ =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(ms));
    return true;
}

bool CKestrion::IsRcvDataReady() {
    switch (appliedTrigger_) {
        case 0: return true;
        case 1: {
            std::lock_guard state(stateMutex_);
            return softTrigPending;
        }
        default: {
            uint8_t status[p::kFrameStatusLength];
            return Ok(VendorRead(p::kReadFrameStatus, 0, status, p::kFrameStatusLength, true)) &&
                   std::equal(p::kFrameReady.begin(), p::kFrameReady.end(), status);
        }
    }
}

void CKestrion::ReceiveYData() {
    const auto start = Clock::now();
    int length = p::kReplyLength;
    // The device answers a frame request with its next finished exposure, so
    // beyond an exposure of about 400 ms a bare 400 ms wait would time out on
    // nearly every fetch and the link would reopen forever.
    // (The longest exposure of any model is 10 s.)
    const double exposureMs = std::isfinite(appliedTimeMS_) ? std::clamp(appliedTimeMS_, 0.0, 10000.0) : 0.0;
    const int timeoutMs = kBulkTimeoutMs + static_cast<int>(std::ceil(exposureMs));
    UsbStatus status = Exchange(p::kFrameRequest.data(), frameBuffer_.data(), length, timeoutMs);
    const auto end = Clock::now();
    rcvDurationMS = std::chrono::duration<double, std::milli>(end - start).count();
    // A reply too short for the model's layout is not a frame.
    if (Ok(status) && !UnpackFrame(ModelAt(modelIndex), frameBuffer_.data(), length, unpacked_.data())) {
        status = UsbStatus::Failed;
    }
    if (status == UsbStatus::Cancelled) return;  // stopping: the next tick drains
    if (!Ok(status)) {
        Recover(status);
        return;
    }
    // Exposed (partly) before the last settings change: not what was asked for.
    if (changeSettling_ && end < changeAt_ + changeExposure_) return;
    changeSettling_ = false;
    Publish();
}

void CKestrion::Publish() {
    std::lock_guard state(stateMutex_);
    // A setting asked for while this frame was in flight: it was exposed with
    // the old one, and the new one goes out on the next tick.
    if (timePending_ || triggerPending_) return;
    std::copy(unpacked_.begin(), unpacked_.end(), yCounts.begin());
    ++frameNo;
    newFrame = true;
    if (softTrigPending && softTrigCount > 0 && --softTrigCount == 0) softTrigPending = false;
}

// A failed fetch or setting: reopen the device (it comes back with its
// power-on settings, so the integration time and trigger mode in use are
// sent again on the next tick). When that fails the link is no longer right,
// and it looks again after a pause that grows with every failure.
void CKestrion::Recover(UsbStatus status) {
    lastStatus_ = status;
    deviceOpen_ = false;
    usbDevice->Close();
    // What the device is to be given after the reopen: a setting asked for and
    // not sent yet, else the one it had.
    double timeMS = appliedTimeMS_;
    int mode = appliedTrigger_;
    {
        std::lock_guard state(stateMutex_);
        if (timePending_) timeMS = integralTimeMS;
        if (triggerPending_) mode = triggerMode;
    }
    if (Reopen()) {
        retryDelay_ = {};
        std::lock_guard state(stateMutex_);
        if (timeMS > 0) {
            integralTimeMS = timeMS;
            timePending_ = true;
        }
        triggerMode = mode;
        triggerPending_ = mode != 0;
        return;
    }
    linkRight = false;
    retryDelay_ = retryDelay_ == Clock::duration{} ? Clock::duration(kFirstRetryDelay)
                                                   : std::min<Clock::duration>(retryDelay_ * 2, kLongestRetryDelay);
    retryAt_ = Clock::now() + retryDelay_;
}

// The same device wherever it now sits: at its old index first, then at any
// other, recognised by its serial number (another device unplugged moves the
// indexes behind it).
bool CKestrion::Reopen() {
    std::wstring serial;
    int index = 0;
    {
        std::lock_guard state(stateMutex_);
        serial = serialNumber;
        index = deviceIndex;
    }
    const std::vector<UsbDeviceInfo> present = UsbDevice::PresentDevices();
    const int count = static_cast<int>(present.size());
    for (int k = -1; k < count && !stopRequested_; ++k) {
        const int at = k < 0 ? index : k;
        if ((k >= 0 && k == index) || at >= count) continue;
        if (Start(present, at, &serial) == 1) return true;
    }
    return false;
}

void CKestrion::Drain() {
    usbDevice->Resume();
    const auto end = Clock::now() + kDrainTime;
    if (deviceOpen_) {
        while (Clock::now() < end) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            int length = p::kReplyLength;
            const int timeoutMs = static_cast<int>(std::max<int64_t>(left, 1));
            if (Ok(Exchange(p::kFrameRequest.data(), frameBuffer_.data(), length, timeoutMs)) &&
                UnpackFrame(ModelAt(modelIndex), frameBuffer_.data(), length, unpacked_.data())) {
                Publish();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    std::this_thread::sleep_for(kDrainTime);
    usbDevice->Close();
    deviceOpen_ = false;
    timer_->RequestStop();
    std::lock_guard state(stateMutex_);
    drained_ = true;
    drainedChanged_.notify_all();
}

kestrion::UsbEndpoint* CKestrion::VendorRequest(uint8_t request, uint16_t value) {
    UsbEndpoint* control = usbDevice->Endpoint(0);
    if (control == nullptr) return nullptr;
    control->recipient = 0;
    control->requestType = 2;
    control->requestCode = request;
    control->value = value;
    control->index = 0;
    return control;
}

UsbStatus CKestrion::VendorRead(uint8_t request, uint16_t value, uint8_t* data, int length, bool exact) {
    UsbEndpoint* control = VendorRequest(request, value);
    if (control == nullptr) return UsbStatus::NoDevice;
    int moved = length;
    if (!control->Read(data, moved)) return control->LastStatus();
    // Fixed-size records must arrive whole; text may come short.
    return !exact || moved == length ? UsbStatus::Completed : UsbStatus::Failed;
}

UsbStatus CKestrion::VendorWrite(uint8_t request, uint16_t value, const uint8_t* data, int length) {
    UsbEndpoint* control = VendorRequest(request, value);
    if (control == nullptr) return UsbStatus::NoDevice;
    return control->Write(data, length) ? UsbStatus::Completed : control->LastStatus();
}

UsbStatus CKestrion::Exchange(const uint8_t* command, uint8_t* reply, int& replyLength, int timeoutMs) {
    UsbEndpoint* out = usbDevice->Endpoint(kCommandEndpointEntry);
    UsbEndpoint* in = usbDevice->Endpoint(kFrameEndpointEntry);
    if (out == nullptr || in == nullptr) return UsbStatus::NoDevice;
    out->timeoutMs = timeoutMs;
    in->timeoutMs = timeoutMs;
    int commandLength = p::kCommandLength;
    if (!out->Transfer(const_cast<uint8_t*>(command), commandLength)) return out->LastStatus();
    return in->Transfer(reply, replyLength) ? UsbStatus::Completed : in->LastStatus();
}

int CKestrion::GetDeviceIndex() const {
    std::lock_guard state(stateMutex_);
    return deviceIndex;
}

kestrion::UsbStatus CKestrion::GetLastStatus() const { return lastStatus_; }
bool CKestrion::IsKestrionRight() const { return linkRight; }
const std::wstring& CKestrion::GetDeviceName() const { return deviceName; }
const std::wstring& CKestrion::GetVersionInfo() const { return versionInfo; }
const std::wstring& CKestrion::GetSerialNumber() const { return serialNumber; }

#define KESTRION_LOCKED_GETTER(type, name, field)  \
    type CKestrion::name() const {                 \
        std::lock_guard state(stateMutex_);        \
        return field;                              \
    }
KESTRION_LOCKED_GETTER(double, GetMinX, minX)
KESTRION_LOCKED_GETTER(double, GetMaxX, maxX)
KESTRION_LOCKED_GETTER(double, GetMinY, minY)
KESTRION_LOCKED_GETTER(double, GetMaxY, maxY)
KESTRION_LOCKED_GETTER(double, GetDeviceMinX, deviceMinX)
KESTRION_LOCKED_GETTER(double, GetDeviceMaxX, deviceMaxX)
KESTRION_LOCKED_GETTER(int, GetPixelCount, pixelCount)
KESTRION_LOCKED_GETTER(int, GetDisPixelCount, disPixelCount)
KESTRION_LOCKED_GETTER(double, GetIntegralTimeMS, integralTimeMS)
KESTRION_LOCKED_GETTER(long, GetFrameNo, frameNo)
#undef KESTRION_LOCKED_GETTER

int CKestrion::GetYData(double* y) const {
    std::lock_guard state(stateMutex_);
    if (y != nullptr) std::copy(yCounts.begin(), yCounts.end(), y);
    return 0;
}

long CKestrion::CopyFrame(double* y) const {
    std::lock_guard state(stateMutex_);
    if (frameNo == 0) return 0;
    if (y != nullptr) std::copy(yCounts.begin(), yCounts.end(), y);
    return frameNo;
}

int CKestrion::GetDisYData(double* y) const {
    std::lock_guard state(stateMutex_);
    if (y != nullptr && disPixelCount > 0 && static_cast<size_t>(disLast) < yCounts.size()) {
        std::copy(yCounts.begin() + disFirst, yCounts.begin() + disLast + 1, y);
    }
    return 0;
}

bool CKestrion::IsClockTrigger() const { return triggerMode == 0; }
bool CKestrion::IsSoftTrigger() const { return triggerMode == 1; }
bool CKestrion::IsExtTrigger() const { return triggerMode == 2; }
bool CKestrion::IsSyncTrigger() const { return triggerMode == 3; }
bool CKestrion::IsANewFrame() const { return newFrame; }
double CKestrion::RcvDataDurationMS() const { return rcvDurationMS; }

void CKestrion::GetCalibrationParams(double* c) const {
    std::lock_guard state(stateMutex_);
    if (c != nullptr) std::copy(std::begin(calibCoeffs), std::end(calibCoeffs), c);
}

void CKestrion::GetIntegralTimeLimitsMS(double& shortest, double& longest) const {
    std::lock_guard state(stateMutex_);
    const ModelRow& row = ModelAt(modelIndex);
    shortest = row.minTimeUs / 1000.0;
    longest = row.maxTimeUs / 1000.0;
}

std::array<int32_t, 3> CKestrion::GetDefectRecord() const {
    std::lock_guard state(stateMutex_);
    return defectRecord;
}

double CKestrion::GetDarkRegion() const {
    std::lock_guard state(stateMutex_);
    const ModelRow& row = ModelAt(modelIndex);
    return integralTimeMS < 100 ? row.darkBase : integralTimeMS * row.darkSlope + row.darkBase;
}
