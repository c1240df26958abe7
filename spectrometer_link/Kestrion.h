#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "UsbStatus.h"

// libkestrion: finds USB array spectrometers, reads their identity and
// wavelength calibration, sets integration time and trigger, fetches frames
// on a thread of its own and writes calibration data into the device.

namespace kestrion {
class UsbDevice;
class UsbEndpoint;
class PeriodicTimer;
struct UsbDeviceInfo;
enum class Scene;  // simulator/SpectrumScene.h
}  // namespace kestrion

// Where spectrometers come from, for every link started afterwards.
//
// UseUsbSpectrometers (the default): real devices through libusb, those whose
// vendor:product pair is listed in config/usb devices.txt.
//
// UseSimulatedSpectrometers: count simulated devices instead (default 2;
// clamped to 1 … 16); returns the number registered. Unit k is a model 0
// ("Velmora", 3630 pixels) with serial part "SIM" + k in five digits, device
// range 200 … 1100 nm and no display range of its own, looking at a
// mercury–argon lamp (even k) or ruby fluorescence (odd k). With
// firstMiscalibrated, unit 0 stores a wavelength calibration a few nm off its
// optics (MiscalibratedSimulatedUnit), for trying a calibration on it. Given
// scenes, unit k looks at scenes[k] instead, the last scene for the units
// beyond the list. Every unit's external trigger input gets 20 pulses a
// second, as from a pulsed laser's sync output. Each call makes fresh units;
// coefficients written into a unit last as long as its units do.
void UseUsbSpectrometers();
int UseSimulatedSpectrometers(int count = 2, bool firstMiscalibrated = false,
                              const std::vector<kestrion::Scene>& scenes = {});

// Calibration writers. link is a started CKestrion.
//
// Writes coefficients[0 … count-1] (count 1 … 4) as the wavelength polynomial
// c0 + c1·p + c2·p² + c3·p³, one write per coefficient 50 ms apart; every write
// is attempted. 1 when all succeeded, and the link's coefficients then take
// the values written; else 0 and they stay as they were.
int WriteDemarcateData(void* link, const double* coefficients, int count);
// Fits the cubic through count (pixel, wavelength) pairs and writes it:
// 1 when written, 0 when the fit is not possible (fewer than 4 pairs, or no
// finite result) or a write failed, -1 when the numeric library cannot be loaded.
int WriteDemarcateData(void* link, const double* wavelengths, const double* pixels, int count);
int WriteDemarcateData(void* link, const double* wavelengths, const int* pixels, int count);
// Kept for callers of the device interface; they write nothing and return 1.
int WriteCorrectData(void* link, const int* pixels, const double* values, int count);
int WriteConSpecFaultPixel(void* link, const int* pixels, int count);

// The spectrometers present at one moment, in bus order. A rescan starts every
// link from one such list, so a device plugged in meanwhile cannot shift the
// indexes under it.
class SpectrometerScan {
public:
    SpectrometerScan();  // enumerates the bus now
    ~SpectrometerScan();
    int Count() const;
    // "bus 1 address 7 (1a2b:3c4d)"; empty for an index out of range.
    std::string Describe(int index) const;

private:
    friend class CKestrion;
    std::vector<kestrion::UsbDeviceInfo> devices_;
};

// One spectrometer: start it by index, read its identity and X axis, set the
// integration time and trigger, and read the frames its acquisition thread
// fetches (period: whole milliseconds of the integration time + 4 ms).
//
// Threads: any member may be called from any thread while the acquisition
// thread runs, and none of them waits for a USB transfer but StartDevice and
// the calibration writers. Settings are handed to the acquisition thread,
// which sends them between two frames; the first frame published after a
// change was exposed wholly with the new settings. The X axis is computed when
// the device opens (and after a calibration write) and read from a copy.
// Device conversations are serialised (ioMutex_); the frame with its number,
// the X axis and the device description are published under stateMutex_.
// The identity strings returned by reference change only in a StartDevice
// called by the owner: a reopen after a failure finds the same device (by
// serial number, wherever it now sits on the bus), or leaves them as they are.
class CKestrion {
public:
    CKestrion();
    virtual ~CKestrion();
    CKestrion(const CKestrion&) = delete;
    CKestrion& operator=(const CKestrion&) = delete;

    int GetAllDeviceCount();
    // 1 when the device at index is open, identified and of a listed model;
    // its shortest integration time then goes out with the first tick.
    int StartDevice(int index);
    // StartDevice(GetDeviceIndex()) that succeeds only for that serial number;
    // another device found there is closed again and the link left as it was.
    int StartDevice(const std::wstring& serialNumber);
    // StartDevice of entry index of an enumeration taken before.
    int StartDevice(const SpectrometerScan& scan, int index);
    int GetDeviceIndex() const;
    // Why the last start, setting or fetch failed (Completed when none did).
    kestrion::UsbStatus GetLastStatus() const;
    // Begins stopping: the transfer in progress ends, the thread hands over
    // what the device still holds, then closes. Returns at once; the
    // destructor waits for the rest. Stopping many links: call this on each
    // first, then destroy them, so they stop side by side.
    void RequestStop();
    bool IsKestrionRight() const;

    const std::wstring& GetDeviceName() const;
    const std::wstring& GetVersionInfo() const;
    const std::wstring& GetSerialNumber() const;
    double GetMinX() const;
    double GetMaxX() const;
    double GetMinY() const;
    double GetMaxY() const;
    double GetDeviceMinX() const;
    double GetDeviceMaxX() const;
    int GetPixelCount() const;
    int GetDisPixelCount() const;

    // The X axis and display window as computed at the last open; x (when
    // not null) takes GetPixelCount() values. 1, or -1 when the numeric
    // library could not be loaded (X is then the plain polynomial).
    int GetXData(double* x);
    int GetXData(double* x, int& first, int& count);
    int GetDisXData(double* x);  // GetDisPixelCount() values
    // Counts of the last frame: all pixels / the display window. Return 0.
    int GetYData(double* y) const;
    int GetDisYData(double* y) const;
    // Copies the last frame (GetPixelCount() counts) and returns its number,
    // both under one lock, so the number always names the frame copied. 0: no
    // frame yet (nothing is copied).
    long CopyFrame(double* y) const;

    double GetIntegralTimeMS() const;
    // The model's integration limits in ms; 0 and 0 for a model without any.
    void GetIntegralTimeLimitsMS(double& shortest, double& longest) const;
    // The three int32 of the defect record read at start; zeros for a model
    // that has none.
    std::array<int32_t, 3> GetDefectRecord() const;
    int SetIntegralTimeMS(double ms);
    // Clamps ms into the model's limits first; 1 when no clamping was needed.
    int SetIntegralTimeMS0(double ms);
    // Settings are refused at once (0) outside the model's limits, in the
    // wrong trigger mode or without an open device; an accepted one (1) is
    // sent by the acquisition thread. A device that refuses it takes the
    // previous setting back and is reopened, as after a failed fetch.

    int SetDevClockTrigger();
    int SetDevSoftTrigger();
    int SetDevExtTrigger();
    int SetDevSyncTrigger();  // not supported by the devices: always 0
    // In soft trigger mode lets count frames through; 0 lets frames flow
    // until the mode changes.
    void SoftTrigOnce(int count);
    bool IsClockTrigger() const;
    bool IsSoftTrigger() const;
    bool IsExtTrigger() const;
    bool IsSyncTrigger() const;

    bool IsANewFrame() const;
    long GetFrameNo() const;  // frames received since construction
    double RcvDataDurationMS() const;
    void GetCalibrationParams(double* c) const;  // 4 values
    double GetDarkRegion() const;

private:
    friend int WriteDemarcateData(void* link, const double* coefficients, int count);
    using Clock = std::chrono::steady_clock;
    struct DeviceInfo;

    void InitParams();
    void ReleaseParams();
    int Start(const std::vector<kestrion::UsbDeviceInfo>& present, int index, const std::wstring* requiredSerial);
    bool ReadDeviceInfo(DeviceInfo& info);
    void ApplyDeviceInfo(const DeviceInfo& info);
    int ComputeXAxis();
    int ReadDemarcateData(double* values, int count);
    int SelectTrigger(int mode);
    void WakeThread();

    // Acquisition thread, with ioMutex_ held.
    void FrameCallback();
    bool ApplyPendingSettings();
    bool SendIntegrationTime(double ms);
    bool IsRcvDataReady();
    void ReceiveYData();
    void Publish();
    void Recover(kestrion::UsbStatus status);
    bool Reopen();
    void Drain();

    kestrion::UsbEndpoint* VendorRequest(uint8_t request, uint16_t value);  // control endpoint, fields set
    kestrion::UsbStatus VendorRead(uint8_t request, uint16_t value, uint8_t* data, int length, bool exact);
    kestrion::UsbStatus VendorWrite(uint8_t request, uint16_t value, const uint8_t* data, int length);
    kestrion::UsbStatus Exchange(const uint8_t* command, uint8_t* reply, int& replyLength, int timeoutMs);

    // Guarded by stateMutex_ for readers on other threads; written only with
    // ioMutex_ held too, so code under ioMutex_ reads them directly.
    double minX = 0, maxX = 0, minY = 0, maxY = 0, deviceMinX = 0, deviceMaxX = 0;
    int32_t pixelCount = 0;
    int32_t disPixelCount = 0;
    std::wstring deviceName, versionInfo, serialNumber;
    int32_t modelIndex;
    int32_t deviceIndex = 0;
    int32_t disFirst = 0, disLast = 0;
    double calibCoeffs[4] = {0, 0, 0, 0};
    std::vector<double> xData_;
    int xResult_ = 1;
    std::vector<uint32_t> yCounts;
    long frameNo = 0;  // frames published since construction
    std::array<int32_t, 3> defectRecord = {0, 0, 0};

    // Guarded by stateMutex_: what callers asked for, for the thread to send.
    double integralTimeMS = 0;
    bool timePending_ = false;
    bool triggerPending_ = false;
    bool softTrigPending = false;
    int32_t softTrigCount = 0;
    bool drained_ = false;
    mutable std::mutex stateMutex_;
    std::condition_variable drainedChanged_;

    // Guarded by ioMutex_: the connection and what the thread has sent.
    std::unique_ptr<kestrion::UsbDevice> usbDevice;  // created with the link, never replaced
    std::vector<uint8_t> frameBuffer_;
    std::vector<uint32_t> unpacked_;
    double appliedTimeMS_ = 0;
    int appliedTrigger_ = 0;
    // After a settings change: frames finished before changeAt_ + changeExposure_
    // began their exposure before the change and are not published.
    bool changeSettling_ = false;
    Clock::time_point changeAt_;
    Clock::duration changeExposure_{};
    Clock::duration retryDelay_{};  // growing pause between reopen attempts
    Clock::time_point retryAt_;
    std::mutex ioMutex_;

    std::atomic<double> rcvDurationMS{0};
    std::atomic<bool> linkRight{true};
    std::atomic<bool> deviceOpen_{false};
    std::atomic<bool> stopRequested_{false};
    std::atomic<int32_t> triggerMode{0};  // requested: 0 clock, 1 soft, 2 external, 3 sync
    std::atomic<bool> newFrame{false};
    std::atomic<kestrion::UsbStatus> lastStatus_{kestrion::UsbStatus::Completed};
    std::unique_ptr<kestrion::PeriodicTimer> timer_;
};
